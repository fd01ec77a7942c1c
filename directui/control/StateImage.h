#pragma once

#include "control/ControlUI.h"

namespace DirectUI {

// Image strings of control states: one that cannot be drawn is cleared so
// that it is never tried again.

// Sets UISTATE_FOCUSED and UISTATE_DISABLED in state as control is now.
void SyncFocusAndDisabledState(const CControlUI& control, UINT& state);

// The "dest" modifier that draws an image over part (in window
// coordinates) of control.
CUIString PartDestModify(const CControlUI& control, const RECT& part);

// Draws image (with modify) over control when set; false when it is empty or
// failed (and is now cleared).
bool DrawImageOrForget(CControlUI& control, HDC dc, CUIString& image, LPCWSTR modify = NULL);

// Draws state when it is given and drawable, else the normal image (both
// with modify); false when neither drew.
bool DrawStateOrNormalImage(CControlUI& control, HDC dc, CUIString* state, CUIString& normal, LPCWSTR modify = NULL);

} // namespace DirectUI
