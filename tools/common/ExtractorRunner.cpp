#include "ExtractorRunner.h"

#include "HiddenProcess.h"

#include <windows.h>

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
    HANDLE process = StartHiddenProcess(extractor, text, folder, DETACHED_PROCESS);
    if (process == NULL)
        return -1;
    DWORD exitCode = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process, INFINITE) != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &exitCode))
        exitCode = static_cast<DWORD>(-1);
    CloseHandle(process);
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
