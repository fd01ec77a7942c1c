#include "MachineDescription.h"
#include "OemText.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace {

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

TEST(MachineTextTest, PowerTextTellsDesktopFromLaptop)
{
    struct Row {
        unsigned char ac, flag, percent;
        int isDesktop;
        const char* text;
    };
    const Row rows[] = {
        {1, 128, 255, 1, "desktop:1/128/255%"},
        {0, 1, 80, 0, "laptop:0/1/80%"},      // on battery, high
        {1, 8, 100, 0, "laptop:1/8/100%"},     // charging
        {1, 128, 100, 0, "laptop:1/128/100%"},
        {255, 255, 255, 0, "laptop:255/255/255%"},  // all unknown
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::string text = "old";
        EXPECT_EQ(FormatPowerText(row.ac, row.flag, row.percent, text), row.isDesktop);
        EXPECT_EQ(text, row.text);
    }
}

TEST(MachineTextTest, MemoryTextCountsWholeGigabytesAsInts)
{
    const unsigned long long GB = 1ull << 30;
    struct Row {
        unsigned long long total, available;
        const char* text;
    };
    const Row rows[] = {
        {GB * 159 / 10, GB * 75 / 10, "15G ( 7G available )"},
        {GB - 1, 0, "0G ( 0G available )"},
        {GB * 64, GB * 64, "64G ( 64G available )"},
        {GB * 4096 + 5, GB * 2048, "4096G ( 2048G available )"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(Narrow(FormatMemoryText(row.total, row.available)), row.text);
    }
}

TEST(MachineTextTest, MacTextIsSixUpperCasePairs)
{
    const unsigned char mac[6] = {0x00, 0x1a, 0x2b, 0x3c, 0x4d, 0xfe};
    EXPECT_EQ(FormatMacText(mac), "00:1A:2B:3C:4D:FE");
}

TEST(MachineTextTest, MetricsAndCpuBrandTexts)
{
    EXPECT_EQ(Narrow(FormatMetricsText(1920, 1080, 60, 32)), "1920 * 1080 ( 60Hz / 32Bit )");
    // Brand text with leading spaces, as some processors report it.
    char brand[49] = "       Intel(R) Core(TM) i7 CPU  920  @ 2.67GHz";
    CpuidRegisters leaves[3];
    std::memcpy(leaves, brand, 48);
    EXPECT_EQ(Narrow(FormatCpuBrand(leaves)), brand);
}

TEST(MachineTextTest, FormatStringMeasuresThenFormats)
{
    std::string long200(200, 'z');
    EXPECT_EQ(FormatString("%s-%d-%%", long200.c_str(), 42), long200 + "-42-%");
    EXPECT_EQ(FormatString("%s", ""), "");
}

TEST(MachineTextTest, WideTextGoesToTheOemCodePage)
{
    char* plain = WideToOem(L"Orbela 1.1");
    ASSERT_NE(plain, nullptr);
    EXPECT_STREQ(plain, "Orbela 1.1");
    delete[] plain;
    char* accented = WideToOem(L"\u00e9");
    ASSERT_NE(accented, nullptr);
    // Code page 437 (the default here) has e-acute at 0x82.
    if (GetOEMCP() == 437) {
        EXPECT_STREQ(accented, "\x82");
        EXPECT_EQ(OemToWide(accented), L"\u00e9");
    }
    delete[] accented;
    // Code page 936 (LC_ALL=zh_CN.UTF-8): the GBK bytes.
    char* chinese = WideToOem(L"\u5378\u8f7d");  // 卸载
    ASSERT_NE(chinese, nullptr);
    if (GetOEMCP() == 936) {
        EXPECT_STREQ(chinese, "\xD0\xB6\xD4\xD8");
        EXPECT_EQ(OemToWide(chinese), L"\u5378\u8f7d");
    }
    delete[] chinese;
    EXPECT_EQ(WideToOem(nullptr), nullptr);
}

TEST(MachineTextTest, OemStringStopsAtTheFirstNul)
{
    EXPECT_EQ(WideToOemString(L""), "");
    EXPECT_EQ(WideToOemString(L"Orbela 1.1"), "Orbela 1.1");
    EXPECT_EQ(WideToOemString(std::wstring(L"1.1.1.82\0tail", 13)), "1.1.1.82");
    if (GetOEMCP() == 437) {
        EXPECT_EQ(WideToOemString(L"\u00e9"), "\x82");
    }
}

} // namespace
