#pragma once

#include "control/ListInterfaces.h"
#include "control/VerticalLayoutUI.h"

namespace DirectUI {

class CListBodyUI;
class CListHeaderUI;

// A column header over a scrolling body of items with one selected item:
// keys and the wheel move the selection, header separators resize columns.
class CListUI : public CVerticalLayoutUI, public IListUI
{
public:
    CListUI();
    ~CListUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetPos(RECT rc) override;
    void HandleEvent(ControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;

    int GetChildPadding() const override;
    void SetChildPadding(int padding) override;
    bool IsDelayedDestroy() const override;
    void SetDelayedDestroy(bool delayed) override;
    int FindSelectableItem(int index, bool forward = true) const override;
    SIZE GetScrollPos() const override;
    SIZE GetScrollRange() const override;
    void SetScrollPos(SIZE pos) override;
    void SetScrollStepSize(int size) override;
    int GetScrollStepSize() const override;
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;
    void HomeUp() override;
    void EndDown() override;
    void LineLeft() override;
    void LineRight() override;
    void PageLeft() override;
    void PageRight() override;
    void HomeLeft() override;
    void EndRight() override;
    void EnableScrollBars(bool vertical = true, bool horizontal = false) override;
    CScrollBarUI* GetVerticalScrollBar() const override;
    CScrollBarUI* GetHorizontalScrollBar() const override;

    CControlUI* ItemAt(int index) const override;
    int IndexOf(CControlUI* control) const override;
    bool MoveItem(CControlUI* control, int newIndex) override;
    int Count() const override;
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    // IListOwnerUI
    ListInfo* GetListInfo() override;
    int GetCurSel() const override;
    bool SelectItem(int index, bool takeFocus = false) override;
    void DoEvent(ControlEvent& event) override;
    // IListUI
    CListHeaderUI* GetHeader() const override;
    CContainerUI* GetList() const override;
    ListTextProvider* GetTextProvider() const override;
    void SetTextProvider(ListTextProvider* provider) override;
    bool ExpandItem(int index, bool expand = true) override;
    int GetExpandedItem() const override;

    bool GetScrollSelect() const { return m_bScrollSelect; }
    void SetScrollSelect(bool scrollSelect) { m_bScrollSelect = scrollSelect; }
    void EnsureVisible(int index);
    void Scroll(int dx, int dy);
    // Copies the header columns (at most 32) into the item settings.
    void RefreshColumns(int scrollDx);

protected:
    void UpdateColumnCount();
    bool AddHeader(CControlUI* control);
    // Adds a header item at index (-1: at the end).
    bool AddColumn(CControlUI* control, int index);
    // Gives the items from index on their new indexes.
    void RenumberFrom(int index);
    bool RemoveFromBody(int index);

    bool m_bScrollSelect;
    int m_iCurSel;
    int m_iExpandedItem;
    ListTextProvider* m_pTextProvider;
    CListBodyUI* m_pList;
    CListHeaderUI* m_pHeader;
    ListInfo m_ListInfo;
};

} // namespace DirectUI
