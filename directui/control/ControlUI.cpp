#include "control/ControlUI.h"

#include "core/SkinValues.h"
#include "render/ClipScope.h"
#include "render/GdiPainter.h"

#include <string.h>

namespace DirectUI {

namespace {
LONG g_liveControls = 0;
}

CControlUI::CControlUI()
    : m_pManager(NULL), m_pParent(NULL), m_bUpdateNeeded(true), m_bMenuUsed(false), m_bVisible(true),
      m_bInternVisible(true), m_bEnabled(true), m_bMouseEnabled(true), m_bKeyboardEnabled(true), m_bFocused(false),
      m_bFloat(false), m_bSetPos(false), m_chShortcut(0), m_pTag(0), m_dwBackColor(0), m_dwBackColor2(0),
      m_dwBackColor3(0), m_dwBorderColor(0), m_dwFocusBorderColor(0), m_bColorHsl(false), m_nBorderSize(0),
      m_nBorderStyle(PS_SOLID), m_nTooltipWidth(300)
{
    SetRectEmpty(&m_rcItem);
    SetRectEmpty(&m_rcPadding);
    SetRectEmpty(&m_rcPaint);
    SetRectEmpty(&m_rcBorderSize);
    m_cXY.cx = m_cXY.cy = 0;
    m_cxyFixed.cx = m_cxyFixed.cy = 0;
    m_cxyMin.cx = m_cxyMin.cy = 0;
    m_cxyMax.cx = m_cxyMax.cy = 9999;
    m_cxyBorderRound.cx = m_cxyBorderRound.cy = 0;
    memset(&m_tRelativePos, 0, sizeof(m_tRelativePos));
    InterlockedIncrement(&g_liveControls);
}

CControlUI::~CControlUI()
{
    OnDestroy(this);
    if (m_pManager != NULL) m_pManager->ForgetControl(this);
    InterlockedDecrement(&g_liveControls);
}

LONG CControlUI::LiveCount() { return g_liveControls; }

CUIString CControlUI::GetName() const { return m_sName; }
void CControlUI::SetName(LPCWSTR name) { m_sName = name; }
LPCWSTR CControlUI::GetControlClass() const { return L"ControlUI"; }

LPVOID CControlUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"Control") == 0) return this;
    return NULL;
}

UINT CControlUI::GetControlFlags() const { return 0; }
bool CControlUI::Activate() { return IsVisible() && IsEnabled(); }
CWindowUIManager* CControlUI::GetManager() const { return m_pManager; }

void CControlUI::SetManager(CWindowUIManager* manager, CControlUI* parent, bool init)
{
    m_pManager = manager;
    m_pParent = parent;
    if (init && m_pParent != NULL) Init();
}

CControlUI* CControlUI::GetParent() const { return m_pParent; }
CUIString CControlUI::GetText() const { return m_sText; }

void CControlUI::SetText(LPCWSTR text)
{
    if (m_sText == (text != NULL ? text : L"")) return;
    m_sText = text;
    Invalidate();
}

const RECT& CControlUI::GetPos() const { return m_rcItem; }

void CControlUI::SetPos(RECT rc)
{
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    RECT invalidate = m_rcItem;
    if (IsRectEmpty(&invalidate)) invalidate = rc;
    m_rcItem = rc;
    if (m_pManager == NULL) return;

    if (!m_bSetPos) {
        m_bSetPos = true;
        OnSize(this);
        m_bSetPos = false;
    }
    if (m_bFloat && m_pParent != NULL) {
        const RECT& parentPos = m_pParent->GetPos();
        m_cXY.cx = m_cXY.cx >= 0 ? m_rcItem.left - parentPos.left : m_rcItem.right - parentPos.right;
        m_cXY.cy = m_cXY.cy >= 0 ? m_rcItem.top - parentPos.top : m_rcItem.bottom - parentPos.bottom;
        m_cxyFixed.cx = m_rcItem.right - m_rcItem.left;
        m_cxyFixed.cy = m_rcItem.bottom - m_rcItem.top;
    }
    m_bUpdateNeeded = false;
    UnionRect(&invalidate, &invalidate, &m_rcItem);
    InvalidateArea(invalidate);
}

void CControlUI::InvalidateArea(RECT rc)
{
    if (m_pManager == NULL) return;
    for (CControlUI* parent = m_pParent; parent != NULL; parent = parent->GetParent()) {
        RECT parentPos = parent->GetPos();
        if (!IntersectRect(&rc, &rc, &parentPos)) return;
    }
    m_pManager->Invalidate(rc);
}

int CControlUI::GetWidth() const { return m_rcItem.right - m_rcItem.left; }
int CControlUI::GetHeight() const { return m_rcItem.bottom - m_rcItem.top; }
int CControlUI::GetX() const { return m_rcItem.left; }
int CControlUI::GetY() const { return m_rcItem.top; }
RECT CControlUI::GetPadding() const { return m_rcPadding; }

void CControlUI::SetPadding(RECT rc)
{
    m_rcPadding = rc;
    RequestParentLayout();
}

SIZE CControlUI::GetFixedXY() const { return m_cXY; }

void CControlUI::SetFixedXY(SIZE xy)
{
    m_cXY = xy;
    if (m_bFloat) RequestLayout();
    else RequestParentLayout();
}

int CControlUI::GetFixedWidth() const { return m_cxyFixed.cx; }

void CControlUI::SetFixedWidth(int cx)
{
    // An unchanged size asks for no layout: measuring controls set it during one.
    if (cx < 0 || cx == m_cxyFixed.cx) return;
    m_cxyFixed.cx = cx;
    if (m_bFloat) RequestLayout();
    else RequestParentLayout();
}

int CControlUI::GetFixedHeight() const { return m_cxyFixed.cy; }

void CControlUI::SetFixedHeight(int cy)
{
    if (cy < 0 || cy == m_cxyFixed.cy) return;
    m_cxyFixed.cy = cy;
    if (m_bFloat) RequestLayout();
    else RequestParentLayout();
}

int CControlUI::GetMinWidth() const { return m_cxyMin.cx; }
int CControlUI::GetMaxWidth() const { return m_cxyMax.cx; }
int CControlUI::GetMinHeight() const { return m_cxyMin.cy; }
int CControlUI::GetMaxHeight() const { return m_cxyMax.cy; }

void CControlUI::SetMinWidth(int cx)
{
    if (cx == m_cxyMin.cx || cx < 0) return;
    m_cxyMin.cx = cx;
    if (m_bFloat) RequestLayout();
    else RequestParentLayout();
}

void CControlUI::SetMaxWidth(int cx)
{
    if (cx == m_cxyMax.cx || cx < 0) return;
    m_cxyMax.cx = cx;
    if (m_bFloat) RequestLayout();
    else RequestParentLayout();
}

void CControlUI::SetMinHeight(int cy)
{
    if (cy == m_cxyMin.cy || cy < 0) return;
    m_cxyMin.cy = cy;
    if (m_bFloat) RequestLayout();
    else RequestParentLayout();
}

void CControlUI::SetMaxHeight(int cy)
{
    if (cy == m_cxyMax.cy || cy < 0) return;
    m_cxyMax.cy = cy;
    if (m_bFloat) RequestLayout();
    else RequestParentLayout();
}

void CControlUI::SetRelativePos(SIZE move, SIZE zoom)
{
    m_tRelativePos.bRelative = true;
    m_tRelativePos.nMoveXPercent = move.cx;
    m_tRelativePos.nMoveYPercent = move.cy;
    m_tRelativePos.nZoomXPercent = zoom.cx;
    m_tRelativePos.nZoomYPercent = zoom.cy;
}

void CControlUI::SetRelativeParentSize(SIZE size) { m_tRelativePos.szParent = size; }
RelativePosUI CControlUI::GetRelativePos() const { return m_tRelativePos; }
bool CControlUI::IsRelativePos() const { return m_tRelativePos.bRelative; }
CUIString CControlUI::GetToolTip() const { return m_sToolTip; }

void CControlUI::SetToolTip(LPCWSTR text)
{
    CUIString tip(text);
    tip.Replace(L"<n>", L"\r\n");
    m_sToolTip = tip;
}

void CControlUI::SetToolTipWidth(int width) { m_nTooltipWidth = width; }
int CControlUI::GetToolTipWidth() const { return m_nTooltipWidth; }
WCHAR CControlUI::GetShortcut() const { return m_chShortcut; }
void CControlUI::SetShortcut(WCHAR ch) { m_chShortcut = ch; }
bool CControlUI::IsMenuEnabled() const { return m_bMenuUsed; }
void CControlUI::SetMenuEnabled(bool enabled) { m_bMenuUsed = enabled; }
CUIString CControlUI::GetUserData() const { return m_sUserData; }
void CControlUI::SetUserData(LPCWSTR text) { m_sUserData = text; }
UINT_PTR CControlUI::GetTag() const { return m_pTag; }
void CControlUI::SetTag(UINT_PTR tag) { m_pTag = tag; }
bool CControlUI::IsVisible() const { return m_bVisible && m_bInternVisible; }

void CControlUI::SetVisible(bool visible)
{
    if (m_bVisible == visible) return;
    bool wasVisible = IsVisible();
    m_bVisible = visible;
    if (m_bFocused) m_bFocused = false;
    if (!visible && m_pManager != NULL && m_pManager->GetFocus() == this) m_pManager->SetFocus(NULL);
    if (IsVisible() != wasVisible) RequestParentLayout();
}

void CControlUI::SetVisibleByParent(bool visible)
{
    m_bInternVisible = visible;
    if (!visible && m_pManager != NULL && m_pManager->GetFocus() == this) m_pManager->SetFocus(NULL);
}

bool CControlUI::IsEnabled() const { return m_bEnabled; }

void CControlUI::SetEnabled(bool enabled)
{
    if (m_bEnabled == enabled) return;
    m_bEnabled = enabled;
    Invalidate();
}

bool CControlUI::IsMouseEnabled() const { return m_bMouseEnabled; }
void CControlUI::SetMouseEnabled(bool enabled) { m_bMouseEnabled = enabled; }
bool CControlUI::IsKeyboardEnabled() const { return m_bKeyboardEnabled; }
void CControlUI::SetKeyboardEnabled(bool enabled) { m_bKeyboardEnabled = enabled; }
bool CControlUI::IsFocused() const { return m_bFocused; }

void CControlUI::SetFocus()
{
    if (m_pManager != NULL) m_pManager->SetFocus(this);
}

bool CControlUI::IsFloat() const { return m_bFloat; }

void CControlUI::SetFloat(bool floating)
{
    if (m_bFloat == floating) return;
    m_bFloat = floating;
    RequestParentLayout();
}

CControlUI* CControlUI::FindControl(FINDCONTROLPROC proc, LPVOID data, UINT flags)
{
    if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible()) return NULL;
    if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled()) return NULL;
    if ((flags & UIFIND_HITTEST) != 0
        && (!m_bMouseEnabled || !PtInRect(&m_rcItem, *static_cast<LPPOINT>(data))))
        return NULL;
    return proc(this, data);
}

void CControlUI::Init()
{
    InitSelf();
    OnInit(this);
}

void CControlUI::InitSelf() {}

void CControlUI::DispatchEvent(ControlEvent& event)
{
    if (OnEvent(&event)) HandleEvent(event);
}

void CControlUI::HandleEvent(ControlEvent& event)
{
    switch (event.Type) {
    case UIEVENT_SETCURSOR:
        ::SetCursor(LoadCursor(NULL, IDC_ARROW));
        return;
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
        m_bFocused = event.Type == UIEVENT_SETFOCUS;
        Invalidate();
        return;
    case UIEVENT_TIMER:
        if (m_pManager != NULL) m_pManager->SendNotify(this, L"timer", event.wParam, event.lParam);
        return;
    case UIEVENT_CONTEXTMENU:
        if (IsMenuEnabled()) {
            if (m_pManager != NULL) m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
            return;
        }
        break;
    default:
        break;
    }
    if (m_pParent != NULL) m_pParent->HandleEvent(event);
}

void CControlUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"pos") == 0) {
        RECT rc = { 0, 0, 0, 0 };
        ParseRectValue(value, rc);
        SIZE xy;
        xy.cx = rc.left >= 0 ? rc.left : rc.right;
        xy.cy = rc.top >= 0 ? rc.top : rc.bottom;
        SetFixedXY(xy);
        SetFixedWidth(rc.right - rc.left);
        SetFixedHeight(rc.bottom - rc.top);
    } else if (wcscmp(name, L"relativepos") == 0) {
        int numbers[4] = { 0, 0, 0, 0 };
        ParseNumberList(value, numbers, 4);
        SIZE move = { numbers[0], numbers[1] };
        SIZE zoom = { numbers[2], numbers[3] };
        SetRelativePos(move, zoom);
    } else if (wcscmp(name, L"padding") == 0) {
        RECT rc = { 0, 0, 0, 0 };
        ParseRectValue(value, rc);
        SetPadding(rc);
    } else if (wcscmp(name, L"bkcolor") == 0 || wcscmp(name, L"bkcolor1") == 0) {
        SetBkColor(ParseColorValue(value));
    } else if (wcscmp(name, L"bkcolor2") == 0) {
        SetBkColor2(ParseColorValue(value));
    } else if (wcscmp(name, L"bkcolor3") == 0) {
        SetBkColor3(ParseColorValue(value));
    } else if (wcscmp(name, L"bordercolor") == 0) {
        SetBorderColor(ParseColorValue(value));
    } else if (wcscmp(name, L"focusbordercolor") == 0) {
        SetFocusBorderColor(ParseColorValue(value));
    } else if (wcscmp(name, L"colorhsl") == 0) {
        SetColorHsl(ParseBoolValue(value));
    } else if (wcscmp(name, L"bordersize") == 0) {
        RECT rc = { 0, 0, 0, 0 };
        int count = ParseRectValue(value, rc);
        if (count >= 4) {
            SetBorderSize(rc);
        } else {
            SetBorderSize(static_cast<int>(rc.left));
            RECT none = { 0, 0, 0, 0 };
            SetBorderSize(none);
        }
    } else if (wcscmp(name, L"leftbordersize") == 0) {
        SetLeftBorderSize(ParseIntValue(value));
    } else if (wcscmp(name, L"topbordersize") == 0) {
        SetTopBorderSize(ParseIntValue(value));
    } else if (wcscmp(name, L"rightbordersize") == 0) {
        SetRightBorderSize(ParseIntValue(value));
    } else if (wcscmp(name, L"bottombordersize") == 0) {
        SetBottomBorderSize(ParseIntValue(value));
    } else if (wcscmp(name, L"borderstyle") == 0) {
        SetBorderStyle(ParseIntValue(value));
    } else if (wcscmp(name, L"borderround") == 0) {
        SIZE round = { 0, 0 };
        ParseSizeValue(value, round);
        SetBorderRound(round);
    } else if (wcscmp(name, L"bkimage") == 0) {
        SetBkImage(value);
    } else if (wcscmp(name, L"width") == 0) {
        SetFixedWidth(ParseIntValue(value));
    } else if (wcscmp(name, L"height") == 0) {
        SetFixedHeight(ParseIntValue(value));
    } else if (wcscmp(name, L"minwidth") == 0) {
        SetMinWidth(ParseIntValue(value));
    } else if (wcscmp(name, L"minheight") == 0) {
        SetMinHeight(ParseIntValue(value));
    } else if (wcscmp(name, L"maxwidth") == 0) {
        SetMaxWidth(ParseIntValue(value));
    } else if (wcscmp(name, L"maxheight") == 0) {
        SetMaxHeight(ParseIntValue(value));
    } else if (wcscmp(name, L"name") == 0) {
        SetName(value);
    } else if (wcscmp(name, L"text") == 0) {
        SetText(value);
    } else if (wcscmp(name, L"tooltip") == 0) {
        SetToolTip(value);
    } else if (wcscmp(name, L"userdata") == 0) {
        SetUserData(value);
    } else if (wcscmp(name, L"enabled") == 0) {
        SetEnabled(ParseBoolValue(value));
    } else if (wcscmp(name, L"mouse") == 0) {
        SetMouseEnabled(ParseBoolValue(value));
    } else if (wcscmp(name, L"keyboard") == 0) {
        SetKeyboardEnabled(ParseBoolValue(value));
    } else if (wcscmp(name, L"visible") == 0) {
        SetVisible(ParseBoolValue(value));
    } else if (wcscmp(name, L"float") == 0) {
        SetFloat(ParseBoolValue(value));
    } else if (wcscmp(name, L"menu") == 0) {
        SetMenuEnabled(ParseBoolValue(value));
    } else if (wcscmp(name, L"shortcut") == 0) {
        SetShortcut(value[0]);
    } else if (wcscmp(name, L"virtualwnd") == 0) {
        SetVirtualWnd(value);
    }
}

SIZE CControlUI::PreferredSize(SIZE) { return m_cxyFixed; }

void CControlUI::Paint(HDC dc, const RECT& rcPaint)
{
    if (!IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    if (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0) {
        CClipScope roundClip;
        CClipScope::ClipToRoundRect(dc, m_rcItem, m_cxyBorderRound.cx, m_cxyBorderRound.cy, roundClip);
        PaintBackColor(dc);
        PaintBackImage(dc);
        PaintStateImage(dc);
        PaintText(dc);
        PaintBorder(dc);
    } else {
        PaintBackColor(dc);
        PaintBackImage(dc);
        PaintStateImage(dc);
        PaintText(dc);
        PaintBorder(dc);
    }
}

void CControlUI::PaintBackColor(HDC dc)
{
    if (m_dwBackColor == 0) return;
    if (m_dwBackColor2 == 0) {
        CGdiPainter::DrawColor(dc, m_rcItem, AdjustColor(m_dwBackColor));
        return;
    }
    if (m_dwBackColor3 != 0) {
        RECT upper = m_rcItem;
        upper.bottom = (m_rcItem.top + m_rcItem.bottom) / 2;
        CGdiPainter::DrawGradient(dc, upper, AdjustColor(m_dwBackColor), AdjustColor(m_dwBackColor2), true, 8);
        RECT lower = m_rcItem;
        lower.top = upper.bottom;
        CGdiPainter::DrawGradient(dc, lower, AdjustColor(m_dwBackColor2), AdjustColor(m_dwBackColor3), true, 8);
    } else {
        CGdiPainter::DrawGradient(dc, m_rcItem, AdjustColor(m_dwBackColor), AdjustColor(m_dwBackColor2), true, 16);
    }
}

void CControlUI::PaintBackImage(HDC dc)
{
    if (m_sBkImage.IsEmpty()) return;
    if (!DrawImage(dc, m_sBkImage)) m_sBkImage.Empty();
}

void CControlUI::PaintStateImage(HDC) {}
void CControlUI::PaintText(HDC) {}

void CControlUI::PaintBorder(HDC dc)
{
    if (m_dwBorderColor == 0 && m_dwFocusBorderColor == 0) return;
    if (m_nBorderSize > 0 && (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0)) {
        DWORD color = IsFocused() && m_dwFocusBorderColor != 0 ? m_dwFocusBorderColor : m_dwBorderColor;
        CGdiPainter::DrawRoundRect(dc, m_rcItem, m_nBorderSize, m_cxyBorderRound.cx, m_cxyBorderRound.cy,
                                   AdjustColor(color));
        return;
    }
    if (IsFocused() && m_dwFocusBorderColor != 0 && m_nBorderSize > 0) {
        CGdiPainter::DrawRect(dc, m_rcItem, m_nBorderSize, AdjustColor(m_dwFocusBorderColor));
        return;
    }
    const RECT& b = m_rcBorderSize;
    if (b.left <= 0 && b.top <= 0 && b.right <= 0 && b.bottom <= 0) {
        if (m_nBorderSize > 0) CGdiPainter::DrawRect(dc, m_rcItem, m_nBorderSize, AdjustColor(m_dwBorderColor));
        return;
    }
    const RECT& r = m_rcItem;
    DWORD color = AdjustColor(m_dwBorderColor);
    if (b.left > 0) {
        RECT line = { r.left, r.top, r.left, r.bottom };
        CGdiPainter::DrawLine(dc, line, b.left, color, m_nBorderStyle);
    }
    if (b.top > 0) {
        RECT line = { r.left, r.top, r.right, r.top };
        CGdiPainter::DrawLine(dc, line, b.top, color, m_nBorderStyle);
    }
    if (b.right > 0) {
        RECT line = { r.right, r.top, r.right, r.bottom };
        CGdiPainter::DrawLine(dc, line, b.right, color, m_nBorderStyle);
    }
    if (b.bottom > 0) {
        RECT line = { r.left, r.bottom, r.right, r.bottom };
        CGdiPainter::DrawLine(dc, line, b.bottom, color, m_nBorderStyle);
    }
}

void CControlUI::PaintOverlay(HDC, const RECT&) {}

void CControlUI::Invalidate()
{
    if (!IsVisible()) return;
    InvalidateArea(m_rcItem);
}

void CControlUI::RequestLayout()
{
    if (!IsVisible()) return;
    m_bUpdateNeeded = true;
    Invalidate();
    if (m_pManager != NULL) m_pManager->NeedUpdate();
}

void CControlUI::RequestParentLayout()
{
    if (m_pParent != NULL) {
        m_pParent->RequestLayout();
        m_pParent->Invalidate();
    } else {
        RequestLayout();
    }
    if (m_pManager != NULL) m_pManager->NeedUpdate();
}

void CControlUI::ApplyAttributes(LPCWSTR list)
{
    if (list == NULL) return;
    LPCWSTR p = list;
    while (*p != L'\0') {
        LPCWSTR nameStart = p;
        while (*p != L'\0' && *p != L'=') ++p;
        if (*p != L'=' || p[1] != L'"') return;
        CUIString name(nameStart, static_cast<int>(p - nameStart));
        p += 2;
        LPCWSTR valueStart = p;
        while (*p != L'\0' && *p != L'"') ++p;
        if (*p != L'"') return;
        CUIString value(valueStart, static_cast<int>(p - valueStart));
        ++p;
        SetAttribute(name, value);
        if (*p != L' ' || p[1] == L'\0') return;
        ++p;
    }
}

bool CControlUI::DrawImage(HDC dc, LPCWSTR image, LPCWSTR modify)
{
    return CGdiPainter::DrawImageString(dc, m_pManager, m_rcItem, m_rcPaint, image, modify);
}

DWORD CControlUI::AdjustColor(DWORD color) const
{
    if (!m_bColorHsl) return color;
    short h = 180, s = 100, l = 100;
    CWindowUIManager::GetHsl(&h, &s, &l);
    return CGdiPainter::AdjustColorHsl(color, h, s, l);
}

CUIString CControlUI::GetVirtualWnd() const
{
    if (!m_sVirtualWnd.IsEmpty()) return m_sVirtualWnd;
    for (CControlUI* parent = m_pParent; parent != NULL; parent = parent->GetParent()) {
        if (!parent->m_sVirtualWnd.IsEmpty()) return parent->m_sVirtualWnd;
    }
    return CUIString();
}

void CControlUI::SetVirtualWnd(LPCWSTR name)
{
    m_sVirtualWnd = name;
    if (m_pManager != NULL) m_pManager->SetVirtualWindowsUsed(true);
}

void CControlUI::SetBkColor(DWORD color)
{
    if (m_dwBackColor == color) return;
    m_dwBackColor = color;
    Invalidate();
}

void CControlUI::SetBkColor2(DWORD color)
{
    if (m_dwBackColor2 == color) return;
    m_dwBackColor2 = color;
    Invalidate();
}

void CControlUI::SetBkColor3(DWORD color)
{
    if (m_dwBackColor3 == color) return;
    m_dwBackColor3 = color;
    Invalidate();
}

void CControlUI::SetBkImage(LPCWSTR image)
{
    if (m_sBkImage == (image != NULL ? image : L"")) return;
    m_sBkImage = image;
    Invalidate();
}

void CControlUI::SetBorderColor(DWORD color)
{
    if (m_dwBorderColor == color) return;
    m_dwBorderColor = color;
    Invalidate();
}

void CControlUI::SetFocusBorderColor(DWORD color)
{
    if (m_dwFocusBorderColor == color) return;
    m_dwFocusBorderColor = color;
    Invalidate();
}

void CControlUI::SetColorHsl(bool hsl)
{
    if (m_bColorHsl == hsl) return;
    m_bColorHsl = hsl;
    Invalidate();
}

void CControlUI::SetBorderSize(int size)
{
    if (m_nBorderSize == size) return;
    m_nBorderSize = size;
    Invalidate();
}

void CControlUI::SetBorderSize(RECT rc)
{
    m_rcBorderSize = rc;
    Invalidate();
}

void CControlUI::SetBorderRound(SIZE round)
{
    m_cxyBorderRound = round;
    Invalidate();
}

void CControlUI::SetBorderStyle(int style)
{
    m_nBorderStyle = style;
    Invalidate();
}

RECT CControlUI::GetSideBorderSize() const { return m_rcBorderSize; }

void CControlUI::SetLeftBorderSize(int size)
{
    m_rcBorderSize.left = size;
    Invalidate();
}

void CControlUI::SetTopBorderSize(int size)
{
    m_rcBorderSize.top = size;
    Invalidate();
}

void CControlUI::SetRightBorderSize(int size)
{
    m_rcBorderSize.right = size;
    Invalidate();
}

void CControlUI::SetBottomBorderSize(int size)
{
    m_rcBorderSize.bottom = size;
    Invalidate();
}

} // namespace DirectUI
