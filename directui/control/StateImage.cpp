#include "control/StateImage.h"

namespace DirectUI {

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
