#include "control/HorizontalLayoutUI.h"

#include "control/LayoutMath.h"
#include "control/ScrollBarUI.h"
#include "core/SkinValues.h"

namespace DirectUI {

CHorizontalLayoutUI::CHorizontalLayoutUI() : m_separator(false) {}

LPCWSTR CHorizontalLayoutUI::GetControlClass() const { return L"HorizontalLayoutUI"; }

LPVOID CHorizontalLayoutUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"HorizontalLayout") == 0) return this;
    return CContainerUI::GetInterface(name);
}

UINT CHorizontalLayoutUI::GetControlFlags() const
{
    return IsEnabled() && m_separator.GetSize() != 0 ? UIFLAG_SETCURSOR : 0;
}

void CHorizontalLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    rc = InsetRect();
    if (m_items.IsEmpty()) {
        LayoutScrollBars(rc, 0, 0);
        return;
    }
    rc = InnerRect();
    bool hbar = m_pHorizontalScrollBar != NULL && m_pHorizontalScrollBar->IsVisible();

    SIZE available = { rc.right - rc.left, rc.bottom - rc.top };
    if (hbar) available.cx += m_pHorizontalScrollBar->GetScrollRange();

    int adjustables = 0, fixedTotal = 0, counted = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = ItemAt(i);
        if (!child->IsVisible() || child->IsFloat()) continue;
        SIZE size = child->PreferredSize(available);
        RECT padding = child->GetPadding();
        if (size.cx == 0) ++adjustables;
        else fixedTotal += ClampToLimits(size.cx, child->GetMinWidth(), child->GetMaxWidth());
        fixedTotal += padding.left + padding.right;
        ++counted;
    }
    int share = 0;
    if (adjustables > 0) {
        share = (available.cx - m_iChildPadding * (counted - 1) - fixedTotal) / adjustables;
        if (share < 0) share = 0;
    }

    int x = rc.left - (hbar ? m_pHorizontalScrollBar->GetScrollPos() : 0);
    int remaining = available.cx;
    int needed = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = ItemAt(i);
        if (!child->IsVisible()) continue;
        if (child->IsFloat()) {
            PlaceFloatingChild(i);
            continue;
        }
        RECT padding = child->GetPadding();
        remaining -= padding.left;
        SIZE room = { remaining, available.cy };
        SIZE size = child->PreferredSize(room);
        if (size.cx == 0) size.cx = share;
        size.cx = ClampToLimits(size.cx, child->GetMinWidth(), child->GetMaxWidth());
        size.cy = child->GetFixedHeight();
        if (size.cy == 0) size.cy = rc.bottom - rc.top - padding.top - padding.bottom;
        if (size.cy < 0) size.cy = 0;
        size.cy = ClampToLimits(size.cy, child->GetMinHeight(), child->GetMaxHeight());
        RECT pos = { x + padding.left, rc.top + padding.top, x + padding.left + size.cx, rc.top + padding.top + size.cy };
        child->SetPos(pos);
        x += size.cx + padding.left + padding.right + m_iChildPadding;
        needed += size.cx + padding.left + padding.right;
        remaining -= size.cx + m_iChildPadding + padding.right;
    }
    needed += m_iChildPadding * (counted - 1);

    // The horizontal bar is fitted here; the children are not placed again.
    if (m_pHorizontalScrollBar != NULL) {
        const int width = rc.right - rc.left;
        if (needed > width) {
            if (hbar) {
                m_pHorizontalScrollBar->SetScrollRange(needed - width);
            } else {
                m_pHorizontalScrollBar->SetVisible(true);
                m_pHorizontalScrollBar->SetScrollRange(needed - width);
                m_pHorizontalScrollBar->SetScrollPos(0);
                rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
            }
        } else if (hbar) {
            m_pHorizontalScrollBar->SetVisible(false);
            m_pHorizontalScrollBar->SetScrollRange(0);
            m_pHorizontalScrollBar->SetScrollPos(0);
            rc.bottom += m_pHorizontalScrollBar->GetFixedHeight();
        }
    }
    LayoutScrollBars(rc, needed, 0);
}

RECT CHorizontalLayoutUI::GetThumbRect(bool useNew) const
{
    return m_separator.Strip(useNew ? m_separator.GetNewPos() : m_rcItem);
}

void CHorizontalLayoutUI::HandleEvent(ControlEvent& event)
{
    if (m_separator.HandleEvent(this, event)) return;
    CContainerUI::HandleEvent(event);
}

void CHorizontalLayoutUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"sepwidth") == 0) SetSepWidth(ParseIntValue(value));
    else if (wcscmp(name, L"sepimm") == 0) SetSepImmMode(ParseBoolValue(value));
    else CContainerUI::SetAttribute(name, value);
}

void CHorizontalLayoutUI::PaintOverlay(HDC dc, const RECT&) { m_separator.PaintOverlay(dc); }

} // namespace DirectUI
