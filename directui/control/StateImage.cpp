#include "control/StateImage.h"

namespace DirectUI {

bool DrawImageOrForget(CControlUI& control, HDC dc, CUIString& image, LPCWSTR modify)
{
    if (image.IsEmpty()) return false;
    if (control.DrawImage(dc, image, modify)) return true;
    image.Empty();
    return false;
}

void DrawStateOrNormalImage(CControlUI& control, HDC dc, CUIString* state, CUIString& normal)
{
    if (state != NULL && DrawImageOrForget(control, dc, *state)) return;
    DrawImageOrForget(control, dc, normal);
}

} // namespace DirectUI
