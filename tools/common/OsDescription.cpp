#include "OsDescription.h"

#include <cwchar>

namespace {

// Appends within the length limit.
class BoundedText
{
public:
    void Append(const wchar_t* text)
    {
        size_t room = kMaxOsDescription - text_.size();
        size_t length = std::wcslen(text);
        text_.append(text, length < room ? length : room);
    }
    const std::wstring& Text() const { return text_; }

private:
    std::wstring text_;
};

const wchar_t* EditionName(DWORD productType)
{
    switch (productType) {
    case 1: return L"Ultimate Edition";
    case 2: return L"Home Basic Edition";
    case 3: return L"Home Premium Edition";
    case 4:
    case 10: return L"Enterprise Edition";
    case 6: return L"Business Edition";
    case 7: return L"Standard Edition";
    case 8: return L"Datacenter Edition";
    case 9: return L"Small Business Server";
    case 11: return L"Starter Edition";
    case 12: return L"Datacenter Edition (core installation)";
    case 13: return L"Standard Edition (core installation)";
    case 14: return L"Enterprise Edition (core installation)";
    case 15: return L"Enterprise Edition for Itanium-based Systems";
    case 17: return L"Web Server Edition";
    case 18: return L"Cluster Server Edition";
    case 25: return L"Small Business Server Premium Edition";
    default: return L"";
    }
}

void AppendVersion6(const OsVersionFacts& facts, BoundedText& text)
{
    const OSVERSIONINFOEXW& v = facts.version;
    bool workstation = v.wProductType == VER_NT_WORKSTATION;
    if (v.dwMinorVersion == 0)
        text.Append(workstation ? L"Windows Vista " : L"Windows Server 2008 ");
    else if (v.dwMinorVersion == 1)
        text.Append(workstation ? L"Windows 7 " : L"Windows Server 2008 R2 ");
    else if (v.dwMinorVersion == 2)
        text.Append(workstation ? L"Windows 10 " : L"Windows Server 2016 ");
    text.Append(EditionName(facts.productType));
}

void AppendServer2003Edition(const OsVersionFacts& facts, BoundedText& text)
{
    const WORD suite = facts.version.wSuiteMask;
    if (facts.processorArchitecture == PROCESSOR_ARCHITECTURE_IA64) {
        if (suite & VER_SUITE_DATACENTER)
            text.Append(L"Datacenter Edition for Itanium-based Systems");
        else if (suite & VER_SUITE_ENTERPRISE)
            text.Append(L"Enterprise Edition for Itanium-based Systems");
    } else if (facts.processorArchitecture == PROCESSOR_ARCHITECTURE_AMD64) {
        if (suite & VER_SUITE_DATACENTER)
            text.Append(L"Datacenter x64 Edition");
        else if (suite & VER_SUITE_ENTERPRISE)
            text.Append(L"Enterprise x64 Edition");
        else
            text.Append(L"Standard x64 Edition");
    } else {
        if (suite & VER_SUITE_COMPUTE_SERVER)
            text.Append(L"Compute Cluster Edition");
        else if (suite & VER_SUITE_DATACENTER)
            text.Append(L"Datacenter Edition");
        else if (suite & VER_SUITE_ENTERPRISE)
            text.Append(L"Enterprise Edition");
        else if (suite & VER_SUITE_BLADE)
            text.Append(L"Web Edition");
        else
            text.Append(L"Standard Edition");
    }
}

void AppendVersion5(const OsVersionFacts& facts, BoundedText& text)
{
    const OSVERSIONINFOEXW& v = facts.version;
    bool workstation = v.wProductType == VER_NT_WORKSTATION;
    if (v.dwMinorVersion == 2) {
        if (facts.serverR2)
            text.Append(L"Windows Server 2003 R2, ");
        else if (v.wSuiteMask & VER_SUITE_STORAGE_SERVER)
            text.Append(L"Windows Storage Server 2003");
        else if (v.wSuiteMask == VER_SUITE_WH_SERVER)
            text.Append(L"Windows Home Server");
        else if (workstation && facts.processorArchitecture == PROCESSOR_ARCHITECTURE_AMD64)
            text.Append(L"Windows XP Professional x64 Edition");
        else
            text.Append(L"Windows Server 2003, ");
        if (!workstation)
            AppendServer2003Edition(facts, text);
    } else if (v.dwMinorVersion == 1) {
        text.Append(L"Windows XP ");
        text.Append(v.wSuiteMask & VER_SUITE_PERSONAL ? L"Home Edition" : L"Professional");
    } else if (v.dwMinorVersion == 0) {
        text.Append(L"Windows 2000 ");
        if (workstation)
            text.Append(L"Professional");
        else if (v.wSuiteMask & VER_SUITE_DATACENTER)
            text.Append(L"Datacenter Server");
        else if (v.wSuiteMask & VER_SUITE_ENTERPRISE)
            text.Append(L"Advanced Server");
        else
            text.Append(L"Server");
    }
}

} // namespace

OsVersionFacts QueryOsVersionFacts()
{
    OsVersionFacts facts;
    facts.version.dwOSVersionInfoSize = sizeof(facts.version);
    facts.versionRead = GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&facts.version)) != FALSE;

    SYSTEM_INFO system = {};
    typedef void(WINAPI * GetNativeSystemInfoFunction)(SYSTEM_INFO*);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto nativeInfo = reinterpret_cast<GetNativeSystemInfoFunction>(GetProcAddress(kernel, "GetNativeSystemInfo"));
    if (nativeInfo)
        nativeInfo(&system);
    else
        GetSystemInfo(&system);
    facts.processorArchitecture = system.wProcessorArchitecture;

    if (facts.versionRead && facts.version.dwMajorVersion == 6) {
        typedef BOOL(WINAPI * GetProductInfoFunction)(DWORD, DWORD, DWORD, DWORD, DWORD*);
        auto productInfo = reinterpret_cast<GetProductInfoFunction>(GetProcAddress(kernel, "GetProductInfo"));
        if (productInfo)
            productInfo(facts.version.dwMajorVersion, facts.version.dwMinorVersion, 0, 0, &facts.productType);
    }
    facts.serverR2 = GetSystemMetrics(SM_SERVERR2);
    return facts;
}

std::wstring FormatOsDescription(const OsVersionFacts& facts)
{
    const OSVERSIONINFOEXW& v = facts.version;
    if (!facts.versionRead)
        return L"hehe...";
    if (v.dwPlatformId != VER_PLATFORM_WIN32_NT || v.dwMajorVersion <= 4)
        return L"This sample does not support this version of Windows.";

    BoundedText text;
    text.Append(L"Microsoft ");
    if (v.dwMajorVersion == 6)
        AppendVersion6(facts, text);
    else if (v.dwMajorVersion == 5)
        AppendVersion5(facts, text);

    // The service-pack field is a fixed array; read it only up to its end.
    size_t servicePackLength = wcsnlen(v.szCSDVersion, sizeof(v.szCSDVersion) / sizeof(v.szCSDVersion[0]));
    if (servicePackLength > 0) {
        text.Append(L" ");
        text.Append(std::wstring(v.szCSDVersion, servicePackLength).c_str());
    }
    wchar_t build[32];
    _snwprintf(build, 31, L" (build %lu)", static_cast<unsigned long>(v.dwBuildNumber));
    build[31] = L'\0';
    text.Append(build);

    if (v.dwMajorVersion >= 6) {
        if (facts.processorArchitecture == PROCESSOR_ARCHITECTURE_AMD64)
            text.Append(L", 64-bit");
        else if (facts.processorArchitecture == PROCESSOR_ARCHITECTURE_INTEL)
            text.Append(L", 32-bit");
    }
    return text.Text();
}

std::wstring GetOsDescription()
{
    return FormatOsDescription(QueryOsVersionFacts());
}
