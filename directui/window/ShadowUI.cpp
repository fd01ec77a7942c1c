#include "window/ShadowUI.h"

namespace DirectUI {

namespace {
bool g_classRegistered = false;
} // namespace

CShadowUI::CShadowUI()
    : m_pManager(NULL), m_hWnd(NULL), m_bIsImageMode(false), m_bIsShowShadow(false), m_nDarkness(150),
      m_nSharpness(5), m_nSize(0), m_nxOffset(0), m_nyOffset(0), m_Color(0)
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

void CShadowUI::Create(CWindowUIManager* manager)
{
    if (!m_bIsShowShadow) return;
    m_pManager = manager;
}

bool CShadowUI::SetSize(int size)
{
    if (size > 20 || size < -20) return false;
    m_nSize = static_cast<signed char>(size);
    return true;
}

bool CShadowUI::SetSharpness(unsigned int sharpness)
{
    if (sharpness > 20) return false;
    m_nSharpness = static_cast<BYTE>(sharpness);
    return true;
}

bool CShadowUI::SetDarkness(unsigned int darkness)
{
    if (darkness > 255) return false;
    m_nDarkness = static_cast<BYTE>(darkness);
    return true;
}

bool CShadowUI::SetPosition(int x, int y)
{
    if (x > 20 || x < -20 || y > 20 || y < -20) return false;
    m_nxOffset = static_cast<signed char>(x);
    m_nyOffset = static_cast<signed char>(y);
    return true;
}

bool CShadowUI::SetColor(COLORREF color)
{
    m_Color = color;
    return true;
}

bool CShadowUI::SetImage(LPCWSTR image)
{
    if (image == NULL) return false;
    m_bIsImageMode = true;
    m_sShadowImage = image;
    return true;
}

bool CShadowUI::SetShadowCorner(const RECT& corner)
{
    if (corner.left < 0 || corner.top < 0 || corner.right < 0 || corner.bottom < 0) return false;
    m_rcShadowCorner = corner;
    return true;
}

} // namespace DirectUI
