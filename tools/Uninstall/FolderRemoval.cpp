#include "FolderRemoval.h"

#include "ClientFolder.h"
#include "HiddenProcess.h"
#include "UninstallWaits.h"
#include "UpdaterCopy.h"

namespace {

const wchar_t* const kFolderVariable = L"ORBELA_REMOVED_FOLDER";
// A removal that has not ended by then is ended; the clean-up batch still follows.
const DWORD kRemovalWaitMs = 60000;

DWORD WINAPI RemoveClientFolder(LPVOID parameter)
{
    std::wstring* clientFolder = static_cast<std::wstring*>(parameter);
    WaitWhileRemovalHeld();
    RunFolderRemoval(*clientFolder, true, kRemovalWaitMs);
    const std::wstring parent = ParentFolderOf(*clientFolder);
    DeleteUpdaterCopy(parent);
    if (!IsRootFolder(parent))
        RunFolderRemoval(parent, false, kRemovalWaitMs);
    delete clientFolder;
    return 0;
}

bool FileIdentity(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& identity)
{
    HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BOOL read = GetFileInformationByHandle(file, &identity);
    CloseHandle(file);
    return read != FALSE;
}

// Whether both paths name the same file, by volume and file index (a short
// and a long spelling of one path are the same file).
bool SameFile(const std::wstring& a, const std::wstring& b)
{
    BY_HANDLE_FILE_INFORMATION first = {}, second = {};
    return FileIdentity(a, first) && FileIdentity(b, second)
        && first.dwVolumeSerialNumber == second.dwVolumeSerialNumber && first.nFileIndexHigh == second.nFileIndexHigh
        && first.nFileIndexLow == second.nFileIndexLow;
}

} // namespace

std::wstring RemovalParameters(bool wholeTree)
{
    return std::wstring(wholeTree ? L"/d /v:on /c rd /s/q \"!" : L"/d /v:on /c rd  \"!") + kFolderVariable + L"!\"";
}

bool RunFolderRemoval(const std::wstring& folder, bool wholeTree, DWORD waitMs)
{
    const std::wstring parameters = RemovalParameters(wholeTree);
    OutputDebugStringW((parameters + L" " + kFolderVariable + L"=" + folder).c_str());
    wchar_t system[MAX_PATH] = { 0 };
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH - 10 || folder.empty())
        return false;
    const std::wstring cmd = std::wstring(system) + L"\\cmd.exe";
    // Only the one variable: no other is there for a "%NAME%" in the path to name.
    std::wstring environment = std::wstring(kFolderVariable) + L"=" + folder;
    environment.push_back(L'\0');
    HANDLE process = StartHiddenProcess(cmd, L"\"" + cmd + L"\" " + parameters, system, CREATE_NO_WINDOW, &environment);
    if (process == NULL)
        return false;
    bool ended = WaitOrTerminate(process, waitMs);
    CloseHandle(process);
    return ended;
}

HANDLE StartClientFolderRemoval(const std::wstring& clientFolder)
{
    std::wstring* folder = new std::wstring(clientFolder);
    HANDLE thread = CreateThread(NULL, 0, RemoveClientFolder, folder, 0, NULL);
    if (thread == NULL)
        delete folder;
    return thread;
}

bool ClientFolderRemoved(const std::wstring& clientFolder, const std::wstring& selfPath)
{
    const PathKind kind = KindOfPath(clientFolder);
    if (kind != PathKind::Folder)
        return kind == PathKind::Missing;
    const size_t slash = selfPath.find_last_of(L'\\');
    return slash != std::wstring::npos && SameFile(clientFolder + selfPath.substr(slash), selfPath);
}
