#include "ProbeOutput.h"

#include <stdarg.h>
#include <stdio.h>

namespace {

CRITICAL_SECTION* OutputLock()
{
    static CRITICAL_SECTION lock;
    static LONG made = 0;
    if (InterlockedCompareExchange(&made, 1, 0) == 0) InitializeCriticalSection(&lock);
    return &lock;
}

} // namespace

void ProbeOut(LPCWSTR format, ...)
{
    // Room for the line, its line break and the terminator.
    wchar_t text[4096];
    const int room = 4094;
    text[0] = L'\0';
    va_list args;
    va_start(args, format);
    int length = vswprintf(text, room, format, args);
    va_end(args);
    // A longer line is cut: the formatter answers the length it wanted, not
    // the length it wrote.
    if (length < 0 || length >= room) {
        text[room - 1] = L'\0';
        length = static_cast<int>(wcslen(text));
    }
    text[length++] = L'\n';
    char bytes[4096 * 3];
    int size = WideCharToMultiByte(CP_UTF8, 0, text, length, bytes, sizeof(bytes), NULL, NULL);
    EnterCriticalSection(OutputLock());
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes, size, &written, NULL);
    LeaveCriticalSection(OutputLock());
}
