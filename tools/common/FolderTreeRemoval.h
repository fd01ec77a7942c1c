#pragma once

#include <string>
#include <vector>

// Removal of a folder with everything in it that never follows a link: an
// entry with FILE_ATTRIBUTE_REPARSE_POINT (junction, symbolic link, mount
// point) is removed as the link itself and never entered, so a link planted
// in a folder the wizards remove cannot lead them anywhere else. Paths past
// MAX_PATH are handled.

// The path in the form the system's calls take past MAX_PATH: "\\?\C:\..." or
// "\\?\UNC\server\share\..."; forward slashes become backslashes. Paths that
// are not absolute, or already in that form, come back as they are.
std::wstring LongPathOf(const std::wstring& path);

// One entry of a folder: its name and its own attributes (a link's, never
// those of what it points to).
struct FolderEntry {
    std::wstring name;
    unsigned long attributes;
};

// The folder's entries (without "." and ".."), sorted by name without regard
// to case; empty when it cannot be listed.
std::vector<FolderEntry> FolderEntriesOf(const std::wstring& folder);

// True when the path names a folder that is not a link.
bool IsRealFolder(const std::wstring& path);

// True when both paths name one file or folder, by volume and file index (a
// short and a long spelling, or two hard links, of one file); a link is
// taken as itself, never as what it points to.
bool SameFile(const std::wstring& a, const std::wstring& b);

// Removes whatever the path names: a file or a link as itself, a real folder
// with its whole tree. True when nothing is left at the path (a path that did
// not exist included); false when anything stays.
bool RemoveFolderTree(const std::wstring& path);
