// The installer: one window, no command-line arguments.
#include "InstallationFrameWnd.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    // Libraries are never looked up in the current folder, and that folder
    // is never the temporary one the extractor runs from.
    ::SetDllDirectoryW(L"");
    wchar_t system[MAX_PATH] = { 0 };
    UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        ::SetCurrentDirectoryW(system);

    ::CoInitialize(NULL);
    // One installer at a time; the handle stays open until the process ends.
    HANDLE mutex = ::CreateMutexW(NULL, FALSE, L"Orbela安装向导");
    if (mutex == NULL || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CoUninitialize();
        return 0;
    }
    DirectUI::CWindowUIManager::SetInstance(instance);
    CInstallationFrameWnd* frame = new CInstallationFrameWnd();
    if (frame->Create(NULL, CInstallationFrameWnd::Title(), 0x96C80000, WS_EX_WINDOWEDGE) != NULL)
        frame->ShowModal();
    delete frame;
    ::CoUninitialize();
    return 0;
}
