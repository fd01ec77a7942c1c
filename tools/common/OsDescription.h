#pragma once

#include <windows.h>

#include <string>

// What the Windows version text is made of, gathered by one query so the text
// itself can be formed (and checked) apart from the machine.
struct OsVersionFacts {
    bool versionRead = false;            // GetVersionExW answered
    OSVERSIONINFOEXW version = {};
    WORD processorArchitecture = PROCESSOR_ARCHITECTURE_INTEL;
    DWORD productType = 0;               // GetProductInfo's edition (major 6)
    int serverR2 = 0;                    // GetSystemMetrics(SM_SERVERR2)
};

// At most this many characters; every append is cut there.
const size_t kMaxOsDescription = 255;

OsVersionFacts QueryOsVersionFacts();
std::wstring FormatOsDescription(const OsVersionFacts& facts);
std::wstring GetOsDescription();
