#pragma once

#include "core/UIString.h"

#include <windows.h>

namespace DirectUI {

// The item settings every item of one list (or combo) reads from its owner,
// so that all items look alike.
struct ListInfo
{
    enum { kMaxColumns = 32 };

    ListInfo()
        : nColumns(0), nFont(-1), uTextStyle(DT_VCENTER), dwTextColor(0xFF000000), dwBkColor(0), bAlternateBk(false),
          dwSelectedTextColor(0xFF000000), dwSelectedBkColor(0xFFC1E3FF), dwHotTextColor(0xFF000000),
          dwHotBkColor(0xFFE9F5FF), dwDisabledTextColor(0xFFCCCCCC), dwDisabledBkColor(0xFFFFFFFF), dwLineColor(0),
          bShowHtml(false), bMultiExpandable(false)
    {
        ZeroMemory(rcColumn, sizeof(rcColumn));
        SetRectEmpty(&rcTextPadding);
    }

    int nColumns;
    RECT rcColumn[kMaxColumns];
    int nFont;
    UINT uTextStyle;
    RECT rcTextPadding;
    DWORD dwTextColor;
    DWORD dwBkColor;
    CUIString sBkImage;
    bool bAlternateBk;
    DWORD dwSelectedTextColor;
    DWORD dwSelectedBkColor;
    CUIString sSelectedImage;
    DWORD dwHotTextColor;
    DWORD dwHotBkColor;
    CUIString sHotImage;
    DWORD dwDisabledTextColor;
    DWORD dwDisabledBkColor;
    CUIString sDisabledImage;
    DWORD dwLineColor;
    bool bShowHtml;
    bool bMultiExpandable;
};

} // namespace DirectUI
