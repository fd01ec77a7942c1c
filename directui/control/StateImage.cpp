#include "control/StateImage.h"

namespace DirectUI {

void SyncFocusAndDisabledState(const CControlUI& control, UINT& state)
{
    if (control.IsFocused()) state |= UISTATE_FOCUSED;
    else state &= ~UISTATE_FOCUSED;
    if (!control.IsEnabled()) state |= UISTATE_DISABLED;
    else state &= ~UISTATE_DISABLED;
}

CUIString PartDestModify(const CControlUI& control, const RECT& part)
{
    const RECT& item = control.GetPos();
    CUIString modify;
    modify.Format(L"dest='%d,%d,%d,%d'", static_cast<int>(part.left - item.left), static_cast<int>(part.top - item.top),
                  static_cast<int>(part.right - item.left), static_cast<int>(part.bottom - item.top));
    return modify;
}

bool DrawImageOrForget(CControlUI& control, HDC dc, CUIString& image, LPCWSTR modify)
{
    if (image.IsEmpty()) return false;
    if (control.DrawImage(dc, image, modify)) return true;
    image.Empty();
    return false;
}

bool DrawStateOrNormalImage(CControlUI& control, HDC dc, CUIString* state, CUIString& normal, LPCWSTR modify)
{
    if (state != NULL && DrawImageOrForget(control, dc, *state, modify)) return true;
    return DrawImageOrForget(control, dc, normal, modify);
}

} // namespace DirectUI
