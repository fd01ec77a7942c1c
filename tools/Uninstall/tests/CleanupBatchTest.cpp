#include "SelfDelete.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

bool Has(const std::wstring& text, const std::wstring& line)
{
    return text.find(line + L"\r\n") != std::wstring::npos;
}

TEST(CleanupBatchTest, RunFromTheClientFolderRemovesItAndAnEmptyRoot)
{
    std::wstring text = CleanupBatchText(L"D:\\My Games\\Orbela\\Uninstall.exe", L"D:\\My Games\\orbela");
    EXPECT_EQ(text.rfind(L"@echo off\r\n", 0), 0u);
    EXPECT_TRUE(Has(text, L"del /f /q \"D:\\My Games\\Orbela\\Uninstall.exe\" >nul 2>nul"));
    EXPECT_TRUE(Has(text, L"if not exist \"D:\\My Games\\Orbela\\Uninstall.exe\" goto removed"));
    EXPECT_TRUE(Has(text, L"if %tries% geq 30 goto removed")) << "bounded by count";
    EXPECT_TRUE(Has(text, L"ping -n 2 -w 1000 127.0.0.1 >nul")) << "a pause of about a second";
    EXPECT_TRUE(Has(text, L"rd /s /q \"D:\\My Games\\orbela\""));
    EXPECT_TRUE(Has(text, L"rd \"D:\\My Games\" >nul 2>nul"));
    EXPECT_EQ(text.find(L"CD "), std::wstring::npos) << "the batch never changes its folder";
    EXPECT_EQ(text.substr(text.size() - 12), L"del \"%~f0\"\r\n");
    // Deleting comes before removing the folders, removing before the batch goes.
    EXPECT_LT(text.find(L"del /f"), text.find(L"rd /s"));
    EXPECT_LT(text.find(L"rd /s"), text.find(L"del \"%~f0\""));
}

TEST(CleanupBatchTest, ACopyElsewhereGoesAloneAndARootIsNeverRemoved)
{
    std::wstring copy = CleanupBatchText(L"C:\\Downloads\\Uninstall (1).exe", L"C:\\Games\\Orbela");
    EXPECT_TRUE(Has(copy, L"del /f /q \"C:\\Downloads\\Uninstall (1).exe\" >nul 2>nul"));
    EXPECT_EQ(copy.find(L"rd "), std::wstring::npos);

    std::wstring atRoot = CleanupBatchText(L"E:\\Orbela\\Uninstall.exe", L"E:\\Orbela");
    EXPECT_TRUE(Has(atRoot, L"rd /s /q \"E:\\Orbela\""));
    EXPECT_EQ(atRoot.find(L"rd \"E:"), std::wstring::npos) << "E:\\ is a root";

    std::wstring noFolder = CleanupBatchText(L"C:\\Games\\Orbela\\Uninstall.exe", L"");
    EXPECT_EQ(noFolder.find(L"rd "), std::wstring::npos) << "a vanished client folder: no folder is touched";

    std::wstring percent = CleanupBatchText(L"C:\\100%\\Orbela\\Uninstall.exe", L"C:\\100%\\Orbela");
    EXPECT_TRUE(Has(percent, L"rd /s /q \"C:\\100%\\Orbela\"")) << "written as it is, never used as a format";
}

TEST(CleanupBatchTest, PathsTheOemCodePageCannotHoldBecomeShortNames)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring plain = std::wstring(temp) + L"batch plain";
    EXPECT_EQ(PathForBatch(plain), plain);
    if (GetOEMCP() == 936)
        GTEST_SKIP() << "code page 936 holds the Chinese folder name";
    std::wstring chinese = std::wstring(temp) + L"卸载测试";
    CreateDirectoryW(chinese.c_str(), NULL);
    std::wstring shortName = PathForBatch(chinese);
    EXPECT_NE(shortName, chinese);
    EXPECT_EQ(shortName.find(L"卸载"), std::wstring::npos);
    EXPECT_NE(GetFileAttributesW(shortName.c_str()), INVALID_FILE_ATTRIBUTES) << "the short name names the folder";
    RemoveDirectoryW(chinese.c_str());
}

} // namespace
