#include "control/TreeViewUI.h"

#include "control/CheckBoxUI.h"
#include "control/ListHeaderUI.h"
#include "control/TreeNodeUI.h"
#include "core/Delegate.h"
#include "core/SkinValues.h"

namespace DirectUI {

namespace {

bool IsTreeNode(CControlUI* control)
{
    return control != NULL && wcscmp(control->GetControlClass(), L"TreeNodeUI") == 0;
}

// The node a node part (row child) belongs to.
CTreeNodeUI* NodeOfPart(CControlUI* part)
{
    CControlUI* row = part != NULL ? part->GetParent() : NULL;
    CControlUI* node = row != NULL ? row->GetParent() : NULL;
    return IsTreeNode(node) ? static_cast<CTreeNodeUI*>(node) : NULL;
}

} // namespace

CTreeViewUI::CTreeViewUI() : m_uItemMinWidth(0), m_bVisibleFolderBtn(true), m_bVisibleCheckBtn(false)
{
    GetHeader()->SetVisible(false);
}

CTreeViewUI::~CTreeViewUI() {}

LPCWSTR CTreeViewUI::GetControlClass() const { return L"TreeViewUI"; }

LPVOID CTreeViewUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"TreeView") == 0) return this;
    return CListUI::GetInterface(name);
}

void CTreeViewUI::Notify(NotifyRecord&) {}

CTreeNodeUI* CTreeViewUI::NodeAt(int index) const
{
    CControlUI* control = ItemAt(index);
    return IsTreeNode(control) ? static_cast<CTreeNodeUI*>(control) : NULL;
}

bool CTreeViewUI::Adopt(CTreeNodeUI* node)
{
    if (!IsTreeNode(node)) return false;
    node->OnNotify += MakeDelegate(this, &CTreeViewUI::OnItemDoubleClick);
    node->GetFolderButton()->OnNotify += MakeDelegate(this, &CTreeViewUI::OnFolderChanged);
    node->GetCheckBox()->OnNotify += MakeDelegate(this, &CTreeViewUI::OnCheckBoxChanged);
    node->GetCheckBox()->SetVisible(m_bVisibleCheckBtn);
    if (m_uItemMinWidth > 0) node->SetMinWidth(static_cast<int>(m_uItemMinWidth));
    node->m_pTreeView = this;
    return true;
}

void CTreeViewUI::Release(CTreeNodeUI* node)
{
    node->OnNotify -= MakeDelegate(this, &CTreeViewUI::OnItemDoubleClick);
    node->GetFolderButton()->OnNotify -= MakeDelegate(this, &CTreeViewUI::OnFolderChanged);
    node->GetCheckBox()->OnNotify -= MakeDelegate(this, &CTreeViewUI::OnCheckBoxChanged);
    node->m_pTreeView = NULL;
}

bool CTreeViewUI::Add(CTreeNodeUI* node)
{
    if (!Adopt(node)) return false;
    node->GetFolderButton()->SetVisible(false);
    if (!CListUI::Add(node)) {
        Release(node);
        return false;
    }
    if (node->HasChild()) {
        node->GetFolderButton()->SetVisible(m_bVisibleFolderBtn);
        for (int i = 0; i < node->GetCountChild(); ++i) Add(node->GetChildNode(i));
    }
    return true;
}

bool CTreeViewUI::AddAt(CTreeNodeUI* node, CTreeNodeUI* item)
{
    if (node == NULL || item == NULL) return false;
    int index = item->GetTreeIndex();
    if (index < 0) return false;
    return AddAt(node, index) >= 0;
}

long CTreeViewUI::AddAt(CTreeNodeUI* node, int index)
{
    if (!IsTreeNode(node)) return -1;
    if (index < 0) index = 0;
    if (index > Count()) index = Count();
    Adopt(node);
    node->GetFolderButton()->SetVisible(m_bVisibleFolderBtn);
    if (!CListUI::AddAt(node, index)) {
        Release(node);
        return -1;
    }
    long next = index + 1;
    for (int i = 0; i < node->GetCountChild(); ++i) {
        long after = AddAt(node->GetChildNode(i), static_cast<int>(next));
        if (after >= 0) next = after;
    }
    return next;
}

bool CTreeViewUI::Remove(CTreeNodeUI* node)
{
    if (!IsTreeNode(node)) return false;
    while (node->HasChild()) node->RemoveChildNode(node->GetChildNode(0));
    if (node->m_pParentTreeNode != NULL) {
        // Taken out directly: its parent no longer lists it.
        int index = node->m_pParentTreeNode->m_aTreeNodes.Find(node);
        if (index >= 0) node->m_pParentTreeNode->m_aTreeNodes.Remove(index);
        node->m_pParentTreeNode = NULL;
    }
    Release(node);
    return CListUI::Remove(node);
}

bool CTreeViewUI::RemoveAt(int index)
{
    CTreeNodeUI* node = NodeAt(index);
    if (node == NULL) return CListUI::RemoveAt(index);
    Remove(node);
    return true;
}

void CTreeViewUI::RemoveAll()
{
    // Every node goes with the list: none may delete its children itself.
    for (int i = 0; i < Count(); ++i) {
        CTreeNodeUI* node = NodeAt(i);
        if (node == NULL) continue;
        node->m_aTreeNodes.Empty();
        node->m_pParentTreeNode = NULL;
        Release(node);
    }
    CListUI::RemoveAll();
}

bool CTreeViewUI::OnCheckBoxChanged(LPVOID param)
{
    NotifyRecord* msg = static_cast<NotifyRecord*>(param);
    if (msg == NULL || msg->sType != L"selectchanged") return true;
    CCheckBoxUI* box = static_cast<CCheckBoxUI*>(msg->pSender);
    CTreeNodeUI* node = NodeOfPart(box);
    if (node == NULL || node->GetCheckBox() != box) return true;
    SetItemCheck(box->IsSelected(), node);

    CTreeNodeUI* parent = node->GetParentNode();
    if (parent == NULL) return true;
    int checked = 0;
    for (int i = 0; i < parent->GetCountChild(); ++i) checked += parent->GetChildNode(i)->GetCheckBox()->IsSelected();
    CCheckBoxUI* parentBox = parent->GetCheckBox();
    // Selecting the parent's box notifies again, so the update climbs the ancestors.
    if (checked == parent->GetCountChild() && !parentBox->IsSelected()) parentBox->Select(true);
    else if (checked == 0 && parentBox->IsSelected()) parentBox->Select(false);
    return true;
}

bool CTreeViewUI::OnFolderChanged(LPVOID param)
{
    NotifyRecord* msg = static_cast<NotifyRecord*>(param);
    if (msg == NULL || msg->sType != L"selectchanged") return true;
    CCheckBoxUI* folder = static_cast<CCheckBoxUI*>(msg->pSender);
    CTreeNodeUI* node = NodeOfPart(folder);
    if (node == NULL || node->GetFolderButton() != folder) return true;
    node->m_bIsExpanded = folder->IsSelected();
    SetItemExpand(node->m_bIsExpanded, node);
    return true;
}

bool CTreeViewUI::OnItemDoubleClick(LPVOID param)
{
    NotifyRecord* msg = static_cast<NotifyRecord*>(param);
    if (msg == NULL || msg->sType != L"itemdbclick" || !IsTreeNode(msg->pSender)) return true;
    CCheckBoxUI* folder = static_cast<CTreeNodeUI*>(msg->pSender)->GetFolderButton();
    folder->Select(!folder->IsSelected());
    return true;
}

bool CTreeViewUI::SetItemCheck(bool checked, CTreeNodeUI* node)
{
    if (node == NULL) {
        for (int i = 0; i < Count(); ++i) {
            CTreeNodeUI* listed = NodeAt(i);
            if (listed != NULL && listed->GetCheckBox()->IsSelected() != checked) listed->GetCheckBox()->Select(checked);
        }
        return true;
    }
    for (int i = 0; i < node->GetCountChild(); ++i) {
        CTreeNodeUI* child = node->GetChildNode(i);
        if (child->GetCheckBox()->IsSelected() != checked) child->GetCheckBox()->Select(checked);
        SetItemCheck(checked, child);
    }
    return true;
}

void CTreeViewUI::SetItemExpand(bool expanded, CTreeNodeUI* node)
{
    if (node == NULL) {
        for (int i = 0; i < Count(); ++i) {
            CTreeNodeUI* listed = NodeAt(i);
            if (listed != NULL) listed->SetVisible(expanded);
        }
        return;
    }
    for (int i = 0; i < node->GetCountChild(); ++i) {
        CTreeNodeUI* child = node->GetChildNode(i);
        child->SetVisible(expanded);
        // Children of a collapsed child stay as they are.
        if (child->HasChild() && child->GetFolderButton()->IsSelected()) SetItemExpand(expanded, child);
    }
}

void CTreeViewUI::SetVisibleFolderButton(bool visible)
{
    m_bVisibleFolderBtn = visible;
    for (int i = 0; i < Count(); ++i) {
        CTreeNodeUI* node = NodeAt(i);
        if (node != NULL) node->GetFolderButton()->SetVisible(visible);
    }
}

bool CTreeViewUI::GetVisibleFolderButton() const { return m_bVisibleFolderBtn; }

void CTreeViewUI::SetVisibleCheckButton(bool visible)
{
    m_bVisibleCheckBtn = visible;
    for (int i = 0; i < Count(); ++i) {
        CTreeNodeUI* node = NodeAt(i);
        if (node != NULL) node->GetCheckBox()->SetVisible(visible);
    }
}

bool CTreeViewUI::GetVisibleCheckButton() const { return m_bVisibleCheckBtn; }

void CTreeViewUI::SetItemMinWidth(UINT width)
{
    m_uItemMinWidth = width;
    for (int i = 0; i < Count(); ++i) {
        CTreeNodeUI* node = NodeAt(i);
        if (node != NULL) node->SetMinWidth(static_cast<int>(width));
    }
    Invalidate();
}

UINT CTreeViewUI::GetItemMinWidth() const { return m_uItemMinWidth; }

void CTreeViewUI::SetItemTextColor(DWORD color)
{
    for (int i = 0; i < Count(); ++i) {
        CTreeNodeUI* node = NodeAt(i);
        if (node != NULL) node->SetItemTextColor(color);
    }
}

void CTreeViewUI::SetItemHotTextColor(DWORD color)
{
    for (int i = 0; i < Count(); ++i) {
        CTreeNodeUI* node = NodeAt(i);
        if (node != NULL) node->SetItemHotTextColor(color);
    }
    Invalidate();
}

void CTreeViewUI::SetSelItemTextColor(DWORD color)
{
    for (int i = 0; i < Count(); ++i) {
        CTreeNodeUI* node = NodeAt(i);
        if (node != NULL) node->SetSelItemTextColor(color);
    }
    Invalidate();
}

void CTreeViewUI::SetSelItemHotTextColor(DWORD color)
{
    for (int i = 0; i < Count(); ++i) {
        CTreeNodeUI* node = NodeAt(i);
        if (node != NULL) node->SetSelItemHotTextColor(color);
    }
    Invalidate();
}

void CTreeViewUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"visiblefolderbtn") == 0) SetVisibleFolderButton(ParseBoolValue(value));
    else if (wcscmp(name, L"visiblecheckbtn") == 0) SetVisibleCheckButton(ParseBoolValue(value));
    else if (wcscmp(name, L"itemminwidth") == 0) SetItemMinWidth(static_cast<UINT>(ParseIntValue(value)));
    else if (wcscmp(name, L"itemtextcolor") == 0) SetItemTextColor(ParseColorValue(value));
    else if (wcscmp(name, L"itemhottextcolor") == 0) SetItemHotTextColor(ParseColorValue(value));
    else if (wcscmp(name, L"selitemtextcolor") == 0) SetSelItemTextColor(ParseColorValue(value));
    else if (wcscmp(name, L"selitemhottextcolor") == 0) SetSelItemHotTextColor(ParseColorValue(value));
    else CListUI::SetAttribute(name, value);
}

} // namespace DirectUI
