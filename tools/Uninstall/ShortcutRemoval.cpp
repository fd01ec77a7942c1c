#include "ShortcutRemoval.h"

#include <windows.h>
#include <objbase.h>
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

// The shell's verbs may wait on shell extensions: they run on a thread of
// their own, with a copy of the path it owns, and are waited for this long.
const DWORD kUnpinWaitMs = 10000;

DWORD WINAPI RunUnpinVerbs(LPVOID parameter)
{
    std::wstring* path = static_cast<std::wstring*>(parameter);
    HRESULT com = CoInitializeEx(NULL, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    ShellExecuteW(NULL, L"TaskbarUnPin", path->c_str(), NULL, NULL, SW_SHOW);
    ShellExecuteW(NULL, L"StartUnPin", path->c_str(), NULL, NULL, SW_SHOW);
    if (SUCCEEDED(com))
        CoUninitialize();
    delete path;
    return 0;
}

} // namespace

void UnpinAndDeleteShortcut(int folderId, const wchar_t* linkName)
{
    std::wstring path = PathIn(folderId, linkName);
    if (path.empty() || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    std::wstring* owned = new std::wstring(path);
    HANDLE thread = CreateThread(NULL, 0, RunUnpinVerbs, owned, 0, NULL);
    if (thread != NULL) {
        WaitForSingleObject(thread, kUnpinWaitMs);
        CloseHandle(thread);
    } else {
        RunUnpinVerbs(owned); // no thread to spare: the verbs still run, here
    }
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
