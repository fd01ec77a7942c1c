#include "HeaderNumbers.h"

#include <limits>
#include <strings.h>

namespace xldl {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string trimmed(const std::string &text)
{
    size_t begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

} // namespace

bool parseHeaderCount(const std::string &text, int64_t &value)
{
    const std::string digits = trimmed(text);
    if (digits.empty())
        return false;
    constexpr int64_t limit = std::numeric_limits<int64_t>::max();
    int64_t result = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return false;
        const int digit = c - '0';
        if (result > (limit - digit) / 10)
            return false;
        result = result * 10 + digit;
    }
    value = result;
    return true;
}

bool parseContentRange(const std::string &text, ContentRange &range)
{
    const std::string value = trimmed(text);
    if (value.size() < 6 || strncasecmp(value.c_str(), "bytes", 5) != 0 || !isBlank(value[5]))
        return false;
    const std::string spec = trimmed(value.substr(6));
    const size_t slash = spec.find('/');
    if (slash == std::string::npos)
        return false;
    ContentRange parsed;
    const std::string span = spec.substr(0, slash), total = spec.substr(slash + 1);
    if (trimmed(total) != "*" && !parseHeaderCount(total, parsed.total))
        return false;
    if (trimmed(span) == "*") {
        if (parsed.total < 0)
            return false; // "bytes */*" states nothing
    } else {
        const size_t dash = span.find('-');
        if (dash == std::string::npos || !parseHeaderCount(span.substr(0, dash), parsed.first)
            || !parseHeaderCount(span.substr(dash + 1), parsed.last) || parsed.last < parsed.first
            || (parsed.total >= 0 && parsed.last >= parsed.total))
            return false;
    }
    range = parsed;
    return true;
}

bool rangeFitsRequest(const ContentRange &range, int64_t offset, int64_t length, int64_t knownTotal)
{
    return range.first == offset && range.total >= 0 && range.last == range.total - 1
        && (length < 0 || length == range.last - range.first + 1)
        && (knownTotal < 0 || range.total == knownTotal);
}

} // namespace xldl
