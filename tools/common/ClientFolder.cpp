#include "ClientFolder.h"

#include "FolderTreeRemoval.h"

#include <windows.h>

#include <cwctype>

std::wstring WithoutTrailingBackslashes(std::wstring folder)
{
    while (!folder.empty() && folder.back() == L'\\')
        folder.pop_back();
    return folder;
}

namespace {

// Room for the names the wizards put directly in a client folder, with their
// backslash ("\Uninstall.exe", "\~orbela-update-old").
const size_t kRoomForNamesInside = 24;
// Paths from this length on need the long form: CreateDirectoryW stops at 248.
const size_t kLongPathFrom = MAX_PATH - 12;

bool IsDriveLetter(wchar_t c)
{
    return c < 0x80 && std::iswalpha(c);
}

bool IsUncPath(const std::wstring& folder)
{
    return folder.size() > 2 && folder[0] == L'\\' && folder[1] == L'\\' && folder[2] != L'\\';
}

} // namespace

bool IsAbsoluteFolder(const std::wstring& folder)
{
    if (folder.size() >= 3 && IsDriveLetter(folder[0]) && folder[1] == L':' && folder[2] == L'\\')
        return true;
    return IsUncPath(folder);
}

bool IsRootFolder(const std::wstring& folder)
{
    std::wstring bare = WithoutTrailingBackslashes(folder);
    if (bare.size() == 2 && IsDriveLetter(bare[0]) && bare[1] == L':')
        return true;
    if (!IsUncPath(bare))
        return false;
    // "\\server" or "\\server\share": at most one backslash after the leading pair.
    size_t separators = 0;
    for (size_t i = 2; i < bare.size(); ++i)
        if (bare[i] == L'\\')
            ++separators;
    return separators <= 1;
}

std::wstring ParentFolderOf(const std::wstring& folder)
{
    size_t slash = folder.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash);
}

PathKind KindOfPath(const std::wstring& path)
{
    if (path.empty())
        return PathKind::Unknown;
    const bool longForm = path.size() >= kLongPathFrom && IsAbsoluteFolder(path);
    DWORD attributes = GetFileAttributesW((longForm ? LongPathOf(path) : path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PathKind::Missing : PathKind::Unknown;
}

bool IsExistingFile(const std::wstring& path)
{
    return KindOfPath(path) == PathKind::File;
}

bool HoldsClient(const std::wstring& folder)
{
    return !folder.empty() && IsExistingFile(folder + L"\\Orbela.exe");
}

bool IsClientFolderShape(const std::wstring& folder)
{
    if (!IsAbsoluteFolder(folder) || IsRootFolder(folder) || folder != WithoutTrailingBackslashes(folder)
        || folder.size() + kRoomForNamesInside >= MAX_PATH)
        return false;
    // No "." or ".." components: the folder named is the folder removed.
    for (size_t start = 0; start <= folder.size();) {
        size_t end = folder.find(L'\\', start);
        if (end == std::wstring::npos)
            end = folder.size();
        std::wstring part = folder.substr(start, end - start);
        if (part == L"." || part == L"..")
            return false;
        start = end + 1;
    }
    const std::wstring tail = L"\\Orbela";
    return folder.size() > tail.size()
        && CompareStringOrdinal(folder.c_str() + folder.size() - tail.size(), -1, tail.c_str(), -1, TRUE) == CSTR_EQUAL;
}
