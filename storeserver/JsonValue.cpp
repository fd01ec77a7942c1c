#include "JsonValue.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

JsonValue::JsonValue(bool value) : type_(Type::Bool), flag_(value) {}
JsonValue::JsonValue(int value) : type_(Type::Number), number_(value) {}
JsonValue::JsonValue(int64_t value) : type_(Type::Number), number_(static_cast<double>(value)) {}
JsonValue::JsonValue(uint64_t value) : type_(Type::Number), number_(static_cast<double>(value)) {}
JsonValue::JsonValue(double value) : type_(Type::Number), number_(value) {}
JsonValue::JsonValue(const char* value) : type_(Type::String), text_(value) {}
JsonValue::JsonValue(std::string value) : type_(Type::String), text_(std::move(value)) {}

JsonValue JsonValue::object()
{
    JsonValue value;
    value.type_ = Type::Object;
    return value;
}

JsonValue JsonValue::array()
{
    JsonValue value;
    value.type_ = Type::Array;
    return value;
}

JsonValue& JsonValue::set(const std::string& key, JsonValue value)
{
    type_ = Type::Object;
    for (auto& member : members_) {
        if (member.first == key) {
            member.second = std::move(value);
            return *this;
        }
    }
    members_.emplace_back(key, std::move(value));
    return *this;
}

bool JsonValue::has(const std::string& key) const
{
    for (const auto& member : members_)
        if (member.first == key)
            return true;
    return false;
}

static const JsonValue& nullValue()
{
    static const JsonValue none;
    return none;
}

const JsonValue& JsonValue::operator[](const std::string& key) const
{
    for (const auto& member : members_)
        if (member.first == key)
            return member.second;
    return nullValue();
}

const JsonValue& JsonValue::operator[](size_t index) const
{
    return index < items_.size() ? items_[index] : nullValue();
}

void JsonValue::append(JsonValue value)
{
    type_ = Type::Array;
    items_.push_back(std::move(value));
}

size_t JsonValue::size() const
{
    return type_ == Type::Object ? members_.size() : items_.size();
}

std::string JsonValue::quote(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

std::string JsonValue::dump() const
{
    switch (type_) {
    case Type::Null: return "null";
    case Type::Bool: return flag_ ? "true" : "false";
    case Type::Number: {
        char text[32];
        if (std::floor(number_) == number_ && std::fabs(number_) < 9.0e15)
            std::snprintf(text, sizeof text, "%lld", static_cast<long long>(number_));
        else
            std::snprintf(text, sizeof text, "%.17g", number_);
        return text;
    }
    case Type::String: return quote(text_);
    case Type::Array: {
        std::string out = "[";
        for (size_t i = 0; i < items_.size(); ++i)
            out += (i ? "," : "") + items_[i].dump();
        return out + "]";
    }
    case Type::Object: {
        std::string out = "{";
        for (size_t i = 0; i < members_.size(); ++i)
            out += (i ? "," : "") + quote(members_[i].first) + ":" + members_[i].second.dump();
        return out + "}";
    }
    }
    return "null";
}

namespace {

// Recursive-descent reader; depth is bounded so hostile input cannot exhaust the stack.
class Reader {
public:
    explicit Reader(const std::string& text) : s_(text) {}

    bool readDocument(JsonValue& out)
    {
        if (!readValue(out, 0))
            return false;
        skipBlanks();
        return pos_ == s_.size();
    }

private:
    void skipBlanks()
    {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r'))
            ++pos_;
    }

    bool literal(const char* word)
    {
        size_t n = std::char_traits<char>::length(word);
        if (s_.compare(pos_, n, word) != 0)
            return false;
        pos_ += n;
        return true;
    }

    static void appendUtf8(std::string& out, unsigned code)
    {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    bool readHex4(unsigned& code)
    {
        if (pos_ + 4 > s_.size())
            return false;
        code = 0;
        for (int i = 0; i < 4; ++i) {
            char c = s_[pos_++];
            code <<= 4;
            if (c >= '0' && c <= '9') code |= c - '0';
            else if (c >= 'a' && c <= 'f') code |= c - 'a' + 10;
            else if (c >= 'A' && c <= 'F') code |= c - 'A' + 10;
            else return false;
        }
        return true;
    }

    bool readString(std::string& out)
    {
        if (pos_ >= s_.size() || s_[pos_] != '"')
            return false;
        ++pos_;
        while (pos_ < s_.size()) {
            char c = s_[pos_++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= s_.size())
                return false;
            char e = s_[pos_++];
            switch (e) {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                unsigned code;
                if (!readHex4(code))
                    return false;
                if (code >= 0xD800 && code < 0xDC00 && s_.compare(pos_, 2, "\\u") == 0) {
                    pos_ += 2;
                    unsigned low;
                    if (!readHex4(low) || low < 0xDC00 || low > 0xDFFF)
                        return false;
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                }
                appendUtf8(out, code);
                break;
            }
            default: return false;
            }
        }
        return false;
    }

    bool readValue(JsonValue& out, int depth)
    {
        if (depth > 64)
            return false;
        skipBlanks();
        if (pos_ >= s_.size())
            return false;
        char c = s_[pos_];
        if (c == '{') {
            ++pos_;
            out = JsonValue::object();
            skipBlanks();
            if (pos_ < s_.size() && s_[pos_] == '}') {
                ++pos_;
                return true;
            }
            for (;;) {
                skipBlanks();
                std::string key;
                if (!readString(key))
                    return false;
                skipBlanks();
                if (pos_ >= s_.size() || s_[pos_++] != ':')
                    return false;
                JsonValue member;
                if (!readValue(member, depth + 1))
                    return false;
                out.set(key, std::move(member));
                skipBlanks();
                if (pos_ >= s_.size())
                    return false;
                char next = s_[pos_++];
                if (next == '}')
                    return true;
                if (next != ',')
                    return false;
            }
        }
        if (c == '[') {
            ++pos_;
            out = JsonValue::array();
            skipBlanks();
            if (pos_ < s_.size() && s_[pos_] == ']') {
                ++pos_;
                return true;
            }
            for (;;) {
                JsonValue item;
                if (!readValue(item, depth + 1))
                    return false;
                out.append(std::move(item));
                skipBlanks();
                if (pos_ >= s_.size())
                    return false;
                char next = s_[pos_++];
                if (next == ']')
                    return true;
                if (next != ',')
                    return false;
            }
        }
        if (c == '"') {
            std::string text;
            if (!readString(text))
                return false;
            out = JsonValue(std::move(text));
            return true;
        }
        if (literal("true")) { out = JsonValue(true); return true; }
        if (literal("false")) { out = JsonValue(false); return true; }
        if (literal("null")) { out = JsonValue(); return true; }
        const char* begin = s_.c_str() + pos_;
        char* end = nullptr;
        double number = std::strtod(begin, &end);
        if (end == begin)
            return false;
        pos_ += static_cast<size_t>(end - begin);
        out = JsonValue(number);
        return true;
    }

    const std::string& s_;
    size_t pos_ = 0;
};

} // namespace

JsonValue JsonValue::parse(const std::string& text, bool* ok)
{
    JsonValue value;
    bool good = Reader(text).readDocument(value);
    if (ok)
        *ok = good;
    return good ? value : JsonValue();
}
