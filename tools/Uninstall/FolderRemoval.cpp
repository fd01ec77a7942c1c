#include "FolderRemoval.h"

#include "ClientFolder.h"
#include "FolderTreeRemoval.h"
#include "UninstallWaits.h"
#include "UpdaterCopy.h"

namespace {

struct RemovalJob {
    std::wstring clientFolder;
    std::wstring selfPath;
};

// The running uninstaller's own file cannot go while it runs: when it lies
// in the folder, everything else goes and the folder is left to the batch.
void RemoveClientTree(const std::wstring& clientFolder, const std::wstring& selfPath)
{
    if (!IsRealFolder(clientFolder) || !RunsFromFolder(clientFolder, selfPath)) {
        RemoveFolderTree(clientFolder);
        return;
    }
    for (const FolderEntry& entry : FolderEntriesOf(clientFolder)) {
        const std::wstring path = clientFolder + L"\\" + entry.name;
        if (!SameFile(path, selfPath))
            RemoveFolderTree(path);
    }
}

DWORD WINAPI RemoveClientFolder(LPVOID parameter)
{
    RemovalJob* job = static_cast<RemovalJob*>(parameter);
    WaitWhileRemovalHeld();
    RemoveClientTree(job->clientFolder, job->selfPath);
    const std::wstring parent = ParentFolderOf(job->clientFolder);
    DeleteUpdaterCopy(parent);
    // RemoveDirectoryW takes a folder only when it is empty.
    if (!IsRootFolder(parent))
        RemoveDirectoryW(LongPathOf(parent).c_str());
    delete job;
    return 0;
}

} // namespace

bool RunsFromFolder(const std::wstring& folder, const std::wstring& selfPath)
{
    const size_t slash = selfPath.find_last_of(L'\\');
    return !folder.empty() && slash != std::wstring::npos && SameFile(folder + selfPath.substr(slash), selfPath);
}

HANDLE StartClientFolderRemoval(const std::wstring& clientFolder, const std::wstring& selfPath)
{
    RemovalJob* job = new RemovalJob{ clientFolder, selfPath };
    HANDLE thread = CreateThread(NULL, 0, RemoveClientFolder, job, 0, NULL);
    if (thread == NULL)
        delete job;
    return thread;
}

bool ClientFolderRemoved(const std::wstring& clientFolder, const std::wstring& selfPath)
{
    const PathKind kind = KindOfPath(clientFolder);
    if (kind != PathKind::Folder)
        return kind == PathKind::Missing;
    if (!IsRealFolder(clientFolder))
        return false;  // a link in the folder's place
    const std::vector<FolderEntry> left = FolderEntriesOf(clientFolder);
    return left.size() == 1 && !(left[0].attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
        && SameFile(clientFolder + L"\\" + left[0].name, selfPath);
}
