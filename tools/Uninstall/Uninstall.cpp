// The uninstaller: one window, no command-line arguments.
#include "UninstallFrameWnd.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    // The Windows folder is the current folder from the start, so the client
    // folder (where this program usually lies) is never held by it.
    wchar_t windows[MAX_PATH] = { 0 };
    UINT length = ::GetWindowsDirectoryW(windows, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        ::SetCurrentDirectoryW(windows);
    ::SetDllDirectoryW(L"");

    ::CoInitialize(NULL);
    // One uninstaller at a time; the handle stays open until the process ends.
    HANDLE mutex = ::CreateMutexW(NULL, FALSE, L"Orbela卸载向导");
    if (mutex == NULL || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CoUninitialize();
        return 0;
    }
    DirectUI::CWindowUIManager::SetInstance(instance);
    CUninstallFrameWnd* frame = new CUninstallFrameWnd();
    if (frame->Create(NULL, CUninstallFrameWnd::Title(), 0x96C80000, WS_EX_WINDOWEDGE) != NULL)
        frame->ShowModal();
    delete frame;
    ::CoUninitialize();
    return 0;
}
