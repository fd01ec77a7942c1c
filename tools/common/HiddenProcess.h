#pragma once

#include <windows.h>

#include <string>

// Starts a program by its full path (never looked up) with this command line,
// hidden, in the given folder; with an environment block (wide, each
// "NAME=value" ended by a NUL, one more NUL at the end) it gets that instead
// of ours. The process handle, to be closed by the caller; NULL when it could
// not be started.
HANDLE StartHiddenProcess(const std::wstring& program, const std::wstring& commandLine, const std::wstring& folder,
                          DWORD creationFlags, const std::wstring* environment = nullptr);

// Waits up to waitMs for the process to end; one still running then is
// terminated. True when it ended by itself, with its exit code.
bool WaitOrTerminate(HANDLE process, DWORD waitMs, DWORD* exitCode = nullptr);
