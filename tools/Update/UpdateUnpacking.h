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
// The kept folder holds what was replaced. A record in it, written before the
// first move and ended after the last (UpdateSwapRecord.h), tells a swap cut
// off part way (its files are put back by the next run, before anything
// else) from one whose files are all in place: nothing of such a kept folder
// is ever put back, it is only removed, by the next run or a new install,
// when it could not be removed at once.
//
// Nothing here follows a link: every removal and every move back acts only on
// an entry that is itself (FolderTreeRemoval.h), so a link of a staging or
// kept name, or one in the kept folder, stays where it is with what it points
// to. Files are put back only from a real kept folder, and a link among the
// staged files or on the way to a client file fails the update. The two
// folders' names are kUpdateStagingFolder and kUpdateKeptFolder (ClientFolder.h).

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
// a kept folder whose swap was never finished goes back in its place in the
// client folder, then the kept folder and the staged files go. A kept folder
// of a finished swap, or a kept name that is a link or a file, is only
// removed, whether it goes or not. False when an unfinished swap's kept
// folder still holds a file (one that could not be moved back, or a link
// that is not itself).
bool UndoEarlierUpdate(const std::wstring& clientFolder);
