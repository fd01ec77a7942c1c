#include "RequestLog.h"

#include "FormEncoding.h"
#include "JsonValue.h"

#include <httplib.h>

#include <chrono>

namespace {

// Length of the UTF-8 sequence starting at text[i], or 0 when it is not valid there.
size_t utf8SequenceLength(const std::string& text, size_t i)
{
    unsigned char c = static_cast<unsigned char>(text[i]);
    size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
            return 0;
    return length;
}

// JSON strings must be UTF-8; bytes that are not (the wizards send their
// machine texts in the OEM code page) become U+FFFD, and the raw bytes go into a
// "<name>_hex" member beside it.
void putText(JsonValue& object, const std::string& name, const std::string& bytes)
{
    std::string text;
    bool valid = true;
    for (size_t i = 0; i < bytes.size();) {
        size_t length = utf8SequenceLength(bytes, i);
        if (length == 0) {
            text += "\xEF\xBF\xBD";
            valid = false;
            ++i;
        } else {
            text.append(bytes, i, length);
            i += length;
        }
    }
    object.set(name, text);
    if (!valid) {
        static const char digits[] = "0123456789abcdef";
        std::string hex;
        for (unsigned char c : bytes) {
            hex += digits[c >> 4];
            hex += digits[c & 15];
        }
        object.set(name + "_hex", hex);
    }
}

} // namespace

RequestLog::~RequestLog()
{
    if (file_)
        std::fclose(file_);
}

bool RequestLog::open(const std::string& path)
{
    file_ = std::fopen(path.c_str(), "a");
    return file_ != nullptr;
}

JsonValue RequestLog::describe(const httplib::Request& request, const std::string& verdict)
{
    JsonValue entry = JsonValue::object();
    auto now = std::chrono::system_clock::now().time_since_epoch();
    entry.set("time_ms", static_cast<int64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
    entry.set("method", request.method);
    putText(entry, "path", request.path);
    size_t question = request.target.find('?');
    putText(entry, "query", question == std::string::npos ? std::string() : request.target.substr(question + 1));
    entry.set("range", request.get_header_value("Range"));
    entry.set("host", request.get_header_value("Host"));
    putText(entry, "user_agent", request.get_header_value("User-Agent"));
    putText(entry, "accept_encoding", request.get_header_value("Accept-Encoding"));
    entry.set("content_type", request.get_header_value("Content-Type"));
    putText(entry, "body", request.body);
    JsonValue form = JsonValue::object();
    if (request.get_header_value("Content-Type").find("application/x-www-form-urlencoded") == 0) {
        for (const auto& field : parseFormFields(request.body))
            putText(form, field.first, field.second);
    }
    entry.set("form", form);
    if (!verdict.empty())
        entry.set("verdict", verdict);
    return entry;
}

void RequestLog::append(const httplib::Request& request, const std::string& verdict)
{
    if (!file_)
        return;
    std::string line = describe(request, verdict).dump() + "\n";
    std::lock_guard<std::mutex> lock(mutex_);
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}
