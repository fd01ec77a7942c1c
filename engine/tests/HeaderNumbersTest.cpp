// The numbers the engine reads from answer headers: what is refused matters
// as much as what is read, since a refused number fails the download.
#include "HeaderNumbers.h"

#include <gtest/gtest.h>

namespace {

using xldl::ContentRange;

TEST(HeaderNumbers, CountsAreDigitsThatFit64Bits)
{
    struct Row {
        const char *text;
        bool read;
        int64_t value;
    };
    const Row rows[] = {
        {"0", true, 0},
        {"205202", true, 205202},
        {"  42\t", true, 42},
        {"007", true, 7},
        {"9223372036854775807", true, INT64_MAX},
        {"9223372036854775808", false, 0},
        {"99999999999999999999", false, 0},
        {"18446744073709551616", false, 0},
        {"-1", false, 0},
        {"+5", false, 0},
        {"", false, 0},
        {"   ", false, 0},
        {"4 2", false, 0},
        {"42abc", false, 0},
        {"0x10", false, 0},
        {"1e3", false, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string("\"") + row.text + "\"");
        int64_t value = -77;
        EXPECT_EQ(xldl::parseHeaderCount(row.text, value), row.read);
        EXPECT_EQ(value, row.read ? row.value : -77) << "a refused text leaves the value alone";
    }
}

TEST(HeaderNumbers, ContentRangesAreReadWhole)
{
    struct Row {
        const char *text;
        bool read;
        ContentRange range;
    };
    const Row rows[] = {
        {"bytes 0-99/5242880", true, {0, 99, 5242880}},
        {"bytes 100-199/200", true, {100, 199, 200}},
        {"BYTES 1-1/2", true, {1, 1, 2}},
        {"  bytes  5 - 9 / 10 ", true, {5, 9, 10}},
        {"bytes */1000", true, {-1, -1, 1000}},
        {"bytes 100-199/*", true, {100, 199, -1}},
        {"bytes 0-9223372036854775806/9223372036854775807", true, {0, 9223372036854775806, INT64_MAX}},
        {"bytes 0-99/99999999999999999999", false, {}},
        {"bytes 0-99999999999999999999/5", false, {}},
        {"bytes -1-99/100", false, {}},
        {"bytes 0--1/100", false, {}},
        {"bytes 99-0/100", false, {}},
        {"bytes 0-100/100", false, {}},
        {"bytes */*", false, {}},
        {"bytes 0-99", false, {}},
        {"bytes0-99/100", false, {}},
        {"items 0-99/100", false, {}},
        {"bytes /100", false, {}},
        {"", false, {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string("\"") + row.text + "\"");
        ContentRange range{-5, -5, -5};
        EXPECT_EQ(xldl::parseContentRange(row.text, range), row.read);
        const ContentRange expected = row.read ? row.range : ContentRange{-5, -5, -5};
        EXPECT_EQ(range.first, expected.first);
        EXPECT_EQ(range.last, expected.last);
        EXPECT_EQ(range.total, expected.total);
    }
}

} // namespace
