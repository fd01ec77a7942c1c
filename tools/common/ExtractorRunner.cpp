#include "ExtractorRunner.h"

#include "HiddenProcess.h"

std::wstring ExtractorCommandLine(const std::wstring& extractor, const std::wstring& package,
                                  const std::wstring& outputFolder)
{
    // "E:\" would read as E:" followed by a quote that is part of the argument.
    const std::wstring output = !outputFolder.empty() && outputFolder.back() == L'\\' ? outputFolder + L"\\" : outputFolder;
    return L"\"" + extractor + L"\" x \"" + package + L"\" -y -o\"" + output + L"\"";
}

DWORD ExtractorTimeLimitMs(unsigned long long packageBytes)
{
    const unsigned long long limit = 60000ULL + (packageBytes >> 20) * 2000ULL;
    return limit < 0x7FFFFFFFULL ? static_cast<DWORD>(limit) : 0x7FFFFFFFUL;
}

namespace {

unsigned long long FileBytes(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Starts the extractor hidden with this command line in that folder and waits
// for its exit code within the package's limit; -1 when it could not be
// started or was ended for taking too long.
long RunHidden(const std::wstring& extractor, const std::wstring& package, const std::wstring& text,
               const std::wstring& folder, DWORD limitMs = 0)
{
    HANDLE process = StartHiddenProcess(extractor, text, folder, DETACHED_PROCESS);
    if (process == NULL)
        return -1;
    DWORD exitCode = 0;
    bool ended = WaitOrTerminate(process, limitMs != 0 ? limitMs : ExtractorTimeLimitMs(FileBytes(package)), &exitCode);
    CloseHandle(process);
    return ended ? static_cast<long>(exitCode) : -1;
}

} // namespace

long RunExtractor(const std::wstring& extractor, const std::wstring& package, const std::wstring& outputFolder,
                  DWORD limitMs)
{
    return RunHidden(extractor, package, ExtractorCommandLine(extractor, package, outputFolder), outputFolder, limitMs);
}

long TestArchive(const std::wstring& extractor, const std::wstring& package, const std::wstring& workFolder)
{
    return RunHidden(extractor, package, L"\"" + extractor + L"\" t \"" + package + L"\"", workFolder);
}
