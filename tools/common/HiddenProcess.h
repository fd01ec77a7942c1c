#pragma once

#include <windows.h>

#include <string>

// Starts a program by its full path (never looked up) with this command line,
// hidden, in the given folder. The process handle, to be closed by the
// caller; NULL when it could not be started.
HANDLE StartHiddenProcess(const std::wstring& program, const std::wstring& commandLine, const std::wstring& folder,
                          DWORD creationFlags);

// Waits up to waitMs for the process to end; one still running then is
// terminated. True when it ended by itself, with its exit code.
bool WaitOrTerminate(HANDLE process, DWORD waitMs, DWORD* exitCode = nullptr);
