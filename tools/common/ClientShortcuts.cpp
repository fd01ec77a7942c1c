#include "ClientShortcuts.h"

#include "MessageBoxFrameWnd.h"
#include "Shortcut.h"

#include <windows.h>
#include <shlobj.h>

#include <utility>
#include <vector>

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

// Longer than this, a link's save counts as failed (its thread is left to end by itself).
const DWORD kShortcutSaveLimitMs = 60000;

bool FitsPath(const std::wstring& path)
{
    return !path.empty() && path.size() < MAX_PATH;
}

// A link being saved. The saving thread and the caller each hold a
// reference; the last to let go deletes it, so a save that outlives the
// caller's wait never writes into memory the caller has freed.
struct PendingShortcut {
    std::wstring link;
    std::wstring target;
    volatile LONG written;
    volatile LONG references;

    void Release()
    {
        if (InterlockedDecrement(&references) == 0)
            delete this;
    }
};

DWORD WINAPI SavePendingShortcut(LPVOID parameter)
{
    PendingShortcut* shortcut = static_cast<PendingShortcut*>(parameter);
    bool written = !shortcut->link.empty() && CreateShortcut(shortcut->link.c_str(), shortcut->target.c_str());
    InterlockedExchange(&shortcut->written, written ? 1 : 0);
    shortcut->Release();
    return 0;
}

// Saves the links side by side: a save can wait on the shell (under Wine each
// one waits for the desktop's menu builder), and the links do not depend on
// each other. A link whose thread cannot start is saved here; one whose save
// has not ended within the limit counts as not written. Answers per link.
std::vector<bool> SaveShortcuts(const std::vector<std::pair<std::wstring, std::wstring>>& links)
{
    std::vector<bool> written(links.size(), false);
    std::vector<PendingShortcut*> pending(links.size(), nullptr);
    HANDLE threads[MAXIMUM_WAIT_OBJECTS];
    size_t owners[MAXIMUM_WAIT_OBJECTS];
    DWORD started = 0;
    for (size_t i = 0; i < links.size(); ++i) {
        if (links[i].first.empty())
            continue;
        PendingShortcut* shortcut = new PendingShortcut{ links[i].first, links[i].second, 0, 2 };
        pending[i] = shortcut;
        HANDLE thread = started < MAXIMUM_WAIT_OBJECTS
            ? CreateThread(NULL, 0, SavePendingShortcut, shortcut, 0, NULL) : NULL;
        if (thread != NULL) {
            owners[started] = i;
            threads[started++] = thread;
        } else {
            SavePendingShortcut(shortcut);
        }
    }
    if (started > 0)
        WaitForMultipleObjects(started, threads, TRUE, kShortcutSaveLimitMs);
    std::vector<bool> ended(links.size(), true);
    for (DWORD i = 0; i < started; ++i) {
        ended[owners[i]] = WaitForSingleObject(threads[i], 0) == WAIT_OBJECT_0;
        CloseHandle(threads[i]);
    }
    for (size_t i = 0; i < links.size(); ++i) {
        if (pending[i] == nullptr)
            continue;
        written[i] = ended[i] && pending[i]->written != 0;
        pending[i]->Release();
    }
    return written;
}

} // namespace

ClientShortcutsResult CreateClientShortcuts(const std::wstring& clientFolder)
{
    const std::wstring client = clientFolder + L"\\Orbela.exe";
    const std::wstring uninstaller = clientFolder + L"\\Uninstall.exe";
    // The Start menu's two links, then the desktop's; an empty link path is
    // one that cannot be written.
    std::vector<std::pair<std::wstring, std::wstring>> links = {
        { std::wstring(), client },
        { std::wstring(), uninstaller },
        { std::wstring(), client },
    };

    std::wstring programs = SpecialFolder(CSIDL_PROGRAMS);
    if (!programs.empty()) {
        const std::wstring folder = programs + L"\\Orbela";
        const std::wstring clientLink = folder + L"\\Orbela.lnk";
        const std::wstring uninstallLink = folder + L"\\卸载Orbela.lnk";
        if (FitsPath(clientLink) && FitsPath(uninstallLink)) {
            CreateDirectoryW(folder.c_str(), NULL);  // an existing folder is reused
            links[0].first = clientLink;
            links[1].first = uninstallLink;
        }
    }
    std::wstring desktop = SpecialFolder(CSIDL_DESKTOP);
    const std::wstring desktopLink = desktop + L"\\Orbela.lnk";
    if (!desktop.empty() && FitsPath(desktopLink))
        links[2].first = desktopLink;

    const std::vector<bool> written = SaveShortcuts(links);
    ClientShortcutsResult result;
    result.startMenu = written[0] && written[1];
    result.desktop = written[2];
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
