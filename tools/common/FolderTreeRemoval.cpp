#include "FolderTreeRemoval.h"

#include "ClientFolder.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Opens a link as the link where the system can, and a folder at all.
const DWORD kUnfollowed = FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS;
const DWORD kRemovalAccess = DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;

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

bool SameName(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE)
        == CSTR_EQUAL;
}

// A name below a folder's name; a drive root's name ends with its backslash.
std::wstring ChildName(const std::wstring& folderName, const std::wstring& name)
{
    if (!folderName.empty() && folderName.back() == L'\\')
        return folderName + name;
    return folderName + L"\\" + name;
}

// The path without the long form's prefix, as ClientFolder's checks read it.
std::wstring PlainFormOf(const std::wstring& longPath)
{
    if (longPath.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        return L"\\\\" + longPath.substr(8);
    if (longPath.compare(0, 4, L"\\\\?\\") == 0)
        return longPath.substr(4);
    return longPath;
}

// The long form of a path without trailing backslashes; a drive or share root
// keeps one, so it opens as the root and not as a current folder.
std::wstring OpeningFormOf(const std::wstring& path)
{
    std::wstring longPath = LongPathOf(path);
    while (longPath.size() > 1 && longPath.back() == L'\\')
        longPath.pop_back();
    if (IsRootFolder(PlainFormOf(longPath)))
        longPath += L'\\';
    return longPath;
}

// The opening form spelled with long names. Windows names a handle as it was
// opened, so a short and a long spelling of one entry then carry one name.
std::wstring LongNamesOf(const std::wstring& path)
{
    const std::wstring opening = OpeningFormOf(path);
    std::vector<wchar_t> full(opening.size() + MAX_PATH);
    DWORD length = GetLongPathNameW(opening.c_str(), full.data(), static_cast<DWORD>(full.size()));
    return length > 0 && length < full.size() ? std::wstring(full.data(), length) : opening;
}

// The name the system gives an open handle. NtQueryObject answers past
// MAX_PATH, where GetFinalPathNameByHandleW fails under Wine.
std::wstring NameOfHandle(HANDLE handle)
{
    std::vector<ULONGLONG> buffer(1024);  // 8 KiB, aligned for the record
    for (int attempt = 0; attempt < 2; ++attempt) {
        const ULONG size = static_cast<ULONG>(buffer.size() * sizeof(ULONGLONG));
        ULONG needed = 0;
        NTSTATUS status = NtQueryObject(handle, ObjectNameInformation, buffer.data(), size, &needed);
        if (status >= 0) {
            const UNICODE_STRING* name = reinterpret_cast<const UNICODE_STRING*>(buffer.data());
            if (name->Buffer == NULL)
                return std::wstring();
            return std::wstring(name->Buffer, name->Length / sizeof(wchar_t));
        }
        if (needed <= size || needed > (1u << 20))
            break;
        buffer.resize(needed / sizeof(ULONGLONG) + 1);
    }
    return std::wstring();
}

HANDLE OpenUnfollowed(const std::wstring& longPath, DWORD access)
{
    return CreateFileW(longPath.c_str(), access, kShareAll, NULL, OPEN_EXISTING, kUnfollowed, NULL);
}

// The entry at a path as its folder lists it, and the names its handle may
// carry to be itself: the folder's handle name plus the listed name, or plus
// the last part as given (Windows keeps a short name a handle was opened by).
struct PathEntry {
    std::wstring longPath;  // without trailing backslashes
    std::wstring name;
    std::wstring givenName;
    DWORD attributes = 0;  // as listed
};

// False when the entry cannot be listed, is a drive or share root, or its
// folder cannot be named.
bool ReadPathEntry(const std::wstring& path, PathEntry& entry)
{
    entry.longPath = LongNamesOf(path);
    while (entry.longPath.size() > 1 && entry.longPath.back() == L'\\')
        entry.longPath.pop_back();
    const size_t slash = entry.longPath.find_last_of(L'\\');
    if (slash == std::wstring::npos || IsRootFolder(PlainFormOf(entry.longPath)))
        return false;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(entry.longPath.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    const std::wstring folderName = OpenedNameOf(entry.longPath.substr(0, slash));
    if (folderName.empty())
        return false;
    entry.attributes = found.dwFileAttributes;
    entry.name = ChildName(folderName, found.cFileName);
    entry.givenName = ChildName(folderName, entry.longPath.substr(slash + 1));
    return true;
}

// Opens the entry at the path when it is itself: its handle carries one of
// the names it must carry. INVALID_HANDLE_VALUE otherwise, or when it cannot
// be opened with that access; an unreadable name is never itself.
HANDLE OpenItself(const std::wstring& longPath, const std::wstring& name, const std::wstring& givenName, DWORD access)
{
    HANDLE handle = OpenUnfollowed(longPath, access);
    if (handle == INVALID_HANDLE_VALUE)
        return handle;
    const std::wstring opened = NameOfHandle(handle);
    if (!opened.empty() && (SameName(opened, name) || (!givenName.empty() && SameName(opened, givenName))))
        return handle;
    CloseHandle(handle);
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
}

HANDLE OpenItself(const PathEntry& entry, DWORD access)
{
    return OpenItself(entry.longPath, entry.name, entry.givenName, access);
}

// Reads the entry at the path and opens it when it is itself.
HANDLE OpenEntryItself(const std::wstring& path, DWORD access, PathEntry& entry)
{
    if (!ReadPathEntry(path, entry))
        return INVALID_HANDLE_VALUE;
    return OpenItself(entry, access);
}

// The opened entry's own attributes; INVALID_FILE_ATTRIBUTES when unread.
DWORD AttributesOfHandle(HANDLE handle)
{
    FILE_BASIC_INFO basic = {};
    if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof(basic)))
        return INVALID_FILE_ATTRIBUTES;
    return basic.FileAttributes;
}

// Removes the opened entry through its handle, so what is checked is what
// goes. A read-only entry has the attribute cleared on the same handle first.
bool DisposeOf(HANDLE handle)
{
    FILE_DISPOSITION_INFO disposition = { TRUE };
    if (SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof(disposition)))
        return true;
    if (GetLastError() != ERROR_ACCESS_DENIED)
        return false;
    FILE_BASIC_INFO basic = {};
    if (!GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof(basic))
        || !(basic.FileAttributes & FILE_ATTRIBUTE_READONLY))
        return false;
    FILE_BASIC_INFO cleared = {};  // times of 0 stay as they are
    cleared.FileAttributes = basic.FileAttributes & ~FILE_ATTRIBUTE_READONLY;
    if (cleared.FileAttributes == 0)
        cleared.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    return SetFileInformationByHandle(handle, FileBasicInfo, &cleared, sizeof(cleared))
        && SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof(disposition));
}

// Removes the entry (a file, a link, an empty folder) when it is itself.
bool RemoveItself(const std::wstring& longPath, const std::wstring& name, const std::wstring& givenName)
{
    HANDLE handle = OpenItself(longPath, name, givenName, kRemovalAccess);
    if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED)
        handle = OpenItself(longPath, name, givenName, DELETE | FILE_READ_ATTRIBUTES);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool disposed = DisposeOf(handle);
    CloseHandle(handle);
    return disposed;
}

// Removes the entry as listed when it is itself; true when nothing is left there.
bool RemoveListedEntry(const PathEntry& entry)
{
    RemoveItself(entry.longPath, entry.name, entry.givenName);
    return IsGone(entry.longPath);
}

bool IsItself(const std::wstring& longPath, const std::wstring& name)
{
    HANDLE handle = OpenItself(longPath, name, std::wstring(), FILE_READ_ATTRIBUTES);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(handle);
    return true;
}

// The name a rename takes: the NT form of the path's long form.
bool NtNameOf(const std::wstring& path, std::wstring& ntName)
{
    const std::wstring longPath = LongPathOf(path);
    if (longPath.compare(0, 4, L"\\\\?\\") != 0)
        return false;
    ntName = L"\\??\\" + longPath.substr(4);
    return true;
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

std::wstring OpenedNameOf(const std::wstring& path)
{
    HANDLE handle = OpenUnfollowed(LongNamesOf(path), FILE_READ_ATTRIBUTES);
    if (handle == INVALID_HANDLE_VALUE)
        return std::wstring();
    std::wstring name = NameOfHandle(handle);
    CloseHandle(handle);
    return name;
}

bool SameOpenedName(const std::wstring& a, const std::wstring& b)
{
    const std::wstring name = OpenedNameOf(a);
    return !name.empty() && SameName(name, OpenedNameOf(b));
}

bool IsEntryItself(const std::wstring& path)
{
    PathEntry entry;
    HANDLE handle = OpenEntryItself(path, FILE_READ_ATTRIBUTES, entry);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(handle);
    return true;
}

bool IsRealFolder(const std::wstring& path)
{
    PathEntry entry;
    HANDLE handle = OpenEntryItself(path, FILE_READ_ATTRIBUTES, entry);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    // Windows tells a junction by its handle too.
    const bool real = IsFolderToEnter(entry.attributes) && IsFolderToEnter(AttributesOfHandle(handle));
    CloseHandle(handle);
    return real;
}

bool SameFile(const std::wstring& a, const std::wstring& b)
{
    BY_HANDLE_FILE_INFORMATION info[2];
    const std::wstring* paths[2] = { &a, &b };
    for (int i = 0; i < 2; ++i) {
        HANDLE file = OpenUnfollowed(LongPathOf(*paths[i]), FILE_READ_ATTRIBUTES);
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
    PathEntry top;
    if (!ReadPathEntry(path, top))
        return IsGone(LongPathOf(path));
    if (!IsFolderToEnter(top.attributes))
        return RemoveListedEntry(top);
    // The folder's own name, read from a handle on it, is what every entry
    // below it must be named by; a folder that is not itself is not entered.
    HANDLE handle = OpenItself(top, FILE_READ_ATTRIBUTES);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const std::wstring topName = NameOfHandle(handle);
    CloseHandle(handle);

    // Folders still to empty, deepest last; a folder is removed once its
    // entries are. Kept on the heap: a deep tree needs no deep stack.
    struct Pending {
        std::wstring path;
        std::wstring name;  // as its handle must carry it
        bool listed;
    };
    std::vector<Pending> pending;
    pending.push_back({ top.longPath, topName, false });
    while (!pending.empty()) {
        if (pending.back().listed) {
            RemoveItself(pending.back().path, pending.back().name, std::wstring());
            pending.pop_back();
            continue;
        }
        pending.back().listed = true;
        const std::wstring folder = pending.back().path;
        const std::wstring folderName = pending.back().name;
        for (const FolderEntry& entry : FolderEntriesOf(folder)) {
            const std::wstring entryPath = folder + L"\\" + entry.name;
            const std::wstring entryName = ChildName(folderName, entry.name);
            if (!IsFolderToEnter(entry.attributes))
                RemoveItself(entryPath, entryName, std::wstring());
            else if (IsItself(entryPath, entryName))
                pending.push_back({ entryPath, entryName, false });
        }
    }
    return IsGone(top.longPath);
}

bool RemoveEntryItself(const std::wstring& path)
{
    PathEntry entry;
    if (!ReadPathEntry(path, entry))
        return IsGone(LongPathOf(path));
    return RemoveListedEntry(entry);
}

bool RemoveEmptyFolder(const std::wstring& path)
{
    PathEntry entry;
    HANDLE handle = OpenEntryItself(path, kRemovalAccess, entry);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    // A folder holding anything refuses the disposition.
    const bool removed = IsFolderToEnter(entry.attributes) && IsFolderToEnter(AttributesOfHandle(handle))
        && DisposeOf(handle);
    CloseHandle(handle);
    return removed && IsGone(entry.longPath);
}

bool MoveEntryItself(const std::wstring& from, const std::wstring& to, bool replace)
{
    PathEntry entry;
    std::wstring target;
    if (!NtNameOf(to, target))
        return false;
    HANDLE handle = OpenEntryItself(from, DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE, entry);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const size_t bytes = target.size() * sizeof(wchar_t);
    std::vector<ULONGLONG> buffer((sizeof(FILE_RENAME_INFO) + bytes) / sizeof(ULONGLONG) + 1);
    FILE_RENAME_INFO* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = replace ? TRUE : FALSE;
    rename->RootDirectory = NULL;
    rename->FileNameLength = static_cast<DWORD>(bytes);
    std::memcpy(rename->FileName, target.c_str(), bytes);
    const bool moved = SetFileInformationByHandle(handle, FileRenameInfo, rename,
                                                  static_cast<DWORD>(buffer.size() * sizeof(ULONGLONG))) != 0;
    CloseHandle(handle);
    return moved;
}
