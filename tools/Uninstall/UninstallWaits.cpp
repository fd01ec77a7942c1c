#include "UninstallWaits.h"

namespace {

// Longer than any bound of the uninstaller; a larger value is taken as this.
const DWORD kLongestWaitMs = 600000;

DWORD MillisecondsFromEnvironment(const wchar_t* name, DWORD fallback)
{
    wchar_t value[16] = { 0 };
    DWORD length = GetEnvironmentVariableW(name, value, 16);
    if (length == 0 || length >= 16)
        return fallback;
    DWORD ms = 0;
    for (DWORD i = 0; i < length; ++i) {
        if (value[i] < L'0' || value[i] > L'9')
            return fallback;
        ms = ms * 10 + static_cast<DWORD>(value[i] - L'0');
        if (ms > kLongestWaitMs)
            return kLongestWaitMs;
    }
    return ms;
}

} // namespace

DWORD CloseWaitMs()
{
    // Past it the process ends with the removal where it is; the batch still follows.
    return MillisecondsFromEnvironment(L"ORBELA_UNINSTALL_CLOSE_WAIT_MS", 130000);
}

void WaitWhileRemovalHeld()
{
    wchar_t hold[MAX_PATH] = { 0 };
    DWORD length = GetEnvironmentVariableW(L"ORBELA_UNINSTALL_REMOVAL_HOLD", hold, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    const DWORD start = GetTickCount();
    while (GetFileAttributesW(hold) != INVALID_FILE_ATTRIBUTES && GetTickCount() - start < kLongestWaitMs)
        Sleep(50);
}
