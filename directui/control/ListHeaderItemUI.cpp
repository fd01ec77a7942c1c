#include "control/ListHeaderItemUI.h"

#include "control/ListInfoAttributes.h"
#include "control/StateImage.h"
#include "core/SkinValues.h"
#include "render/GdiPainter.h"

namespace DirectUI {

namespace {
// The separator strip is easier to catch a little wider than it is drawn.
const int kSeparatorGrip = 4;
} // namespace

CListHeaderItemUI::CListHeaderItemUI()
    : m_bDragable(true), m_uButtonState(0), m_iSepWidth(4), m_dwTextColor(0), m_iFont(-1),
      m_uTextStyle(DT_SINGLELINE | DT_VCENTER | DT_CENTER), m_bShowHtml(false), m_nScale(0)
{
    ptLastMouse.x = ptLastMouse.y = 0;
    SetRect(&m_rcTextPadding, 2, 0, 2, 0);
    SetMinWidth(kDefaultMinWidth);
}

CListHeaderItemUI::~CListHeaderItemUI() {}

LPCWSTR CListHeaderItemUI::GetControlClass() const { return L"ListHeaderItemUI"; }

LPVOID CListHeaderItemUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"ListHeaderItem") == 0) return this;
    return CContainerUI::GetInterface(name);
}

UINT CListHeaderItemUI::GetControlFlags() const
{
    return IsEnabled() && m_iSepWidth != 0 ? UIFLAG_SETCURSOR : 0;
}

void CListHeaderItemUI::SetEnabled(bool enabled)
{
    CContainerUI::SetEnabled(enabled);
    if (!IsEnabled()) m_uButtonState = 0;
}

void CListHeaderItemUI::SetDragable(bool dragable)
{
    m_bDragable = dragable;
    if (!m_bDragable) m_uButtonState &= ~UISTATE_CAPTURED;
}

RECT CListHeaderItemUI::GetThumbRect() const
{
    RECT rc = m_rcItem;
    if (m_iSepWidth >= 0) rc.left = m_rcItem.right - m_iSepWidth;
    else rc.right = m_rcItem.left - m_iSepWidth;
    return rc;
}

void CListHeaderItemUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && event.Type >= UIEVENT_MOUSEBEGIN && event.Type <= UIEVENT_MOUSEEND) {
        if (m_pParent != NULL) m_pParent->HandleEvent(event);
        else CContainerUI::HandleEvent(event);
        return;
    }
    RECT grip = GetThumbRect();
    if (m_iSepWidth >= 0) grip.left -= kSeparatorGrip;
    else grip.right += kSeparatorGrip;

    switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
        Invalidate();
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (!IsEnabled()) return;
        if (PtInRect(&grip, event.ptMouse)) {
            if (m_bDragable) {
                m_uButtonState |= UISTATE_CAPTURED;
                ptLastMouse = event.ptMouse;
            }
        } else {
            m_uButtonState |= UISTATE_PUSHED;
            if (m_pManager != NULL) m_pManager->SendNotify(this, L"headerclick");
            Invalidate();
        }
        return;
    case UIEVENT_BUTTONUP:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            m_uButtonState &= ~UISTATE_CAPTURED;
            if (GetParent() != NULL) GetParent()->RequestParentLayout();
        } else if ((m_uButtonState & UISTATE_PUSHED) != 0) {
            m_uButtonState &= ~UISTATE_PUSHED;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSEMOVE:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            RECT rc = m_rcItem;
            int step = event.ptMouse.x - ptLastMouse.x;
            int width = rc.right - rc.left + (m_iSepWidth >= 0 ? step : -step);
            // A step that would reach the minimum width is ignored.
            if (GetMinWidth() >= width) return;
            SetFixedWidth(width);
            ptLastMouse = event.ptMouse;
            if (GetParent() != NULL) GetParent()->RequestParentLayout();
        }
        return;
    case UIEVENT_SETCURSOR:
        if (IsEnabled() && m_bDragable && PtInRect(&grip, event.ptMouse)) {
            ::SetCursor(::LoadCursor(NULL, IDC_SIZEWE));
            return;
        }
        break;
    case UIEVENT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSELEAVE:
        if (IsEnabled()) {
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
    default:
        break;
    }
    CContainerUI::HandleEvent(event);
}

void CListHeaderItemUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"dragable") == 0) {
        SetDragable(ParseBoolValue(value));
    } else if (wcscmp(name, L"sepwidth") == 0) {
        SetSepWidth(ParseIntValue(value));
    } else if (wcscmp(name, L"align") == 0) {
        ApplyAlignValue(m_uTextStyle, value);
    } else if (wcscmp(name, L"endellipsis") == 0) {
        if (ParseBoolValue(value)) m_uTextStyle |= DT_END_ELLIPSIS;
        else m_uTextStyle &= ~DT_END_ELLIPSIS;
    } else if (wcscmp(name, L"font") == 0) {
        SetFont(ParseIntValue(value));
    } else if (wcscmp(name, L"textcolor") == 0) {
        SetTextColor(ParseColorValue(value));
    } else if (wcscmp(name, L"textpadding") == 0) {
        RECT rc = { 0, 0, 0, 0 };
        ParseRectValue(value, rc);
        SetTextPadding(rc);
    } else if (wcscmp(name, L"showhtml") == 0) {
        SetShowHtml(ParseBoolValue(value));
    } else if (wcscmp(name, L"normalimage") == 0) {
        SetNormalImage(value);
    } else if (wcscmp(name, L"hotimage") == 0) {
        SetHotImage(value);
    } else if (wcscmp(name, L"pushedimage") == 0) {
        SetPushedImage(value);
    } else if (wcscmp(name, L"focusedimage") == 0) {
        SetFocusedImage(value);
    } else if (wcscmp(name, L"sepimage") == 0) {
        SetSepImage(value);
    } else if (wcscmp(name, L"scale") == 0) {
        SetScale(ParseIntValue(value));
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

SIZE CListHeaderItemUI::PreferredSize(SIZE)
{
    if (m_cxyFixed.cy != 0) return m_cxyFixed;
    SIZE size = { m_cxyFixed.cx, 14 };
    if (m_pManager != NULL) size.cy += m_pManager->GetDefaultFontEntry()->tm.tmHeight;
    return size;
}

void CListHeaderItemUI::PaintStateImage(HDC dc)
{
    if (IsFocused()) m_uButtonState |= UISTATE_FOCUSED;
    else m_uButtonState &= ~UISTATE_FOCUSED;

    CUIString* state = NULL;
    if ((m_uButtonState & UISTATE_PUSHED) != 0) state = &m_sPushedImage;
    else if ((m_uButtonState & UISTATE_HOT) != 0) state = &m_sHotImage;
    else if ((m_uButtonState & UISTATE_FOCUSED) != 0) state = &m_sFocusedImage;
    DrawStateOrNormalImage(*this, dc, state, m_sNormalImage);

    if (m_sSepImage.IsEmpty()) return;
    DrawImageOrForget(*this, dc, m_sSepImage, PartDestModify(*this, GetThumbRect()));
}

void CListHeaderItemUI::PaintText(HDC dc)
{
    if (m_dwTextColor == 0 && m_pManager != NULL) m_dwTextColor = m_pManager->GetDefaultFontColor();
    if (m_sText.IsEmpty()) return;
    RECT rc = DeflatedRect(m_rcItem, m_rcTextPadding);
    if (m_bShowHtml) {
        int links = 0;
        CGdiPainter::DrawMarkupText(dc, m_pManager, rc, m_sText, m_dwTextColor, NULL, NULL, links,
                                    m_uTextStyle | DT_SINGLELINE);
    } else {
        CGdiPainter::DrawText(dc, m_pManager, rc, m_sText, m_dwTextColor, m_iFont, m_uTextStyle | DT_SINGLELINE);
    }
}

} // namespace DirectUI
