#include "MachineDescription.h"

#include "OemText.h"

#include <windows.h>
#include <cpuid.h>
#include <setupapi.h>
#include <winioctl.h>

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

// The NDIS LAN interface class and its statistics query.
const GUID kNdisLanClass = {0xAD498944, 0x762F, 0x11D0, {0x8D, 0xCB, 0x00, 0xC0, 0x4F, 0xC3, 0x35, 0x8C}};
const GUID kDisplayClass = {0x4D36E968, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
const DWORD kIoctlNdisQueryGlobalStats = 0x00170002;
const DWORD kOid8023PermanentAddress = 0x01010101;

std::wstring FormatWide(const wchar_t* format, ...)
{
    wchar_t buffer[128];
    va_list args;
    va_start(args, format);
    int length = _vsnwprintf(buffer, 127, format, args);
    va_end(args);
    buffer[127] = L'\0';
    return length < 0 ? std::wstring(buffer) : std::wstring(buffer, length);
}

// The MAC of one adapter interface, read through its device path.
bool ReadPermanentAddress(const wchar_t* devicePath, unsigned char mac[6])
{
    HANDLE device = CreateFileW(devicePath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (device == INVALID_HANDLE_VALUE)
        return false;
    DWORD oid = kOid8023PermanentAddress;
    DWORD returned = 0;
    BOOL ok = DeviceIoControl(device, kIoctlNdisQueryGlobalStats, &oid, sizeof(oid), mac, 6, &returned, NULL);
    CloseHandle(device);
    return ok && returned == 6;
}

} // namespace

CpuidRegisters Cpuid(unsigned int leaf)
{
    CpuidRegisters registers = {0, 0, 0, 0};
    __cpuid(leaf, registers.eax, registers.ebx, registers.ecx, registers.edx);
    return registers;
}

std::string FormatString(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    int length = std::vsnprintf(NULL, 0, format, measure);
    va_end(measure);
    std::string text;
    if (length > 0) {
        std::vector<char> buffer(length + 1, '\0');
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        text.assign(buffer.data(), length);
    }
    va_end(args);
    return text;
}

std::string FormatMacText(const unsigned char mac[6])
{
    return FormatString("%02X:%02X:%02X:%02X:%02X:%02X", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
}

bool GetMacAddress(std::string& out)
{
    HDEVINFO devices = SetupDiGetClassDevsW(&kNdisLanClass, NULL, NULL, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (devices == INVALID_HANDLE_VALUE)
        return false;
    SP_DEVICE_INTERFACE_DATA interfaceData;
    interfaceData.cbSize = sizeof(interfaceData);
    for (DWORD index = 0; SetupDiEnumDeviceInterfaces(devices, NULL, &kNdisLanClass, index, &interfaceData); ++index) {
        // The detail's size comes from a first call without a buffer.
        DWORD required = 0;
        SetupDiGetDeviceInterfaceDetailW(devices, &interfaceData, NULL, 0, &required, NULL);
        if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W))
            continue;
        std::vector<DWORD> storage(required / sizeof(DWORD) + 2, 0);
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(storage.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
        if (!SetupDiGetDeviceInterfaceDetailW(devices, &interfaceData, detail, required, NULL, NULL))
            continue;
        unsigned char mac[6];
        if (ReadPermanentAddress(detail->DevicePath, mac))
            out = FormatMacText(mac);
    }
    SetupDiDestroyDeviceInfoList(devices);
    return true;
}

int FormatPowerText(unsigned char acLineStatus, unsigned char batteryFlag, unsigned char batteryLifePercent,
                    std::string& out)
{
    if (acLineStatus == 1 && batteryFlag == 128 && batteryLifePercent == 255) {
        out = FormatString("desktop:%d/%d/%d%%", 1, 128, 255);
        return 1;
    }
    out = FormatString("laptop:%d/%d/%d%%", acLineStatus, batteryFlag, batteryLifePercent);
    return 0;
}

int GetPcType(std::string& out)
{
    SYSTEM_POWER_STATUS power;
    if (!GetSystemPowerStatus(&power)) {
        out.clear();
        return 0;
    }
    std::printf("is AC power        :%s\n", power.ACLineStatus == 1 ? "yes" : "no");
    std::printf("BatteryFlag        :%d\n", power.BatteryFlag);
    std::printf("BatteryLifePercent :%d%%\n", power.BatteryLifePercent);
    return FormatPowerText(power.ACLineStatus, power.BatteryFlag, power.BatteryLifePercent, out);
}

std::wstring GetGpuName()
{
    HDEVINFO devices = SetupDiGetClassDevsW(&kDisplayClass, NULL, NULL, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE)
        return std::wstring();
    std::wstring name;
    SP_DEVINFO_DATA device;
    device.cbSize = sizeof(device);
    if (SetupDiEnumDeviceInfo(devices, 0, &device)) {
        char description[128] = {0};
        DWORD type = 0;
        if (SetupDiGetDeviceRegistryPropertyA(devices, &device, SPDRP_DEVICEDESC, &type,
                                              reinterpret_cast<BYTE*>(description), sizeof(description) - 1, NULL)) {
            description[sizeof(description) - 1] = '\0';
            name = AnsiToWide(description);
        }
    }
    SetupDiDestroyDeviceInfoList(devices);
    return name;
}

std::wstring FormatCpuBrand(const CpuidRegisters leaves[3])
{
    char brand[49];
    for (int i = 0; i < 3; ++i) {
        const unsigned int words[4] = {leaves[i].eax, leaves[i].ebx, leaves[i].ecx, leaves[i].edx};
        memcpy(brand + 16 * i, words, 16);
    }
    brand[48] = '\0';
    return AnsiToWide(brand);
}

std::wstring GetCpuBrand()
{
    const CpuidRegisters leaves[3] = {Cpuid(0x80000002), Cpuid(0x80000003), Cpuid(0x80000004)};
    return FormatCpuBrand(leaves);
}

std::wstring FormatMemoryText(unsigned long long totalBytes, unsigned long long availableBytes)
{
    return FormatWide(L"%dG ( %dG available )", static_cast<int>(totalBytes >> 30),
                      static_cast<int>(availableBytes >> 30));
}

std::wstring GetMemoryText()
{
    typedef BOOL(WINAPI * GlobalMemoryStatusExFunction)(MEMORYSTATUSEX*);
    auto query = reinterpret_cast<GlobalMemoryStatusExFunction>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GlobalMemoryStatusEx"));
    if (!query)
        return std::wstring();
    MEMORYSTATUSEX status;
    memset(&status, 0, sizeof(status));
    status.dwLength = sizeof(status);
    if (!query(&status) || status.dwLength != 64)
        return std::wstring();
    return FormatMemoryText(status.ullTotalPhys, status.ullAvailPhys);
}

std::wstring FormatMetricsText(int width, int height, int refreshHz, int bitsPerPixel)
{
    return FormatWide(L"%d * %d ( %dHz / %dBit )", width, height, refreshHz, bitsPerPixel);
}

std::wstring GetMetricsText()
{
    DEVMODEW mode;
    memset(&mode, 0, sizeof(mode));
    mode.dmSize = sizeof(mode);
    if (!EnumDisplaySettingsW(NULL, ENUM_CURRENT_SETTINGS, &mode))
        return std::wstring();
    return FormatMetricsText(mode.dmPelsWidth, mode.dmPelsHeight, mode.dmDisplayFrequency, mode.dmBitsPerPel);
}
