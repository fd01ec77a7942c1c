#include "SelfDelete.h"

#include "ClientFolder.h"
#include "FolderTreeRemoval.h"
#include "FreshFile.h"
#include "HiddenProcess.h"

#include <windows.h>

#include <string>

namespace {

std::wstring SystemProgram(const wchar_t* name)
{
    wchar_t folder[MAX_PATH] = { 0 };
    UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    return std::wstring(folder) + L"\\" + name;
}

// The text in the OEM code page; false when a character has no place in it.
bool ToOem(const std::wstring& text, std::string& out)
{
    if (text.empty()) {
        out.clear();
        return true;
    }
    BOOL lossy = FALSE;
    int size = WideCharToMultiByte(CP_OEMCP, 0, text.c_str(), static_cast<int>(text.size()), NULL, 0, NULL, &lossy);
    if (size <= 0 || lossy)
        return false;
    out.assign(size, '\0');
    WideCharToMultiByte(CP_OEMCP, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size, NULL, &lossy);
    return !lossy;
}

// Writes the bytes as a new file and reads them back.
bool WriteBatch(const std::wstring& path, const std::string& bytes)
{
    return WriteFreshFile(path.c_str(), bytes.data(), bytes.size(), FreshFileCheck::Bytes) == FreshFileResult::Written;
}

} // namespace

std::wstring PathForBatch(const std::wstring& path)
{
    std::string oem;
    if (ToOem(path, oem))
        return path;
    wchar_t shortPath[MAX_PATH] = { 0 };
    DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(shortPath, length) : path;
}

std::wstring BatchLiteral(const std::wstring& path)
{
    std::wstring text;
    text.reserve(path.size());
    for (wchar_t c : path) {
        if (c == L'%')
            text += L'%';
        text += c;
    }
    return text;
}

std::wstring CleanupBatchText(const std::wstring& exePath, const std::wstring& clientFolder,
                              const std::wstring& installRoot, int tries)
{
    // A pause of about a second: ping waits one second between its two echoes of the loopback address.
    const std::wstring exe = L"\"" + BatchLiteral(exePath) + L"\"";
    std::wstring text = L"@echo off\r\n"
                        L"set tries=0\r\n"
                        L":retry\r\n"
                        L"del /f /q " + exe + L" >nul 2>nul\r\n"
                        L"if not exist " + exe + L" goto removed\r\n"
                        L"set /a tries+=1\r\n"
                        L"if %tries% geq " + std::to_wstring(tries) + L" goto removed\r\n"
                        L"ping -n 2 -w 1000 127.0.0.1 >nul\r\n"
                        L"goto retry\r\n"
                        L":removed\r\n";
    for (const std::wstring* folder : { &clientFolder, &installRoot }) {
        if (!folder->empty() && !IsRootFolder(*folder))
            text += L"rd \"" + BatchLiteral(*folder) + L"\" >nul 2>nul\r\n";
    }
    text += L"del \"%~f0\"\r\n";
    return text;
}

std::wstring CleanupBatchCommandLine(const std::wstring& cmdPath, const std::wstring& batchPath)
{
    return L"\"" + cmdPath + L"\" /d /v:off /c \"\"" + batchPath + L"\"\"";
}

std::wstring SelfPath()
{
    wchar_t self[MAX_PATH] = { 0 };
    DWORD length = GetModuleFileNameW(NULL, self, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(self, length) : std::wstring();
}

void DeleteSelfAndExit(const std::wstring& clientFolder, bool runsFromFolder)
{
    const std::wstring exe = SelfPath();
    wchar_t temp[MAX_PATH] = { 0 };
    DWORD tempLength = GetTempPathW(MAX_PATH, temp);
    const std::wstring cmd = SystemProgram(L"cmd.exe");
    // cmd's del acts on what a link Wine hides points to.
    if (exe.empty() || !IsEntryItself(exe) || tempLength == 0 || tempLength >= MAX_PATH - 16 || cmd.empty())
        ExitProcess(0);
    const std::wstring batch = std::wstring(temp) + L"DeleteBat.bat";
    // cmd's rd removes the target of a link Wine hides, and Windows' rd a
    // junction whatever it holds: a folder is named only while it is real.
    std::wstring folder, root;
    if (runsFromFolder && IsRealFolder(clientFolder)) {
        folder = PathForBatch(clientFolder);
        const std::wstring parent = ParentFolderOf(clientFolder);
        if (IsRealFolder(parent))  // never a drive or share root
            root = PathForBatch(parent);
    }
    std::string bytes;
    if (!ToOem(CleanupBatchText(PathForBatch(exe), folder, root), bytes) || !WriteBatch(batch, bytes))
        ExitProcess(0);

    // The batch's own folder is its current folder; it never holds the client's.
    HANDLE process = StartHiddenProcess(cmd, CleanupBatchCommandLine(cmd, batch), temp, CREATE_NO_WINDOW);
    if (process != NULL)
        CloseHandle(process);
    ExitProcess(0);
}
