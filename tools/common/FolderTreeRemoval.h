#pragma once

#include <string>
#include <vector>

// Removal of a folder with everything in it that never follows a link, and
// the single removals and moves the wizards make in a client folder. Each
// acts only on an entry that is itself: a handle opened on it without
// following it (FILE_FLAG_OPEN_REPARSE_POINT) is named by its folder's name
// plus its own name. Windows opens a link as the link, so a junction or a
// symbolic link is itself and goes as the link. Wine opens a Unix symbolic
// link as what it points to, and shows a link to a file as a plain file; its
// handle carries the target's name, so it is not itself and stays where it
// is, with what it points to and the folder that holds it. The check and the
// removal or move go through one handle. Paths past MAX_PATH are handled.

// The path in the form the system's calls take past MAX_PATH: "\\?\C:\..." or
// "\\?\UNC\server\share\..."; forward slashes become backslashes. Paths that
// are not absolute, or already in that form, come back as they are.
std::wstring LongPathOf(const std::wstring& path);

// One entry of a folder: its name and its attributes as the listing gives
// them (a link's own where the system tells a link apart).
struct FolderEntry {
    std::wstring name;
    unsigned long attributes;
};

// The folder's entries (without "." and ".."), sorted by name without regard
// to case; empty when it cannot be listed.
std::vector<FolderEntry> FolderEntriesOf(const std::wstring& folder);

// The name the system gives a handle opened on the path without following
// it: the target's name for a link Wine hides, the path's own otherwise, in
// the system's native form ("\??\C:\Games\Orbela" under Wine,
// "\Device\HarddiskVolume2\Games\Orbela" on Windows); a drive root keeps its
// trailing backslash. Empty when the path cannot be opened or its name read.
std::wstring OpenedNameOf(const std::wstring& path);

// True when handles opened on both paths carry one name (without regard to
// case): two spellings of one entry, never a hard link and its other name.
// False when either cannot be named.
bool SameOpenedName(const std::wstring& a, const std::wstring& b);

// True when the entry at the path is itself (see above). An entry whose name
// cannot be read, a missing one, and a drive or share root are not.
bool IsEntryItself(const std::wstring& path);

// True when the path names a folder that is itself and not a link.
bool IsRealFolder(const std::wstring& path);

// True when both paths open one file or folder, by volume and file index (a
// short and a long spelling, or two hard links, of one file). Under Wine a
// link to a file opens its target, so a link and its target count as one
// file here: whether an entry is itself is IsEntryItself's question.
bool SameFile(const std::wstring& a, const std::wstring& b);

// Removes whatever the path names when it is itself: a file or a link as
// itself, a real folder with its whole tree. An entry below that is not
// itself stays, and so do the folders above it. True when nothing is left at
// the path (a path that did not exist included); false when anything stays.
bool RemoveFolderTree(const std::wstring& path);

// Removes the file, the link or the empty folder at the path when it is
// itself. True when nothing is left there (a path that did not exist included).
bool RemoveEntryItself(const std::wstring& path);

// Removes the folder at the path only when it is a real folder, itself and
// empty. True when it went.
bool RemoveEmptyFolder(const std::wstring& path);

// Gives the entry at from the name to (on the same volume), replacing a file
// there when replace is set, when the entry is itself. True when it moved.
bool MoveEntryItself(const std::wstring& from, const std::wstring& to, bool replace);
