#include "control/ListBodyUI.h"

#include "control/LayoutMath.h"
#include "control/ListHeaderUI.h"
#include "control/ListUI.h"
#include "control/ScrollBarUI.h"

namespace DirectUI {

CListBodyUI::CListBodyUI(CListUI* owner) : m_pOwner(owner) {}

void CListBodyUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    rc = InnerRect();
    const bool vbar = m_pVerticalScrollBar != NULL && m_pVerticalScrollBar->IsVisible();
    const bool hbar = m_pHorizontalScrollBar != NULL && m_pHorizontalScrollBar->IsVisible();

    SIZE available = { rc.right - rc.left, rc.bottom - rc.top };
    if (hbar) available.cx += m_pHorizontalScrollBar->GetScrollRange();

    const StackMeasure measure = MeasureStack(available, true);
    // The widest item is the width the items need, unless a header says otherwise.
    int neededWidth = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = CContainerUI::ItemAt(i);
        if (!child->IsVisible() || child->IsFloat()) continue;
        SIZE size = child->PreferredSize(available);
        int width = ClampToLimits(size.cx < 0 ? 0 : size.cx, child->GetMinWidth(), child->GetMaxWidth());
        if (width > neededWidth) neededWidth = width;
    }

    CListHeaderUI* header = m_pOwner != NULL ? m_pOwner->GetHeader() : NULL;
    if (header != NULL && header->Count() > 0) {
        SIZE headerSize = header->PreferredSize(available);
        neededWidth = headerSize.cx > 0 ? headerSize.cx : 0;
        if (vbar) header->SetPos(header->GetPos());
    }

    int y = rc.top - (vbar ? m_pVerticalScrollBar->GetScrollPos() : 0);
    const int x = rc.left - (hbar ? m_pHorizontalScrollBar->GetScrollPos() : 0);
    int remaining = available.cy;
    int neededHeight = 0;
    int adjustablesLeft = measure.adjustables;
    int fixedAhead = measure.fixedTotal;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = CContainerUI::ItemAt(i);
        if (!child->IsVisible()) continue;
        if (child->IsFloat()) {
            PlaceFloatingChild(i);
            continue;
        }
        RECT padding = child->GetPadding();
        remaining -= padding.top;
        // What the children after this one still need.
        fixedAhead -= padding.top + padding.bottom;
        SIZE room = { available.cx, remaining };
        SIZE size = child->PreferredSize(room);
        if (size.cy == 0) {
            --adjustablesLeft;
            // The last adjustable child takes the pixels the division left over.
            size.cy = adjustablesLeft == 0 ? remaining - padding.bottom - fixedAhead : measure.share;
            if (size.cy < 0) size.cy = 0;
        } else {
            size.cy = ClampToLimits(size.cy, child->GetMinHeight(), child->GetMaxHeight());
            fixedAhead -= size.cy;
        }
        size.cy = ClampToLimits(size.cy, child->GetMinHeight(), child->GetMaxHeight());
        int width = available.cx - padding.left - padding.right;
        if (width < neededWidth) width = neededWidth;
        width = ClampToLimits(width, child->GetMinWidth(), child->GetMaxWidth());
        // The bottom padding lies inside the item.
        RECT pos = { x + padding.left, y + padding.top, x + padding.left + width,
                     y + padding.top + size.cy + padding.bottom };
        child->SetPos(pos);
        y += size.cy + padding.top + padding.bottom + m_iChildPadding;
        neededHeight += size.cy + padding.top + padding.bottom;
        remaining -= size.cy + m_iChildPadding + padding.bottom;
    }
    neededHeight += m_iChildPadding * (measure.counted > 0 ? measure.counted - 1 : 0);

    FitHorizontalScrollBar(rc, neededWidth);
    LayoutScrollBars(rc, neededWidth, neededHeight);
}

void CListBodyUI::HandleEvent(ControlEvent& event)
{
    if (m_pOwner != NULL) m_pOwner->DoEvent(event);
    else CControlUI::HandleEvent(event);
}

void CListBodyUI::SetScrollPos(SIZE pos)
{
    SIZE moved = MoveScrollBars(pos);
    if (moved.cx == 0 && moved.cy == 0) return;
    // The columns move first, so container items follow them when placed.
    if (moved.cx != 0 && m_pOwner != NULL) m_pOwner->RefreshColumns(moved.cx);
    ShiftChildren(moved.cx, moved.cy);
}

} // namespace DirectUI
