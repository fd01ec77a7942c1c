#pragma once

#include "control/ListInterfaces.h"

namespace DirectUI {

class CControlUI;
class CContainerUI;

// What every list item does alike, whether drawn from the list's settings
// or a container of controls: background, selection, events, invalidation.

// The list item interface of control; NULL when it is none (or NULL).
IListItemUI* AsListItem(CControlUI* control);

// Colour, state image, own or list background image and the item line.
void DrawListItemBackground(HDC dc, CControlUI* item, IListOwnerUI* owner, int index, bool selected, UINT state);

// Text colour of an item in its state, from the list's settings.
DWORD ListItemTextColor(const ListInfo& info, const CControlUI* item, bool selected, UINT state);

// Select(b): refused when disabled; selecting tells the owner.
bool SelectListItem(CControlUI* item, IListOwnerUI* owner, int index, bool& selected, bool select);

// Hiding a selected item clears the owner's selection.
void HideListItem(IListOwnerUI* owner, bool& selected, bool visible);

// The item events of a list item; false when the event is for the item's
// base class (it has no owner to pass it to).
bool HandleListItemEvent(CControlUI* item, IListOwnerUI* owner, UINT& state, ControlEvent& event);

// Gives the list items of container from index on their places as indexes.
void RenumberListItems(const CContainerUI* container, int from);

// Moves control to newIndex among owner's items (container: where they
// are), renumbering them; the selection stays on its item.
bool MoveListItem(CContainerUI* container, CControlUI* control, int newIndex, int& curSel);

// After the item at removed left owner: a removed selection goes to the
// nearest selectable item before it (or the first), an earlier one lowers it.
void KeepSelectionAfterRemoval(CContainerUI* owner, int removed, int& curSel);

// Invalidates only the part of the item its parent shows (inside the
// parent's inset and scroll bars) and every further ancestor.
void InvalidateListItem(CControlUI* item);

} // namespace DirectUI
