#include "FolderTreeRemoval.h"

#include "ClientFolder.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

bool IsLink(DWORD attributes)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Only a real folder is entered; a link to a folder is an entry like a file.
bool IsFolderToEnter(DWORD attributes)
{
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !IsLink(attributes);
}

bool IsGone(const std::wstring& longPath)
{
    if (GetFileAttributesW(longPath.c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Clears the read-only attribute of the entry itself: opened as a reparse
// point, so a link's target is never changed.
void ClearReadOnly(const std::wstring& longPath, DWORD attributes)
{
    HANDLE entry = CreateFileW(longPath.c_str(), FILE_WRITE_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_EXISTING,
                               FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (entry == INVALID_HANDLE_VALUE)
        return;
    FILE_BASIC_INFO basic = {};
    basic.FileAttributes = attributes & ~FILE_ATTRIBUTE_READONLY;
    if (basic.FileAttributes == 0)
        basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    SetFileInformationByHandle(entry, FileBasicInfo, &basic, sizeof(basic));
    CloseHandle(entry);
}

// Removes one entry that is not entered: an empty folder, a file or a link.
// A link to a folder goes by RemoveDirectoryW, a link to a file by
// DeleteFileW; either removes the link, not what it points to.
void RemoveEntry(const std::wstring& longPath, DWORD attributes)
{
    auto remove = [&]() {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return RemoveDirectoryW(longPath.c_str()) != 0;
        return DeleteFileW(longPath.c_str()) != 0;
    };
    if (remove() || !(attributes & FILE_ATTRIBUTE_READONLY))
        return;
    ClearReadOnly(longPath, attributes);
    remove();
}

} // namespace

std::vector<FolderEntry> FolderEntriesOf(const std::wstring& folder)
{
    std::vector<FolderEntry> entries;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((LongPathOf(folder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            entries.push_back({ name, found.dwFileAttributes });
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        return CompareStringOrdinal(a.name.c_str(), -1, b.name.c_str(), -1, TRUE) == CSTR_LESS_THAN;
    });
    return entries;
}

std::wstring LongPathOf(const std::wstring& path)
{
    std::wstring text = path;
    for (wchar_t& c : text)
        if (c == L'/')
            c = L'\\';
    if (text.compare(0, 4, L"\\\\?\\") == 0)
        return text;
    if (!IsAbsoluteFolder(text))
        return path;
    if (text[0] == L'\\')
        return L"\\\\?\\UNC\\" + text.substr(2);
    return L"\\\\?\\" + text;
}

bool IsRealFolder(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(LongPathOf(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && IsFolderToEnter(attributes);
}

bool SameFile(const std::wstring& a, const std::wstring& b)
{
    BY_HANDLE_FILE_INFORMATION info[2];
    const std::wstring* paths[2] = { &a, &b };
    for (int i = 0; i < 2; ++i) {
        HANDLE file = CreateFileW(LongPathOf(*paths[i]).c_str(), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, NULL);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        BOOL read = GetFileInformationByHandle(file, &info[i]);
        CloseHandle(file);
        if (!read)
            return false;
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber
        && info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

bool RemoveFolderTree(const std::wstring& path)
{
    const std::wstring root = LongPathOf(path);
    DWORD attributes = GetFileAttributesW(root.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return IsGone(root);
    // Folders still to empty, deepest last; a folder is removed once its
    // entries are. Kept on the heap: a deep tree needs no deep stack.
    struct Pending {
        std::wstring path;
        DWORD attributes;
        bool listed;
    };
    std::vector<Pending> pending;
    if (IsFolderToEnter(attributes))
        pending.push_back({ root, attributes, false });
    else
        RemoveEntry(root, attributes);
    while (!pending.empty()) {
        if (pending.back().listed) {
            RemoveEntry(pending.back().path, pending.back().attributes);
            pending.pop_back();
            continue;
        }
        pending.back().listed = true;
        const std::wstring folder = pending.back().path;
        for (const FolderEntry& entry : FolderEntriesOf(folder)) {
            const std::wstring path = folder + L"\\" + entry.name;
            if (IsFolderToEnter(entry.attributes))
                pending.push_back({ path, entry.attributes, false });
            else
                RemoveEntry(path, entry.attributes);
        }
    }
    return IsGone(root);
}
