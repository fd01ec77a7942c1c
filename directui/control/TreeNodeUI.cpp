#include "control/TreeNodeUI.h"

#include "control/CheckBoxUI.h"
#include "control/LabelUI.h"
#include "control/OptionUI.h"
#include "control/TreeViewUI.h"
#include "core/SkinValues.h"

namespace DirectUI {

namespace {

const int kNodeHeight = 18;
const int kDottedLineWidth = 2;

bool IsTreeNode(CControlUI* control)
{
    return control != NULL && wcscmp(control->GetControlClass(), L"TreeNodeUI") == 0;
}

} // namespace

CTreeNodeUI::CTreeNodeUI(CTreeNodeUI* parent)
    : m_bIsExpanded(false), m_dwItemTextColor(0), m_dwItemHotTextColor(0), m_dwSelItemTextColor(0),
      m_dwSelItemHotTextColor(0), m_pTreeView(NULL), m_pHoriz(new CHorizontalLayoutUI),
      m_pFolderButton(new CCheckBoxUI), m_pDottedLine(new CLabelUI), m_pCheckBox(new CCheckBoxUI),
      m_pItemButton(new COptionUI), m_pParentTreeNode(NULL)
{
    SetFixedHeight(kNodeHeight);
    m_pFolderButton->SetFixedWidth(GetFixedHeight());
    m_pDottedLine->SetFixedWidth(kDottedLineWidth);
    m_pDottedLine->SetVisible(false);
    m_pCheckBox->SetFixedWidth(GetFixedHeight());
    m_pCheckBox->SetVisible(false);
    m_pItemButton->SetAttribute(L"align", L"left");
    // Clicks on the text reach the node.
    m_pItemButton->SetMouseEnabled(false);
    if (IsTreeNode(parent)) TakeParent(parent);

    m_pHoriz->Add(m_pDottedLine);
    m_pHoriz->Add(m_pFolderButton);
    m_pHoriz->Add(m_pCheckBox);
    m_pHoriz->Add(m_pItemButton);
    CListContainerElementUI::Add(m_pHoriz);
}

CTreeNodeUI::~CTreeNodeUI()
{
    // Listed children belong to the list; only never-listed ones are ours.
    for (int i = 0; i < m_aTreeNodes.GetSize(); ++i) {
        CTreeNodeUI* child = static_cast<CTreeNodeUI*>(m_aTreeNodes[i]);
        if (child->m_pTreeView == NULL) delete child;
    }
}

LPCWSTR CTreeNodeUI::GetControlClass() const { return L"TreeNodeUI"; }

LPVOID CTreeNodeUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"TreeNode") == 0) return this;
    return CListContainerElementUI::GetInterface(name);
}

void CTreeNodeUI::TakeParent(CTreeNodeUI* parent)
{
    m_pDottedLine->SetVisible(true);
    m_pDottedLine->SetFixedWidth(parent->m_pDottedLine->GetFixedWidth() + kIndent);
    m_pParentTreeNode = parent;
    // A subtree built before it joined (as the skin builder does) moves in with it.
    for (int i = 0; i < m_aTreeNodes.GetSize(); ++i) static_cast<CTreeNodeUI*>(m_aTreeNodes[i])->TakeParent(this);
}

void CTreeNodeUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && event.Type >= UIEVENT_MOUSEBEGIN && event.Type <= UIEVENT_MOUSEEND) {
        if (m_pParent != NULL) m_pParent->HandleEvent(event);
        else CListContainerElementUI::HandleEvent(event);
        return;
    }
    CListContainerElementUI::HandleEvent(event);
    switch (event.Type) {
    case UIEVENT_DBLCLICK:
        if (IsEnabled() && m_pManager != NULL) {
            m_pManager->SendNotify(this, L"itemdbclick");
            Invalidate();
        }
        break;
    case UIEVENT_MOUSEENTER:
        if (!IsEnabled()) m_pItemButton->SetTextColor(m_pItemButton->GetDisabledTextColor());
        else if (IsSelected() && m_dwSelItemHotTextColor != 0) m_pItemButton->SetTextColor(m_dwSelItemHotTextColor);
        else m_pItemButton->SetTextColor(m_dwItemHotTextColor);
        break;
    case UIEVENT_MOUSELEAVE:
        if (!IsEnabled()) m_pItemButton->SetTextColor(m_pItemButton->GetDisabledTextColor());
        else if (IsSelected()) {
            if (m_dwSelItemTextColor != 0) m_pItemButton->SetTextColor(m_dwSelItemTextColor);
        } else {
            m_pItemButton->SetTextColor(m_dwItemTextColor);
        }
        break;
    default:
        break;
    }
}

void CTreeNodeUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"text") == 0) SetItemText(value);
    else if (wcscmp(name, L"horizattr") == 0) m_pHoriz->ApplyAttributes(value);
    else if (wcscmp(name, L"dotlineattr") == 0) m_pDottedLine->ApplyAttributes(value);
    else if (wcscmp(name, L"folderattr") == 0) m_pFolderButton->ApplyAttributes(value);
    else if (wcscmp(name, L"checkboxattr") == 0) m_pCheckBox->ApplyAttributes(value);
    else if (wcscmp(name, L"itemattr") == 0) m_pItemButton->ApplyAttributes(value);
    else if (wcscmp(name, L"itemtextcolor") == 0) SetItemTextColor(ParseColorValue(value));
    else if (wcscmp(name, L"itemhottextcolor") == 0) SetItemHotTextColor(ParseColorValue(value));
    else if (wcscmp(name, L"selitemtextcolor") == 0) SetSelItemTextColor(ParseColorValue(value));
    else if (wcscmp(name, L"selitemhottextcolor") == 0) SetSelItemHotTextColor(ParseColorValue(value));
    else if (wcscmp(name, L"defaultexpand") == 0) {
        if (ParseBoolValue(value)) m_pFolderButton->Select(true);
    } else {
        CListContainerElementUI::SetAttribute(name, value);
    }
}

bool CTreeNodeUI::Add(CControlUI* control)
{
    if (IsTreeNode(control)) return AddChildNode(static_cast<CTreeNodeUI*>(control));
    return CListContainerElementUI::Add(control);
}

bool CTreeNodeUI::AddAt(CControlUI* control, int index)
{
    if (IsTreeNode(control)) return AddChildNodeAt(static_cast<CTreeNodeUI*>(control), index);
    return CListContainerElementUI::AddAt(control, index);
}

bool CTreeNodeUI::Remove(CControlUI* control)
{
    if (IsTreeNode(control)) return RemoveChildNode(static_cast<CTreeNodeUI*>(control));
    return CListContainerElementUI::Remove(control);
}

bool CTreeNodeUI::Select(bool select)
{
    bool result = CListContainerElementUI::Select(select);
    m_pItemButton->SetTextColor(IsSelected() ? m_dwSelItemTextColor : m_dwItemTextColor);
    return result;
}

int CTreeNodeUI::ListPositionForChild(int index)
{
    if (index < m_aTreeNodes.GetSize()) return static_cast<CTreeNodeUI*>(m_aTreeNodes[index])->GetTreeIndex();
    return GetLastNode()->GetTreeIndex() + 1;
}

bool CTreeNodeUI::AddChildNode(CTreeNodeUI* child) { return AddChildNodeAt(child, m_aTreeNodes.GetSize()); }

bool CTreeNodeUI::AddChildNodeAt(CTreeNodeUI* child, int index)
{
    if (!IsTreeNode(child) || child == this || m_aTreeNodes.Find(child) >= 0) return false;
    if (index < 0) index = 0;
    if (index > m_aTreeNodes.GetSize()) index = m_aTreeNodes.GetSize();
    child->TakeParent(this);
    if (m_pTreeView != NULL && GetTreeIndex() >= 0) {
        if (m_pTreeView->AddAt(child, ListPositionForChild(index)) < 0) return false;
    }
    child->SetVisible(m_pFolderButton->IsSelected());
    if (index == m_aTreeNodes.GetSize()) return m_aTreeNodes.Add(child);
    return m_aTreeNodes.InsertAt(index, child);
}

bool CTreeNodeUI::RemoveChildNode(CTreeNodeUI* child)
{
    int index = m_aTreeNodes.Find(child);
    if (index < 0) return false;
    while (child->HasChild()) child->RemoveChildNode(child->GetChildNode(0));
    m_aTreeNodes.Remove(index);
    child->m_pParentTreeNode = NULL;
    if (m_pTreeView != NULL && child->m_pTreeView == m_pTreeView) return m_pTreeView->Remove(child);
    // Never listed: nothing else owns it.
    if (child->m_pTreeView == NULL) delete child;
    return true;
}

CTreeNodeUI* CTreeNodeUI::GetChildNode(int index) const
{
    return static_cast<CTreeNodeUI*>(m_aTreeNodes.GetAt(index));
}

int CTreeNodeUI::GetTreeIndex() const
{
    if (m_pTreeView == NULL) return -1;
    return m_pTreeView->GetList()->IndexOf(const_cast<CTreeNodeUI*>(this));
}

CTreeNodeUI* CTreeNodeUI::GetLastNode()
{
    CTreeNodeUI* last = this;
    while (last->HasChild()) last = last->GetChildNode(last->GetCountChild() - 1);
    return last;
}

void CTreeNodeUI::SetItemText(LPCWSTR text) { m_pItemButton->SetText(text); }
CUIString CTreeNodeUI::GetItemText() const { return m_pItemButton->GetText(); }

void CTreeNodeUI::SetItemTextColor(DWORD color)
{
    m_dwItemTextColor = color;
    m_pItemButton->SetTextColor(color);
}

void CTreeNodeUI::SetItemHotTextColor(DWORD color)
{
    m_dwItemHotTextColor = color;
    Invalidate();
}

void CTreeNodeUI::SetSelItemTextColor(DWORD color)
{
    m_dwSelItemTextColor = color;
    Invalidate();
}

void CTreeNodeUI::SetSelItemHotTextColor(DWORD color)
{
    m_dwSelItemHotTextColor = color;
    Invalidate();
}

} // namespace DirectUI
