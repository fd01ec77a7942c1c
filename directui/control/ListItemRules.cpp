#include "control/ListItemRules.h"

#include "control/ContainerUI.h"
#include "control/StateImage.h"
#include "render/GdiPainter.h"

namespace DirectUI {

namespace {

bool AlternateRowIsBare(const ListInfo& info, int index) { return info.bAlternateBk && index % 2 != 0; }

} // namespace

IListItemUI* AsListItem(CControlUI* control)
{
    return control != NULL ? static_cast<IListItemUI*>(control->GetInterface(L"ListItem")) : NULL;
}

void DrawListItemBackground(HDC dc, CControlUI* item, IListOwnerUI* owner, int index, bool selected, UINT state)
{
    if (owner == NULL) return;
    ListInfo* info = owner->GetListInfo();
    if (info == NULL) return;
    DWORD color = AlternateRowIsBare(*info, index) ? 0 : info->dwBkColor;
    if ((state & UISTATE_HOT) != 0) color = info->dwHotBkColor;
    if (selected) color = info->dwSelectedBkColor;
    if (!item->IsEnabled()) color = info->dwDisabledBkColor;
    if (color != 0) CGdiPainter::DrawColor(dc, item->GetPos(), item->AdjustColor(color));

    if (!item->IsEnabled() && DrawImageOrForget(*item, dc, info->sDisabledImage)) return;
    if (selected && DrawImageOrForget(*item, dc, info->sSelectedImage)) return;
    if ((state & UISTATE_HOT) != 0 && DrawImageOrForget(*item, dc, info->sHotImage)) return;

    CUIString own = item->GetBkImage();
    if (!own.IsEmpty()) {
        if (!AlternateRowIsBare(*info, index) && !item->DrawImage(dc, own)) item->SetBkImage(L"");
    } else if (DrawImageOrForget(*item, dc, info->sBkImage)) {
        return;
    }

    if (info->dwLineColor != 0) {
        const RECT& rc = item->GetPos();
        RECT line = { rc.left, rc.bottom - 1, rc.right, rc.bottom - 1 };
        CGdiPainter::DrawLine(dc, line, 1, item->AdjustColor(info->dwLineColor));
    }
}

DWORD ListItemTextColor(const ListInfo& info, const CControlUI* item, bool selected, UINT state)
{
    DWORD color = info.dwTextColor;
    if ((state & UISTATE_HOT) != 0) color = info.dwHotTextColor;
    if (selected) color = info.dwSelectedTextColor;
    if (!item->IsEnabled()) color = info.dwDisabledTextColor;
    return color;
}

bool SelectListItem(CControlUI* item, IListOwnerUI* owner, int index, bool& selected, bool select)
{
    if (!item->IsEnabled()) return false;
    if (select == selected) return true;
    selected = select;
    if (select && owner != NULL) owner->SelectItem(index, false);
    InvalidateListItem(item);
    return true;
}

void HideListItem(IListOwnerUI* owner, bool& selected, bool visible)
{
    if (visible || !selected) return;
    selected = false;
    if (owner != NULL) owner->SelectItem(-1, false);
}

bool HandleListItemEvent(CControlUI* item, IListOwnerUI* owner, UINT& state, ControlEvent& event)
{
    IListItemUI* listItem = AsListItem(item);
    switch (event.Type) {
    case UIEVENT_DBLCLICK:
        if (!item->IsEnabled()) break;
        item->Activate();
        InvalidateListItem(item);
        return true;
    case UIEVENT_KEYDOWN:
        if (!item->IsEnabled() || event.chKey != VK_RETURN) break;
        item->Activate();
        InvalidateListItem(item);
        return true;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_RBUTTONDOWN:
        if (!item->IsEnabled()) break;
        if (listItem != NULL) listItem->Select(true);
        InvalidateListItem(item);
        return true;
    case UIEVENT_BUTTONUP:
        if (!item->IsEnabled()) break;
        // Wherever the mouse was released.
        if (item->GetManager() != NULL) item->GetManager()->SendNotify(item, L"itemclick");
        return true;
    case UIEVENT_MOUSEMOVE:
        return true;
    case UIEVENT_MOUSEENTER:
        if (!item->IsEnabled()) break;
        if ((state & UISTATE_HOT) == 0) {
            state |= UISTATE_HOT;
            InvalidateListItem(item);
        }
        return true;
    case UIEVENT_MOUSELEAVE:
        if ((state & UISTATE_HOT) != 0) {
            state &= ~UISTATE_HOT;
            InvalidateListItem(item);
        }
        return true;
    default:
        break;
    }
    if (owner == NULL) return false;
    owner->DoEvent(event);
    return true;
}

void RenumberListItems(const CContainerUI* container, int from)
{
    for (int i = from < 0 ? 0 : from; i < container->Count(); ++i) {
        IListItemUI* item = AsListItem(container->ItemAt(i));
        if (item != NULL) item->SetIndex(i);
    }
}

bool MoveListItem(CContainerUI* container, CControlUI* control, int newIndex, int& curSel)
{
    int oldIndex = container->IndexOf(control);
    if (oldIndex < 0) return false;
    if (oldIndex == newIndex) return true;
    CControlUI* selected = curSel >= 0 ? container->ItemAt(curSel) : NULL;
    // The container's own move: a combo's MoveItem is what called here.
    if (!container->CContainerUI::MoveItem(control, newIndex)) return false;
    RenumberListItems(container, oldIndex < newIndex ? oldIndex : newIndex);
    if (selected != NULL) curSel = container->IndexOf(selected);
    return true;
}

void KeepSelectionAfterRemoval(CContainerUI* owner, int removed, int& curSel)
{
    if (removed == curSel && curSel >= 0) {
        IListOwnerUI* list = static_cast<IListOwnerUI*>(owner->GetInterface(L"IListOwner"));
        int old = curSel;
        curSel = -1;
        if (list != NULL) list->SelectItem(owner->FindSelectableItem(old - 1, false), false);
    } else if (removed < curSel) {
        curSel -= 1;
    }
}

void InvalidateListItem(CControlUI* item)
{
    CWindowUIManager* manager = item->GetManager();
    if (manager == NULL || !item->IsVisible()) return;
    RECT rc = item->GetPos();
    CControlUI* parent = item->GetParent();
    if (parent != NULL) {
        CContainerUI* container = static_cast<CContainerUI*>(parent->GetInterface(L"Container"));
        RECT inner = container != NULL ? container->InnerRect() : parent->GetPos();
        if (!IntersectRect(&rc, &rc, &inner)) return;
        for (CControlUI* above = parent->GetParent(); above != NULL; above = above->GetParent()) {
            RECT pos = above->GetPos();
            if (!IntersectRect(&rc, &rc, &pos)) return;
        }
    }
    manager->Invalidate(rc);
}

} // namespace DirectUI
