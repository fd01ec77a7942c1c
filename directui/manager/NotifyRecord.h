#pragma once

#include "core/UIString.h"

namespace DirectUI {

class CControlUI;

// A notification of a control to its window: "click", "selectchanged", ...
struct NotifyRecord
{
    CUIString sType;
    CUIString sVirtualWnd;
    CControlUI* pSender;
    DWORD dwTimestamp;
    POINT ptMouse;
    WPARAM wParam;
    LPARAM lParam;
};

} // namespace DirectUI
