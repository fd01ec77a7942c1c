#pragma once

#include "core/UIString.h"
#include "manager/ImageEntry.h"

namespace DirectUI {

class CWindowUIManager;

// Stateless drawing functions on a device context: fills, gradients, lines,
// frames, images and image strings, plain and marked-up text. Colours are
// ARGB (alpha in the top byte).
class CGdiPainter
{
public:
    // Largest width or height of a decoded image.
    enum { kMaxImageSide = 8192 };
    // Image files above this size are not read at all.
    enum { kMaxImageFileSize = 0x4000000 };

    static void DrawColor(HDC dc, const RECT& rc, DWORD color);
    static void DrawGradient(HDC dc, const RECT& rc, DWORD first, DWORD second, bool vertical, int steps);
    static void DrawLine(HDC dc, const RECT& rc, int width, DWORD color, int style = PS_SOLID);
    static void DrawRect(HDC dc, const RECT& rc, int width, DWORD color);
    static void DrawRoundRect(HDC dc, const RECT& rc, int width, int cx, int cy, DWORD color);
    static DWORD AdjustColorHsl(DWORD color, short hue, short saturation, short lightness);
    static void RgbToHsl(DWORD color, float* hue, float* saturation, float* lightness);
    static DWORD HslToRgb(float hue, float saturation, float lightness);
    static void NonBlack(DWORD& color);

    // Pixel functions of layered windows; the rectangle is clipped to the
    // width x height bitmap.
    static void ClearPixels(LPDWORD bits, int width, int height, const RECT& rc);
    static void FixAlpha(LPDWORD bits, int width, int height, const RECT& rc);

    static ImageEntry* LoadImage(LPCWSTR name, LPCWSTR resType = NULL, DWORD mask = 0);
    static ImageEntry* DecodeImage(const BYTE* data, DWORD size, DWORD mask);
    static void FreeImage(ImageEntry* entry);
    static void DrawImage(HDC dc, HBITMAP bitmap, const RECT& rc, const RECT& rcPaint, const RECT& rcBmpPart,
                          const RECT& rcCorners, bool alpha, BYTE fade = 255, bool hole = false,
                          bool xtiled = false, bool ytiled = false);
    static bool DrawImageByName(HDC dc, CWindowUIManager* manager, const RECT& rcItem, const RECT& rcPaint,
                                LPCWSTR name, LPCWSTR resType, RECT rcDest, RECT rcSource, RECT rcCorner,
                                DWORD mask, BYTE fade, bool hole, bool xtiled, bool ytiled);
    static bool DrawImageString(HDC dc, CWindowUIManager* manager, const RECT& rcItem, const RECT& rcPaint,
                                LPCWSTR image, LPCWSTR modify = NULL);
    static bool BlendPixels(HDC dcDest, int x, int y, int cx, int cy, HDC dcSrc, int sx, int sy, int scx,
                            int scy, BYTE constantAlpha);

    static void DrawText(HDC dc, CWindowUIManager* manager, RECT& rc, LPCWSTR text, DWORD color, int font,
                         UINT style);
    // links holds linkCount slots on entry; linkCount receives how many were found.
    static void DrawMarkupText(HDC dc, CWindowUIManager* manager, RECT& rc, LPCWSTR text, DWORD color,
                               RECT* links, CUIString* linkNames, int& linkCount, UINT style);

    // The blend used for every image piece with alpha: msimg32's AlphaBlend
    // when present, BlendPixels otherwise.
    static bool AlphaBlendPiece(HDC dcDest, int x, int y, int cx, int cy, HDC dcSrc, int sx, int sy, int scx,
                                int scy, BYTE constantAlpha);
    static HBITMAP CreateDib32(HDC dc, int width, int height, LPDWORD* bits);
};

} // namespace DirectUI
