#pragma once

#include <string>

// The machine description sent with the wizards' statistics report. Each text
// is a pure formatting function fed by a small system query, so the formats can
// be checked apart from the machine they run on.

struct CpuidRegisters {
    unsigned int eax, ebx, ecx, edx;
};

// The four registers of the cpuid instruction for one leaf.
CpuidRegisters Cpuid(unsigned int leaf);

// printf-style formatting into a string of the measured size.
std::string FormatString(const char* format, ...);

// Six bytes as "%02X:%02X:%02X:%02X:%02X:%02X".
std::string FormatMacText(const unsigned char mac[6]);
// Writes the MAC of the last network adapter that answers into out (left as
// it is when none answers); false when the adapter list cannot be obtained.
bool GetMacAddress(std::string& out);

// "desktop:1/128/255%" on mains power without a system battery (answers 1),
// otherwise "laptop:<AC line>/<battery flag>/<percent>%" (answers 0).
int FormatPowerText(unsigned char acLineStatus, unsigned char batteryFlag, unsigned char batteryLifePercent,
                    std::string& out);
int GetPcType(std::string& out);

// The first display adapter's description; empty without one.
std::wstring GetGpuName();

// The 48-byte brand text of the three cpuid brand leaves, leading spaces kept.
std::wstring FormatCpuBrand(const CpuidRegisters leaves[3]);
std::wstring GetCpuBrand();

// "%dG ( %dG available )" in whole gigabytes, rounded down.
std::wstring FormatMemoryText(unsigned long long totalBytes, unsigned long long availableBytes);
std::wstring GetMemoryText();

// "%d * %d ( %dHz / %dBit )" of the current display mode.
std::wstring FormatMetricsText(int width, int height, int refreshHz, int bitsPerPixel);
std::wstring GetMetricsText();
