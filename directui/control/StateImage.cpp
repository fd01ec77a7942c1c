#include "control/StateImage.h"

namespace DirectUI {

void SyncFocusAndDisabledState(const CControlUI& control, UINT& state)
{
    if (control.IsFocused()) state |= UISTATE_FOCUSED;
    else state &= ~UISTATE_FOCUSED;
    if (!control.IsEnabled()) state |= UISTATE_DISABLED;
    else state &= ~UISTATE_DISABLED;
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
