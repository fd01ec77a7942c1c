#pragma once

#include <functional>
#include <string>
#include <vector>

// Puts an update package over the client folder so that a failure, or a run
// cut off at any point, leaves an old client that can be made whole again.
// The package is unpacked into a staging folder inside the client folder
// (same volume, so every later step is a rename). Then, file by file with
// "Orbela.exe" last, the old file gets a second name in the kept folder and
// the new one replaces it in one rename, so the client file is never missing
// and the old program (with its old version) stays until the very last move.
// The kept folder is the record of what was replaced: it is removed only once
// the last file is in place, or once every file in it is back; until then
// each run first puts its files back.
//
// Nothing here follows a link: a staging or kept name that is a link or a
// file is removed as such, files are put back only from a real kept folder,
// and a link among the staged files or on the way to a client file fails
// the update.
//
// The two folders' names inside the client folder.
const wchar_t* const kUpdateStagingFolder = L"~orbela-update-new";
const wchar_t* const kUpdateKeptFolder = L"~orbela-update-old";

enum class UnpackOutcome {
    Placed,        // every file of the package is in place
    Failed,        // nothing changed, or every old file is back
    OldFilesKept,  // some old files could not be put back: they stay in the kept folder
};

// Called once the package is staged, before the first file moves, with the
// paths in the client folder of every file the package puts there.
using BeforeFilesMove = std::function<void(const std::vector<std::wstring>& clientFiles)>;

// The caller undoes an earlier run first (UndoEarlierUpdate): a kept folder
// still there makes this fail before any file moves.
UnpackOutcome UnpackOverClient(const std::wstring& extractor, const std::wstring& package,
                               const std::wstring& clientFolder, const BeforeFilesMove& beforeFilesMove);

// Undoes what an earlier run that was cut off or failed left: every file of
// its kept folder goes back in its place in the client folder, then the kept
// folder and the staged files go; a kept name that is a link or a file is only
// removed. False when a kept folder still holds a file.
bool UndoEarlierUpdate(const std::wstring& clientFolder);
