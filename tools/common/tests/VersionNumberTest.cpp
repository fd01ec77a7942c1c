#include "VersionNumber.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

const std::wstring k200Nines = std::wstring(200, L'9');
const std::wstring k200Parts = [] {
    std::wstring text;
    while (text.size() < 200)
        text += L"1.";
    return text;
}();

TEST(VersionNumberTest, NumberJoinsThePartsDigits)
{
    struct Row {
        std::wstring version;
        int number;
    };
    const Row rows[] = {
        {L"1.1.1.81", 11181},
        {L"1.1.2.0", 1120},
        {L"1.10", 110},
        {L"", 0},
        {L"x", 0},
        {L"1.2x.3", 12},
        {L"2147483647", INT_MAX},
        {L"2147483648", INT_MAX},
        {k200Nines, INT_MAX},
        // Only the first 99 characters are read.
        {std::wstring(98, L'0') + L"7", 7},
        {std::wstring(99, L'0') + L"7", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.version.begin(), row.version.end()));
        EXPECT_EQ(VersionToNumber(row.version.c_str()), row.number);
    }
    EXPECT_EQ(VersionToNumber(nullptr), 0);
}

TEST(VersionNumberTest, VersionsCompareNumericallyPartByPart)
{
    struct Row {
        std::wstring a;
        std::wstring b;
        int order;  // sign of the comparison
    };
    const Row rows[] = {
        {L"1.1.1.81", L"1.1.2.0", -1},   // the joined numbers would say 11181 > 1120
        {L"1.1.2.0", L"1.1.1.81", 1},
        {L"1.1.1.81", L"1.1.1.81", 0},
        {L"1.10", L"1.9", 1},
        {L"1.1", L"1.1.0.0", 0},
        {L"1.1", L"1.1.0.1", -1},
        {L"", L"0", 0},
        {L"x", L"0.0", 0},
        {L"", L"1.1.1.81", -1},
        {k200Nines, L"9", 1},
        {k200Parts, k200Parts + L"5", 0},  // beyond 99 characters nothing counts
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.a.begin(), row.a.end()) + " vs " + std::string(row.b.begin(), row.b.end()));
        int order = CompareVersions(row.a.c_str(), row.b.c_str());
        EXPECT_EQ((order > 0) - (order < 0), row.order);
    }
}

} // namespace
