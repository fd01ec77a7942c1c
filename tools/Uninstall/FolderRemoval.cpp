#include "FolderRemoval.h"

#include "ClientFolder.h"
#include "FolderTreeRemoval.h"
#include "UninstallWaits.h"
#include "UpdaterCopy.h"

namespace {

struct RemovalJob {
    std::wstring clientFolder;
    std::wstring selfPath;
    bool runsFromFolder;
};

// The running uninstaller's own file cannot go while it runs: when it lies
// in the folder, everything else goes and the folder is left to the batch.
void RemoveClientTree(const RemovalJob& job)
{
    if (!job.runsFromFolder || !IsRealFolder(job.clientFolder)) {
        RemoveFolderTree(job.clientFolder);
        return;
    }
    for (const FolderEntry& entry : FolderEntriesOf(job.clientFolder)) {
        const std::wstring path = job.clientFolder + L"\\" + entry.name;
        if (!SameFile(path, job.selfPath))
            RemoveFolderTree(path);
    }
}

DWORD WINAPI RemoveClientFolder(LPVOID parameter)
{
    RemovalJob* job = static_cast<RemovalJob*>(parameter);
    WaitWhileRemovalHeld();
    RemoveClientTree(*job);
    const std::wstring parent = ParentFolderOf(job->clientFolder);
    DeleteUpdaterCopy(parent);
    // Only a real folder that is itself and empty goes, never a drive or
    // share root: a junction or a link in the root's place is never removed,
    // whatever it leads to.
    RemoveEmptyFolder(parent);
    delete job;
    return 0;
}

} // namespace

bool RunsFromFolder(const std::wstring& folder, const std::wstring& selfPath)
{
    const std::wstring selfFolder = ParentFolderOf(selfPath);
    return !folder.empty() && !selfFolder.empty() && SameOpenedName(folder, selfFolder);
}

HANDLE StartClientFolderRemoval(const std::wstring& clientFolder, const std::wstring& selfPath, bool runsFromFolder)
{
    RemovalJob* job = new RemovalJob{ clientFolder, selfPath, runsFromFolder };
    HANDLE thread = CreateThread(NULL, 0, RemoveClientFolder, job, 0, NULL);
    if (thread == NULL)
        delete job;
    return thread;
}

bool ClientFolderRemoved(const std::wstring& clientFolder, const std::wstring& selfPath, bool runsFromFolder)
{
    const PathKind kind = KindOfPath(clientFolder);
    if (kind != PathKind::Folder)
        return kind == PathKind::Missing;
    if (!runsFromFolder || !IsRealFolder(clientFolder))
        return false;  // left whole, or a link in the folder's place
    const std::vector<FolderEntry> left = FolderEntriesOf(clientFolder);
    if (left.size() != 1 || (left[0].attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return false;
    const std::wstring entry = clientFolder + L"\\" + left[0].name;
    return IsEntryItself(entry) && SameFile(entry, selfPath);
}
