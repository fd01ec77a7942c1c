#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

enum class FaultMode {
    None,
    Slow,          // throttled to "amount" bytes a second
    Stall,         // headers and "amount" bytes, then silence until the server stops
    Cut,           // headers with the full length and "amount" bytes, then the connection closes
    IgnoreRange,   // 200 with the whole body whatever the Range header says
    NotFound,      // 404
    BadJson,       // a body that is not valid JSON
    NoAnswer,      // the request is read and never answered
    DelayHeaders,  // the answer starts after "amount" seconds
    Chunked,       // no Content-Length, chunked transfer encoding; "amount" bytes a second when given
    Redirect,      // 302 to "text"
    Status,        // status "amount", with no body (1xx, 204, 304) or a short text
    RangeLie,      // 206 with Content-Range "bytes " + "text" ("START-END/TOTAL") and bytes START to END of the body
    LengthLie,     // Content-Length "text" whatever the body's length; the connection closes after the body
    GarbageStatus, // no valid status line: a few bytes that are not HTTP, then the connection closes
    Encoded,       // the body as it is, labelled "Content-Encoding: gzip"
    DripHeaders,   // a status line, then one header line every "amount" ms (default 500), never their end
    Answer,        // 200 with the file "text" (a path under the data folder) in place of the route's answer
    Drip,          // headers with the full length, then one byte of the body every "amount" ms (default 1000)
    GzipBomb,      // 1 GiB of zeros as about 1 MiB of gzip, labelled "Content-Encoding: gzip", after
                   // holding the headers back "amount" seconds (default none)
};

struct Fault {
    FaultMode mode = FaultMode::None;
    int64_t amount = -1;  // -1: the mode's default
    std::string text;     // the redirect's target path, or the header value a lie states
    std::string answerFile; // "answer:PATH+MODE": the file PATH delivered the way MODE says


    // "MODE" or "MODE:ARG", e.g. "slow:65536", "cut:1000", "delay-headers:2", "redirect:/x",
    // "status:204", "range-lie:0-99/5242880", "length-lie:99999999999999999999", "encoded",
    // "drip-headers:200", "answer:/answers/games.json", "drip:500", "gzip-bomb:8",
    // "answer:/answers/big.json+chunked".
    static bool parse(const std::string& text, Fault& fault, std::string* error);
    static const char* modeName(FaultMode mode);
    std::string describe() const;
};

// Faults by route. A route is an exact path, or a path prefix ending in "*"
// (e.g. "/download/*"); an exact route wins over a prefix, a longer prefix over a shorter.
class FaultTable {
public:
    void set(const std::string& route, const Fault& fault);
    void clear(const std::string& route);
    void clearAll();
    Fault lookup(const std::string& path) const;

private:
    mutable std::mutex mutex_;
    std::map<std::string, Fault> faults_;
};
