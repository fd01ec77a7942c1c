#include "OsDescription.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

OsVersionFacts Facts(DWORD major, DWORD minor, DWORD build, BYTE productType, WORD suite, WORD architecture,
                     DWORD edition = 0, const wchar_t* servicePack = L"", int serverR2 = 0)
{
    OsVersionFacts facts;
    facts.versionRead = true;
    facts.version.dwMajorVersion = major;
    facts.version.dwMinorVersion = minor;
    facts.version.dwBuildNumber = build;
    facts.version.dwPlatformId = VER_PLATFORM_WIN32_NT;
    facts.version.wProductType = productType;
    facts.version.wSuiteMask = suite;
    wcsncpy(facts.version.szCSDVersion, servicePack, 127);
    facts.processorArchitecture = architecture;
    facts.productType = edition;
    facts.serverR2 = serverR2;
    return facts;
}

const WORD kX86 = PROCESSOR_ARCHITECTURE_INTEL;
const WORD kX64 = PROCESSOR_ARCHITECTURE_AMD64;

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

TEST(OsDescriptionTest, TextNamesTheVersionEditionServicePackBuildAndWidth)
{
    struct Row {
        const char* what;
        OsVersionFacts facts;
        const char* text;
    };
    const Row rows[] = {
        {"7 SP1 x86", Facts(6, 1, 7601, VER_NT_WORKSTATION, 0, kX86, 1, L"Service Pack 1"),
         "Microsoft Windows 7 Ultimate Edition Service Pack 1 (build 7601), 32-bit"},
        {"6.2 workstation", Facts(6, 2, 9200, VER_NT_WORKSTATION, 0, kX64, 0x30),
         "Microsoft Windows 10  (build 9200), 64-bit"},
        {"6.2 server", Facts(6, 2, 9200, VER_NT_SERVER, 0, kX64, 7),
         "Microsoft Windows Server 2016 Standard Edition (build 9200), 64-bit"},
        {"Vista home premium", Facts(6, 0, 6002, VER_NT_WORKSTATION, 0, kX86, 3, L"Service Pack 2"),
         "Microsoft Windows Vista Home Premium Edition Service Pack 2 (build 6002), 32-bit"},
        {"5.1 home", Facts(5, 1, 2600, VER_NT_WORKSTATION, VER_SUITE_PERSONAL, kX86, 0, L"Service Pack 3"),
         "Microsoft Windows XP Home Edition Service Pack 3 (build 2600)"},
        {"5.1 professional", Facts(5, 1, 2600, VER_NT_WORKSTATION, 0, kX86),
         "Microsoft Windows XP Professional (build 2600)"},
        {"5.2 x64 workstation", Facts(5, 2, 3790, VER_NT_WORKSTATION, 0, kX64, 0, L"Service Pack 2"),
         "Microsoft Windows XP Professional x64 Edition Service Pack 2 (build 3790)"},
        {"5.2 x64 enterprise server", Facts(5, 2, 3790, VER_NT_SERVER, VER_SUITE_ENTERPRISE, kX64),
         "Microsoft Windows Server 2003, Enterprise x64 Edition (build 3790)"},
        {"5.2 R2 web server", Facts(5, 2, 3790, VER_NT_SERVER, VER_SUITE_BLADE, kX86, 0, L"", 1),
         "Microsoft Windows Server 2003 R2, Web Edition (build 3790)"},
        {"5.0 server", Facts(5, 0, 2195, VER_NT_SERVER, 0, kX86), "Microsoft Windows 2000 Server (build 2195)"},
        {"10.0", Facts(10, 0, 19045, VER_NT_WORKSTATION, 0, kX86, 0x30), "Microsoft  (build 19045), 32-bit"},
        {"4.0", Facts(4, 0, 1381, VER_NT_WORKSTATION, 0, kX86),
         "This sample does not support this version of Windows."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(Narrow(FormatOsDescription(row.facts)), row.text);
    }
    OsVersionFacts unread;
    EXPECT_EQ(Narrow(FormatOsDescription(unread)), "hehe...");
}

TEST(OsDescriptionTest, LongestFactsStayWithin255CharactersAndAnUnterminatedServicePackIsBounded)
{
    OsVersionFacts facts = Facts(6, 1, 4294967295u, VER_NT_SERVER, 0, kX64, 15);
    for (wchar_t& c : facts.version.szCSDVersion)
        c = L'S';  // no terminator at all
    std::wstring text = FormatOsDescription(facts);
    EXPECT_LE(text.size(), kMaxOsDescription);
    EXPECT_EQ(Narrow(text), "Microsoft Windows Server 2008 R2 Enterprise Edition for Itanium-based Systems "
                                + std::string(128, 'S') + " (build 4294967295), 64-bit");
}

} // namespace
