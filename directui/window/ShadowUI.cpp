#include "window/ShadowUI.h"

#include "manager/WindowUIManager.h"
#include "render/GdiPainter.h"

#include <math.h>
#include <string.h>

#include <map>
#include <vector>

namespace DirectUI {

namespace {

bool g_classRegistered = false;

// The largest shadow drawn, the same on every target: a side of 16,384 pixels
// and 64 million pixels in all (a 256 MiB bitmap).
const int kMaxShadowSide = 16384;
const long long kMaxShadowPixels = 64LL * 1024 * 1024;

typedef std::map<HWND, CShadowUI*> ShadowMap;

ShadowMap& GetShadowMap()
{
    static ShadowMap* map = new ShadowMap;
    return *map;
}

// One row of a region: pixels left..right-1, or empty.
struct Span
{
    int left, right;
    bool Empty() const { return left >= right; }
};

} // namespace

CShadowUI::CShadowUI()
    : m_pManager(NULL), m_hWnd(NULL), m_OriParentProc(NULL), m_Status(0), m_bIsImageMode(false),
      m_bIsShowShadow(false), m_nDarkness(150), m_nSharpness(5), m_nSize(0), m_nxOffset(0), m_nyOffset(0),
      m_WndSizeX(0), m_WndSizeY(0), m_bUpdate(0), m_Color(0)
{
    SetRectEmpty(&m_rcShadowCorner);
}

bool CShadowUI::Initialize(HINSTANCE instance)
{
    if (g_classRegistered) return false;
    WNDCLASSEXW wc = { 0 };
    wc.cbSize = sizeof(wc);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = GetWindowClass();
    RegisterClassExW(&wc);
    g_classRegistered = true;
    return true;
}

CShadowUI* CShadowUI::FindShadow(HWND shadowed)
{
    ShadowMap& map = GetShadowMap();
    ShadowMap::iterator it = map.find(shadowed);
    return it == map.end() ? NULL : it->second;
}

void CShadowUI::Create(CWindowUIManager* manager)
{
    if (!m_bIsShowShadow) return;
    HWND parent = manager->GetPaintWindow();
    if (parent == NULL) return;
    // Once per window: a second tree attached later must not subclass again.
    if (FindShadow(parent) != NULL) return;
    m_pManager = manager;
    GetShadowMap()[parent] = this;

    LONG parentStyle = GetWindowLongW(parent, GWL_STYLE);
    m_hWnd = CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT, GetWindowClass(), NULL,
                             WS_POPUP | WS_BORDER | WS_SYSMENU | (parentStyle & WS_DLGFRAME), CW_USEDEFAULT, 0, 0, 0,
                             parent, NULL, CWindowUIManager::GetInstance(), NULL);
    if (!IsWindowVisible(parent)) {
        m_Status = kCreated;
    } else if (IsIconic(parent) || IsZoomed(parent)) {
        m_Status = kCreated | kParentVisible;
    } else {
        m_Status = kCreated | kShown | kParentVisible;
        if (m_hWnd != NULL) ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
        Update(parent);
    }
    m_OriParentProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(parent, GWLP_WNDPROC));
    SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ParentProc));
}

void CShadowUI::SetShowing(bool shown)
{
    if (m_hWnd != NULL) ShowWindow(m_hWnd, shown ? SW_SHOWNOACTIVATE : SW_HIDE);
    if (shown) m_Status |= kShown;
    else m_Status &= ~kShown;
}

POINT CShadowUI::ShadowOrigin(const RECT& rcParent) const
{
    POINT pt;
    if (m_bIsImageMode) {
        pt.x = rcParent.left - m_rcShadowCorner.left;
        pt.y = rcParent.top - m_rcShadowCorner.top;
    } else {
        pt.x = rcParent.left + m_nxOffset - GeometrySize();
        pt.y = rcParent.top + m_nyOffset - GeometrySize();
    }
    return pt;
}

LRESULT CALLBACK CShadowUI::ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CShadowUI* self = FindShadow(hwnd);
    if (self == NULL) return DefWindowProcW(hwnd, msg, wParam, lParam);
    WNDPROC original = self->m_OriParentProc;
    switch (msg) {
    case WM_DESTROY:
        if (self->m_hWnd != NULL) DestroyWindow(self->m_hWnd);
        self->m_hWnd = NULL;
        break;
    case WM_MOVE:
        if ((self->m_Status & kShown) != 0 && self->m_hWnd != NULL) {
            RECT rc;
            GetWindowRect(hwnd, &rc);
            POINT pt = self->ShadowOrigin(rc);
            SetWindowPos(self->m_hWnd, NULL, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
        }
        break;
    case WM_SIZE:
        if ((self->m_Status & kCreated) == 0) break;
        if (wParam == SIZE_MAXIMIZED || wParam == SIZE_MINIMIZED) {
            self->SetShowing(false);
        } else if (IsWindowVisible(hwnd) && !IsIconic(hwnd) && !IsZoomed(hwnd)) {
            WORD cx = LOWORD(lParam), cy = HIWORD(lParam);
            // Growing waits for the window's own paint, so the shadow never
            // shows before the window has drawn its new area.
            if (cx > self->m_WndSizeX || cy > self->m_WndSizeY) self->m_bUpdate = 1;
            else self->Update(hwnd);
            if ((self->m_Status & kShown) == 0) self->SetShowing(true);
        }
        self->m_WndSizeX = LOWORD(lParam);
        self->m_WndSizeY = HIWORD(lParam);
        break;
    case WM_PAINT:
        if (self->m_bUpdate != 0) {
            self->Update(hwnd);
            self->m_bUpdate = 0;
        }
        break;
    case WM_SHOWWINDOW:
        if ((self->m_Status & kCreated) == 0) break;
        if (wParam != 0 && (self->m_Status & kParentVisible) == 0) {
            self->m_bUpdate = 1;
            self->SetShowing(true);
            self->m_Status |= kParentVisible;
        } else if (wParam == 0) {
            self->SetShowing(false);
            self->m_Status &= ~kParentVisible;
        }
        break;
    case WM_NCDESTROY:
        // The saved procedure is read above, before the entry goes.
        GetShadowMap().erase(hwnd);
        break;
    case WM_EXITSIZEMOVE:
        self->UpdateIfShown();
        break;
    default:
        break;
    }
    return CallWindowProcW(original, hwnd, msg, wParam, lParam);
}

void CShadowUI::UpdateIfShown()
{
    if ((m_Status & kShown) != 0 && m_pManager != NULL) Update(m_pManager->GetPaintWindow());
}

void CShadowUI::Update(HWND shadowed)
{
    if (m_hWnd == NULL || shadowed == NULL) return;
    RECT rc;
    GetWindowRect(shadowed, &rc);
    int extraX = 2 * GeometrySize(), extraY = 2 * GeometrySize();
    if (m_bIsImageMode) {
        if (m_sShadowImage.IsEmpty()) return;
        extraX = m_rcShadowCorner.left + m_rcShadowCorner.right;
        extraY = m_rcShadowCorner.top + m_rcShadowCorner.bottom;
    }
    int width = rc.right - rc.left + extraX, height = rc.bottom - rc.top + extraY;
    if (width <= 0 || height <= 0) return;
    // A huge window keeps the shadow as it is: the bitmap would take gigabytes
    // where the address space allows it, and seconds to clear.
    if (width > kMaxShadowSide || height > kMaxShadowSide
        || static_cast<long long>(width) * height > kMaxShadowPixels)
        return;

    HDC screen = GetDC(NULL);
    HDC dc = CreateCompatibleDC(screen);
    LPDWORD bits = NULL;
    HBITMAP bitmap = CGdiPainter::CreateDib32(screen, width, height, &bits);
    ReleaseDC(NULL, screen);
    // A bitmap that cannot be made leaves the shadow as it is.
    if (dc == NULL || bitmap == NULL || bits == NULL) {
        if (bitmap != NULL) DeleteObject(bitmap);
        if (dc != NULL) DeleteDC(dc);
        return;
    }
    HGDIOBJ old = SelectObject(dc, bitmap);
    bool drawn = true;
    if (m_bIsImageMode) {
        ImageEntry* image = m_pManager != NULL ? m_pManager->GetImageOrLoad(m_sShadowImage) : NULL;
        if (image == NULL) {
            drawn = false;
        } else {
            RECT dest = { 0, 0, width, height };
            RECT part = { 0, 0, image->nWidth, image->nHeight };
            CGdiPainter::DrawImage(dc, image->hBitmap, dest, dest, part, m_rcShadowCorner, image->bAlpha, 255, true);
        }
    } else {
        memset(bits, 0, static_cast<size_t>(width) * height * 4);
        MakeShadow(reinterpret_cast<UINT32*>(bits), shadowed, rc);
    }
    if (drawn) {
        POINT origin = ShadowOrigin(rc);
        SetWindowPos(m_hWnd, NULL, origin.x, origin.y, width, height, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOREDRAW);
        POINT source = { 0, 0 };
        SIZE size = { width, height };
        BLENDFUNCTION blend = { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
        UpdateLayeredWindow(m_hWnd, NULL, &origin, &size, dc, &source, 0, &blend, ULW_ALPHA);
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

DWORD CShadowUI::PreMultiply(COLORREF color, unsigned char alpha)
{
    DWORD blue = (color & 0xFF) * alpha / 255;
    DWORD green = ((color >> 8) & 0xFF) * alpha / 255;
    DWORD red = ((color >> 16) & 0xFF) * alpha / 255;
    return (static_cast<DWORD>(alpha) << 24) | (red << 16) | (green << 8) | blue;
}

void CShadowUI::MakeShadow(UINT32* bits, HWND shadowed, const RECT& rcParent)
{
    const int size = GeometrySize();
    const int parentWidth = rcParent.right - rcParent.left, parentHeight = rcParent.bottom - rcParent.top;
    const int width = parentWidth + 2 * size, height = parentHeight + 2 * size;
    if (parentWidth <= 0 || parentHeight <= 0) return;

    // The window's spans, in bitmap rows and columns; a window without a
    // region is its rectangle.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (GetWindowRgn(shadowed, region) == ERROR) {
        DeleteObject(region);
        region = CreateRectRgn(0, 0, parentWidth, parentHeight);
    }
    std::vector<Span> window(height);
    for (int y = 0; y < height; ++y) window[y].left = window[y].right = 0;
    for (int y = 0; y < parentHeight; ++y) {
        int first = 0;
        while (first < parentWidth && !PtInRegion(region, first, y)) ++first;
        if (first == parentWidth) continue;
        int last = parentWidth - 1;
        while (last > first && !PtInRegion(region, last, y)) --last;
        window[y + size].left = first + size;
        window[y + size].right = last + 1 + size;
    }
    DeleteObject(region);

    // The solid core: shrunk while the sharpness exceeds the size; a row
    // beyond the bitmap counts as empty.
    std::vector<Span> core(window);
    for (int pass = 0; pass < m_nSharpness - size; ++pass) {
        std::vector<Span> next(core);
        for (int y = 0; y < height; ++y) {
            if (y == 0 || y == height - 1 || core[y - 1].Empty() || core[y].Empty() || core[y + 1].Empty()) {
                next[y].left = next[y].right = 0;
                continue;
            }
            int left = core[y].left, right = core[y].right;
            if (core[y - 1].left > left) left = core[y - 1].left;
            if (core[y + 1].left > left) left = core[y + 1].left;
            if (core[y - 1].right < right) right = core[y - 1].right;
            if (core[y + 1].right < right) right = core[y + 1].right;
            next[y].left = left + 1;
            next[y].right = right - 1;
            if (next[y].Empty()) next[y].left = next[y].right = 0;
        }
        core.swap(next);
    }

    // A disc kernel: full darkness within S, fading to 0 at R.
    const int radius = size > m_nSharpness ? size : m_nSharpness;
    const double solid = size > m_nSharpness ? size - m_nSharpness : 0;
    const int side = 2 * radius + 1;
    std::vector<UINT32> kernel(static_cast<size_t>(side) * side);
    for (int ky = 0; ky < side; ++ky) {
        for (int kx = 0; kx < side; ++kx) {
            double d = sqrt(static_cast<double>((kx - radius) * (kx - radius) + (ky - radius) * (ky - radius)));
            double alpha = 0;
            if (d < solid) alpha = m_nDarkness;
            else if (d <= radius) alpha = (1.0 - (d - solid) / (m_nSharpness + 1)) * m_nDarkness;
            if (alpha < 0) alpha = 0;
            kernel[ky * side + kx] = PreMultiply(m_Color, static_cast<unsigned char>(alpha));
        }
    }

    // Stamps at the core's outline keep the larger alpha; every write stays
    // inside the bitmap.
    for (int y = 0; y < height; ++y) {
        const Span& row = core[y];
        if (row.Empty()) continue;
        const Span above = y > 0 ? core[y - 1] : Span{ 0, 0 };
        const Span below = y < height - 1 ? core[y + 1] : Span{ 0, 0 };
        for (int x = row.left; x < row.right; ++x) {
            bool inner = x > row.left && x < row.right - 1 && !above.Empty() && !below.Empty() && x >= above.left &&
                         x < above.right && x >= below.left && x < below.right;
            if (inner) continue;
            for (int ky = 0; ky < side; ++ky) {
                int py = y + ky - radius;
                if (py < 0 || py >= height) continue;
                for (int kx = 0; kx < side; ++kx) {
                    int px = x + kx - radius;
                    if (px < 0 || px >= width) continue;
                    UINT32 value = kernel[ky * side + kx];
                    UINT32& pixel = bits[py * width + px];
                    if ((value >> 24) > (pixel >> 24)) pixel = value;
                }
            }
        }
    }
    const UINT32 full = PreMultiply(m_Color, m_nDarkness);
    for (int y = 0; y < height; ++y) {
        const Span& row = core[y];
        for (int x = row.left < 0 ? 0 : row.left; x < row.right && x < width; ++x) bits[y * width + x] = full;
    }

    // The window's own pixels, where it sits over the shadow, stay clear.
    for (int y = 0; y < height; ++y) {
        const Span& row = window[y];
        if (row.Empty()) continue;
        int py = y - m_nyOffset;
        if (py < 0 || py >= height) continue;
        for (int x = row.left - m_nxOffset; x < row.right - m_nxOffset; ++x)
            if (x >= 0 && x < width) bits[py * width + x] = 0;
    }
}

bool CShadowUI::SetSize(int size)
{
    if (size > 20 || size < -20) return false;
    m_nSize = static_cast<signed char>(size);
    UpdateIfShown();
    return true;
}

bool CShadowUI::SetSharpness(unsigned int sharpness)
{
    if (sharpness > 20) return false;
    m_nSharpness = static_cast<BYTE>(sharpness);
    UpdateIfShown();
    return true;
}

bool CShadowUI::SetDarkness(unsigned int darkness)
{
    if (darkness > 255) return false;
    m_nDarkness = static_cast<BYTE>(darkness);
    UpdateIfShown();
    return true;
}

bool CShadowUI::SetPosition(int x, int y)
{
    if (x > 20 || x < -20 || y > 20 || y < -20) return false;
    m_nxOffset = static_cast<signed char>(x);
    m_nyOffset = static_cast<signed char>(y);
    UpdateIfShown();
    return true;
}

bool CShadowUI::SetColor(COLORREF color)
{
    m_Color = color;
    UpdateIfShown();
    return true;
}

bool CShadowUI::SetImage(LPCWSTR image)
{
    if (image == NULL) return false;
    m_bIsImageMode = true;
    m_sShadowImage = image;
    UpdateIfShown();
    return true;
}

bool CShadowUI::SetShadowCorner(const RECT& corner)
{
    if (corner.left < 0 || corner.top < 0 || corner.right < 0 || corner.bottom < 0) return false;
    m_rcShadowCorner = corner;
    UpdateIfShown();
    return true;
}

} // namespace DirectUI
