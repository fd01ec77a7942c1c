#pragma once

#include "control/ListInfo.h"
#include "core/UIString.h"
#include "manager/ControlEvent.h"

namespace DirectUI {

class CControlUI;
class CContainerUI;
class CListHeaderUI;

// What an item asks of the list or combo that holds it.
class IListOwnerUI
{
public:
    virtual ListInfo* GetListInfo() = 0;
    virtual int GetCurSel() const = 0;
    virtual bool SelectItem(int index, bool takeFocus = false) = 0;
    virtual void DoEvent(ControlEvent& event) = 0;
};

// Supplied by the program using a list: the text of one item's column.
class ListTextProvider
{
public:
    virtual CUIString GetItemText(CControlUI* item, int index, int column) = 0;
};

// A list with a header and a body of items.
class IListUI : public IListOwnerUI
{
public:
    virtual CListHeaderUI* GetHeader() const = 0;
    virtual CContainerUI* GetList() const = 0;
    virtual ListTextProvider* GetTextProvider() const = 0;
    virtual void SetTextProvider(ListTextProvider* provider) = 0;
    virtual bool ExpandItem(int index, bool expand = true) = 0;
    virtual int GetExpandedItem() const = 0;
};

// One item of a list or combo.
class IListItemUI
{
public:
    virtual int GetIndex() const = 0;
    virtual void SetIndex(int index) = 0;
    virtual IListOwnerUI* GetOwner() = 0;
    virtual void SetOwner(CControlUI* owner) = 0;
    virtual bool IsSelected() const = 0;
    virtual bool Select(bool select = true) = 0;
    virtual bool IsExpanded() const = 0;
    virtual bool Expand(bool expand = true) = 0;
    virtual void DrawItemText(HDC dc, const RECT& rcItem) = 0;
};

} // namespace DirectUI
