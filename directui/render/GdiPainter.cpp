#include "render/GdiPainter.h"

#include "core/SkinValues.h"
#include "manager/SkinFiles.h"
#include "manager/WindowUIManager.h"
#include "render/MarkupLayout.h"

#include <gdiplus.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>

#define STBI_MAX_DIMENSIONS 8192
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace DirectUI {

namespace {

typedef BOOL(WINAPI* AlphaBlendFn)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
typedef BOOL(WINAPI* GradientFillFn)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

HMODULE Msimg32()
{
    static HMODULE module = LoadLibraryW(L"msimg32.dll");
    return module;
}

AlphaBlendFn AlphaBlendProc()
{
    static AlphaBlendFn fn = Msimg32() != NULL
                                 ? reinterpret_cast<AlphaBlendFn>(GetProcAddress(Msimg32(), "AlphaBlend"))
                                 : NULL;
    return fn;
}

GradientFillFn GradientFillProc()
{
    static GradientFillFn fn = Msimg32() != NULL
                                   ? reinterpret_cast<GradientFillFn>(GetProcAddress(Msimg32(), "GradientFill"))
                                   : NULL;
    return fn;
}

bool Meets(const RECT& a, const RECT& b)
{
    RECT tmp;
    return IntersectRect(&tmp, &a, &b) != FALSE;
}

} // namespace

HBITMAP CGdiPainter::CreateDib32(HDC dc, int width, int height, LPDWORD* bits)
{
    BITMAPINFO bmi;
    memset(&bmi, 0, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    bmi.bmiHeader.biSizeImage = width * height * 4;
    void* pixels = NULL;
    HBITMAP bitmap = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &pixels, NULL, 0);
    if (bits != NULL) *bits = static_cast<LPDWORD>(pixels);
    return bitmap;
}

void CGdiPainter::DrawColor(HDC dc, const RECT& rc, DWORD color)
{
    if (color < 0x01000000 || dc == NULL) return;
    Gdiplus::Graphics graphics(dc);
    Gdiplus::SolidBrush brush(Gdiplus::Color(static_cast<Gdiplus::ARGB>(color)));
    graphics.FillRectangle(&brush, static_cast<INT>(rc.left), static_cast<INT>(rc.top),
                           static_cast<INT>(rc.right - rc.left), static_cast<INT>(rc.bottom - rc.top));
}

void CGdiPainter::DrawGradient(HDC dc, const RECT& rc, DWORD first, DWORD second, bool vertical, int steps)
{
    int alpha = (static_cast<int>(first >> 24) + static_cast<int>(second >> 24)) / 2;
    if (alpha == 0 || dc == NULL) return;
    int width = rc.right - rc.left;
    int height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0) return;

    HDC target = dc;
    RECT area = rc;
    HDC memory = NULL;
    HBITMAP bitmap = NULL;
    HGDIOBJ oldBitmap = NULL;
    LPDWORD bits = NULL;
    if (alpha < 255) {
        memory = CreateCompatibleDC(dc);
        bitmap = CreateDib32(dc, width, height, &bits);
        if (memory == NULL || bitmap == NULL || bits == NULL) {
            if (bitmap != NULL) DeleteObject(bitmap);
            if (memory != NULL) DeleteDC(memory);
            return;
        }
        oldBitmap = SelectObject(memory, bitmap);
        target = memory;
        SetRect(&area, 0, 0, width, height);
    }

    GradientFillFn gradientFill = GradientFillProc();
    if (gradientFill != NULL) {
        TRIVERTEX vertices[2];
        vertices[0].x = area.left;
        vertices[0].y = area.top;
        vertices[0].Red = static_cast<COLOR16>(GetBValue(first) << 8);
        vertices[0].Green = static_cast<COLOR16>(GetGValue(first) << 8);
        vertices[0].Blue = static_cast<COLOR16>(GetRValue(first) << 8);
        vertices[0].Alpha = 0xFF00;
        vertices[1].x = area.right;
        vertices[1].y = area.bottom;
        vertices[1].Red = static_cast<COLOR16>(GetBValue(second) << 8);
        vertices[1].Green = static_cast<COLOR16>(GetGValue(second) << 8);
        vertices[1].Blue = static_cast<COLOR16>(GetRValue(second) << 8);
        vertices[1].Alpha = 0xFF00;
        GRADIENT_RECT mesh = { 0, 1 };
        gradientFill(target, vertices, 2, &mesh, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
    } else {
        int bands = steps < 4 ? 2 : steps < 8 ? 4 : steps < 16 ? 8 : steps < 32 ? 16 : steps < 64 ? 32 : 64;
        int span = vertical ? height : width;
        for (int i = 0; i < bands; ++i) {
            RECT band = area;
            int from = span * i / bands;
            int to = span * (i + 1) / bands;
            if (vertical) {
                band.top = area.top + from;
                band.bottom = area.top + to;
            } else {
                band.left = area.left + from;
                band.right = area.left + to;
            }
            int weight = bands > 1 ? i * 255 / (bands - 1) : 0;
            BYTE r = static_cast<BYTE>((GetBValue(first) * (255 - weight) + GetBValue(second) * weight) / 255);
            BYTE g = static_cast<BYTE>((GetGValue(first) * (255 - weight) + GetGValue(second) * weight) / 255);
            BYTE b = static_cast<BYTE>((GetRValue(first) * (255 - weight) + GetRValue(second) * weight) / 255);
            HBRUSH brush = CreateSolidBrush(RGB(r, g, b));
            FillRect(target, &band, brush);
            DeleteObject(brush);
        }
    }

    if (memory != NULL) {
        // What GDI drew counts as opaque; the constant alpha does the blending.
        for (int i = 0; i < width * height; ++i) bits[i] |= 0xFF000000;
        AlphaBlendPiece(dc, rc.left, rc.top, width, height, memory, 0, 0, width, height,
                        static_cast<BYTE>(alpha));
        SelectObject(memory, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(memory);
    }
}

void CGdiPainter::DrawLine(HDC dc, const RECT& rc, int width, DWORD color, int style)
{
    LOGPEN lp;
    lp.lopnStyle = style;
    lp.lopnWidth.x = width;
    lp.lopnWidth.y = 0;
    lp.lopnColor = ArgbToColorRef(color);
    HPEN pen = CreatePenIndirect(&lp);
    if (pen == NULL) return;
    HGDIOBJ oldPen = SelectObject(dc, pen);
    MoveToEx(dc, rc.left, rc.top, NULL);
    LineTo(dc, rc.right, rc.bottom);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void CGdiPainter::DrawRect(HDC dc, const RECT& rc, int width, DWORD color)
{
    HPEN pen = CreatePen(PS_SOLID | PS_INSIDEFRAME, width, ArgbToColorRef(color));
    if (pen == NULL) return;
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void CGdiPainter::DrawRoundRect(HDC dc, const RECT& rc, int width, int cx, int cy, DWORD color)
{
    HPEN pen = CreatePen(PS_SOLID | PS_INSIDEFRAME, width, ArgbToColorRef(color));
    if (pen == NULL) return;
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
    RoundRect(dc, rc.left, rc.top, rc.right, rc.bottom, cx, cy);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void CGdiPainter::RgbToHsl(DWORD color, float* hue, float* saturation, float* lightness)
{
    float r = GetBValue(color) / 255.0f;
    float g = GetGValue(color) / 255.0f;
    float b = GetRValue(color) / 255.0f;
    float high = r > g ? (r > b ? r : b) : (g > b ? g : b);
    float low = r < g ? (r < b ? r : b) : (g < b ? g : b);
    float l = (high + low) / 2.0f;
    float h = 0.0f, s = 0.0f;
    float delta = high - low;
    if (delta > 0.0f) {
        s = l < 0.5f ? delta / (high + low) : delta / (2.0f - high - low);
        if (high == r) h = (g - b) / delta + (g < b ? 6.0f : 0.0f);
        else if (high == g) h = (b - r) / delta + 2.0f;
        else h = (r - g) / delta + 4.0f;
        h *= 60.0f;
    }
    *hue = h;
    *saturation = s;
    *lightness = l;
}

DWORD CGdiPainter::HslToRgb(float hue, float saturation, float lightness)
{
    float r, g, b;
    if (saturation <= 0.0f) {
        r = g = b = lightness;
    } else {
        float q = lightness < 0.5f ? lightness * (1.0f + saturation) : lightness + saturation - lightness * saturation;
        float p = 2.0f * lightness - q;
        float h = hue / 360.0f;
        float t[3] = { h + 1.0f / 3.0f, h, h - 1.0f / 3.0f };
        float out[3];
        for (int i = 0; i < 3; ++i) {
            float c = t[i];
            if (c < 0.0f) c += 1.0f;
            if (c > 1.0f) c -= 1.0f;
            if (c < 1.0f / 6.0f) out[i] = p + (q - p) * 6.0f * c;
            else if (c < 0.5f) out[i] = q;
            else if (c < 2.0f / 3.0f) out[i] = p + (q - p) * (2.0f / 3.0f - c) * 6.0f;
            else out[i] = p;
        }
        r = out[0];
        g = out[1];
        b = out[2];
    }
    DWORD R = static_cast<DWORD>(r * 255.0f + 0.5f), G = static_cast<DWORD>(g * 255.0f + 0.5f),
          B = static_cast<DWORD>(b * 255.0f + 0.5f);
    return (R << 16) | (G << 8) | B;
}

DWORD CGdiPainter::AdjustColorHsl(DWORD color, short hue, short saturation, short lightness)
{
    if (hue == 180 && saturation == 100 && lightness == 100) return color;
    float h, s, l;
    RgbToHsl(color, &h, &s, &l);
    h += hue - 180;
    while (h < 0.0f) h += 360.0f;
    while (h >= 360.0f) h -= 360.0f;
    s = s * saturation / 100.0f;
    l = l * lightness / 100.0f;
    if (s > 1.0f) s = 1.0f;
    if (l > 1.0f) l = 1.0f;
    return (color & 0xFF000000) | HslToRgb(h, s, l);
}

void CGdiPainter::NonBlack(DWORD& color)
{
    if ((color & 0x00FFFFFF) == 0) color |= 1;
}

void CGdiPainter::ClearPixels(LPDWORD bits, int width, int height, const RECT& rc)
{
    if (bits == NULL) return;
    RECT all = { 0, 0, width, height };
    RECT area;
    if (!IntersectRect(&area, &rc, &all)) return;
    for (int y = area.top; y < area.bottom; ++y)
        memset(bits + y * width + area.left, 0, (area.right - area.left) * sizeof(DWORD));
}

void CGdiPainter::FixAlpha(LPDWORD bits, int width, int height, const RECT& rc)
{
    if (bits == NULL) return;
    RECT all = { 0, 0, width, height };
    RECT area;
    if (!IntersectRect(&area, &rc, &all)) return;
    for (int y = area.top; y < area.bottom; ++y) {
        LPDWORD row = bits + y * width;
        for (int x = area.left; x < area.right; ++x) {
            if ((row[x] & 0xFF000000) == 0 && (row[x] & 0x00FFFFFF) != 0) row[x] |= 0xFF000000;
        }
    }
}

ImageEntry* CGdiPainter::DecodeImage(const BYTE* data, DWORD size, DWORD mask)
{
    if (data == NULL || size == 0 || size > 0x7FFFFFFF) return NULL;
    int width = 0, height = 0, components = 0;
    stbi_uc* pixels = stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &components, 4);
    if (pixels == NULL) return NULL;
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) {
        stbi_image_free(pixels);
        return NULL;
    }
    LPDWORD bits = NULL;
    HBITMAP bitmap = CreateDib32(NULL, width, height, &bits);
    if (bitmap == NULL || bits == NULL) {
        if (bitmap != NULL) DeleteObject(bitmap);
        stbi_image_free(pixels);
        return NULL;
    }
    bool alpha = false;
    const BYTE* src = pixels;
    for (int i = 0; i < width * height; ++i, src += 4) {
        DWORD r = src[0], g = src[1], b = src[2], a = src[3];
        if (a != 255) {
            r = r * a / 255;
            g = g * a / 255;
            b = b * a / 255;
            alpha = true;
        }
        DWORD pixel = (a << 24) | (r << 16) | (g << 8) | b;
        if (pixel == mask) {
            pixel = 0;
            alpha = true;
        }
        bits[i] = pixel;
    }
    stbi_image_free(pixels);
    ImageEntry* entry = new ImageEntry;
    entry->hBitmap = bitmap;
    entry->nWidth = width;
    entry->nHeight = height;
    entry->bAlpha = alpha;
    entry->dwMask = mask;
    return entry;
}

ImageEntry* CGdiPainter::LoadImage(LPCWSTR name, LPCWSTR resType, DWORD mask)
{
    // A resource id (MAKEINTRESOURCE) is a number, not a text to read.
    if (name == NULL || (!IS_INTRESOURCE(name) && name[0] == L'\0')) return NULL;
    BYTE* bytes = NULL;
    DWORD size = 0;
    if (resType != NULL && resType[0] != L'\0') {
        HINSTANCE module = CWindowUIManager::GetResourceModule();
        HRSRC resource = FindResourceW(module, name, resType);
        if (resource == NULL) return NULL;
        HGLOBAL handle = LoadResource(module, resource);
        DWORD length = SizeofResource(module, resource);
        const void* data = handle != NULL ? LockResource(handle) : NULL;
        if (data == NULL || length == 0 || length > kMaxImageFileSize) return NULL;
        bytes = static_cast<BYTE*>(malloc(length));
        if (bytes == NULL) return NULL;
        memcpy(bytes, data, length);
        size = length;
    } else {
        if (IS_INTRESOURCE(name)) return NULL;
        LPCWSTR failure = NULL;
        if (!ReadSkinFile(name, kMaxImageFileSize, &bytes, &size, &failure)
            && !ReadWholeFile(name, kMaxImageFileSize, &bytes, &size, &failure))
            return NULL;
    }
    ImageEntry* entry = DecodeImage(bytes, size, mask);
    free(bytes);
    return entry;
}

void CGdiPainter::FreeImage(ImageEntry* entry)
{
    if (entry == NULL) return;
    if (entry->hBitmap != NULL) DeleteObject(entry->hBitmap);
    delete entry;
}

bool CGdiPainter::BlendPixels(HDC dcDest, int x, int y, int cx, int cy, HDC dcSrc, int sx, int sy, int scx, int scy,
                              BYTE constantAlpha)
{
    if (cx <= 0 || cy <= 0) return true;
    HDC srcMem = CreateCompatibleDC(dcDest);
    HDC dstMem = CreateCompatibleDC(dcDest);
    LPDWORD srcBits = NULL, dstBits = NULL;
    HBITMAP srcBmp = CreateDib32(dcDest, cx, cy, &srcBits);
    HBITMAP dstBmp = CreateDib32(dcDest, cx, cy, &dstBits);
    bool ok = srcMem != NULL && dstMem != NULL && srcBmp != NULL && dstBmp != NULL && srcBits != NULL
              && dstBits != NULL;
    if (ok) {
        HGDIOBJ oldSrc = SelectObject(srcMem, srcBmp);
        HGDIOBJ oldDst = SelectObject(dstMem, dstBmp);
        SetStretchBltMode(srcMem, COLORONCOLOR);
        StretchBlt(srcMem, 0, 0, cx, cy, dcSrc, sx, sy, scx, scy, SRCCOPY);
        BitBlt(dstMem, 0, 0, cx, cy, dcDest, x, y, SRCCOPY);
        for (int i = 0; i < cx * cy; ++i) {
            double w = (srcBits[i] >> 24) * constantAlpha / 255.0 / 255.0;
            if (w < 0) w = 0;
            DWORD out = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                double s = (srcBits[i] >> shift) & 0xFF;
                double d = (dstBits[i] >> shift) & 0xFF;
                DWORD v = static_cast<DWORD>(s * w + d * (1.0 - w));
                if (v > 255) v = 255;
                out |= v << shift;
            }
            dstBits[i] = out;
        }
        BitBlt(dcDest, x, y, cx, cy, dstMem, 0, 0, SRCCOPY);
        SelectObject(srcMem, oldSrc);
        SelectObject(dstMem, oldDst);
    }
    if (srcBmp != NULL) DeleteObject(srcBmp);
    if (dstBmp != NULL) DeleteObject(dstBmp);
    if (srcMem != NULL) DeleteDC(srcMem);
    if (dstMem != NULL) DeleteDC(dstMem);
    return ok;
}

bool CGdiPainter::AlphaBlendPiece(HDC dcDest, int x, int y, int cx, int cy, HDC dcSrc, int sx, int sy, int scx,
                                  int scy, BYTE constantAlpha)
{
    AlphaBlendFn alphaBlend = AlphaBlendProc();
    if (alphaBlend == NULL) return BlendPixels(dcDest, x, y, cx, cy, dcSrc, sx, sy, scx, scy, constantAlpha);
    BLENDFUNCTION bf = { AC_SRC_OVER, 0, constantAlpha, AC_SRC_ALPHA };
    return alphaBlend(dcDest, x, y, cx, cy, dcSrc, sx, sy, scx, scy, bf) != FALSE;
}

void CGdiPainter::DrawImage(HDC dc, HBITMAP bitmap, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
                            const RECT& rcCorners, bool alpha, BYTE fade, bool hole, bool xtiled, bool ytiled)
{
    if (dc == NULL || bitmap == NULL) return;
    HDC memory = CreateCompatibleDC(dc);
    if (memory == NULL) return;
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    SetStretchBltMode(dc, HALFTONE);
    bool blend = alpha || fade < 255;

    // Draws one piece: dest (x, y, w, h) from source (sx, sy, sw, sh).
    struct Piece
    {
        HDC dc, memory;
        bool blend;
        BYTE fade;
        void operator()(int x, int y, int w, int h, int sx, int sy, int sw, int sh) const
        {
            if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
            if (blend) AlphaBlendPiece(dc, x, y, w, h, memory, sx, sy, sw, sh, fade);
            else StretchBlt(dc, x, y, w, h, memory, sx, sy, sw, sh, SRCCOPY);
        }
    } piece = { dc, memory, blend, fade };

    const RECT& s = rcBmpPart;
    const RECT& c = rcCorners;
    int srcW = s.right - s.left, srcH = s.bottom - s.top;
    int dstW = rc.right - rc.left, dstH = rc.bottom - rc.top;

    if (!blend && dstW == srcW && dstH == srcH && c.left == 0 && c.top == 0 && c.right == 0 && c.bottom == 0) {
        RECT part;
        if (IntersectRect(&part, &rc, &rcPaint)) {
            BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, memory,
                   s.left + part.left - rc.left, s.top + part.top - rc.top, SRCCOPY);
        }
        SelectObject(memory, oldBitmap);
        DeleteDC(memory);
        return;
    }

    RECT mid = { rc.left + c.left, rc.top + c.top, rc.right - c.right, rc.bottom - c.bottom };
    RECT srcMid = { s.left + c.left, s.top + c.top, s.right - c.right, s.bottom - c.bottom };
    int midW = mid.right - mid.left, midH = mid.bottom - mid.top;
    int srcMidW = srcMid.right - srcMid.left, srcMidH = srcMid.bottom - srcMid.top;

    if (!hole && midW > 0 && midH > 0 && Meets(mid, rcPaint)) {
        if (!xtiled && !ytiled) {
            piece(mid.left, mid.top, midW, midH, srcMid.left, srcMid.top, srcMidW, srcMidH);
        } else if (xtiled && ytiled) {
            // An empty source middle has nothing to repeat.
            if (srcMidW > 0 && srcMidH > 0) {
                for (int y = mid.top; y < mid.bottom; y += srcMidH) {
                    int h = mid.bottom - y < srcMidH ? mid.bottom - y : srcMidH;
                    for (int x = mid.left; x < mid.right; x += srcMidW) {
                        int w = mid.right - x < srcMidW ? mid.right - x : srcMidW;
                        piece(x, y, w, h, srcMid.left, srcMid.top, w, h);
                    }
                }
            }
        } else if (xtiled) {
            if (srcMidW > 0 && srcMidH > 0) {
                for (int x = mid.left; x < mid.right; x += srcMidW) {
                    int w = mid.right - x < srcMidW ? mid.right - x : srcMidW;
                    piece(x, mid.top, w, midH, srcMid.left, srcMid.top, w, srcMidH);
                }
            }
        } else {
            if (srcMidW > 0 && srcMidH > 0) {
                for (int y = mid.top; y < mid.bottom; y += srcMidH) {
                    int h = mid.bottom - y < srcMidH ? mid.bottom - y : srcMidH;
                    piece(mid.left, y, midW, h, srcMid.left, srcMid.top, srcMidW, h);
                }
            }
        }
    }

    struct Border
    {
        bool present;
        RECT dest;
        RECT src;
    };
    const Border borders[] = {
        { c.left > 0 && c.top > 0, { rc.left, rc.top, rc.left + c.left, rc.top + c.top },
          { s.left, s.top, s.left + c.left, s.top + c.top } },
        { c.top > 0, { mid.left, rc.top, mid.right, rc.top + c.top }, { srcMid.left, s.top, srcMid.right, s.top + c.top } },
        { c.right > 0 && c.top > 0, { mid.right, rc.top, rc.right, rc.top + c.top },
          { srcMid.right, s.top, s.right, s.top + c.top } },
        { c.left > 0, { rc.left, mid.top, rc.left + c.left, mid.bottom }, { s.left, srcMid.top, s.left + c.left, srcMid.bottom } },
        { c.right > 0, { mid.right, mid.top, rc.right, mid.bottom }, { srcMid.right, srcMid.top, s.right, srcMid.bottom } },
        { c.left > 0 && c.bottom > 0, { rc.left, mid.bottom, rc.left + c.left, rc.bottom },
          { s.left, srcMid.bottom, s.left + c.left, s.bottom } },
        { c.bottom > 0, { mid.left, mid.bottom, mid.right, rc.bottom }, { srcMid.left, srcMid.bottom, srcMid.right, s.bottom } },
        { c.right > 0 && c.bottom > 0, { mid.right, mid.bottom, rc.right, rc.bottom },
          { srcMid.right, srcMid.bottom, s.right, s.bottom } },
    };
    for (const Border& b : borders) {
        if (!b.present || !Meets(b.dest, rcPaint)) continue;
        piece(b.dest.left, b.dest.top, b.dest.right - b.dest.left, b.dest.bottom - b.dest.top, b.src.left, b.src.top,
              b.src.right - b.src.left, b.src.bottom - b.src.top);
    }

    SelectObject(memory, oldBitmap);
    DeleteDC(memory);
}

bool CGdiPainter::DrawImageByName(HDC dc, CWindowUIManager* manager, const RECT& rcItem, const RECT& rcPaint,
                                  LPCWSTR name, LPCWSTR resType, RECT rcDest, RECT rcSource, RECT rcCorner,
                                  DWORD mask, BYTE fade, bool hole, bool xtiled, bool ytiled)
{
    if (name == NULL || name[0] == L'\0' || manager == NULL) return false;
    LPCWSTR type = resType != NULL && resType[0] != L'\0' ? resType : NULL;
    ImageEntry* image = manager->GetImageOrLoad(name, type, mask);
    if (image == NULL) return false;

    if (rcSource.left == 0 && rcSource.top == 0 && rcSource.right == 0 && rcSource.bottom == 0) {
        SetRect(&rcSource, 0, 0, image->nWidth, image->nHeight);
    } else {
        // Every side stays inside the image.
        if (rcSource.left < 0) rcSource.left = 0;
        if (rcSource.top < 0) rcSource.top = 0;
        if (rcSource.right > image->nWidth) rcSource.right = image->nWidth;
        if (rcSource.bottom > image->nHeight) rcSource.bottom = image->nHeight;
        if (rcSource.left > rcSource.right) rcSource.left = rcSource.right;
        if (rcSource.top > rcSource.bottom) rcSource.top = rcSource.bottom;
    }
    if (rcSource.right <= rcSource.left || rcSource.bottom <= rcSource.top) return true;

    RECT tmp;
    if (!IntersectRect(&tmp, &rcDest, &rcItem)) return true;
    if (!IntersectRect(&tmp, &rcDest, &rcPaint)) return true;
    bool alpha = manager->IsLayered() ? true : image->bAlpha;
    DrawImage(dc, image->hBitmap, rcDest, rcPaint, rcSource, rcCorner, alpha, fade, hole, xtiled, ytiled);
    return true;
}

namespace {

// Settings of one image string, carried from pair to pair.
struct ImageSettings
{
    CUIString name;
    CUIString type;
    RECT dest;
    RECT source;
    RECT corner;
    DWORD mask;
    BYTE fade;
    bool hole;
    bool xtiled;
    bool ytiled;
};

struct ImageStringRun
{
    HDC dc;
    CWindowUIManager* manager;
    RECT item;
    RECT paint;
    ImageSettings settings;
    int images;
    bool result;

    void Draw()
    {
        const ImageSettings& s = settings;
        result = CGdiPainter::DrawImageByName(dc, manager, item, paint, s.name, s.type, s.dest, s.source, s.corner,
                                              s.mask, s.fade, s.hole, s.xtiled, s.ytiled);
    }

    void Apply(const CUIString& key, const CUIString& value)
    {
        ImageSettings& s = settings;
        if (key == L"file") {
            if (images > 0) Draw();
            s.name = value;
            ++images;
        } else if (key == L"res") {
            if (images > 0) Draw();
            s.name = value;
        } else if (key == L"restype") {
            if (images > 0) Draw();
            s.type = value;
            ++images;
        } else if (key == L"dest") {
            RECT rel = { s.dest.left - item.left, s.dest.top - item.top, s.dest.right - item.left,
                         s.dest.bottom - item.top };
            ParseRectValue(value, rel);
            s.dest.left = item.left + rel.left;
            s.dest.top = item.top + rel.top;
            s.dest.right = item.left + rel.right;
            if (s.dest.right > item.right) s.dest.right = item.right;
            s.dest.bottom = item.top + rel.bottom;
            if (s.dest.bottom > item.bottom) s.dest.bottom = item.bottom;
        } else if (key == L"source") {
            ParseRectValue(value, s.source);
        } else if (key == L"corner") {
            ParseRectValue(value, s.corner);
        } else if (key == L"mask") {
            s.mask = ParseColorValue(value);
        } else if (key == L"fade") {
            int fade = ParseIntValue(value);
            s.fade = static_cast<BYTE>(fade < 0 ? 0 : fade > 255 ? 255 : fade);
        } else if (key == L"hole") {
            s.hole = ParseBoolValue(value);
        } else if (key == L"xtiled") {
            s.xtiled = ParseBoolValue(value);
        } else if (key == L"ytiled") {
            s.ytiled = ParseBoolValue(value);
        }
    }

    void Parse(LPCWSTR text)
    {
        images = 0;
        LPCWSTR p = text;
        while (*p != L'\0') {
            while (*p != L'\0' && *p <= L' ') ++p;
            LPCWSTR keyStart = p;
            while (*p != L'\0' && *p != L'=' && *p > L' ') ++p;
            CUIString key(keyStart, static_cast<int>(p - keyStart));
            while (*p != L'\0' && *p <= L' ') ++p;
            if (*p != L'=') return;
            ++p;
            while (*p != L'\0' && *p <= L' ') ++p;
            if (*p != L'\'') return;
            ++p;
            LPCWSTR valueStart = p;
            while (*p != L'\0' && *p != L'\'') ++p;
            if (*p != L'\'') return;
            CUIString value(valueStart, static_cast<int>(p - valueStart));
            ++p;
            if (!value.IsEmpty()) Apply(key, value);
            if (*p != L' ') return;
            ++p;
        }
    }
};

} // namespace

bool CGdiPainter::DrawImageString(HDC dc, CWindowUIManager* manager, const RECT& rcItem, const RECT& rcPaint,
                                  LPCWSTR image, LPCWSTR modify)
{
    if (manager == NULL || dc == NULL || image == NULL) return false;
    ImageStringRun run;
    run.dc = dc;
    run.manager = manager;
    run.item = rcItem;
    run.paint = rcPaint;
    run.settings.name = image;
    run.settings.dest = rcItem;
    SetRectEmpty(&run.settings.source);
    SetRectEmpty(&run.settings.corner);
    run.settings.mask = 0;
    run.settings.fade = 255;
    run.settings.hole = run.settings.xtiled = run.settings.ytiled = false;
    run.images = 0;
    run.result = false;
    run.Parse(image);
    if (modify != NULL) run.Parse(modify);
    run.Draw();
    return run.result;
}

void CGdiPainter::DrawText(HDC dc, CWindowUIManager* manager, RECT& rc, LPCWSTR text, DWORD color, int font,
                           UINT style)
{
    if (text == NULL || manager == NULL || dc == NULL) return;
    if (!manager->IsLayered() && !manager->IsUseGdiplusText()) {
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ArgbToColorRef(color));
        HGDIOBJ oldFont = SelectObject(dc, manager->GetFont(font));
        ::DrawTextW(dc, text, -1, &rc, style | DT_NOPREFIX);
        SelectObject(dc, oldFont);
        return;
    }

    Gdiplus::Graphics graphics(dc);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    // From the wide LOGFONT: the header's HFONT constructor goes through the
    // ANSI one, which turns a Chinese face name such as 微软雅黑 into "????".
    LOGFONTW logFont;
    ZeroMemory(&logFont, sizeof(logFont));
    ::GetObjectW(manager->GetFont(font), sizeof(logFont), &logFont);
    Gdiplus::Font gdiplusFont(dc, &logFont);
    Gdiplus::RectF area(static_cast<Gdiplus::REAL>(rc.left), static_cast<Gdiplus::REAL>(rc.top),
                        static_cast<Gdiplus::REAL>(rc.right - rc.left), static_cast<Gdiplus::REAL>(rc.bottom - rc.top));
    Gdiplus::SolidBrush brush(Gdiplus::Color(254, GetBValue(color), GetGValue(color), GetRValue(color)));
    Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
    if ((style & DT_END_ELLIPSIS) != 0) format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
    int flags = 0;
    if ((style & DT_NOCLIP) != 0) flags |= Gdiplus::StringFormatFlagsNoClip;
    if ((style & DT_SINGLELINE) != 0) flags |= Gdiplus::StringFormatFlagsNoWrap;
    format.SetFormatFlags(flags);
    if ((style & DT_CENTER) != 0) format.SetAlignment(Gdiplus::StringAlignmentCenter);
    else if ((style & DT_RIGHT) != 0) format.SetAlignment(Gdiplus::StringAlignmentFar);
    else format.SetAlignment(Gdiplus::StringAlignmentNear);
    if ((style & DT_VCENTER) != 0) format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    else if ((style & DT_BOTTOM) != 0) format.SetLineAlignment(Gdiplus::StringAlignmentFar);
    else format.SetLineAlignment(Gdiplus::StringAlignmentNear);

    if ((style & DT_CALCRECT) != 0) {
        Gdiplus::RectF bounds;
        graphics.MeasureString(text, -1, &gdiplusFont, area, &format, &bounds);
        rc.right = rc.left + static_cast<LONG>(bounds.Width) + 1;
        rc.bottom = rc.top + static_cast<LONG>(bounds.Height) + 1;
    } else {
        graphics.DrawString(text, -1, &gdiplusFont, area, &format, &brush);
    }
}

void CGdiPainter::DrawMarkupText(HDC dc, CWindowUIManager* manager, RECT& rc, LPCWSTR text, DWORD color,
                                 RECT* links, CUIString* linkNames, int& linkCount, UINT style)
{
    CMarkupLayout layout(dc, manager, color, links, linkNames, linkCount, style);
    linkCount = layout.Run(rc, text);
}

} // namespace DirectUI
