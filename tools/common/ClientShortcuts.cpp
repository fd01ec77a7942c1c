#include "ClientShortcuts.h"

#include "Shortcut.h"

#include <windows.h>
#include <shlobj.h>

const wchar_t* const kStartMenuShortcutFailedText = L"开始程序中的快捷方式创建失败！";
const wchar_t* const kDesktopShortcutFailedText = L"桌面快捷方式创建失败！";

namespace {

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

} // namespace

ClientShortcutsResult CreateClientShortcuts(const std::wstring& clientFolder)
{
    const std::wstring client = clientFolder + L"\\Orbela.exe";
    const std::wstring uninstaller = clientFolder + L"\\Uninstall.exe";
    ClientShortcutsResult result;

    std::wstring programs = SpecialFolder(CSIDL_PROGRAMS);
    if (!programs.empty()) {
        const std::wstring folder = programs + L"\\Orbela";
        const std::wstring clientLink = folder + L"\\Orbela.lnk";
        const std::wstring uninstallLink = folder + L"\\卸载Orbela.lnk";
        if (FitsPath(clientLink) && FitsPath(uninstallLink)) {
            CreateDirectoryW(folder.c_str(), NULL);  // an existing folder is reused
            bool clientWritten = CreateShortcut(clientLink.c_str(), client.c_str());
            bool uninstallWritten = CreateShortcut(uninstallLink.c_str(), uninstaller.c_str());
            result.startMenu = clientWritten && uninstallWritten;
        }
    }

    std::wstring desktop = SpecialFolder(CSIDL_DESKTOP);
    const std::wstring desktopLink = desktop + L"\\Orbela.lnk";
    if (!desktop.empty() && FitsPath(desktopLink))
        result.desktop = CreateShortcut(desktopLink.c_str(), client.c_str());
    return result;
}
