#include "control/ListUI.h"

#include "control/ListBodyUI.h"
#include "control/ListHeaderUI.h"
#include "control/ListInfoAttributes.h"
#include "control/ListItemRules.h"
#include "control/ScrollBarUI.h"
#include "core/SkinValues.h"

namespace DirectUI {

CListUI::CListUI()
    : m_bScrollSelect(false), m_iCurSel(-1), m_iExpandedItem(-1), m_pTextProvider(NULL), m_pList(NULL), m_pHeader(NULL)
{
    m_pList = new CListBodyUI(this);
    m_pHeader = new CListHeaderUI;
    CVerticalLayoutUI::Add(m_pHeader);
    CVerticalLayoutUI::Add(m_pList);
}

CListUI::~CListUI() {}

LPCWSTR CListUI::GetControlClass() const { return L"ListUI"; }

LPVOID CListUI::GetInterface(LPCWSTR name)
{
    if (name == NULL) return NULL;
    if (wcscmp(name, L"List") == 0) return this;
    if (wcscmp(name, L"IList") == 0) return static_cast<IListUI*>(this);
    if (wcscmp(name, L"IListOwner") == 0) return static_cast<IListOwnerUI*>(this);
    return CVerticalLayoutUI::GetInterface(name);
}

UINT CListUI::GetControlFlags() const { return UIFLAG_TABSTOP; }

void CListUI::UpdateColumnCount()
{
    // Only 32 columns have rectangles, however many header items there are.
    int columns = m_pHeader != NULL ? m_pHeader->Count() : 0;
    m_ListInfo.nColumns = columns < ListInfo::kMaxColumns ? columns : ListInfo::kMaxColumns;
}

bool CListUI::AddColumn(CControlUI* control, int index)
{
    bool added = index < 0 ? m_pHeader->Add(control) : m_pHeader->AddAt(control, index);
    UpdateColumnCount();
    // The items follow the columns only when the list itself is placed again.
    RequestLayout();
    return added;
}

bool CListUI::AddHeader(CControlUI* control)
{
    if (CVerticalLayoutUI::IndexOf(control) >= 0) return false;
    if (m_pHeader != control && m_pHeader->Count() == 0) {
        CVerticalLayoutUI::Remove(m_pHeader);
        m_pHeader = static_cast<CListHeaderUI*>(control);
    }
    UpdateColumnCount();
    return CVerticalLayoutUI::AddAt(control, 0);
}

void CListUI::RefreshColumns(int scrollDx)
{
    if (m_pHeader == NULL) return;
    UpdateColumnCount();
    const int columns = m_ListInfo.nColumns;
    // A hidden header still gives the columns: its items count as visible meanwhile.
    const bool hidden = !m_pHeader->IsVisible();
    if (hidden) {
        for (int i = 0; i < m_pHeader->Count(); ++i) m_pHeader->ItemAt(i)->SetVisibleByParent(true);
    }
    for (int i = 0; i < columns; ++i) {
        CControlUI* item = m_pHeader->ItemAt(i);
        if (!item->IsVisible() || item->IsFloat()) continue;
        RECT rc = item->GetPos();
        if (scrollDx != 0) {
            OffsetRect(&rc, -scrollDx, 0);
            item->SetPos(rc);
        }
        m_ListInfo.rcColumn[i] = item->GetPos();
    }
    if (hidden) {
        for (int i = 0; i < m_pHeader->Count(); ++i) m_pHeader->ItemAt(i)->SetVisibleByParent(false);
    }
}

void CListUI::SetPos(RECT rc)
{
    CVerticalLayoutUI::SetPos(rc);
    if (m_pHeader == NULL) return;
    if (!m_pHeader->IsVisible()) {
        for (int i = 0; i < m_pHeader->Count(); ++i) m_pHeader->ItemAt(i)->SetVisibleByParent(true);
        RECT measured = { m_rcItem.left, 0, m_rcItem.right, 0 };
        m_pHeader->SetPos(measured);
        for (int i = 0; i < m_pHeader->Count(); ++i) m_pHeader->ItemAt(i)->SetVisibleByParent(false);
    }
    SIZE scroll = m_pList->GetScrollPos();
    RefreshColumns(scroll.cx > 0 ? scroll.cx : 0);
    m_pList->SetPos(m_pList->GetPos());
}

void CListUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && event.Type >= UIEVENT_MOUSEBEGIN && event.Type <= UIEVENT_MOUSEEND) {
        if (m_pParent != NULL) m_pParent->HandleEvent(event);
        else CVerticalLayoutUI::HandleEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETFOCUS:
        m_bFocused = true;
        return;
    case UIEVENT_KILLFOCUS:
        m_bFocused = false;
        return;
    case UIEVENT_KEYDOWN:
        switch (event.chKey) {
        case VK_RETURN:
            if (m_iCurSel != -1 && ItemAt(m_iCurSel) != NULL) ItemAt(m_iCurSel)->Activate();
            return;
        case VK_PRIOR: PageUp(); return;
        case VK_NEXT: PageDown(); return;
        case VK_UP: SelectItem(FindSelectableItem(m_iCurSel - 1, false), true); return;
        case VK_DOWN: SelectItem(FindSelectableItem(m_iCurSel + 1, true), true); return;
        case VK_HOME: SelectItem(FindSelectableItem(0, false), true); return;
        case VK_END: SelectItem(FindSelectableItem(Count() - 1, true), true); return;
        default: break;
        }
        break;
    case UIEVENT_SCROLLWHEEL:
        if (LOWORD(event.wParam) == 0) {
            if (m_bScrollSelect) SelectItem(FindSelectableItem(m_iCurSel - 1, false), true);
            else LineUp();
            return;
        }
        if (LOWORD(event.wParam) == 1) {
            if (m_bScrollSelect) SelectItem(FindSelectableItem(m_iCurSel + 1, true), true);
            else LineDown();
            return;
        }
        break;
    default:
        break;
    }
    CVerticalLayoutUI::HandleEvent(event);
}

void CListUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"header") == 0) {
        m_pHeader->SetVisible(wcscmp(value, L"hidden") != 0);
    } else if (wcscmp(name, L"headerbkimage") == 0) {
        m_pHeader->SetBkImage(value);
    } else if (wcscmp(name, L"scrollselect") == 0) {
        SetScrollSelect(ParseBoolValue(value));
    } else if (wcscmp(name, L"multiexpanding") == 0) {
        m_ListInfo.bMultiExpandable = ParseBoolValue(value);
    } else {
        switch (SetListInfoAttribute(m_ListInfo, name, value, true)) {
        case kListInfoNone: CVerticalLayoutUI::SetAttribute(name, value); break;
        case kListInfoTextPadding:
        case kListInfoShowHtml: RequestLayout(); break;
        case kListInfoShowHtmlSame: break;
        default: Invalidate(); break;
        }
    }
}

int CListUI::GetChildPadding() const { return m_pList->GetChildPadding(); }
void CListUI::SetChildPadding(int padding) { m_pList->SetChildPadding(padding); }
bool CListUI::IsDelayedDestroy() const { return m_pList->IsDelayedDestroy(); }
void CListUI::SetDelayedDestroy(bool delayed) { m_pList->SetDelayedDestroy(delayed); }
int CListUI::FindSelectableItem(int index, bool forward) const { return m_pList->FindSelectableItem(index, forward); }
SIZE CListUI::GetScrollPos() const { return m_pList->GetScrollPos(); }
SIZE CListUI::GetScrollRange() const { return m_pList->GetScrollRange(); }
void CListUI::SetScrollPos(SIZE pos) { m_pList->SetScrollPos(pos); }
void CListUI::SetScrollStepSize(int size) { m_pList->SetScrollStepSize(size); }
int CListUI::GetScrollStepSize() const { return m_pList->GetScrollStepSize(); }
void CListUI::LineUp() { m_pList->LineUp(); }
void CListUI::LineDown() { m_pList->LineDown(); }
void CListUI::PageUp() { m_pList->PageUp(); }
void CListUI::PageDown() { m_pList->PageDown(); }
void CListUI::HomeUp() { m_pList->HomeUp(); }
void CListUI::EndDown() { m_pList->EndDown(); }
void CListUI::LineLeft() { m_pList->LineLeft(); }
void CListUI::LineRight() { m_pList->LineRight(); }
void CListUI::PageLeft() { m_pList->PageLeft(); }
void CListUI::PageRight() { m_pList->PageRight(); }
void CListUI::HomeLeft() { m_pList->HomeLeft(); }
void CListUI::EndRight() { m_pList->EndRight(); }
void CListUI::EnableScrollBars(bool vertical, bool horizontal) { m_pList->EnableScrollBars(vertical, horizontal); }
CScrollBarUI* CListUI::GetVerticalScrollBar() const { return m_pList->GetVerticalScrollBar(); }
CScrollBarUI* CListUI::GetHorizontalScrollBar() const { return m_pList->GetHorizontalScrollBar(); }

CControlUI* CListUI::ItemAt(int index) const { return m_pList->ItemAt(index); }
int CListUI::Count() const { return m_pList->Count(); }

int CListUI::IndexOf(CControlUI* control) const
{
    if (control == NULL) return -1;
    if (control->GetInterface(L"ListHeader") != NULL) return CVerticalLayoutUI::IndexOf(control);
    if (wcsstr(control->GetControlClass(), L"ListHeaderItemUI") != NULL) return m_pHeader->IndexOf(control);
    return m_pList->IndexOf(control);
}

void CListUI::RenumberFrom(int index) { RenumberListItems(m_pList, index); }

bool CListUI::Add(CControlUI* control)
{
    if (control == NULL) return false;
    if (control->GetInterface(L"ListHeader") != NULL) return AddHeader(control);
    if (wcsstr(control->GetControlClass(), L"ListHeaderItemUI") != NULL) return AddColumn(control, -1);
    IListItemUI* item = AsListItem(control);
    if (item != NULL) {
        item->SetOwner(this);
        item->SetIndex(Count());
    }
    return m_pList->Add(control);
}

bool CListUI::AddAt(CControlUI* control, int index)
{
    if (control == NULL) return false;
    if (control->GetInterface(L"ListHeader") != NULL) return AddHeader(control);
    if (wcsstr(control->GetControlClass(), L"ListHeaderItemUI") != NULL) return AddColumn(control, index);
    if (!m_pList->AddAt(control, index)) return false;
    IListItemUI* item = AsListItem(control);
    if (item != NULL) {
        item->SetOwner(this);
        item->SetIndex(index);
    }
    RenumberFrom(index + 1);
    if (m_iCurSel >= index) m_iCurSel += 1;
    return true;
}

bool CListUI::RemoveFromBody(int index)
{
    CControlUI* control = m_pList->ItemAt(index);
    if (control == NULL || !m_pList->RemoveAt(index)) return false;
    RenumberFrom(index);
    KeepSelectionAfterRemoval(this, index, m_iCurSel);
    return true;
}

bool CListUI::Remove(CControlUI* control)
{
    if (control == NULL) return false;
    if (control->GetInterface(L"ListHeader") != NULL) return CVerticalLayoutUI::Remove(control);
    if (wcsstr(control->GetControlClass(), L"ListHeaderItemUI") != NULL) return m_pHeader->Remove(control);
    int index = m_pList->IndexOf(control);
    if (index < 0) return false;
    return RemoveFromBody(index);
}

bool CListUI::RemoveAt(int index) { return RemoveFromBody(index); }

void CListUI::RemoveAll()
{
    m_iCurSel = -1;
    m_iExpandedItem = -1;
    m_pList->RemoveAll();
}

bool CListUI::MoveItem(CControlUI* control, int newIndex)
{
    if (control == NULL) return false;
    if (control->GetInterface(L"ListHeader") != NULL) return CVerticalLayoutUI::MoveItem(control, newIndex);
    if (wcsstr(control->GetControlClass(), L"ListHeaderItemUI") != NULL) return m_pHeader->MoveItem(control, newIndex);
    return MoveListItem(m_pList, control, newIndex, m_iCurSel);
}

ListInfo* CListUI::GetListInfo() { return &m_ListInfo; }
int CListUI::GetCurSel() const { return m_iCurSel; }

bool CListUI::SelectItem(int index, bool takeFocus)
{
    if (index == m_iCurSel) return true;
    int old = m_iCurSel;
    if (m_iCurSel >= 0) {
        IListItemUI* current = AsListItem(ItemAt(m_iCurSel));
        if (current != NULL) current->Select(false);
        m_iCurSel = -1;
    }
    if (index < 0) return false;
    CControlUI* control = ItemAt(index);
    IListItemUI* item = AsListItem(control);
    if (item == NULL) return false;
    m_iCurSel = index;
    if (!item->Select(true)) {
        m_iCurSel = -1;
        return false;
    }
    EnsureVisible(m_iCurSel);
    if (takeFocus) control->SetFocus();
    if (m_pManager != NULL) m_pManager->SendNotify(this, L"itemselect", m_iCurSel, old);
    return true;
}

void CListUI::DoEvent(ControlEvent& event) { HandleEvent(event); }

CListHeaderUI* CListUI::GetHeader() const { return m_pHeader; }
CContainerUI* CListUI::GetList() const { return m_pList; }
ListTextProvider* CListUI::GetTextProvider() const { return m_pTextProvider; }
void CListUI::SetTextProvider(ListTextProvider* provider) { m_pTextProvider = provider; }
int CListUI::GetExpandedItem() const { return m_iExpandedItem; }

bool CListUI::ExpandItem(int index, bool expand)
{
    if (m_iExpandedItem >= 0 && !m_ListInfo.bMultiExpandable) {
        IListItemUI* expanded = AsListItem(ItemAt(m_iExpandedItem));
        if (expanded != NULL) expanded->Expand(false);
        m_iExpandedItem = -1;
    }
    if (expand) {
        CControlUI* control = ItemAt(index);
        if (control == NULL || !control->IsVisible()) return false;
        IListItemUI* item = AsListItem(control);
        if (item == NULL) return false;
        m_iExpandedItem = index;
        if (!item->Expand(true)) {
            m_iExpandedItem = -1;
            return false;
        }
    }
    RequestLayout();
    return true;
}

void CListUI::EnsureVisible(int index)
{
    if (m_iCurSel < 0) return;
    CControlUI* item = ItemAt(index);
    if (item == NULL) return;
    RECT inner = m_pList->InnerRect();
    RECT rc = item->GetPos();
    if (rc.top >= inner.top && rc.bottom < inner.bottom) return;
    int dy = 0;
    if (rc.top < inner.top) dy = rc.top - inner.top;
    if (rc.bottom > inner.bottom) dy = rc.bottom - inner.bottom;
    Scroll(0, dy);
}

void CListUI::Scroll(int dx, int dy)
{
    if (dx == 0 && dy == 0) return;
    SIZE pos = m_pList->GetScrollPos();
    pos.cx += dx;
    pos.cy += dy;
    m_pList->SetScrollPos(pos);
}

} // namespace DirectUI
