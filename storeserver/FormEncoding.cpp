#include "FormEncoding.h"

#include <cctype>

static int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string percentDecode(const std::string& text, bool plusIsSpace)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '%' && i + 2 < text.size()) {
            int high = hexDigit(text[i + 1]);
            int low = hexDigit(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += (plusIsSpace && c == '+') ? ' ' : c;
    }
    return out;
}

std::string percentEncode(const std::string& text)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 15];
        }
    }
    return out;
}

FormFields parseFormFields(const std::string& body)
{
    FormFields fields;
    size_t start = 0;
    while (start <= body.size()) {
        size_t end = body.find('&', start);
        if (end == std::string::npos)
            end = body.size();
        std::string field = body.substr(start, end - start);
        if (!field.empty()) {
            size_t eq = field.find('=');
            std::string name = field.substr(0, eq);
            std::string value = eq == std::string::npos ? std::string() : field.substr(eq + 1);
            fields.emplace_back(percentDecode(name, true), percentDecode(value, true));
        }
        start = end + 1;
    }
    return fields;
}

std::string formValue(const FormFields& fields, const std::string& name)
{
    for (const auto& field : fields)
        if (field.first == name)
            return field.second;
    return {};
}

bool hasFormField(const FormFields& fields, const std::string& name)
{
    for (const auto& field : fields)
        if (field.first == name)
            return true;
    return false;
}
