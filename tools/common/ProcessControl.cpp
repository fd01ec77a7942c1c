#include "ProcessControl.h"

#include "UpdaterCopy.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <string>

namespace {

const DWORD kKillWaitMs = 5000;

// The folder as an absolute path without a trailing backslash; empty when it
// cannot be resolved.
std::wstring NormalisedFolder(const wchar_t* folder)
{
    if (!folder || !folder[0])
        return std::wstring();
    wchar_t full[MAX_PATH];
    DWORD length = GetFullPathNameW(folder, MAX_PATH, full, NULL);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    std::wstring path(full, length);
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/'))
        path.pop_back();
    return path;
}

std::wstring ParentFolder(const std::wstring& folder)
{
    size_t slash = folder.find_last_of(L"\\/");
    if (slash == std::wstring::npos)
        return std::wstring();
    // "C:\x" has the parent "C:\".
    return folder.substr(0, slash == 2 ? 3 : slash);
}

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    return !a.empty() && CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Whether the folder is the client folder or lies anywhere below it.
bool InsideFolder(const std::wstring& folder, const std::wstring& clientFolder)
{
    if (SamePath(folder, clientFolder))
        return true;
    const std::wstring prefix = clientFolder + L"\\";
    return folder.size() > prefix.size()
        && CompareStringOrdinal(folder.c_str(), static_cast<int>(prefix.size()), prefix.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The full path of the process's image; empty when it cannot be read.
std::wstring ImageOf(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return std::wstring();
    wchar_t image[MAX_PATH];
    DWORD size = MAX_PATH;
    BOOL ok = QueryFullProcessImageNameW(process, 0, image, &size);
    CloseHandle(process);
    return ok ? NormalisedFolder(image) : std::wstring();
}

// Whether the process's image lies anywhere in the client folder, or directly
// in its parent as the client's updater copy. The parent may be a folder
// shared with other programs, so there only an image that carries the
// updater's resources counts.
bool ImageInClientFolder(DWORD processId, const std::wstring& clientFolder)
{
    const std::wstring image = ImageOf(processId);
    if (image.empty())
        return false;
    std::wstring imageFolder = ParentFolder(image);
    if (InsideFolder(imageFolder, clientFolder))
        return true;
    return SamePath(imageFolder, ParentFolder(clientFolder)) && IsOrbelaUpdater(image);
}

// Walks the process list; stops at the first entry for which visit answers true.
// False when no snapshot could be taken.
template <typename Visit>
bool ForEachProcess(Visit visit)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32W entry;
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (visit(entry))
            break;
    }
    CloseHandle(snapshot);
    return true;
}

// Ends the process and gives it a moment to be gone before the caller goes on.
void TerminateAndWait(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (process == NULL)
        return;
    if (TerminateProcess(process, 0))
        WaitForSingleObject(process, kKillWaitMs);
    CloseHandle(process);
}

} // namespace

bool IsProcessRunning(const wchar_t* exeName, const wchar_t* clientFolder)
{
    std::wstring folder = NormalisedFolder(clientFolder);
    if (!exeName || !exeName[0] || folder.empty())
        return false;
    bool running = false;
    bool listed = ForEachProcess([&](const PROCESSENTRY32W& entry) {
        running = wcscmp(entry.szExeFile, exeName) == 0 && ImageInClientFolder(entry.th32ProcessID, folder);
        return running;
    });
    if (!listed)
        std::printf("CreatToolhelp32Snapeshot调用失败!\n");
    return running;
}

void KillProcessByName(const wchar_t* exeName, const wchar_t* clientFolder)
{
    std::wstring folder = NormalisedFolder(clientFolder);
    if (!exeName || !exeName[0] || folder.empty())
        return;
    ForEachProcess([&](const PROCESSENTRY32W& entry) {
        if (_wcsicmp(entry.szExeFile, exeName) != 0 || !ImageInClientFolder(entry.th32ProcessID, folder))
            return false;
        TerminateAndWait(entry.th32ProcessID);
        return true;
    });
}

bool StopProcessesWithImages(const std::vector<std::wstring>& images, DWORD waitMs)
{
    std::vector<std::wstring> wanted;
    for (const std::wstring& image : images) {
        const std::wstring path = NormalisedFolder(image.c_str());
        if (!path.empty())
            wanted.push_back(path);
    }
    if (wanted.empty())
        return true;
    const DWORD self = GetCurrentProcessId();
    auto anyRunning = [&](bool terminate) {
        bool found = false;
        ForEachProcess([&](const PROCESSENTRY32W& entry) {
            if (entry.th32ProcessID == self || entry.th32ProcessID == 0)
                return false;
            const std::wstring image = ImageOf(entry.th32ProcessID);
            bool listed = false;
            for (const std::wstring& path : wanted)
                listed = listed || SamePath(image, path);
            if (!listed)
                return false;
            found = true;
            if (!terminate)
                return true;
            TerminateAndWait(entry.th32ProcessID);
            return false;
        });
        return found;
    };
    // The client has handed over and is on its way out: it gets its time first.
    const DWORD start = GetTickCount();
    while (anyRunning(false)) {
        if (GetTickCount() - start >= waitMs) {
            anyRunning(true);
            return !anyRunning(false);
        }
        Sleep(100);
    }
    return true;
}
