#include "UninstallEntry.h"

#include "ProductPage.h"

#include <windows.h>

#include <cwchar>
#include <vector>

const wchar_t* const kUninstallKeyPath = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orbela";

bool WriteUninstallValue(const wchar_t* name, const wchar_t* text)
{
    if (!name || !text)
        return false;
    HKEY key = NULL;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kUninstallKeyPath, 0, NULL, REG_OPTION_NON_VOLATILE, KEY_WRITE, NULL,
                        &key, NULL) != ERROR_SUCCESS)
        return false;
    DWORD bytes = static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t));
    LONG status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool ReadUninstallValue(const wchar_t* name, std::wstring& value)
{
    HKEY key = NULL;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    DWORD bytes = 0;
    bool found = false;
    if (RegQueryValueExW(key, name, NULL, &type, NULL, &bytes) == ERROR_SUCCESS && type == REG_SZ) {
        // One character more than stored, so a value without terminator still ends.
        std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD size = bytes;
        if (RegQueryValueExW(key, name, NULL, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) == ERROR_SUCCESS) {
            value.assign(buffer.data());
            found = true;
        }
    }
    RegCloseKey(key);
    return found;
}

bool WriteUninstallEntry(const std::wstring& clientFolder, const std::wstring& version)
{
    const std::wstring client = clientFolder + L"\\Orbela.exe";
    // Quoted: unquoted, a folder with blanks lets Windows try a shorter program name first.
    const std::wstring uninstaller = L"\"" + clientFolder + L"\\Uninstall.exe\"";
    const std::wstring page = GetProductPage();
    const struct {
        const wchar_t* name;
        const wchar_t* text;
    } values[] = {
        { L"DisplayIcon", client.c_str() },       { L"InstallLocation", clientFolder.c_str() },
        { L"UninstallString", uninstaller.c_str() }, { L"Publisher", L"Halvern" },
        { L"DisplayVersion", version.c_str() },   { L"DisplayName", L"Orbela" },
        { L"URLInfoAbout", page.c_str() },
    };
    for (const auto& value : values) {
        if (!WriteUninstallValue(value.name, value.text)) {
            DeleteUninstallEntry();
            return false;
        }
    }
    return true;
}

bool DeleteUninstallEntry()
{
    LONG status = RegDeleteKeyW(HKEY_LOCAL_MACHINE, kUninstallKeyPath);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
