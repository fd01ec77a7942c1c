#include "ByteRange.h"

static bool readNumber(const std::string& text, uint64_t& value)
{
    if (text.empty() || text.size() > 19)
        return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return true;
}

static std::string trimmed(const std::string& text)
{
    size_t begin = text.find_first_not_of(" \t");
    size_t end = text.find_last_not_of(" \t");
    return begin == std::string::npos ? std::string() : text.substr(begin, end - begin + 1);
}

ByteRange ByteRange::resolve(const std::string& header, uint64_t size)
{
    ByteRange whole;
    whole.length = size;
    const std::string prefix = "bytes=";
    std::string value = trimmed(header);
    if (value.compare(0, prefix.size(), prefix) != 0 || value.find(',') != std::string::npos)
        return whole;
    std::string spec = trimmed(value.substr(prefix.size()));
    size_t dash = spec.find('-');
    if (dash == std::string::npos)
        return whole;
    std::string from = trimmed(spec.substr(0, dash));
    std::string to = trimmed(spec.substr(dash + 1));

    ByteRange range;
    range.kind = Kind::Partial;
    uint64_t a = 0;
    uint64_t b = 0;
    if (from.empty()) {
        if (!readNumber(to, b))
            return whole;
        if (b == 0 || size == 0) {
            range.kind = Kind::Unsatisfiable;
            return range;
        }
        range.first = b >= size ? 0 : size - b;
        range.length = size - range.first;
        return range;
    }
    if (!readNumber(from, a))
        return whole;
    if (to.empty()) {
        b = size ? size - 1 : 0;
    } else if (!readNumber(to, b) || b < a) {
        return whole;
    }
    if (a >= size) {
        range.kind = Kind::Unsatisfiable;
        return range;
    }
    if (b >= size)
        b = size - 1;
    range.first = a;
    range.length = b - a + 1;
    return range;
}

std::string ByteRange::contentRange(uint64_t size) const
{
    if (kind == Kind::Unsatisfiable)
        return "bytes */" + std::to_string(size);
    return "bytes " + std::to_string(first) + "-" + std::to_string(first + length - 1) + "/" + std::to_string(size);
}
