#include "UpdateTestSeam.h"

#include <cwchar>
#include <string>

namespace {

std::wstring Variable(const wchar_t* name)
{
    wchar_t value[1024];
    DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

} // namespace

void HoldAfterMoveForTest(int moves)
{
    const std::wstring after = Variable(L"ORBELA_UPDATE_HOLD_AFTER_MOVE");
    const std::wstring file = Variable(L"ORBELA_UPDATE_HOLD_FILE");
    if (after.empty() || file.empty() || std::wcstol(after.c_str(), NULL, 10) != moves)
        return;
    HANDLE marker = CreateFileW(file.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (marker != INVALID_HANDLE_VALUE)
        CloseHandle(marker);
    while (GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES)
        Sleep(50);
}

DWORD WaitLimitForTest(const wchar_t* variable, DWORD limitMs)
{
    const std::wstring value = Variable(variable);
    return value.empty() ? limitMs : static_cast<DWORD>(std::wcstoul(value.c_str(), NULL, 10));
}
