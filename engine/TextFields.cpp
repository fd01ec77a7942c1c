#include "TextFields.h"

#include <cctype>

namespace xldl {

namespace {

bool appendUtf8(std::string &out, const XlChar *text, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= length || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF)
                return false;
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return true;
}

// Decodes one UTF-8 sequence at text[i]; advances i. False on a bad sequence.
bool nextCodePoint(const std::string &text, size_t &i, char32_t &c)
{
    const unsigned char lead = text[i];
    int extra = lead < 0x80 ? 0 : (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + extra >= text.size())
        return false;
    c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const unsigned char b = text[i + k];
        if ((b & 0xC0) != 0x80)
            return false;
        c = (c << 6) | (b & 0x3F);
    }
    static const char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    if (c < minimum[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return false;
    i += extra + 1;
    return true;
}

int base64Value(unsigned char c)
{
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

bool decodeBase64(const std::string &in, std::string &out)
{
    unsigned bits = 0;
    int count = 0;
    size_t end = in.size();
    while (end > 0 && in[end - 1] == '=')
        --end;
    for (size_t i = 0; i < end; ++i) {
        const int v = base64Value(in[i]);
        if (v < 0)
            return false;
        bits = (bits << 6) | unsigned(v);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += char((bits >> count) & 0xFF);
        }
    }
    return true;
}

} // namespace

bool readField(const XlChar *field, size_t width, std::string &utf8)
{
    size_t length = 0;
    while (length < width && field[length] != 0)
        ++length;
    if (length == width)
        return false;
    utf8.clear();
    return appendUtf8(utf8, field, length);
}

bool readText(const XlChar *text, size_t limit, std::string &utf8)
{
    return text != nullptr && readField(text, limit, utf8);
}

bool writeField(XlChar *field, size_t width, const std::string &utf8)
{
    if (width == 0)
        return false;
    size_t used = 0;
    bool whole = true;
    for (size_t i = 0; i < utf8.size();) {
        char32_t c;
        if (!nextCodePoint(utf8, i, c)) {
            whole = false;
            break;
        }
        const size_t units = c >= 0x10000 ? 2 : 1;
        if (used + units >= width) {
            whole = false;
            break;
        }
        if (units == 2) {
            field[used++] = XlChar(0xD800 + ((c - 0x10000) >> 10));
            field[used++] = XlChar(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            field[used++] = XlChar(c);
        }
    }
    field[used] = 0;
    return whole;
}

bool isSafeFileName(const std::string &name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    for (unsigned char c : name) {
        if (c == '/' || c < 0x20)
            return false;
    }
    return true;
}

bool isUsableUrl(const std::string &url)
{
    for (unsigned char c : url) {
        if (c <= 0x20 || c == 0x7F)
            return false;
    }
    return !url.empty();
}

bool decodeThunderUrl(const std::string &thunderUrl, std::string &url)
{
    static const std::string scheme = "thunder://";
    if (thunderUrl.size() <= scheme.size())
        return false;
    for (size_t i = 0; i < scheme.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(thunderUrl[i])) != scheme[i])
            return false;
    }
    std::string payload = thunderUrl.substr(scheme.size());
    while (!payload.empty() && payload.back() == '/')
        payload.pop_back();
    std::string decoded;
    if (!decodeBase64(payload, decoded) || decoded.size() < 4 || decoded.compare(0, 2, "AA") != 0
        || decoded.compare(decoded.size() - 2, 2, "ZZ") != 0)
        return false;
    url = decoded.substr(2, decoded.size() - 4);
    for (size_t i = 0; i < url.size();) {
        char32_t c;
        if (!nextCodePoint(url, i, c))
            return false;
    }
    return isUsableUrl(url);
}

} // namespace xldl
