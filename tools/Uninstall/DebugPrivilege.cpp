#include "DebugPrivilege.h"

#include <windows.h>

bool EnableDebugPrivilege()
{
    HANDLE token = NULL;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return false;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool enabled = LookupPrivilegeValueW(NULL, L"SeDebugPrivilege", &privileges.Privileges[0].Luid)
        && AdjustTokenPrivileges(token, FALSE, &privileges, sizeof(privileges), NULL, NULL)
        && GetLastError() == ERROR_SUCCESS;
    CloseHandle(token);
    return enabled;
}
