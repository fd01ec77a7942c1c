#include "DiskSpace.h"
#include "ResourceFile.h"
#include "UninstallEntry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

std::wstring TempPath(const wchar_t* name)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name;
}

std::string ReadAll(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(SystemFilesTest, ResourceIsWrittenWholeOverAnOldFile)
{
    HRSRC resource = FindResourceW(NULL, MAKEINTRESOURCEW(101), MAKEINTRESOURCEW(10));  // RT_RCDATA
    ASSERT_NE(resource, nullptr);
    std::wstring path = TempPath(L"resource-test.bin");
    {
        std::ofstream old(path.c_str(), std::ios::binary);
        old << std::string(500, 'o');
    }
    ASSERT_TRUE(WriteResourceToFile(path.c_str(), resource));
    EXPECT_EQ(ReadAll(path), std::string("Orbela resource bytes\0\x01\x02\xFE\xFF", 26));

    EXPECT_FALSE(WriteResourceToFile(TempPath(L"no-such-folder\\x.bin").c_str(), resource));
    EXPECT_FALSE(WriteResourceToFile(path.c_str(), NULL));
}

TEST(SystemFilesTest, UninstallValueIsStoredWholeAndReadBack)
{
    std::wstring long200(200, L'L');
    const std::wstring values[] = {long200, L"1.1.1.81", L"C:\\Games\\\u6e38\u620f\\Orbela", L""};
    for (const std::wstring& value : values) {
        EXPECT_TRUE(WriteUninstallValue(L"DisplayVersion", value.c_str()));
        std::wstring read = L"stale";
        EXPECT_TRUE(ReadUninstallValue(L"DisplayVersion", read));
        EXPECT_EQ(read, value);
    }
    std::wstring missing;
    EXPECT_FALSE(ReadUninstallValue(L"NoSuchValue", missing));
    EXPECT_FALSE(WriteUninstallValue(L"DisplayName", nullptr));
}

TEST(SystemFilesTest, FreeSpaceOfAMissingDriveIsZero)
{
    EXPECT_EQ(GetFreeDiskGB(DirectUI::CUIString(L"Q:\\")), 0.0);
    EXPECT_GT(GetFreeDiskGB(DirectUI::CUIString(L"C:\\")), 0.0);
}

} // namespace
