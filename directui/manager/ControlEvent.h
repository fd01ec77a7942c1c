#pragma once

#include <windows.h>

namespace DirectUI {

class CControlUI;

enum ControlEventType {
    UIEVENT_KEYDOWN = 3,
    UIEVENT_KEYUP = 4,
    UIEVENT_CHAR = 5,
    UIEVENT_SYSKEY = 6,
    UIEVENT_MOUSEMOVE = 9,
    UIEVENT_MOUSELEAVE = 10,
    UIEVENT_MOUSEENTER = 11,
    UIEVENT_MOUSEHOVER = 12,
    UIEVENT_BUTTONDOWN = 13,
    UIEVENT_BUTTONUP = 14,
    UIEVENT_RBUTTONDOWN = 15,
    UIEVENT_DBLCLICK = 16,
    UIEVENT_CONTEXTMENU = 17,
    UIEVENT_SCROLLWHEEL = 18,
    UIEVENT_KILLFOCUS = 20,
    UIEVENT_SETFOCUS = 21,
    UIEVENT_WINDOWSIZE = 22,
    UIEVENT_SETCURSOR = 23,
    UIEVENT_TIMER = 24,

    UIEVENT_MOUSEBEGIN = UIEVENT_MOUSEMOVE,
    UIEVENT_MOUSEEND = UIEVENT_SCROLLWHEEL,
};

// One input event for a control, built on the stack for each dispatch.
struct ControlEvent
{
    int Type;
    CControlUI* pSender;
    DWORD dwTimestamp;
    POINT ptMouse;
    WCHAR chKey;
    WORD wKeyState;
    WPARAM wParam;
    LPARAM lParam;
};

} // namespace DirectUI
