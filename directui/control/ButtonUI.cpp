#include "control/ButtonUI.h"

#include "control/StateImage.h"
#include "control/TabLayoutUI.h"
#include "core/SkinValues.h"
#include "render/GdiPainter.h"

#include <string.h>

namespace DirectUI {

CButtonUI::CButtonUI()
    : m_uButtonState(0), m_dwHotBkColor(0), m_dwHotTextColor(0), m_dwPushedTextColor(0), m_dwFocusedTextColor(0),
      m_iBindTabIndex(-1)
{
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
}

CButtonUI::~CButtonUI() {}

LPCWSTR CButtonUI::GetControlClass() const { return L"ButtonUI"; }

LPVOID CButtonUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"Button") == 0) return this;
    return CLabelUI::GetInterface(name);
}

UINT CButtonUI::GetControlFlags() const
{
    return (IsKeyboardEnabled() ? UIFLAG_TABSTOP : 0) | (IsEnabled() ? UIFLAG_SETCURSOR : 0);
}

bool CButtonUI::Activate()
{
    if (!CLabelUI::Activate()) return false;
    if (m_pManager == NULL) return true;
    // Read before "click": its handler may delete this button.
    CWindowUIManager* manager = m_pManager;
    CUIString tabName = m_sBindTabLayoutName;
    int tabIndex = m_iBindTabIndex;
    manager->SendNotify(this, L"click");
    if (!tabName.IsEmpty() && tabIndex >= 0) {
        CControlUI* found = manager->FindControl(tabName);
        CTabLayoutUI* tab = found != NULL ? static_cast<CTabLayoutUI*>(found->GetInterface(L"TabLayout")) : NULL;
        if (tab != NULL) tab->SelectTab(tabIndex);
    }
    return true;
}

void CButtonUI::SetEnabled(bool enabled)
{
    CControlUI::SetEnabled(enabled);
    if (!IsEnabled()) m_uButtonState = 0;
}

void CButtonUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && event.Type >= UIEVENT_MOUSEBEGIN && event.Type <= UIEVENT_MOUSEEND) {
        if (m_pParent != NULL) m_pParent->HandleEvent(event);
        else CLabelUI::HandleEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
        Invalidate();
        break;
    case UIEVENT_KEYDOWN:
        if (IsKeyboardEnabled() && (event.chKey == VK_SPACE || event.chKey == VK_RETURN)) {
            Activate();
            return;
        }
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (PtInRect(&m_rcItem, event.ptMouse) && IsEnabled()) {
            m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSEMOVE:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            if (PtInRect(&m_rcItem, event.ptMouse)) m_uButtonState |= UISTATE_PUSHED;
            else m_uButtonState &= ~UISTATE_PUSHED;
            Invalidate();
        }
        return;
    case UIEVENT_BUTTONUP:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            bool inside = PtInRect(&m_rcItem, event.ptMouse) != FALSE;
            m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
            Invalidate();
            // Last: a "click" handler may delete this button.
            if (inside) Activate();
        }
        return;
    case UIEVENT_CONTEXTMENU:
        if (IsMenuEnabled() && m_pManager != NULL) m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
        return;
    case UIEVENT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        break;
    case UIEVENT_MOUSELEAVE:
        if (IsEnabled()) {
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
        }
        break;
    case UIEVENT_SETCURSOR:
        ::SetCursor(LoadCursor(NULL, IDC_HAND));
        return;
    default:
        break;
    }
    CLabelUI::HandleEvent(event);
}

void CButtonUI::SetNormalImage(LPCWSTR image)
{
    m_sNormalImage = image;
    Invalidate();
}

void CButtonUI::SetHotImage(LPCWSTR image)
{
    m_sHotImage = image;
    Invalidate();
}

void CButtonUI::SetHotForeImage(LPCWSTR image)
{
    m_sHotForeImage = image;
    Invalidate();
}

void CButtonUI::SetPushedImage(LPCWSTR image)
{
    m_sPushedImage = image;
    Invalidate();
}

void CButtonUI::SetFocusedImage(LPCWSTR image)
{
    m_sFocusedImage = image;
    Invalidate();
}

void CButtonUI::SetDisabledImage(LPCWSTR image)
{
    m_sDisabledImage = image;
    Invalidate();
}

void CButtonUI::SetForeImage(LPCWSTR image)
{
    m_sForeImage = image;
    Invalidate();
}

void CButtonUI::SetBindTabIndex(int index)
{
    if (index >= 0) m_iBindTabIndex = index;
}

void CButtonUI::SetBindTabLayoutName(LPCWSTR name)
{
    if (name != NULL) m_sBindTabLayoutName = name;
}

void CButtonUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"normalimage") == 0) SetNormalImage(value);
    else if (wcscmp(name, L"hotimage") == 0) SetHotImage(value);
    else if (wcscmp(name, L"pushedimage") == 0) SetPushedImage(value);
    else if (wcscmp(name, L"focusedimage") == 0) SetFocusedImage(value);
    else if (wcscmp(name, L"disabledimage") == 0) SetDisabledImage(value);
    else if (wcscmp(name, L"foreimage") == 0) SetForeImage(value);
    else if (wcscmp(name, L"hotforeimage") == 0) SetHotForeImage(value);
    else if (wcscmp(name, L"bindtabindex") == 0) SetBindTabIndex(ParseIntValue(value));
    else if (wcscmp(name, L"bindtablayoutname") == 0) SetBindTabLayoutName(value);
    else if (wcscmp(name, L"hotbkcolor") == 0) SetHotBkColor(ParseColorValue(value));
    else if (wcscmp(name, L"hottextcolor") == 0) SetHotTextColor(ParseColorValue(value));
    else if (wcscmp(name, L"pushedtextcolor") == 0) SetPushedTextColor(ParseColorValue(value));
    else if (wcscmp(name, L"focusedtextcolor") == 0) SetFocusedTextColor(ParseColorValue(value));
    else if (wcscmp(name, L"multiline") == 0) {
        if (ParseBoolValue(value)) {
            m_uTextStyle &= ~DT_SINGLELINE;
            m_uTextStyle |= DT_WORDBREAK;
        } else {
            m_uTextStyle &= ~DT_WORDBREAK;
            m_uTextStyle |= DT_SINGLELINE;
        }
    } else {
        CLabelUI::SetAttribute(name, value);
    }
}

SIZE CButtonUI::PreferredSize(SIZE available)
{
    if (m_cxyFixed.cy != 0) return CControlUI::PreferredSize(available);
    SIZE size = { m_cxyFixed.cx, FontHeight() + 8 };
    return size;
}

void CButtonUI::PaintStateImage(HDC dc)
{
    SyncFocusAndDisabledState(*this, m_uButtonState);

    CUIString* candidate = NULL;
    if ((m_uButtonState & UISTATE_DISABLED) != 0) candidate = &m_sDisabledImage;
    else if ((m_uButtonState & UISTATE_PUSHED) != 0) candidate = &m_sPushedImage;
    else if ((m_uButtonState & UISTATE_HOT) != 0) candidate = &m_sHotImage;
    else if ((m_uButtonState & UISTATE_FOCUSED) != 0) candidate = &m_sFocusedImage;

    bool hot = candidate == &m_sHotImage;
    if (hot && m_sHotImage.IsEmpty() && m_dwHotBkColor != 0) {
        CGdiPainter::DrawColor(dc, m_rcPaint, AdjustColor(m_dwHotBkColor));
        return;
    }
    bool hadHotImage = hot && !m_sHotImage.IsEmpty();
    DrawStateOrNormalImage(*this, dc, candidate, m_sNormalImage);

    if (hadHotImage && !m_sHotForeImage.IsEmpty()) DrawImageOrForget(*this, dc, m_sHotForeImage);
    else DrawImageOrForget(*this, dc, m_sForeImage);
}

void CButtonUI::PaintText(HDC dc)
{
    TakeDefaultColors();
    if (m_sText.IsEmpty()) return;
    RECT rc = TextRect();
    DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    if ((m_uButtonState & UISTATE_PUSHED) != 0 && m_dwPushedTextColor != 0) color = m_dwPushedTextColor;
    else if ((m_uButtonState & UISTATE_HOT) != 0 && m_dwHotTextColor != 0) color = m_dwHotTextColor;
    else if ((m_uButtonState & UISTATE_FOCUSED) != 0 && m_dwFocusedTextColor != 0) color = m_dwFocusedTextColor;
    DrawLabelText(dc, rc, m_sText, color, m_uTextStyle);
}

} // namespace DirectUI
