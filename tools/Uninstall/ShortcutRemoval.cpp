#include "ShortcutRemoval.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>

namespace {

// The special folder's path followed by "\" and the name; empty when unknown.
std::wstring PathIn(int folderId, const wchar_t* name)
{
    wchar_t folder[MAX_PATH] = { 0 };
    if (FAILED(SHGetFolderPathW(NULL, folderId, NULL, 0, folder)) || folder[0] == L'\0')
        return std::wstring();
    std::wstring path = folder;
    if (folderId == CSIDL_APPDATA)
        path += L"\\Microsoft\\Internet Explorer\\Quick Launch";
    path += L"\\";
    path += name;
    return path.size() < MAX_PATH ? path : std::wstring();
}

} // namespace

void UnpinAndDeleteShortcut(int folderId, const wchar_t* linkName)
{
    std::wstring path = PathIn(folderId, linkName);
    if (path.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    ShellExecuteW(NULL, L"TaskbarUnPin", path.c_str(), NULL, NULL, SW_SHOW);
    ShellExecuteW(NULL, L"StartUnPin", path.c_str(), NULL, NULL, SW_SHOW);
    DeleteFileW(path.c_str());
}

int FindInSpecialFolder(int folderId, const wchar_t* name)
{
    std::wstring path = PathIn(folderId, name);
    if (path.empty())
        return 0;
    std::wstring folder = path.substr(0, path.size() - wcslen(name) - 1);
    wchar_t found[MAX_PATH] = { 0 };
    return SearchPathW(folder.c_str(), name, NULL, MAX_PATH, found, NULL) != 0
        || GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void DeleteInSpecialFolder(int folderId, const wchar_t* name, bool isFolder)
{
    std::wstring path = PathIn(folderId, name);
    if (path.empty())
        return;
    if (isFolder)
        RemoveDirectoryW(path.c_str());
    else
        DeleteFileW(path.c_str());
}
