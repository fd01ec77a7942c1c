#include "VersionNumber.h"

#include <climits>
#include <vector>

namespace {

const int kMaxVersionLength = 99;

// Adds one decimal digit; stays at INT_MAX once the value would pass it.
int AppendDigit(int value, wchar_t digit)
{
    int d = digit - L'0';
    if (value > (INT_MAX - d) / 10)
        return INT_MAX;
    return value * 10 + d;
}

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

// The numeric value of each part: its leading digits, 0 without any.
std::vector<int> VersionParts(const wchar_t* version)
{
    std::vector<int> parts(1, 0);
    bool inDigits = true;
    for (int i = 0; version && version[i] && i < kMaxVersionLength; ++i) {
        wchar_t c = version[i];
        if (c == L'.') {
            parts.push_back(0);
            inDigits = true;
        } else if (inDigits && IsDigit(c)) {
            parts.back() = AppendDigit(parts.back(), c);
        } else {
            inDigits = false;
        }
    }
    return parts;
}

} // namespace

int VersionToNumber(const wchar_t* version)
{
    int value = 0;
    for (int i = 0; version && version[i] && i < kMaxVersionLength; ++i) {
        wchar_t c = version[i];
        if (c == L'.')
            continue;
        if (!IsDigit(c))
            break;
        value = AppendDigit(value, c);
    }
    return value;
}

int CompareVersions(const wchar_t* a, const wchar_t* b)
{
    std::vector<int> left = VersionParts(a);
    std::vector<int> right = VersionParts(b);
    size_t count = left.size() > right.size() ? left.size() : right.size();
    for (size_t i = 0; i < count; ++i) {
        int x = i < left.size() ? left[i] : 0;
        int y = i < right.size() ? right[i] : 0;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}
