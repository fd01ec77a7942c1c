#include "SkinLoadBox.h"

#include "window/WindowImplBase.h"

namespace {

struct BoxSearch
{
    DWORD pid;
    HWND found;
};

BOOL CALLBACK MatchBox(HWND hwnd, LPARAM parameter)
{
    BoxSearch* search = reinterpret_cast<BoxSearch*>(parameter);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->pid) return TRUE;
    wchar_t className[16] = { 0 }, title[32] = { 0 };
    GetClassNameW(hwnd, className, 16);
    GetWindowTextW(hwnd, title, 32);
    if (wcscmp(className, L"#32770") != 0 || wcscmp(title, DirectUI::WindowImplBase::SkinLoadFailedCaption()) != 0)
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

} // namespace

HWND FindSkinLoadBox(DWORD pid)
{
    // Other programs on the desktop may show boxes of the same title.
    BoxSearch search = { pid, NULL };
    EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
    // A box is found by its title before its text control exists: it counts
    // only once there is text to read.
    if (search.found != NULL && SkinLoadBoxText(search.found).empty())
        return NULL;
    return search.found;
}

std::wstring SkinLoadBoxText(HWND box)
{
    wchar_t text[256] = { 0 };
    GetDlgItemTextW(box, 0xFFFF, text, 256); // a message box's text control
    return text;
}
