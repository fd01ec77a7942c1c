#include "core/SkinValues.h"

#include <stdlib.h>
#include <wchar.h>

namespace DirectUI {

int ParseNumberList(LPCWSTR value, int* numbers, int count)
{
    if (value == NULL || numbers == NULL) return 0;
    int read = 0;
    LPCWSTR p = value;
    while (read < count && *p != L'\0') {
        LPWSTR end = NULL;
        long n = wcstol(p, &end, 10);
        if (end == NULL || end == p) break;
        numbers[read++] = static_cast<int>(n);
        p = end;
        if (*p == L'\0') break;
        ++p; // the one separator
    }
    return read;
}

int ParseRectValue(LPCWSTR value, RECT& rc)
{
    int numbers[4] = { rc.left, rc.top, rc.right, rc.bottom };
    int read = ParseNumberList(value, numbers, 4);
    rc.left = numbers[0];
    rc.top = numbers[1];
    rc.right = numbers[2];
    rc.bottom = numbers[3];
    return read;
}

int ParseSizeValue(LPCWSTR value, SIZE& size)
{
    int numbers[2] = { size.cx, size.cy };
    int read = ParseNumberList(value, numbers, 2);
    size.cx = numbers[0];
    size.cy = numbers[1];
    return read;
}

DWORD ParseColorValue(LPCWSTR value)
{
    if (value == NULL) return 0;
    while (*value != L'\0' && *value <= L' ') ++value;
    if (*value == L'#') ++value;
    return static_cast<DWORD>(wcstoul(value, NULL, 16));
}

bool ParseBoolValue(LPCWSTR value)
{
    return value != NULL && wcscmp(value, L"true") == 0;
}

int ParseIntValue(LPCWSTR value)
{
    if (value == NULL) return 0;
    return static_cast<int>(wcstol(value, NULL, 10));
}

} // namespace DirectUI
