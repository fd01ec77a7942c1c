#pragma once

#include "core/UIString.h"

namespace DirectUI {

// A font of a window's table; measured when tm.tmHeight is not 0.
struct FontEntry
{
    HFONT hFont;
    CUIString sFontName;
    int iSize;
    bool bBold;
    bool bUnderline;
    bool bItalic;
    TEXTMETRICW tm;
};

} // namespace DirectUI
