#include "UpdateUnpacking.h"

#include "ExtractorRunner.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

struct Entry {
    std::wstring name;
    bool folder;
};

// The folder's entries (without "." and ".."), sorted by name without regard to case.
std::vector<Entry> EntriesOf(const std::wstring& folder)
{
    std::vector<Entry> entries;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            entries.push_back({ name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 });
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return CompareStringOrdinal(a.name.c_str(), -1, b.name.c_str(), -1, TRUE) == CSTR_LESS_THAN;
    });
    return entries;
}

DWORD AttributesOf(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str());
}

// What was changed in the client folder, in order, so it can be undone.
struct Swap {
    std::wstring clientFolder;
    std::wstring staging;
    std::wstring kept;
    std::vector<std::wstring> createdFolders;  // relative paths, made for the package
    std::vector<std::wstring> keptFiles;       // relative paths, moved aside
    std::vector<std::wstring> placedFiles;     // relative paths, moved in from staging

    bool MoveIn(const std::wstring& relative)
    {
        for (const Entry& entry : EntriesOf(staging + L"\\" + relative)) {
            const std::wstring path = relative + L"\\" + entry.name;
            if (entry.folder ? !MoveFolderIn(path) : !MoveFileIn(path))
                return false;
        }
        return true;
    }

    bool MoveFolderIn(const std::wstring& relative)
    {
        const std::wstring target = clientFolder + L"\\" + relative;
        DWORD attributes = AttributesOf(target);
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            if (!CreateDirectoryW(target.c_str(), NULL))
                return false;
            createdFolders.push_back(relative);
        } else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return false;  // a file where the package has a folder
        }
        return MoveIn(relative);
    }

    bool MoveFileIn(const std::wstring& relative)
    {
        const std::wstring target = clientFolder + L"\\" + relative;
        DWORD attributes = AttributesOf(target);
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            if (attributes & FILE_ATTRIBUTE_DIRECTORY)
                return false;  // a folder where the package has a file
            if (!MakeKeptFolders(relative) || !MoveFileExW(target.c_str(), (kept + L"\\" + relative).c_str(), 0))
                return false;
            keptFiles.push_back(relative);
        }
        if (!MoveFileExW((staging + L"\\" + relative).c_str(), target.c_str(), 0))
            return false;
        placedFiles.push_back(relative);
        return true;
    }

    // The folders above a kept file, inside the kept folder.
    bool MakeKeptFolders(const std::wstring& relative)
    {
        for (size_t slash = relative.find(L'\\', 1); slash != std::wstring::npos; slash = relative.find(L'\\', slash + 1)) {
            const std::wstring folder = kept + L"\\" + relative.substr(0, slash);
            if (!CreateDirectoryW(folder.c_str(), NULL) && GetLastError() != ERROR_ALREADY_EXISTS)
                return false;
        }
        return true;
    }

    void Undo()
    {
        for (auto it = placedFiles.rbegin(); it != placedFiles.rend(); ++it)
            DeleteFileW((clientFolder + L"\\" + *it).c_str());
        for (auto it = keptFiles.rbegin(); it != keptFiles.rend(); ++it)
            MoveFileExW((kept + L"\\" + *it).c_str(), (clientFolder + L"\\" + *it).c_str(), MOVEFILE_REPLACE_EXISTING);
        for (auto it = createdFolders.rbegin(); it != createdFolders.rend(); ++it)
            RemoveDirectoryW((clientFolder + L"\\" + *it).c_str());
    }
};

} // namespace

void RemoveFolderTree(const std::wstring& folder)
{
    for (const Entry& entry : EntriesOf(folder)) {
        const std::wstring path = folder + L"\\" + entry.name;
        if (entry.folder) {
            RemoveFolderTree(path);
        } else {
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
    }
    RemoveDirectoryW(folder.c_str());
}

bool UnpackOverClient(const std::wstring& extractor, const std::wstring& package, const std::wstring& clientFolder)
{
    Swap swap;
    swap.clientFolder = clientFolder;
    swap.staging = clientFolder + L"\\" + kUpdateStagingFolder;
    swap.kept = clientFolder + L"\\" + kUpdateKeptFolder;
    // Whatever an earlier run left there is not ours to keep.
    RemoveFolderTree(swap.staging);
    RemoveFolderTree(swap.kept);
    if (!CreateDirectoryW(swap.staging.c_str(), NULL) || !CreateDirectoryW(swap.kept.c_str(), NULL)) {
        RemoveFolderTree(swap.staging);
        return false;
    }

    bool placed = false;
    if (RunExtractor(extractor, package, swap.staging) == 0) {
        placed = true;
        for (const Entry& entry : EntriesOf(swap.staging)) {
            if (entry.folder ? !swap.MoveFolderIn(entry.name) : !swap.MoveFileIn(entry.name)) {
                placed = false;
                break;
            }
        }
        if (!placed)
            swap.Undo();
    }
    RemoveFolderTree(swap.staging);
    // After a failure the kept folder is empty unless a file could not be put back: then it stays.
    if (placed)
        RemoveFolderTree(swap.kept);
    else
        RemoveDirectoryW(swap.kept.c_str());
    return placed;
}
