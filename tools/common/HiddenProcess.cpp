#include "HiddenProcess.h"

#include <vector>

HANDLE StartHiddenProcess(const std::wstring& program, const std::wstring& commandLine, const std::wstring& folder,
                          DWORD creationFlags)
{
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::vector<wchar_t> text(commandLine.begin(), commandLine.end());
    text.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), text.data(), NULL, NULL, FALSE, creationFlags, NULL, folder.c_str(), &startup,
                        &process))
        return NULL;
    CloseHandle(process.hThread);
    return process.hProcess;
}

bool WaitOrTerminate(HANDLE process, DWORD waitMs, DWORD* exitCode)
{
    if (WaitForSingleObject(process, waitMs) != WAIT_OBJECT_0) {
        // Never left running behind us: a hung child is ended and waited for.
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        return false;
    }
    DWORD code = 0;
    if (!GetExitCodeProcess(process, &code))
        return false;
    if (exitCode != nullptr)
        *exitCode = code;
    return true;
}
