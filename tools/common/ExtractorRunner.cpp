#include "ExtractorRunner.h"

#include <windows.h>

#include <vector>

std::wstring ExtractorCommandLine(const std::wstring& extractor, const std::wstring& package,
                                  const std::wstring& outputFolder)
{
    return L"\"" + extractor + L"\" x \"" + package + L"\" -y -o\"" + outputFolder + L"\"";
}

namespace {

// Starts the extractor hidden with this command line in that folder and waits
// for its exit code; -1 when it could not be started.
long RunHidden(const std::wstring& extractor, const std::wstring& text, const std::wstring& folder)
{
    // CreateProcessW may write into the command line, so it gets its own copy.
    std::vector<wchar_t> commandLine(text.begin(), text.end());
    commandLine.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    // The extractor itself is named by its full path, never looked up.
    if (!CreateProcessW(extractor.c_str(), commandLine.data(), NULL, NULL, FALSE, DETACHED_PROCESS, NULL,
                        folder.c_str(), &startup, &process))
        return -1;
    CloseHandle(process.hThread);
    DWORD exitCode = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, INFINITE) != WAIT_OBJECT_0 || !GetExitCodeProcess(process.hProcess, &exitCode))
        exitCode = static_cast<DWORD>(-1);
    CloseHandle(process.hProcess);
    return static_cast<long>(exitCode);
}

} // namespace

long RunExtractor(const std::wstring& extractor, const std::wstring& package, const std::wstring& outputFolder)
{
    return RunHidden(extractor, ExtractorCommandLine(extractor, package, outputFolder), outputFolder);
}

long TestArchive(const std::wstring& extractor, const std::wstring& package, const std::wstring& workFolder)
{
    return RunHidden(extractor, L"\"" + extractor + L"\" t \"" + package + L"\"", workFolder);
}
