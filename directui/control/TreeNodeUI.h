#pragma once

#include "control/ListContainerElementUI.h"
#include "core/PointerArray.h"

namespace DirectUI {

class CCheckBoxUI;
class CLabelUI;
class COptionUI;
class CTreeViewUI;

// One node of a tree view, listed as one item: a row with an indentation
// spacer, a folder button (selected = expanded), a check box and the item
// button showing the node's text. Child nodes follow it in the list.
class CTreeNodeUI : public CListContainerElementUI
{
    friend class CTreeViewUI;

public:
    // An indentation step per level, in pixels.
    enum { kIndent = 16 };

    explicit CTreeNodeUI(CTreeNodeUI* parent = NULL);
    ~CTreeNodeUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void HandleEvent(ControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;

    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    bool Select(bool select = true) override;

    bool AddChildNode(CTreeNodeUI* child);
    bool AddChildNodeAt(CTreeNodeUI* child, int index);
    bool RemoveChildNode(CTreeNodeUI* child);
    int GetCountChild() const { return m_aTreeNodes.GetSize(); }
    CTreeNodeUI* GetChildNode(int index) const;
    bool HasChild() const { return !m_aTreeNodes.IsEmpty(); }
    // Index in the tree view's list, -1 when not listed.
    int GetTreeIndex() const;
    // The last node of this node's subtree: itself without children.
    CTreeNodeUI* GetLastNode();
    CTreeNodeUI* GetParentNode() const { return m_pParentTreeNode; }
    CTreeViewUI* GetTreeView() const { return m_pTreeView; }
    bool IsExpandedNode() const { return m_bIsExpanded; }

    void SetItemText(LPCWSTR text);
    CUIString GetItemText() const;
    void SetItemTextColor(DWORD color);
    DWORD GetItemTextColor() const { return m_dwItemTextColor; }
    void SetItemHotTextColor(DWORD color);
    DWORD GetItemHotTextColor() const { return m_dwItemHotTextColor; }
    void SetSelItemTextColor(DWORD color);
    DWORD GetSelItemTextColor() const { return m_dwSelItemTextColor; }
    void SetSelItemHotTextColor(DWORD color);
    DWORD GetSelItemHotTextColor() const { return m_dwSelItemHotTextColor; }

    CHorizontalLayoutUI* GetTreeNodeHoriznotal() const { return m_pHoriz; }
    CCheckBoxUI* GetFolderButton() const { return m_pFolderButton; }
    CLabelUI* GetDottedLine() const { return m_pDottedLine; }
    CCheckBoxUI* GetCheckBox() const { return m_pCheckBox; }
    COptionUI* GetItemButton() const { return m_pItemButton; }

private:
    // Indents under the parent and joins its tree view, for a new child.
    void TakeParent(CTreeNodeUI* parent);
    // The list position a child placed at child position index goes to.
    int ListPositionForChild(int index);

    bool m_bIsExpanded;
    DWORD m_dwItemTextColor;
    DWORD m_dwItemHotTextColor;
    DWORD m_dwSelItemTextColor;
    DWORD m_dwSelItemHotTextColor;
    CTreeViewUI* m_pTreeView;
    CHorizontalLayoutUI* m_pHoriz;
    CCheckBoxUI* m_pFolderButton;
    CLabelUI* m_pDottedLine;
    CCheckBoxUI* m_pCheckBox;
    COptionUI* m_pItemButton;
    CTreeNodeUI* m_pParentTreeNode;
    CPointerArray m_aTreeNodes;
};

} // namespace DirectUI
