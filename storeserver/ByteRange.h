#pragma once

#include <cstdint>
#include <string>

// How a "Range" request header applies to a body of a given size.
struct ByteRange {
    enum class Kind { Whole, Partial, Unsatisfiable };
    Kind kind = Kind::Whole;
    uint64_t first = 0;
    uint64_t length = 0;

    // Single ranges only: "a-b", open-ended "a-" and suffix "-n". Several ranges,
    // other units and unreadable headers are ignored (the whole body is sent),
    // as HTTP allows.
    static ByteRange resolve(const std::string& header, uint64_t size);
    std::string contentRange(uint64_t size) const;
};
