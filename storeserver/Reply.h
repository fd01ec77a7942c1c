#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class JsonValue;

// What a route answers, before faults and byte ranges are applied. The body is
// either text held in memory or a file streamed from disk.
struct Reply {
    int status = 200;
    std::string contentType = "text/plain; charset=utf-8";
    std::string text;
    std::string filePath;
    uint64_t fileSize = 0;
    std::vector<std::pair<std::string, std::string>> headers;
    // What the route concluded about the request, written into its log line
    // (only routes that judge their input set it).
    std::string verdict;

    bool isFile() const { return !filePath.empty(); }

    static Reply json(const JsonValue& value);
    static Reply html(std::string page);
    static Reply plain(int status, std::string text);
    // Not found when path is no regular file.
    static Reply file(std::string path, std::string contentType);
    static Reply redirect(const std::string& location);
    static Reply notFound();
};
