#include "TempFolder.h"

#include <windows.h>
#include <shlobj.h>

std::wstring FreshTempFolder(const wchar_t* topic, const wchar_t* name)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder =
        std::wstring(temp) + topic + L"-" + std::to_wstring(GetCurrentProcessId()) + L"\\" + name;
    SHCreateDirectoryExW(NULL, folder.c_str(), NULL);
    return folder;
}
