#include "control/TabLayoutUI.h"

#include "control/LayoutMath.h"
#include "core/SkinValues.h"

namespace DirectUI {

CTabLayoutUI::CTabLayoutUI() : m_iCurSel(-1) {}

LPCWSTR CTabLayoutUI::GetControlClass() const { return L"TabLayoutUI"; }

LPVOID CTabLayoutUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"TabLayout") == 0) return this;
    return CContainerUI::GetInterface(name);
}

bool CTabLayoutUI::Add(CControlUI* control)
{
    if (!CContainerUI::Add(control)) return false;
    if (m_iCurSel == -1 && control->IsVisible()) m_iCurSel = IndexOf(control);
    else control->SetVisible(false);
    return true;
}

bool CTabLayoutUI::AddAt(CControlUI* control, int index)
{
    if (!CContainerUI::AddAt(control, index)) return false;
    if (m_iCurSel == -1 && control->IsVisible()) {
        m_iCurSel = IndexOf(control);
    } else {
        if (m_iCurSel != -1 && index <= m_iCurSel) ++m_iCurSel;
        control->SetVisible(false);
    }
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* control)
{
    if (control == NULL) return false;
    int index = IndexOf(control);
    if (!CContainerUI::Remove(control)) return false;
    if (m_iCurSel == index) {
        if (Count() > 0) {
            m_iCurSel = 0;
            ItemAt(0)->SetVisible(true);
        } else {
            m_iCurSel = -1;
        }
        RequestParentLayout();
    } else if (m_iCurSel > index) {
        --m_iCurSel;
    }
    return true;
}

void CTabLayoutUI::RemoveAll()
{
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
    RequestParentLayout();
}

bool CTabLayoutUI::SelectTab(int index)
{
    if (index < 0 || index >= Count()) return false;
    if (index == m_iCurSel) return true;
    int old = m_iCurSel;
    m_iCurSel = index;
    for (int i = 0; i < Count(); ++i) {
        CControlUI* page = ItemAt(i);
        if (i != index) {
            page->SetVisible(false);
            continue;
        }
        page->SetVisible(true);
        page->SetFocus();
        SetPos(m_rcItem);
    }
    RequestParentLayout();
    if (m_pManager != NULL) {
        m_pManager->FocusNextTabStop(true);
        m_pManager->SendNotify(this, L"tabselect", index, old);
    }
    return true;
}

bool CTabLayoutUI::SelectTabByControl(CControlUI* control)
{
    int index = IndexOf(control);
    if (index < 0) return false;
    return SelectTab(index);
}

void CTabLayoutUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    rc = InsetRect();
    for (int i = 0; i < Count(); ++i) {
        CControlUI* child = ItemAt(i);
        if (!child->IsVisible()) continue;
        if (child->IsFloat()) {
            PlaceFloatingChild(i);
            continue;
        }
        if (i != m_iCurSel) continue;
        RECT padding = child->GetPadding();
        RECT area = { rc.left + padding.left, rc.top + padding.top, rc.right - padding.right, rc.bottom - padding.bottom };
        SIZE room = { area.right - area.left, area.bottom - area.top };
        SIZE size = child->PreferredSize(room);
        if (size.cx == 0) size.cx = room.cx > 0 ? room.cx : 0;
        size.cx = ClampToLimits(size.cx, child->GetMinWidth(), child->GetMaxWidth());
        if (size.cy == 0) size.cy = room.cy > 0 ? room.cy : 0;
        size.cy = ClampToLimits(size.cy, child->GetMinHeight(), child->GetMaxHeight());
        RECT pos = { area.left, area.top, area.left + size.cx, area.top + size.cy };
        child->SetPos(pos);
    }
}

void CTabLayoutUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"selectedid") == 0) SelectTab(ParseIntValue(value));
    CContainerUI::SetAttribute(name, value);
}

} // namespace DirectUI
