#include "control/SliderUI.h"

#include "control/StateImage.h"
#include "core/SkinValues.h"

#include <string.h>

namespace DirectUI {

namespace {

// a * b / c in 64 bits; 0 when c is 0 (a slider no wider than its thumb, or
// a range not yet repaired, has nowhere to move).
int MulDiv64(LONGLONG a, LONGLONG b, LONGLONG c)
{
    if (c == 0) return 0;
    return static_cast<int>(a * b / c);
}

} // namespace

CSliderUI::CSliderUI() : m_uThumbState(0), m_nStep(1), m_bSendMove(false)
{
    m_uTextStyle = DT_SINGLELINE | DT_CENTER;
    m_szThumb.cx = m_szThumb.cy = 10;
}

CSliderUI::~CSliderUI() {}

LPCWSTR CSliderUI::GetControlClass() const { return L"SliderUI"; }

LPVOID CSliderUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"Slider") == 0) return this;
    return CProgressUI::GetInterface(name);
}

UINT CSliderUI::GetControlFlags() const { return IsEnabled() ? UIFLAG_SETCURSOR : 0; }

void CSliderUI::SetEnabled(bool enabled)
{
    CControlUI::SetEnabled(enabled);
    if (!IsEnabled()) m_uThumbState = 0;
}

void CSliderUI::SetThumbSize(int cx, int cy)
{
    m_szThumb.cx = cx;
    m_szThumb.cy = cy;
}

void CSliderUI::SetThumbImage(LPCWSTR image)
{
    m_sThumbImage = image;
    Invalidate();
}

void CSliderUI::SetThumbHotImage(LPCWSTR image)
{
    m_sThumbHotImage = image;
    Invalidate();
}

void CSliderUI::SetThumbPushedImage(LPCWSTR image)
{
    m_sThumbPushedImage = image;
    Invalidate();
}

RECT CSliderUI::GetThumbRect() const
{
    LONGLONG range = static_cast<LONGLONG>(m_nMax) - m_nMin;
    LONGLONG offset = static_cast<LONGLONG>(m_nValue) - m_nMin;
    RECT rc;
    if (m_bHorizontal) {
        int travel = m_rcItem.right - m_rcItem.left - m_szThumb.cx;
        rc.left = m_rcItem.left + MulDiv64(offset, travel, range);
        rc.top = (m_rcItem.top + m_rcItem.bottom - m_szThumb.cy) / 2;
        rc.right = rc.left + m_szThumb.cx;
        rc.bottom = rc.top + m_szThumb.cy;
    } else {
        int travel = m_rcItem.bottom - m_rcItem.top - m_szThumb.cy;
        rc.left = (m_rcItem.left + m_rcItem.right - m_szThumb.cx) / 2;
        rc.right = rc.left + m_szThumb.cx;
        rc.bottom = m_rcItem.bottom - MulDiv64(travel, offset, range);
        rc.top = rc.bottom - m_szThumb.cy;
    }
    return rc;
}

int CSliderUI::ValueAt(POINT pt) const
{
    LONGLONG range = static_cast<LONGLONG>(m_nMax) - m_nMin;
    if (m_bHorizontal) {
        if (pt.x >= m_rcItem.right - m_szThumb.cx / 2) return m_nMax;
        if (pt.x <= m_rcItem.left + m_szThumb.cx / 2) return m_nMin;
        int travel = m_rcItem.right - m_rcItem.left - m_szThumb.cx;
        return m_nMin + MulDiv64(range, pt.x - m_rcItem.left - m_szThumb.cx / 2, travel);
    }
    if (pt.y >= m_rcItem.bottom - m_szThumb.cy / 2) return m_nMin;
    if (pt.y <= m_rcItem.top + m_szThumb.cy / 2) return m_nMax;
    int travel = m_rcItem.bottom - m_rcItem.top - m_szThumb.cy;
    return m_nMin + MulDiv64(m_rcItem.bottom - m_szThumb.cy / 2 - pt.y, range, travel);
}

void CSliderUI::ChangeValue(int value)
{
    if ((m_uThumbState & UISTATE_CAPTURED) != 0) return;
    SetValue(value);
}

void CSliderUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && event.Type >= UIEVENT_MOUSEBEGIN && event.Type <= UIEVENT_MOUSEEND) {
        if (m_pParent != NULL) m_pParent->HandleEvent(event);
        else CLabelUI::HandleEvent(event);
        return;
    }
    // Geometry needs minimum < maximum even before the first paint.
    RepairRange();
    switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
        if (IsEnabled()) {
            m_uThumbState |= UISTATE_CAPTURED;
            int value = ValueAt(event.ptMouse);
            if (value != m_nValue && value >= m_nMin && value <= m_nMax) {
                m_nValue = value;
                Invalidate();
            }
        }
        return;
    case UIEVENT_BUTTONUP: {
        m_uThumbState &= ~UISTATE_CAPTURED;
        int value = ValueAt(event.ptMouse);
        if (value >= m_nMin && value <= m_nMax) m_nValue = value;
        CWindowUIManager* manager = m_pManager;
        Invalidate();
        // Last: a handler may delete the slider.
        if (manager != NULL) manager->SendNotify(this, L"valuechanged");
        return;
    }
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_SCROLLWHEEL:
        if (LOWORD(event.wParam) == 0 || LOWORD(event.wParam) == 1) {
            LONGLONG next = static_cast<LONGLONG>(m_nValue) + (LOWORD(event.wParam) == 0 ? m_nStep : -m_nStep);
            if (next >= m_nMin && next <= m_nMax) ChangeValue(static_cast<int>(next));
            if (m_pManager != NULL) m_pManager->SendNotify(this, L"valuechanged");
            return;
        }
        break;
    case UIEVENT_MOUSEMOVE:
        if ((m_uThumbState & UISTATE_CAPTURED) != 0) {
            m_nValue = ValueAt(event.ptMouse);
            if (m_bSendMove && m_pManager != NULL) m_pManager->SendNotify(this, L"movevaluechanged");
            Invalidate();
        }
        {
            RECT thumb = GetThumbRect();
            if (IsEnabled() && PtInRect(&thumb, event.ptMouse)) {
                m_uThumbState |= UISTATE_HOT;
                Invalidate();
                return;
            }
        }
        m_uThumbState &= ~UISTATE_HOT;
        Invalidate();
        return;
    case UIEVENT_SETCURSOR:
        if (IsEnabled()) {
            ::SetCursor(LoadCursor(NULL, IDC_HAND));
            return;
        }
        break;
    case UIEVENT_MOUSELEAVE:
        if (IsEnabled()) {
            m_uThumbState &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
    default:
        break;
    }
    CControlUI::HandleEvent(event);
}

void CSliderUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"thumbimage") == 0) SetThumbImage(value);
    else if (wcscmp(name, L"thumbhotimage") == 0) SetThumbHotImage(value);
    else if (wcscmp(name, L"thumbpushedimage") == 0) SetThumbPushedImage(value);
    else if (wcscmp(name, L"thumbsize") == 0) {
        SIZE size = m_szThumb;
        ParseSizeValue(value, size);
        SetThumbSize(size.cx, size.cy);
    } else if (wcscmp(name, L"step") == 0) SetChangeStep(ParseIntValue(value));
    else if (wcscmp(name, L"sendmove") == 0) SetCanSendMove(ParseBoolValue(value));
    else CProgressUI::SetAttribute(name, value);
}

void CSliderUI::PaintStateImage(HDC dc)
{
    CProgressUI::PaintStateImage(dc);
    CUIString* state = NULL;
    if ((m_uThumbState & UISTATE_CAPTURED) != 0) state = &m_sThumbPushedImage;
    else if ((m_uThumbState & UISTATE_HOT) != 0) state = &m_sThumbHotImage;
    DrawStateOrNormalImage(*this, dc, state, m_sThumbImage, PartDestModify(*this, GetThumbRect()));
}

} // namespace DirectUI
