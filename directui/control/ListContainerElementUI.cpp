#include "control/ListContainerElementUI.h"

#include "control/ListHeaderUI.h"
#include "control/ListItemRules.h"

namespace DirectUI {

CListContainerElementUI::CListContainerElementUI() : m_iIndex(-1), m_bSelected(false), m_uButtonState(0), m_pOwner(NULL)
{
}

LPCWSTR CListContainerElementUI::GetControlClass() const { return L"ListContainerElementUI"; }

LPVOID CListContainerElementUI::GetInterface(LPCWSTR name)
{
    if (name == NULL) return NULL;
    if (wcscmp(name, L"ListItem") == 0) return static_cast<IListItemUI*>(this);
    if (wcscmp(name, L"ListContainerElement") == 0) return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

UINT CListContainerElementUI::GetControlFlags() const { return UIFLAG_WANTRETURN; }

bool CListContainerElementUI::Activate()
{
    if (!CHorizontalLayoutUI::Activate()) return false;
    if (m_pManager != NULL) m_pManager->SendNotify(this, L"itemactivate");
    return true;
}

void CListContainerElementUI::SetPos(RECT rc)
{
    CHorizontalLayoutUI::SetPos(rc);
    if (m_pOwner == NULL) return;
    CControlUI* owner = dynamic_cast<CControlUI*>(m_pOwner);
    if (owner == NULL || wcscmp(owner->GetControlClass(), L"ListUI") != 0) return;
    IListUI* list = static_cast<IListUI*>(owner->GetInterface(L"IList"));
    CListHeaderUI* header = list != NULL ? list->GetHeader() : NULL;
    if (header == NULL || !header->IsVisible()) return;
    const ListInfo& info = *m_pOwner->GetListInfo();
    int columns = info.nColumns < ListInfo::kMaxColumns ? info.nColumns : ListInfo::kMaxColumns;
    for (int i = 0; i < columns && i < m_items.GetSize(); ++i) {
        const RECT& column = info.rcColumn[i];
        if (column.left == 0 && column.right == 0) continue;
        CControlUI* child = CContainerUI::ItemAt(i);
        RECT pos = child->GetPos();
        pos.left = column.left;
        pos.right = column.right;
        child->SetPos(pos);
    }
}

void CListContainerElementUI::SetVisible(bool visible)
{
    CHorizontalLayoutUI::SetVisible(visible);
    HideListItem(m_pOwner, m_bSelected, visible);
}

void CListContainerElementUI::SetEnabled(bool enabled)
{
    CHorizontalLayoutUI::SetEnabled(enabled);
    if (!enabled) m_uButtonState = 0;
}

void CListContainerElementUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && event.Type >= UIEVENT_MOUSEBEGIN && event.Type <= UIEVENT_MOUSEEND) {
        if (m_pOwner != NULL) m_pOwner->DoEvent(event);
        else CHorizontalLayoutUI::HandleEvent(event);
        return;
    }
    if (!HandleListItemEvent(this, m_pOwner, m_uButtonState, event)) CHorizontalLayoutUI::HandleEvent(event);
}

void CListContainerElementUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"selected") == 0) Select();
    else CHorizontalLayoutUI::SetAttribute(name, value);
}

void CListContainerElementUI::Paint(HDC dc, const RECT& rcPaint)
{
    if (!IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    DrawItemBackground(dc, m_rcItem);
    CHorizontalLayoutUI::Paint(dc, rcPaint);
}

void CListContainerElementUI::DrawItemBackground(HDC dc, const RECT&)
{
    DrawListItemBackground(dc, this, m_pOwner, m_iIndex, m_bSelected, m_uButtonState);
}

int CListContainerElementUI::GetIndex() const { return m_iIndex; }
void CListContainerElementUI::SetIndex(int index) { m_iIndex = index; }
IListOwnerUI* CListContainerElementUI::GetOwner() { return m_pOwner; }

void CListContainerElementUI::SetOwner(CControlUI* owner)
{
    m_pOwner = owner != NULL ? static_cast<IListOwnerUI*>(owner->GetInterface(L"IListOwner")) : NULL;
}

bool CListContainerElementUI::IsSelected() const { return m_bSelected; }

bool CListContainerElementUI::Select(bool select)
{
    return SelectListItem(this, m_pOwner, m_iIndex, m_bSelected, select);
}

bool CListContainerElementUI::IsExpanded() const { return false; }
bool CListContainerElementUI::Expand(bool) { return false; }
void CListContainerElementUI::DrawItemText(HDC, const RECT&) {}

} // namespace DirectUI
