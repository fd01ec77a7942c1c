#include "control/ScrollBarUI.h"

#include "control/ContainerUI.h"
#include "control/StateImage.h"
#include "core/SkinValues.h"
#include "render/GdiPainter.h"

#include <limits.h>

namespace DirectUI {

namespace {

// Light blue outline of a part that has no image.
const DWORD kOutlineColor = 0x0085E4FF;

int ClampInt(long long value)
{
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

} // namespace

CScrollBarUI::CScrollBarUI()
    : m_bHorizontal(false), m_nRange(100), m_nScrollPos(0), m_nLineSize(8), m_pOwner(NULL), m_nLastScrollPos(0),
      m_nLastScrollOffset(0), m_nScrollRepeatDelay(0), m_bShowButton1(true), m_uButton1State(0),
      m_bShowButton2(true), m_uButton2State(0), m_uThumbState(0)
{
    m_cxyFixed.cx = kDefaultThickness;
    m_ptLastMouse.x = m_ptLastMouse.y = 0;
    SetRectEmpty(&m_rcButton1);
    SetRectEmpty(&m_rcButton2);
    SetRectEmpty(&m_rcThumb);
}

CScrollBarUI::~CScrollBarUI() {}

LPCWSTR CScrollBarUI::GetControlClass() const { return L"ScrollBarUI"; }

LPVOID CScrollBarUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"ScrollBar") == 0) return this;
    return CControlUI::GetInterface(name);
}

void CScrollBarUI::SetHorizontal(bool horizontal)
{
    if (m_bHorizontal == horizontal) return;
    m_bHorizontal = horizontal;
    if (horizontal) {
        if (m_cxyFixed.cy == 0) {
            m_cxyFixed.cx = 0;
            m_cxyFixed.cy = kDefaultThickness;
        }
    } else if (m_cxyFixed.cx == 0) {
        m_cxyFixed.cx = kDefaultThickness;
        m_cxyFixed.cy = 0;
    }
    if (m_pOwner != NULL) m_pOwner->RequestLayout();
    else RequestParentLayout();
}

void CScrollBarUI::SetScrollRange(int range)
{
    if (m_nRange == range) return;
    m_nRange = range < 0 ? 0 : range;
    if (m_nScrollPos > m_nRange) m_nScrollPos = m_nRange;
    SetPos(m_rcItem);
}

void CScrollBarUI::SetScrollPos(int pos)
{
    if (m_nScrollPos == pos) return;
    if (pos < 0) pos = 0;
    if (pos > m_nRange) pos = m_nRange;
    m_nScrollPos = pos;
    SetPos(m_rcItem);
}

void CScrollBarUI::SetShowButton1(bool show)
{
    m_bShowButton1 = show;
    SetPos(m_rcItem);
}

void CScrollBarUI::SetShowButton2(bool show)
{
    m_bShowButton2 = show;
    SetPos(m_rcItem);
}

void CScrollBarUI::SetBkImage(PartImage which, LPCWSTR image) { SetPartImage(m_sBkImages, which, image); }

void CScrollBarUI::SetButton1Image(PartImage which, LPCWSTR image) { SetPartImage(m_sButton1Images, which, image); }

void CScrollBarUI::SetButton2Image(PartImage which, LPCWSTR image) { SetPartImage(m_sButton2Images, which, image); }

void CScrollBarUI::SetThumbImage(PartImage which, LPCWSTR image) { SetPartImage(m_sThumbImages, which, image); }

void CScrollBarUI::SetRailImage(PartImage which, LPCWSTR image) { SetPartImage(m_sRailImages, which, image); }

void CScrollBarUI::SetPartImage(CUIString* images, PartImage which, LPCWSTR image)
{
    images[which] = image;
    Invalidate();
}

void CScrollBarUI::SetVisible(bool visible)
{
    if (m_bVisible == visible) return;
    m_bVisible = visible;
    if (m_bFocused) m_bFocused = false;
}

void CScrollBarUI::SetEnabled(bool enabled)
{
    CControlUI::SetEnabled(enabled);
    if (!IsEnabled()) {
        m_uButton1State = 0;
        m_uButton2State = 0;
        m_uThumbState = 0;
    }
}

void CScrollBarUI::SetFocus()
{
    if (m_pOwner != NULL) m_pOwner->SetFocus();
    else CControlUI::SetFocus();
}

int CScrollBarUI::Thickness() const { return m_bHorizontal ? m_cxyFixed.cy : m_cxyFixed.cx; }

void CScrollBarUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    rc = m_rcItem;
    // Geometry in 64 bits: a huge range times the bar's length overflows int.
    const long long t = Thickness();
    const long long length = m_bHorizontal ? rc.right - rc.left : rc.bottom - rc.top;
    const long long rail = length - (m_bShowButton1 ? t : 0) - (m_bShowButton2 ? t : 0);
    // Positions along the bar: start and end of the bar, then of the parts.
    const long long start = m_bHorizontal ? rc.left : rc.top;
    const long long end = m_bHorizontal ? rc.right : rc.bottom;
    long long buttonLength = t < rail ? t : length / 2;
    if (t >= rail && buttonLength > t) buttonLength = t;
    long long b1End = start + (m_bShowButton1 ? buttonLength : 0);
    long long b2Start = end - (m_bShowButton2 ? buttonLength : 0);
    long long thumbStart = 0, thumbEnd = 0;
    bool thumb = t < rail;
    if (thumb) {
        if (m_nRange <= 0) {
            thumbStart = b1End;
            thumbEnd = b2Start;
        } else {
            long long thumbLength = length * rail / (length + m_nRange);
            if (thumbLength < t) thumbLength = t;
            thumbStart = (rail - thumbLength) * m_nScrollPos / m_nRange + b1End;
            thumbEnd = thumbStart + thumbLength;
            if (thumbEnd > b2Start) {
                thumbEnd = b2Start;
                thumbStart = thumbEnd - thumbLength;
            }
        }
    }
    if (m_bHorizontal) {
        m_rcButton1 = rc;
        m_rcButton1.right = ClampInt(b1End);
        m_rcButton2 = rc;
        m_rcButton2.left = ClampInt(b2Start);
        if (thumb) {
            m_rcThumb = rc;
            m_rcThumb.left = ClampInt(thumbStart);
            m_rcThumb.right = ClampInt(thumbEnd);
        }
    } else {
        m_rcButton1 = rc;
        m_rcButton1.bottom = ClampInt(b1End);
        m_rcButton2 = rc;
        m_rcButton2.top = ClampInt(b2Start);
        if (thumb) {
            m_rcThumb = rc;
            m_rcThumb.top = ClampInt(thumbStart);
            m_rcThumb.bottom = ClampInt(thumbEnd);
        }
    }
    if (!thumb) SetRectEmpty(&m_rcThumb);
}

void CScrollBarUI::MoveTo(int pos)
{
    if (m_pOwner == NULL) {
        SetScrollPos(pos);
        return;
    }
    SIZE ownerPos = m_pOwner->GetScrollPos();
    if (m_bHorizontal) ownerPos.cx = pos;
    else ownerPos.cy = pos;
    m_pOwner->SetScrollPos(ownerPos);
}

void CScrollBarUI::StepBack()
{
    if (m_pOwner == NULL) SetScrollPos(m_nScrollPos - m_nLineSize);
    else if (m_bHorizontal) m_pOwner->LineLeft();
    else m_pOwner->LineUp();
}

void CScrollBarUI::StepForward()
{
    if (m_pOwner == NULL) SetScrollPos(m_nScrollPos + m_nLineSize);
    else if (m_bHorizontal) m_pOwner->LineRight();
    else m_pOwner->LineDown();
}

void CScrollBarUI::PageBack()
{
    int page = m_bHorizontal ? GetWidth() : GetHeight();
    if (m_pOwner == NULL) SetScrollPos(m_nScrollPos - page);
    else if (m_bHorizontal) m_pOwner->PageLeft();
    else m_pOwner->PageUp();
}

void CScrollBarUI::PageForward()
{
    int page = m_bHorizontal ? GetWidth() : GetHeight();
    if (m_pOwner == NULL) SetScrollPos(m_nScrollPos + page);
    else if (m_bHorizontal) m_pOwner->PageRight();
    else m_pOwner->PageDown();
}

void CScrollBarUI::NotifyScroll()
{
    if (m_pOwner == NULL && m_pManager != NULL) m_pManager->SendNotify(this, L"scroll");
}

void CScrollBarUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && event.Type >= UIEVENT_MOUSEBEGIN && event.Type <= UIEVENT_MOUSEEND) {
        if (m_pOwner != NULL) m_pOwner->HandleEvent(event);
        else CControlUI::HandleEvent(event);
        return;
    }
    if (event.Type == UIEVENT_SETFOCUS || event.Type == UIEVENT_KILLFOCUS) return;
    if (event.Type == UIEVENT_BUTTONDOWN || event.Type == UIEVENT_DBLCLICK) {
        if (!IsEnabled()) return;
        m_nLastScrollOffset = 0;
        m_nScrollRepeatDelay = 0;
        if (m_pManager != NULL) m_pManager->SetTimer(this, kRepeatTimerId, kRepeatElapse);
        const POINT pt = event.ptMouse;
        if (PtInRect(&m_rcButton1, pt)) {
            m_uButton1State |= UISTATE_PUSHED;
            StepBack();
        } else if (PtInRect(&m_rcButton2, pt)) {
            m_uButton2State |= UISTATE_PUSHED;
            StepForward();
        } else if (PtInRect(&m_rcThumb, pt)) {
            m_uThumbState |= UISTATE_CAPTURED | UISTATE_PUSHED;
            m_ptLastMouse = pt;
            m_nLastScrollPos = m_nScrollPos;
        } else if (m_bHorizontal ? pt.x < m_rcThumb.left : pt.y < m_rcThumb.top) {
            PageBack();
        } else {
            PageForward();
        }
        NotifyScroll();
        return;
    }
    if (event.Type == UIEVENT_BUTTONUP) {
        m_nScrollRepeatDelay = 0;
        m_nLastScrollOffset = 0;
        if (m_pManager != NULL) m_pManager->KillTimer(this, kRepeatTimerId);
        if ((m_uThumbState & UISTATE_CAPTURED) != 0) {
            m_uThumbState &= ~(UISTATE_CAPTURED | UISTATE_PUSHED);
            Invalidate();
        } else if ((m_uButton1State & UISTATE_PUSHED) != 0) {
            m_uButton1State &= ~UISTATE_PUSHED;
            Invalidate();
        } else if ((m_uButton2State & UISTATE_PUSHED) != 0) {
            m_uButton2State &= ~UISTATE_PUSHED;
            Invalidate();
        }
        return;
    }
    if (event.Type == UIEVENT_MOUSEMOVE) {
        if ((m_uThumbState & UISTATE_CAPTURED) != 0) {
            long long thumbLength = m_bHorizontal ? m_rcThumb.right - m_rcThumb.left : m_rcThumb.bottom - m_rcThumb.top;
            long long length = m_bHorizontal ? GetWidth() : GetHeight();
            long long divisor = length - thumbLength - 2LL * Thickness();
            long long moved = m_bHorizontal ? event.ptMouse.x - m_ptLastMouse.x : event.ptMouse.y - m_ptLastMouse.y;
            if (divisor != 0) m_nLastScrollOffset = ClampInt(moved * m_nRange / divisor);
        } else {
            UINT before = m_uThumbState;
            if (PtInRect(&m_rcThumb, event.ptMouse)) {
                if (IsEnabled()) m_uThumbState |= UISTATE_HOT;
            } else {
                m_uThumbState &= ~UISTATE_HOT;
            }
            if (before != m_uThumbState) Invalidate();
        }
        return;
    }
    if (event.Type == UIEVENT_CONTEXTMENU) return;
    if (event.Type == UIEVENT_TIMER && event.wParam == kRepeatTimerId) {
        ++m_nScrollRepeatDelay;
        if ((m_uThumbState & UISTATE_CAPTURED) != 0) {
            MoveTo(ClampInt(static_cast<long long>(m_nLastScrollPos) + m_nLastScrollOffset));
            Invalidate();
        } else if ((m_uButton1State & UISTATE_PUSHED) != 0) {
            if (m_nScrollRepeatDelay <= kRepeatDelayTicks) return;
            StepBack();
        } else if ((m_uButton2State & UISTATE_PUSHED) != 0) {
            if (m_nScrollRepeatDelay <= kRepeatDelayTicks) return;
            StepForward();
        } else {
            if (m_nScrollRepeatDelay <= kRepeatDelayTicks) return;
            POINT pt;
            ::GetCursorPos(&pt);
            if (m_pManager != NULL) ::ScreenToClient(m_pManager->GetPaintWindow(), &pt);
            if (m_bHorizontal) {
                if (pt.x < m_rcThumb.left) PageBack();
                else if (pt.x > m_rcThumb.right) PageForward();
            } else {
                if (pt.y < m_rcThumb.top) PageBack();
                else if (pt.y > m_rcThumb.bottom) PageForward();
            }
        }
        NotifyScroll();
        return;
    }
    if (event.Type == UIEVENT_MOUSEENTER) {
        if (IsEnabled()) {
            m_uButton1State |= UISTATE_HOT;
            m_uButton2State |= UISTATE_HOT;
            if (PtInRect(&m_rcThumb, event.ptMouse)) m_uThumbState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    }
    if (event.Type == UIEVENT_MOUSELEAVE) {
        if (IsEnabled()) {
            m_uButton1State &= ~UISTATE_HOT;
            m_uButton2State &= ~UISTATE_HOT;
            m_uThumbState &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
    }
    if (m_pOwner != NULL) m_pOwner->HandleEvent(event);
    else CControlUI::HandleEvent(event);
}

void CScrollBarUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    struct ImageAttribute
    {
        LPCWSTR part;
        CUIString* images;
    };
    const ImageAttribute parts[] = {
        { L"button1", m_sButton1Images }, { L"button2", m_sButton2Images }, { L"thumb", m_sThumbImages },
        { L"rail", m_sRailImages },       { L"bk", m_sBkImages },
    };
    static const LPCWSTR states[] = { L"normalimage", L"hotimage", L"pushedimage", L"disabledimage" };
    for (size_t p = 0; p < sizeof(parts) / sizeof(parts[0]); ++p) {
        size_t len = wcslen(parts[p].part);
        if (wcsncmp(name, parts[p].part, len) != 0) continue;
        for (int s = 0; s < 4; ++s) {
            if (wcscmp(name + len, states[s]) != 0) continue;
            SetPartImage(parts[p].images, static_cast<PartImage>(s), value);
            return;
        }
    }
    if (wcscmp(name, L"hor") == 0) SetHorizontal(ParseBoolValue(value));
    else if (wcscmp(name, L"linesize") == 0) SetLineSize(ParseIntValue(value));
    else if (wcscmp(name, L"range") == 0) SetScrollRange(ParseIntValue(value));
    else if (wcscmp(name, L"value") == 0) SetScrollPos(ParseIntValue(value));
    else if (wcscmp(name, L"showbutton1") == 0) SetShowButton1(ParseBoolValue(value));
    else if (wcscmp(name, L"showbutton2") == 0) SetShowButton2(ParseBoolValue(value));
    else CControlUI::SetAttribute(name, value);
}

// The image of the first state set in state (disabled, pushed, hot), or
// NULL when none is.
CUIString* CScrollBarUI::ImageForState(CUIString* images, UINT state)
{
    if ((state & UISTATE_DISABLED) != 0) return &images[kDisabled];
    if ((state & UISTATE_PUSHED) != 0) return &images[kPushed];
    if ((state & UISTATE_HOT) != 0) return &images[kHot];
    return NULL;
}

// Draws a part by its state, else (or when that image fails) the normal
// image; images that fail are cleared. Without any, an outline when asked.
void CScrollBarUI::DrawPart(HDC dc, CUIString* images, UINT state, const RECT& part, bool outline)
{
    CUIString modify = PartDestModify(*this, part);
    if (DrawStateOrNormalImage(*this, dc, ImageForState(images, state), images[kNormal], modify)) return;
    if (outline) CGdiPainter::DrawRect(dc, part, 2, kOutlineColor);
}

void CScrollBarUI::Paint(HDC dc, const RECT& rcPaint)
{
    if (!IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    if (IsEnabled()) m_uThumbState &= ~UISTATE_DISABLED;
    else m_uThumbState |= UISTATE_DISABLED;

    // Background over the whole bar.
    DrawStateOrNormalImage(*this, dc, ImageForState(m_sBkImages, m_uThumbState), m_sBkImages[kNormal]);

    if (m_bShowButton1) {
        if (IsEnabled()) m_uButton1State &= ~UISTATE_DISABLED;
        else m_uButton1State |= UISTATE_DISABLED;
        DrawPart(dc, m_sButton1Images, m_uButton1State, m_rcButton1, true);
    }
    if (m_bShowButton2) {
        if (IsEnabled()) m_uButton2State &= ~UISTATE_DISABLED;
        else m_uButton2State |= UISTATE_DISABLED;
        DrawPart(dc, m_sButton2Images, m_uButton2State, m_rcButton2, true);
    }
    if (IsRectEmpty(&m_rcThumb)) return;
    DrawPart(dc, m_sThumbImages, m_uThumbState, m_rcThumb, true);

    // The rail grip: a square of the bar's thickness centred on the thumb.
    RECT grip = m_rcThumb;
    if (m_bHorizontal) {
        int middle = (m_rcThumb.left + m_rcThumb.right) / 2;
        int side = m_rcThumb.bottom - m_rcThumb.top;
        grip.left = middle - side / 2;
        grip.right = grip.left + side;
    } else {
        int middle = (m_rcThumb.top + m_rcThumb.bottom) / 2;
        int side = m_rcThumb.right - m_rcThumb.left;
        grip.top = middle - side / 2;
        grip.bottom = grip.top + side;
    }
    DrawPart(dc, m_sRailImages, m_uThumbState, grip, false);
}

} // namespace DirectUI
