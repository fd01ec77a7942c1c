#include "control/LayoutSeparator.h"

#include "control/ControlUI.h"
#include "render/GdiPainter.h"

namespace DirectUI {

namespace {
const DWORD kShadeColor = 0xAA000000;
} // namespace

CLayoutSeparator::CLayoutSeparator(bool vertical)
    : m_bVertical(vertical), m_iSepSize(0), m_uButtonState(0), m_bImmediateMode(false)
{
    m_ptLastMouse.x = m_ptLastMouse.y = 0;
    SetRectEmpty(&m_rcNewPos);
}

void CLayoutSeparator::SetImmediate(CControlUI* layout, bool immediate)
{
    if (m_bImmediateMode == immediate) return;
    if (IsDragging() && immediate && layout->GetManager() != NULL) layout->GetManager()->RemovePostPaint(layout);
    m_bImmediateMode = immediate;
}

RECT CLayoutSeparator::Strip(const RECT& rc) const
{
    RECT strip = rc;
    const int s = m_iSepSize;
    if (m_bVertical) {
        if (s >= 0) {
            strip.top = rc.bottom - s > rc.top ? rc.bottom - s : rc.top;
        } else {
            strip.bottom = rc.top - s < rc.bottom ? rc.top - s : rc.bottom;
        }
    } else if (s >= 0) {
        strip.left = rc.right - s;
    } else {
        strip.right = rc.left - s;
    }
    return strip;
}

bool CLayoutSeparator::HandleEvent(CControlUI* layout, ControlEvent& event)
{
    if (m_iSepSize == 0) return false;
    CWindowUIManager* manager = layout->GetManager();
    if (event.Type == UIEVENT_BUTTONDOWN && layout->IsEnabled()) {
        RECT strip = Strip(layout->GetPos());
        if (!PtInRect(&strip, event.ptMouse)) return false;
        m_uButtonState |= 0x40;
        m_ptLastMouse = event.ptMouse;
        m_rcNewPos = layout->GetPos();
        if (!m_bImmediateMode && manager != NULL) manager->AddPostPaint(layout);
        return true;
    }
    if (event.Type == UIEVENT_BUTTONUP) {
        if (!IsDragging()) return false;
        m_uButtonState &= ~0x40;
        layout->SetPos(m_rcNewPos);
        if (!m_bImmediateMode && manager != NULL) manager->RemovePostPaint(layout);
        layout->RequestParentLayout();
        return true;
    }
    if (event.Type == UIEVENT_MOUSEMOVE) {
        if (!IsDragging()) return false;
        const int mouse = m_bVertical ? event.ptMouse.y : event.ptMouse.x;
        const int last = m_bVertical ? m_ptLastMouse.y : m_ptLastMouse.x;
        const int d = mouse - last;
        m_ptLastMouse = event.ptMouse;
        RECT rc = m_rcNewPos;
        LONG& nearEdge = m_bVertical ? rc.top : rc.left;
        LONG& farEdge = m_bVertical ? rc.bottom : rc.right;
        const LONG newNear = m_bVertical ? m_rcNewPos.top : m_rcNewPos.left;
        const LONG newFar = m_bVertical ? m_rcNewPos.bottom : m_rcNewPos.right;
        if (m_iSepSize >= 0) {
            if ((d > 0 && mouse < newFar - m_iSepSize) || (d < 0 && mouse > newFar)) return true;
            farEdge += d;
        } else {
            if ((d > 0 && mouse < newNear) || (d < 0 && mouse > newNear - m_iSepSize)) return true;
            nearEdge += d;
        }
        const int size = farEdge - nearEdge;
        const int newSize = newFar - newNear;
        const int minSize = m_bVertical ? layout->GetMinHeight() : layout->GetMinWidth();
        const int maxSize = m_bVertical ? layout->GetMaxHeight() : layout->GetMaxWidth();
        if (size <= minSize) {
            if (newSize <= minSize) return true;
            if (m_iSepSize >= 0) farEdge = nearEdge + minSize;
            else nearEdge = farEdge - minSize;
        }
        if (size >= maxSize) {
            if (newSize >= maxSize) return true;
            if (m_iSepSize >= 0) farEdge = nearEdge + maxSize;
            else nearEdge = farEdge - maxSize;
        }
        RECT oldStrip = Strip(m_rcNewPos);
        m_rcNewPos = rc;
        if (m_bVertical) layout->SetFixedHeight(rc.bottom - rc.top);
        else layout->SetFixedWidth(rc.right - rc.left);
        if (m_bImmediateMode) {
            layout->SetPos(m_rcNewPos);
            layout->RequestParentLayout();
        } else if (manager != NULL) {
            RECT dirty = oldStrip, strip = Strip(m_rcNewPos), current = Strip(layout->GetPos());
            UnionRect(&dirty, &dirty, &strip);
            UnionRect(&dirty, &dirty, &current);
            manager->Invalidate(dirty);
        }
        return true;
    }
    if (event.Type == UIEVENT_SETCURSOR && layout->IsEnabled()) {
        RECT strip = Strip(layout->GetPos());
        if (!PtInRect(&strip, event.ptMouse)) return false;
        ::SetCursor(::LoadCursor(NULL, m_bVertical ? IDC_SIZENS : IDC_SIZEWE));
        return true;
    }
    return false;
}

void CLayoutSeparator::PaintOverlay(HDC dc) const
{
    if (!IsDragging() || m_bImmediateMode) return;
    CGdiPainter::DrawColor(dc, Strip(m_rcNewPos), kShadeColor);
}

} // namespace DirectUI
