#include "UpdateUnpacking.h"

#include "ClientFolder.h"
#include "ExtractorRunner.h"
#include "FolderTreeRemoval.h"
#include "UpdateSwapRecord.h"
#include "UpdateTestSeam.h"

#include <windows.h>

#include <algorithm>

namespace {

const wchar_t* const kClientFile = L"Orbela.exe";

bool SameName(const std::wstring& a, const std::wstring& b)
{
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// What a real folder holds: its files (a link to a file counts as a file) as
// paths relative to it, each folder's own files by name before those of its
// folders, and whether any entry is a link. Links to folders are never entered.
struct FolderContents {
    std::vector<std::wstring> files;
    bool hasLinks = false;
};

FolderContents ContentsOf(const std::wstring& folder)
{
    FolderContents contents;
    std::vector<std::wstring> pending(1, std::wstring());  // relative folders still to list
    while (!pending.empty()) {
        const std::wstring relative = pending.back();
        pending.pop_back();
        const std::wstring prefix = relative.empty() ? relative : relative + L"\\";
        // The listing comes in name order; its folders go on the list in
        // reverse, so they come off it in name order.
        std::vector<std::wstring> folders;
        for (const FolderEntry& entry : FolderEntriesOf(relative.empty() ? folder : folder + L"\\" + relative)) {
            const bool link = (entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            contents.hasLinks = contents.hasLinks || link;
            if (!(entry.attributes & FILE_ATTRIBUTE_DIRECTORY))
                contents.files.push_back(prefix + entry.name);
            else if (!link)
                folders.push_back(prefix + entry.name);
        }
        pending.insert(pending.end(), folders.rbegin(), folders.rend());
    }
    return contents;
}

// Makes the folders above a file below base that are missing; false when one
// on the way is a link or a file, which is never gone through. Made folders
// are added to made (relative paths) when it is given.
bool MakeRealFolders(const std::wstring& base, const std::wstring& relative, std::vector<std::wstring>* made)
{
    for (size_t slash = relative.find(L'\\'); slash != std::wstring::npos; slash = relative.find(L'\\', slash + 1)) {
        const std::wstring folder = relative.substr(0, slash);
        const std::wstring path = LongPathOf(base + L"\\" + folder);
        DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            if (!CreateDirectoryW(path.c_str(), NULL))
                return false;
            if (made)
                made->push_back(folder);
        } else if (!IsRealFolder(path)) {
            return false;
        }
    }
    return true;
}

// The old files a kept folder holds, without its record and end mark.
std::vector<std::wstring> KeptFilesOf(const std::wstring& kept)
{
    std::vector<std::wstring> files = ContentsOf(kept).files;
    files.erase(std::remove_if(files.begin(), files.end(),
                               [](const std::wstring& file) {
                                   return SameName(file, kSwapRecordName) || SameName(file, kSwapEndedName);
                               }),
                files.end());
    return files;
}

// Puts the files of a kept folder back; false when it still holds one.
bool RestoreKeptFiles(const std::wstring& clientFolder)
{
    const std::wstring kept = clientFolder + L"\\" + kUpdateKeptFolder;
    // Files come back only from a real folder of an unfinished swap. A link
    // or a file of that name keeps nothing of ours, and a finished swap's
    // files are the old version's: either is only removed (one that stays
    // makes the kept folder impossible to create, so the next update fails
    // before any move).
    if (!SwapUnfinished(kept)) {
        RemoveEndedSwap(kept);
        return true;
    }
    for (const std::wstring& relative : KeptFilesOf(kept)) {
        const std::wstring keptFile = LongPathOf(kept + L"\\" + relative);
        const std::wstring target = LongPathOf(clientFolder + L"\\" + relative);
        if (!MakeRealFolders(clientFolder, relative, nullptr))
            continue;
        // The second name of a file that was never replaced: the client file
        // is the old one already. A kept entry that is not itself (a link Wine
        // shows as a file) is never moved or deleted: it stays, and so does
        // the kept folder.
        if (SameFile(keptFile, target))
            RemoveEntryItself(keptFile);
        else
            MoveEntryItself(keptFile, target, true);
    }
    // Never removed while it holds a file: it may be the only copy of an old one.
    return KeptFilesOf(kept).empty() && RemoveFolderTree(kept);
}

// What was changed in the client folder, so it can be undone.
struct Swap {
    std::wstring clientFolder;
    std::wstring staging;
    std::wstring kept;
    std::vector<std::wstring> createdFolders;  // relative paths, made for the package
    std::vector<std::wstring> newFiles;        // relative paths, placed where no file was
    int moves = 0;

    void Moved() { HoldAfterMoveForTest(++moves); }

    bool Place(const std::wstring& relative)
    {
        const std::wstring target = LongPathOf(clientFolder + L"\\" + relative);
        if (!MakeRealFolders(clientFolder, relative, &createdFolders))
            return false;
        const DWORD attributes = GetFileAttributesW(target.c_str());
        const bool replaces = attributes != INVALID_FILE_ATTRIBUTES;
        if (replaces) {
            if (attributes & FILE_ATTRIBUTE_DIRECTORY)
                return false;  // a folder, or a link to one, where the package has a file
            if (!MakeRealFolders(kept, relative, nullptr) || !KeepOld(target, LongPathOf(kept + L"\\" + relative)))
                return false;
            if ((attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
                SetFileAttributesW(target.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
        }
        // One rename: the client file is the old one or the new one, never missing.
        if (!MoveFileExW(LongPathOf(staging + L"\\" + relative).c_str(), target.c_str(),
                         replaces ? MOVEFILE_REPLACE_EXISTING : 0))
            return false;
        Moved();
        if (!replaces)
            newFiles.push_back(relative);
        return true;
    }

    // The old file gets a second name in the kept folder. Where the volume has
    // no hard links it is moved there instead (the one step in which the
    // client file is missing).
    bool KeepOld(const std::wstring& target, const std::wstring& keptFile)
    {
        if (!CreateHardLinkW(keptFile.c_str(), target.c_str(), NULL)
            && !MoveFileExW(target.c_str(), keptFile.c_str(), 0))
            return false;
        Moved();
        return true;
    }

    // The package's new files go, the old ones come back, the folders made
    // for the package go when empty. True when every old file is back.
    bool Undo()
    {
        for (auto it = newFiles.rbegin(); it != newFiles.rend(); ++it)
            RemoveEntryItself(clientFolder + L"\\" + *it);
        bool restored = RestoreKeptFiles(clientFolder);
        for (auto it = createdFolders.rbegin(); it != createdFolders.rend(); ++it)
            RemoveEmptyFolder(clientFolder + L"\\" + *it);
        return restored;
    }
};

// A package entry at the top level with one of the update's own names would
// be put over its folders, or taken for the swap's record or end mark.
bool UsesUpdateFolderNames(const std::vector<std::wstring>& files)
{
    for (const std::wstring& file : files) {
        const std::wstring top = file.substr(0, file.find(L'\\'));
        if (SameName(top, kUpdateStagingFolder) || SameName(top, kUpdateKeptFolder)
            || SameName(top, kSwapRecordName) || SameName(top, kSwapEndedName))
            return true;
    }
    return false;
}

} // namespace

bool UndoEarlierUpdate(const std::wstring& clientFolder)
{
    if (!RestoreKeptFiles(clientFolder))
        return false;
    // A staging name that cannot go is met again, and refused, before an unpacking.
    RemoveFolderTree(clientFolder + L"\\" + kUpdateStagingFolder);
    return true;
}

UnpackOutcome UnpackOverClient(const std::wstring& extractor, const std::wstring& package,
                               const std::wstring& clientFolder, const BeforeFilesMove& beforeFilesMove)
{
    Swap swap;
    swap.clientFolder = clientFolder;
    swap.staging = clientFolder + L"\\" + kUpdateStagingFolder;
    swap.kept = clientFolder + L"\\" + kUpdateKeptFolder;
    // Whatever is left under the staging name is not ours to keep; both
    // folders are then made anew, so neither is anything but our own folder.
    if (!RemoveFolderTree(swap.staging) || !CreateDirectoryW(LongPathOf(swap.staging).c_str(), NULL))
        return UnpackOutcome::Failed;
    if (!CreateDirectoryW(LongPathOf(swap.kept).c_str(), NULL)) {
        RemoveFolderTree(swap.staging);
        return UnpackOutcome::Failed;
    }
    if (!WriteSwapRecord(swap.kept)) {
        RemoveFolderTree(swap.kept);
        RemoveFolderTree(swap.staging);
        return UnpackOutcome::Failed;
    }
    auto undo = [&swap]() {
        bool restored = swap.Undo();
        RemoveFolderTree(swap.staging);
        return restored ? UnpackOutcome::Failed : UnpackOutcome::OldFilesKept;
    };

    if (RunExtractor(extractor, package, swap.staging, WaitLimitForTest(L"ORBELA_UPDATE_EXTRACT_MS", 0)) != 0)
        return undo();
    FolderContents staged = ContentsOf(swap.staging);
    if (staged.hasLinks || UsesUpdateFolderNames(staged.files))
        return undo();
    // The client program last: until then the old one, with its old version, stays.
    std::stable_partition(staged.files.begin(), staged.files.end(),
                          [](const std::wstring& file) { return !SameName(file, kClientFile); });
    if (beforeFilesMove) {
        std::vector<std::wstring> clientFiles;
        for (const std::wstring& file : staged.files)
            clientFiles.push_back(clientFolder + L"\\" + file);
        beforeFilesMove(clientFiles);
    }
    for (const std::wstring& file : staged.files) {
        if (!swap.Place(file))
            return undo();
    }

    // Every file is in place: the kept ones are the old version's and are
    // never put back. The swap ends (its record goes, or an end mark says so
    // when the record is held), and the kept folder takes the staging name,
    // which is only ever removed. What cannot be removed now goes with the
    // next run or a new install.
    EndSwap(swap.kept);
    RemoveFolderTree(swap.staging);
    if (MoveEntryItself(swap.kept, swap.staging, false))
        RemoveFolderTree(swap.staging);
    else
        RemoveEndedSwap(swap.kept);
    return UnpackOutcome::Placed;
}
