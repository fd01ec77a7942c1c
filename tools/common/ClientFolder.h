#pragma once

#include <string>

// Checks the wizards make on a client folder before they write into it,
// remove it or start what it holds.

// The updater's folders inside the client folder: the package is staged in
// the first, the files it replaces are kept in the second until the swap is
// done or undone. A new install removes both: it ends any undo of an update.
const wchar_t* const kUpdateStagingFolder = L"~orbela-update-new";
const wchar_t* const kUpdateKeptFolder = L"~orbela-update-old";

// The folder without trailing backslashes ("C:\Games\Orbela\\" gives "C:\Games\Orbela").
std::wstring WithoutTrailingBackslashes(std::wstring folder);

// "X:\..." with a drive letter, or a network path "\\server\share...".
bool IsAbsoluteFolder(const std::wstring& folder);

// A drive or share root ("C:", "C:\", "\\server", "\\server\share"), with or
// without trailing backslashes.
bool IsRootFolder(const std::wstring& folder);

// The folder above, cut at the last backslash; empty when there is none.
std::wstring ParentFolderOf(const std::wstring& folder);

// True when the path names an existing file (not a folder).
bool IsExistingFile(const std::wstring& path);

// What a path names. A path too long for the plain calls is asked in its
// long form ("\\?\"); only a "not found" answer counts as missing, any other
// failure is Unknown, so a path that cannot be checked is never taken for gone.
enum class PathKind { Missing, Folder, File, Unknown };
PathKind KindOfPath(const std::wstring& path);

// True when the folder holds the client "Orbela.exe".
bool HoldsClient(const std::wstring& folder);

// The shape of a folder the uninstaller may remove: absolute, below a drive
// or share root, without "." or ".." parts, named "Orbela" (any case), and
// short enough that every name the wizards put directly in it stays within
// MAX_PATH (module paths, the process list and cmd take short paths). The
// folder is given without trailing backslashes; whether it holds the client
// is asked separately (HoldsClient).
bool IsClientFolderShape(const std::wstring& folder);
