// Numbers in HTTP answer headers, read strictly: a value that is not a plain
// count, or that does not fit 64 bits, is refused rather than guessed at, so a
// lying server cannot make a short body look like a whole file.
#pragma once

#include <cstdint>
#include <string>

namespace xldl {

// A count of bytes: decimal digits with optional blanks around them. False
// for an empty text, a sign, any other character, or a value above INT64_MAX.
bool parseHeaderCount(const std::string &text, int64_t &value);

// A Content-Range value. first and last are -1 for "bytes */TOTAL", total is
// -1 for "bytes FIRST-LAST/*".
struct ContentRange {
    int64_t first = -1;
    int64_t last = -1;
    int64_t total = -1;
};

// "bytes FIRST-LAST/TOTAL", "bytes */TOTAL" or "bytes FIRST-LAST/*". False when
// it is none of these, a number is refused by parseHeaderCount, LAST is below
// FIRST, or LAST is not below TOTAL.
bool parseContentRange(const std::string &text, ContentRange &range);

// Whether a 206's range is the rest of the file asked for from offset (0
// without a resume), exactly: it starts there, states a total and runs to its
// end, and agrees with the answer's Content-Length and with a total known from
// earlier answers (each -1 when there is none).
bool rangeFitsRequest(const ContentRange &range, int64_t offset, int64_t length, int64_t knownTotal);

} // namespace xldl
