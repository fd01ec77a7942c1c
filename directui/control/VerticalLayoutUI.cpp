#include "control/VerticalLayoutUI.h"

#include "control/LayoutMath.h"
#include "control/ScrollBarUI.h"
#include "core/SkinValues.h"

namespace DirectUI {

CVerticalLayoutUI::CVerticalLayoutUI() : m_separator(true) {}

LPCWSTR CVerticalLayoutUI::GetControlClass() const { return L"VerticalLayoutUI"; }

LPVOID CVerticalLayoutUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"VerticalLayout") == 0) return this;
    return CContainerUI::GetInterface(name);
}

UINT CVerticalLayoutUI::GetControlFlags() const
{
    return IsEnabled() && m_separator.GetSize() != 0 ? UIFLAG_SETCURSOR : 0;
}

void CVerticalLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    rc = InnerRect();
    const bool vbar = m_pVerticalScrollBar != NULL && m_pVerticalScrollBar->IsVisible();
    const bool hbar = m_pHorizontalScrollBar != NULL && m_pHorizontalScrollBar->IsVisible();
    if (m_items.IsEmpty()) {
        LayoutScrollBars(rc, 0, 0);
        return;
    }

    SIZE available = { rc.right - rc.left, rc.bottom - rc.top };
    if (hbar) available.cx += m_pHorizontalScrollBar->GetScrollRange();

    int adjustables = 0, fixedTotal = 0, counted = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = ItemAt(i);
        if (!child->IsVisible() || child->IsFloat()) continue;
        SIZE size = child->PreferredSize(available);
        RECT padding = child->GetPadding();
        if (size.cy == 0) {
            ++adjustables;
        } else {
            fixedTotal += ClampToLimits(size.cy, child->GetMinHeight(), child->GetMaxHeight());
        }
        fixedTotal += padding.top + padding.bottom;
        ++counted;
    }
    int share = 0;
    if (adjustables > 0) {
        share = (available.cy - m_iChildPadding * (counted - 1) - fixedTotal) / adjustables;
        if (share < 0) share = 0;
    }

    int y = rc.top - (vbar ? m_pVerticalScrollBar->GetScrollPos() : 0);
    const int x = rc.left - (hbar ? m_pHorizontalScrollBar->GetScrollPos() : 0);
    int remaining = available.cy;
    int needed = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = ItemAt(i);
        if (!child->IsVisible()) continue;
        if (child->IsFloat()) {
            PlaceFloatingChild(i);
            continue;
        }
        RECT padding = child->GetPadding();
        remaining -= padding.top;
        SIZE room = { available.cx, remaining };
        SIZE size = child->PreferredSize(room);
        if (size.cy == 0) size.cy = share;
        size.cy = ClampToLimits(size.cy, child->GetMinHeight(), child->GetMaxHeight());
        size.cx = child->GetFixedWidth();
        if (size.cx == 0) size.cx = available.cx - padding.left - padding.right;
        if (size.cx < 0) size.cx = 0;
        size.cx = ClampToLimits(size.cx, child->GetMinWidth(), child->GetMaxWidth());
        RECT pos = { x + padding.left, y + padding.top, x + padding.left + size.cx, y + padding.top + size.cy };
        child->SetPos(pos);
        y += size.cy + padding.top + padding.bottom + m_iChildPadding;
        needed += size.cy + padding.top + padding.bottom;
        remaining -= size.cy + m_iChildPadding + padding.bottom;
    }
    needed += m_iChildPadding * (counted - 1);
    LayoutScrollBars(rc, 0, needed);
}

RECT CVerticalLayoutUI::GetThumbRect(bool useNew) const
{
    return m_separator.Strip(useNew ? m_separator.GetNewPos() : m_rcItem);
}

void CVerticalLayoutUI::HandleEvent(ControlEvent& event)
{
    if (m_separator.HandleEvent(this, event)) return;
    CContainerUI::HandleEvent(event);
}

void CVerticalLayoutUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"sepheight") == 0) SetSepHeight(ParseIntValue(value));
    else if (wcscmp(name, L"sepimm") == 0) SetSepImmMode(ParseBoolValue(value));
    else CContainerUI::SetAttribute(name, value);
}

void CVerticalLayoutUI::PaintOverlay(HDC dc, const RECT&) { m_separator.PaintOverlay(dc); }

} // namespace DirectUI
