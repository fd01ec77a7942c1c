#include "control/ListHeaderUI.h"

#include "control/LayoutMath.h"
#include "control/ListHeaderItemUI.h"
#include "control/ScrollBarUI.h"
#include "core/SkinValues.h"

namespace DirectUI {

CListHeaderUI::CListHeaderUI() : m_bIsScaleHeader(false) {}

LPCWSTR CListHeaderUI::GetControlClass() const { return L"ListHeaderUI"; }

LPVOID CListHeaderUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"ListHeader") == 0) return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

void CListHeaderUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (m_items.IsEmpty()) return;
    rc = InsetRect();
    SIZE available = { rc.right - rc.left, rc.bottom - rc.top };

    const StackMeasure measure = MeasureStack(available, false);

    // Scaled columns share the width the list's vertical bar leaves.
    int headerWidth = GetWidth();
    CContainerUI* list = m_pParent != NULL ? static_cast<CContainerUI*>(m_pParent->GetInterface(L"Container")) : NULL;
    CScrollBarUI* vbar = list != NULL ? list->GetVerticalScrollBar() : NULL;
    if (vbar != NULL) headerWidth -= vbar->GetWidth();

    int x = rc.left;
    int remaining = available.cx;
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
        remaining -= padding.left;
        // What the items after this one still need.
        fixedAhead -= padding.left + padding.right;
        SIZE room = { remaining, available.cy };
        SIZE size = child->PreferredSize(room);
        if (m_bIsScaleHeader) {
            CListHeaderItemUI* item = static_cast<CListHeaderItemUI*>(child->GetInterface(L"ListHeaderItem"));
            int scale = item != NULL ? item->GetScale() : 0;
            size.cx = static_cast<int>(static_cast<float>(scale) * static_cast<float>(headerWidth) / 100.0f);
        } else if (size.cx == 0) {
            --adjustablesLeft;
            size.cx = adjustablesLeft == 0 ? remaining - padding.right - fixedAhead : measure.share;
            if (size.cx < 0) size.cx = 0;
        } else {
            fixedAhead -= ClampToLimits(size.cx, child->GetMinWidth(), child->GetMaxWidth());
        }
        size.cx = ClampToLimits(size.cx, child->GetMinWidth(), child->GetMaxWidth());
        size.cy = child->GetFixedHeight();
        if (size.cy == 0) size.cy = rc.bottom - rc.top - padding.top - padding.bottom;
        if (size.cy < 0) size.cy = 0;
        size.cy = ClampToLimits(size.cy, child->GetMinHeight(), child->GetMaxHeight());
        RECT pos = { x + padding.left, rc.top + padding.top, x + padding.left + size.cx + padding.right,
                     rc.top + padding.top + size.cy };
        child->SetPos(pos);
        x += size.cx + padding.left + padding.right + m_iChildPadding;
        remaining -= size.cx + m_iChildPadding + padding.right;
    }
}

void CListHeaderUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"scaleheader") == 0) SetScaleHeader(ParseBoolValue(value));
    else CHorizontalLayoutUI::SetAttribute(name, value);
}

SIZE CListHeaderUI::PreferredSize(SIZE available)
{
    SIZE size = { 0, m_cxyFixed.cy };
    int tallest = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        SIZE item = CContainerUI::ItemAt(i)->PreferredSize(available);
        size.cx += item.cx;
        if (item.cy > tallest) tallest = item.cy;
    }
    if (size.cy == 0) {
        int least = m_pManager != NULL ? m_pManager->GetDefaultFontEntry()->tm.tmHeight + 6 : 6;
        size.cy = tallest > least ? tallest : least;
    }
    return size;
}

} // namespace DirectUI
