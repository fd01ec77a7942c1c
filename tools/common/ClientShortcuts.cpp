#include "ClientShortcuts.h"

#include "MessageBoxFrameWnd.h"
#include "Shortcut.h"

#include <windows.h>
#include <shlobj.h>

namespace {

// The notices for a set that could not be written.
const wchar_t* const kStartMenuShortcutFailedText = L"开始程序中的快捷方式创建失败！";
const wchar_t* const kDesktopShortcutFailedText = L"桌面快捷方式创建失败！";

// A special folder's path; empty when the shell does not know it.
std::wstring SpecialFolder(int csidl)
{
    LPITEMIDLIST items = NULL;
    wchar_t path[MAX_PATH] = { 0 };
    bool found = SUCCEEDED(SHGetSpecialFolderLocation(NULL, csidl, &items)) && SHGetPathFromIDListW(items, path);
    if (items != NULL)
        CoTaskMemFree(items);
    return found ? std::wstring(path) : std::wstring();
}

bool FitsPath(const std::wstring& path)
{
    return !path.empty() && path.size() < MAX_PATH;
}

struct PendingShortcut {
    std::wstring link;
    std::wstring target;
    bool written;
};

DWORD WINAPI SavePendingShortcut(LPVOID parameter)
{
    PendingShortcut* shortcut = static_cast<PendingShortcut*>(parameter);
    shortcut->written = !shortcut->link.empty() && CreateShortcut(shortcut->link.c_str(), shortcut->target.c_str());
    return 0;
}

// Saves the links side by side: a save can wait on the shell (under Wine each
// one waits for the desktop's menu builder), and the links do not depend on
// each other. A link whose thread cannot start is saved here.
void SaveShortcuts(PendingShortcut* shortcuts, size_t count)
{
    HANDLE threads[MAXIMUM_WAIT_OBJECTS];
    DWORD started = 0;
    for (size_t i = 0; i < count; ++i) {
        if (shortcuts[i].link.empty())
            continue;
        HANDLE thread = started < MAXIMUM_WAIT_OBJECTS
            ? CreateThread(NULL, 0, SavePendingShortcut, &shortcuts[i], 0, NULL) : NULL;
        if (thread != NULL)
            threads[started++] = thread;
        else
            SavePendingShortcut(&shortcuts[i]);
    }
    if (started > 0)
        WaitForMultipleObjects(started, threads, TRUE, INFINITE);
    for (DWORD i = 0; i < started; ++i)
        CloseHandle(threads[i]);
}

} // namespace

ClientShortcutsResult CreateClientShortcuts(const std::wstring& clientFolder)
{
    const std::wstring client = clientFolder + L"\\Orbela.exe";
    const std::wstring uninstaller = clientFolder + L"\\Uninstall.exe";
    // The Start menu's two links, then the desktop's; an empty link path is
    // one that cannot be written.
    PendingShortcut shortcuts[3] = {
        { std::wstring(), client, false },
        { std::wstring(), uninstaller, false },
        { std::wstring(), client, false },
    };

    std::wstring programs = SpecialFolder(CSIDL_PROGRAMS);
    if (!programs.empty()) {
        const std::wstring folder = programs + L"\\Orbela";
        const std::wstring clientLink = folder + L"\\Orbela.lnk";
        const std::wstring uninstallLink = folder + L"\\卸载Orbela.lnk";
        if (FitsPath(clientLink) && FitsPath(uninstallLink)) {
            CreateDirectoryW(folder.c_str(), NULL);  // an existing folder is reused
            shortcuts[0].link = clientLink;
            shortcuts[1].link = uninstallLink;
        }
    }
    std::wstring desktop = SpecialFolder(CSIDL_DESKTOP);
    const std::wstring desktopLink = desktop + L"\\Orbela.lnk";
    if (!desktop.empty() && FitsPath(desktopLink))
        shortcuts[2].link = desktopLink;

    SaveShortcuts(shortcuts, 3);
    ClientShortcutsResult result;
    result.startMenu = shortcuts[0].written && shortcuts[1].written;
    result.desktop = shortcuts[2].written;
    return result;
}

void CreateClientShortcutsWithNotices(DirectUI::WindowImplBase* owner, const std::wstring& clientFolder)
{
    ClientShortcutsResult links = CreateClientShortcuts(clientFolder);
    if (!links.startMenu)
        ShowAlert(owner, kStartMenuShortcutFailedText);
    if (!links.desktop)
        ShowAlert(owner, kDesktopShortcutFailedText);
}
