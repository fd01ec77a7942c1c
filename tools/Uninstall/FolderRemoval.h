#pragma once

#include <windows.h>

#include <string>

// The uninstaller removes the client folder in its own process, through
// RemoveFolderTree: only entries that are themselves go, a link is removed as
// a link or, where Wine hides it, left with what it points to, and paths past
// MAX_PATH are handled, so nothing outside the folder is touched whatever it
// holds. No cmd run removes anything while the uninstaller runs.

// Whether the uninstaller at selfPath runs from the folder: its own folder is
// that folder, decided by the names the system gives handles opened on both
// (a short and a long spelling of one folder are one folder; another name of
// the uninstaller's file elsewhere, such as a hard link, is not). Asked once
// per uninstall; the removal, the done check and the clean-up batch take
// that one answer.
bool RunsFromFolder(const std::wstring& folder, const std::wstring& selfPath);

// On a thread of its own, so the window never waits for the removal: removes
// the client folder with its tree (when the uninstaller at selfPath runs from
// it, everything but that file), deletes the client's updater copy in the
// install root, then removes the install root when it is a real, empty folder
// that is itself (never a drive or share root). The thread's handle, to be
// closed by the caller; NULL when no thread could be started (nothing was
// removed then).
HANDLE StartClientFolderRemoval(const std::wstring& clientFolder, const std::wstring& selfPath, bool runsFromFolder);

// True when the client folder is gone, or, when the uninstaller runs from it,
// when a listing of the real folder finds exactly one entry, the running
// uninstaller at selfPath as itself: the clean-up batch after the end takes
// that file and the emptied folder. Anything else left (a link that cannot be
// removed, a file in use), or a folder that cannot be checked, counts as not
// removed.
bool ClientFolderRemoved(const std::wstring& clientFolder, const std::wstring& selfPath, bool runsFromFolder);
