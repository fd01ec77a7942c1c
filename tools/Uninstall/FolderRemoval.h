#pragma once

#include <windows.h>

#include <string>

// The uninstaller removes the client folder, and then the install root above
// it when that is left empty, each by a hidden "cmd.exe /c rd" run. cmd would
// drop a lone "%" and expand "%NAME%" in a path written on its command line,
// so the path is never written there: the run gets it as the only variable of
// its environment and reads it with delayed expansion ("!NAME!"). "/d" keeps
// an AutoRun command of the registry from running first.

// The parameters of one run: "/d /v:on /c rd /s/q" (whole tree) or
// "/d /v:on /c rd " (only an empty folder), then the variable in double quotes.
std::wstring RemovalParameters(bool wholeTree);

// Removes the folder by one such run, waiting up to waitMs for its end; a run
// still going then is ended. True when cmd ended by itself in time.
bool RunFolderRemoval(const std::wstring& folder, bool wholeTree, DWORD waitMs);

// On a thread of its own, so the window never waits for cmd: removes the
// client folder with its tree, deletes the client's updater copy in the
// install root, then removes the install root when empty (never a drive or
// share root). The thread's handle, to be closed by the caller; NULL when no
// thread could be started (nothing was removed then).
HANDLE StartClientFolderRemoval(const std::wstring& clientFolder);

// True when the client folder is gone, or when the running uninstaller
// (selfPath) lies in it: cmd cannot delete that file (Wine's even stops
// there), so what is left goes with the clean-up batch after the end.
bool ClientFolderRemoved(const std::wstring& clientFolder, const std::wstring& selfPath);
