#pragma once

#include "control/ListUI.h"

namespace DirectUI {

class CTreeNodeUI;

// A tree shown as a flat list: every node at every level is one list item,
// in depth-first order. Folder buttons show and hide child nodes; checking
// a node checks its subtree and updates its ancestors.
class CTreeViewUI : public CListUI, public INotifyUI
{
public:
    CTreeViewUI();
    ~CTreeViewUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;
    void Notify(NotifyRecord& msg) override;

    using CListUI::Add;
    using CListUI::AddAt;
    using CListUI::Remove;
    virtual bool Add(CTreeNodeUI* node);
    virtual bool AddAt(CTreeNodeUI* node, CTreeNodeUI* item);
    // Inserts node and its subtree at index; answers the index after them, -1 when refused.
    virtual long AddAt(CTreeNodeUI* node, int index);
    virtual bool Remove(CTreeNodeUI* node);
    virtual bool OnCheckBoxChanged(LPVOID param);
    virtual bool OnFolderChanged(LPVOID param);
    virtual bool OnItemDoubleClick(LPVOID param);
    virtual bool SetItemCheck(bool checked, CTreeNodeUI* node = NULL);
    virtual void SetItemExpand(bool expanded, CTreeNodeUI* node = NULL);
    virtual void SetVisibleFolderButton(bool visible);
    virtual bool GetVisibleFolderButton() const;
    virtual void SetVisibleCheckButton(bool visible);
    virtual bool GetVisibleCheckButton() const;
    virtual void SetItemMinWidth(UINT width);
    virtual UINT GetItemMinWidth() const;
    virtual void SetItemTextColor(DWORD color);
    virtual void SetItemHotTextColor(DWORD color);
    virtual void SetSelItemTextColor(DWORD color);
    virtual void SetSelItemHotTextColor(DWORD color);

private:
    // Subscribes to the node and its buttons and sets them up as the view wants.
    bool Adopt(CTreeNodeUI* node);
    // Unsubscribes and makes the node forget this view.
    void Release(CTreeNodeUI* node);
    CTreeNodeUI* NodeAt(int index) const;

    UINT m_uItemMinWidth;
    bool m_bVisibleFolderBtn;
    bool m_bVisibleCheckBtn;
};

} // namespace DirectUI
