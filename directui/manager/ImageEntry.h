#pragma once

#include "core/UIString.h"

namespace DirectUI {

// A decoded image: a 32-bit top-down DIB section with premultiplied alpha.
struct ImageEntry
{
    HBITMAP hBitmap;
    int nWidth;
    int nHeight;
    bool bAlpha;
    CUIString sResType;
    DWORD dwMask;
};

} // namespace DirectUI
