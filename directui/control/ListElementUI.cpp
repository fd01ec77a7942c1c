#include "control/ListElementUI.h"

#include "control/ListItemRules.h"

namespace DirectUI {

CListElementUI::CListElementUI() : m_iIndex(-1), m_bSelected(false), m_uButtonState(0), m_pOwner(NULL) {}

LPCWSTR CListElementUI::GetControlClass() const { return L"ListElementUI"; }

LPVOID CListElementUI::GetInterface(LPCWSTR name)
{
    if (name == NULL) return NULL;
    if (wcscmp(name, L"ListItem") == 0) return static_cast<IListItemUI*>(this);
    if (wcscmp(name, L"ListElement") == 0) return this;
    return CControlUI::GetInterface(name);
}

UINT CListElementUI::GetControlFlags() const { return UIFLAG_WANTRETURN; }

bool CListElementUI::Activate()
{
    if (!CControlUI::Activate()) return false;
    if (m_pManager != NULL) m_pManager->SendNotify(this, L"itemactivate");
    return true;
}

void CListElementUI::SetVisible(bool visible)
{
    CControlUI::SetVisible(visible);
    HideListItem(m_pOwner, m_bSelected, visible);
}

void CListElementUI::SetEnabled(bool enabled)
{
    CControlUI::SetEnabled(enabled);
    if (!enabled) m_uButtonState = 0;
}

void CListElementUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && event.Type >= UIEVENT_MOUSEBEGIN && event.Type <= UIEVENT_MOUSEEND) {
        if (m_pOwner != NULL) m_pOwner->DoEvent(event);
        else CControlUI::HandleEvent(event);
        return;
    }
    if (!HandleListItemEvent(this, m_pOwner, m_uButtonState, event)) CControlUI::HandleEvent(event);
}

void CListElementUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    // Any value selects, as the skins have always written it.
    if (wcscmp(name, L"selected") == 0) Select();
    else CControlUI::SetAttribute(name, value);
}

int CListElementUI::GetIndex() const { return m_iIndex; }
void CListElementUI::SetIndex(int index) { m_iIndex = index; }
IListOwnerUI* CListElementUI::GetOwner() { return m_pOwner; }

void CListElementUI::SetOwner(CControlUI* owner)
{
    m_pOwner = owner != NULL ? static_cast<IListOwnerUI*>(owner->GetInterface(L"IListOwner")) : NULL;
}

bool CListElementUI::IsSelected() const { return m_bSelected; }

bool CListElementUI::Select(bool select) { return SelectListItem(this, m_pOwner, m_iIndex, m_bSelected, select); }

bool CListElementUI::IsExpanded() const { return false; }
bool CListElementUI::Expand(bool) { return false; }

void CListElementUI::DrawItemBackground(HDC dc, const RECT&)
{
    DrawListItemBackground(dc, this, m_pOwner, m_iIndex, m_bSelected, m_uButtonState);
}

} // namespace DirectUI
