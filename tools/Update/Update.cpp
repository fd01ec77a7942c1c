// The updater: "Update.exe VERSION URL", started by the client from the
// parent folder of its own folder.
#include "OemText.h"
#include "UpdateFrameWnd.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>

namespace {

const size_t kMaxVersionLength = 99;

// A version is digits and dots only, at most 99 characters: it goes into the
// registry and the report as it is.
bool IsVersionText(const wchar_t* text)
{
    size_t length = wcslen(text);
    if (length == 0 || length > kMaxVersionLength)
        return false;
    for (const wchar_t* c = text; *c; ++c)
        if (!(*c >= L'0' && *c <= L'9') && *c != L'.')
            return false;
    return true;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (arguments == NULL)
        return 0;
    if (count != 3 || !IsVersionText(arguments[1])) {
        ::LocalFree(arguments);
        return 0;
    }
    // The start folder is one place the client may be; afterwards the updater
    // never holds a folder it may write into.
    wchar_t folder[MAX_PATH] = { 0 };
    DWORD length = ::GetCurrentDirectoryW(MAX_PATH, folder);
    if (length > 0 && length < MAX_PATH)
        g_startFolder = folder;
    ::SetDllDirectoryW(L"");
    wchar_t system[MAX_PATH] = { 0 };
    length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        ::SetCurrentDirectoryW(system);

    ::CoInitialize(NULL);
    // One updater at a time; the handle stays open until the process ends.
    HANDLE mutex = ::CreateMutexW(NULL, FALSE, L"Orbela更新向导");
    if (mutex == NULL || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::LocalFree(arguments);
        ::CoUninitialize();
        return 0;
    }
    DirectUI::CWindowUIManager::SetInstance(instance);
    CUpdateFrameWnd* frame = new CUpdateFrameWnd(WideToOemString(arguments[1]).c_str(), arguments[2]);
    if (frame->Create(NULL, CUpdateFrameWnd::Title(), 0x96C80000, WS_EX_WINDOWEDGE) != NULL)
        frame->ShowModal();
    delete frame;
    ::LocalFree(arguments);
    ::CoUninitialize();
    return 0;
}
