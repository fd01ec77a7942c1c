#include "ExtractorRunner.h"
#include "FreshFile.h"
#include "ProductPage.h"
#include "TempFolder.h"
#include "UninstallEntry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadAll(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteText(const std::wstring& path, const std::string& text)
{
    std::ofstream file(path.c_str(), std::ios::binary);
    file << text;
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(FreshFileTest, AnOldFileIsReplacedAndTheNewOneChecked)
{
    const std::wstring path = FreshTempFolder(L"fresh", L"replace") + L"\\orbela.7z";
    WriteText(path, std::string(9000000, 'o'));
    const std::string bytes(5000000, 'n');  // more than one piece
    for (FreshFileCheck check : { FreshFileCheck::Size, FreshFileCheck::Bytes }) {
        EXPECT_EQ(FreshFileResult::Written, WriteFreshFile(path.c_str(), bytes.data(), bytes.size(), check));
        EXPECT_EQ(bytes, ReadAll(path));
    }
}

TEST(FreshFileTest, AFileThatCannotBeDeletedIsAFailure)
{
    const std::wstring path = FreshTempFolder(L"fresh", L"locked") + L"\\7z.exe";
    WriteText(path, "old");
    // Held open without delete sharing, as a running extractor would be.
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(FreshFileResult::Failed, WriteFreshFile(path.c_str(), "new", 3, FreshFileCheck::Bytes));
    CloseHandle(held);
    EXPECT_EQ("old", ReadAll(path));
}

TEST(FreshFileTest, AStopLeavesNoPartialFile)
{
    const std::wstring path = FreshTempFolder(L"fresh", L"stop") + L"\\orbela.7z";
    WriteText(path, "old");
    volatile LONG stop = 1;
    const std::string bytes(100, 'n');
    EXPECT_EQ(FreshFileResult::Stopped, WriteFreshFile(path.c_str(), bytes.data(), bytes.size(), FreshFileCheck::Size, &stop));
    EXPECT_FALSE(Exists(path));
    EXPECT_EQ(FreshFileResult::Failed,
              WriteFreshFile((path + L"\\no-such-folder\\x").c_str(), bytes.data(), bytes.size(), FreshFileCheck::Size));
}

TEST(ExtractorRunnerTest, EveryPathIsQuoted)
{
    EXPECT_EQ(L"\"C:\\temp dir\\7z.exe\" x \"C:\\temp dir\\orbela.7z\" -y -o\"C:\\My Games\"",
              ExtractorCommandLine(L"C:\\temp dir\\7z.exe", L"C:\\temp dir\\orbela.7z", L"C:\\My Games"));
}

TEST(ExtractorRunnerTest, AnExtractorThatCannotStartAnswersMinusOne)
{
    const std::wstring folder = FreshTempFolder(L"extractor", L"out");
    EXPECT_EQ(-1, RunExtractor(folder + L"\\missing.exe", folder + L"\\orbela.7z", folder));
}

TEST(UninstallEntryTest, TheSevenValuesAndTheirDeletion)
{
    SetEnvironmentVariableW(L"ORBELA_PRODUCT_PAGE", L"https://example.invalid/orbela");
    ASSERT_TRUE(WriteUninstallEntry(L"E:\\Games\\Orbela", L"1.1.1.81"));
    const struct {
        const wchar_t* name;
        const wchar_t* value;
    } rows[] = {
        { L"DisplayIcon", L"E:\\Games\\Orbela\\Orbela.exe" },
        { L"InstallLocation", L"E:\\Games\\Orbela" },
        { L"UninstallString", L"\"E:\\Games\\Orbela\\Uninstall.exe\"" },
        { L"Publisher", L"Halvern" },
        { L"DisplayVersion", L"1.1.1.81" },
        { L"DisplayName", L"Orbela" },
        { L"URLInfoAbout", L"https://example.invalid/orbela" },
    };
    for (const auto& row : rows) {
        std::wstring value;
        EXPECT_TRUE(ReadUninstallValue(row.name, value)) << row.name;
        EXPECT_EQ(row.value, value);
    }
    SetEnvironmentVariableW(L"ORBELA_PRODUCT_PAGE", NULL);
    EXPECT_TRUE(DeleteUninstallEntry());
    std::wstring value;
    EXPECT_FALSE(ReadUninstallValue(L"DisplayName", value));
    EXPECT_TRUE(DeleteUninstallEntry());  // an entry that is not there is gone too
}

TEST(ProductPageTest, OnlyWebAddressesGoToTheBrowser)
{
    EXPECT_TRUE(IsWebAddress(L"http://127.0.0.1:8801/"));
    EXPECT_TRUE(IsWebAddress(L"HTTPS://orbela.example/"));
    EXPECT_FALSE(IsWebAddress(L"file:///C:/windows/system32/calc.exe"));
    EXPECT_FALSE(IsWebAddress(L"C:\\windows\\notepad.exe"));
    EXPECT_FALSE(IsWebAddress(L""));
}

} // namespace
