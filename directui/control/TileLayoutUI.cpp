#include "control/TileLayoutUI.h"

#include "control/LayoutMath.h"
#include "control/ScrollBarUI.h"
#include "core/SkinValues.h"

namespace DirectUI {

CTileLayoutUI::CTileLayoutUI() : m_nColumns(1)
{
    m_szItem.cx = m_szItem.cy = 0;
}

LPCWSTR CTileLayoutUI::GetControlClass() const { return L"TileLayoutUI"; }

LPVOID CTileLayoutUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"TileLayout") == 0) return this;
    return CContainerUI::GetInterface(name);
}

void CTileLayoutUI::SetItemSize(SIZE size)
{
    if (m_szItem.cx == size.cx && m_szItem.cy == size.cy) return;
    m_szItem = size;
    RequestLayout();
}

void CTileLayoutUI::SetColumns(int columns)
{
    if (columns <= 0) return;
    m_nColumns = columns;
    RequestLayout();
}

void CTileLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    rc = InsetRect();
    if (m_items.IsEmpty()) {
        LayoutScrollBars(rc, 0, 0);
        return;
    }
    rc = InnerRect();
    const bool vbar = m_pVerticalScrollBar != NULL && m_pVerticalScrollBar->IsVisible();
    const bool hbar = m_pHorizontalScrollBar != NULL && m_pHorizontalScrollBar->IsVisible();

    // The columns setting counts only while the item width is 0.
    int columns = m_nColumns;
    if (m_szItem.cx > 0) {
        columns = (rc.right - rc.left) / m_szItem.cx;
        if (columns == 0) columns = 1;
    }
    int tileWidth = (rc.right - rc.left) / columns;
    if (hbar) tileWidth = (rc.right - rc.left + m_pHorizontalScrollBar->GetScrollRange()) / columns;

    const int rowStartX = rc.left - (hbar ? m_pHorizontalScrollBar->GetScrollPos() : 0);
    POINT origin = { rowStartX, rc.top - (vbar ? m_pVerticalScrollBar->GetScrollPos() : 0) };
    int rowHeight = 0;
    int placed = 0;
    int neededHeight = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = ItemAt(i);
        if (!child->IsVisible()) continue;
        if (child->IsFloat()) {
            PlaceFloatingChild(i);
            continue;
        }
        RECT tile = { origin.x, 0, origin.x + tileWidth, 0 };
        if (placed % columns == 0) {
            // The row's height: the tallest of this row's children, measured
            // with the limits of the row's first child.
            int inRow = placed;
            for (int k = i; k < m_items.GetSize(); ++k) {
                CControlUI* measured = ItemAt(k);
                if (!measured->IsVisible() || measured->IsFloat()) continue;
                RECT padding = measured->GetPadding();
                int width = tileWidth - padding.left - padding.right;
                const bool edge = inRow % columns == 0 || (inRow + 1) % columns == 0;
                width -= edge ? m_iChildPadding / 2 : m_iChildPadding;
                width = ClampToLimits(width, child->GetMinWidth(), child->GetMaxWidth());
                SIZE room = { width, 9999 };
                SIZE size = measured->PreferredSize(room);
                size.cx = ClampToLimits(size.cx, child->GetMinWidth(), child->GetMaxWidth());
                size.cy = ClampToLimits(size.cy, child->GetMinHeight(), child->GetMaxHeight());
                if (size.cy + padding.top + padding.bottom > rowHeight) rowHeight = size.cy + padding.top + padding.bottom;
                ++inRow;
                if (inRow % columns == 0) break;
            }
        }
        RECT padding = child->GetPadding();
        tile.left += padding.left + m_iChildPadding / 2;
        tile.right -= padding.right + m_iChildPadding / 2;
        if (placed % columns == 0) tile.left -= m_iChildPadding / 2;
        if ((placed + 1) % columns == 0) tile.right += m_iChildPadding / 2;
        tile.top = origin.y + padding.top;
        tile.bottom = origin.y + rowHeight;

        SIZE room = { tile.right - tile.left, tile.bottom - tile.top };
        SIZE size = child->PreferredSize(room);
        if (size.cx == 0) size.cx = room.cx;
        if (size.cy == 0) size.cy = room.cy;
        size.cx = ClampToLimits(size.cx, child->GetMinWidth(), child->GetMaxWidth());
        size.cy = ClampToLimits(size.cy, child->GetMinHeight(), child->GetMaxHeight());
        RECT pos;
        pos.left = (tile.left + tile.right - size.cx) / 2;
        pos.top = (tile.top + tile.bottom - size.cy) / 2;
        pos.right = pos.left + size.cx;
        pos.bottom = pos.top + size.cy;
        child->SetPos(pos);

        ++placed;
        if (placed % columns == 0) {
            origin.x = rowStartX;
            origin.y += rowHeight + m_iChildPadding;
            rowHeight = 0;
        } else {
            origin.x += tileWidth;
        }
        neededHeight = tile.bottom - rc.top + (vbar ? m_pVerticalScrollBar->GetScrollPos() : 0);
    }
    LayoutScrollBars(rc, 0, neededHeight);
}

void CTileLayoutUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"itemsize") == 0) {
        SIZE size = m_szItem;
        ParseSizeValue(value, size);
        SetItemSize(size);
    } else if (wcscmp(name, L"columns") == 0) {
        SetColumns(ParseIntValue(value));
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

} // namespace DirectUI
