#pragma once

#include <cstdio>
#include <mutex>
#include <string>

namespace httplib {
struct Request;
}
class JsonValue;

// Appends every request as one JSON line, flushed at once, so tests can assert
// on exactly what a client sent.
class RequestLog {
public:
    ~RequestLog();
    bool open(const std::string& path);
    void append(const httplib::Request& request, const std::string& verdict = std::string());

    // The JSON object written for a request (also used by the tests' reader);
    // a non-empty verdict is added as "verdict".
    static JsonValue describe(const httplib::Request& request, const std::string& verdict = std::string());

private:
    std::mutex mutex_;
    FILE* file_ = nullptr;
};
