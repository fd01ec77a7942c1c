#include "ClientFolder.h"
#include "OemText.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

TEST(ClientFolderTest, OnlyFoldersNamedOrbelaBelowARootHaveTheClientFolderShape)
{
    // Room is kept for the names the wizards put in the folder: 235 characters at most.
    const std::wstring longest = L"C:\\" + std::wstring(225, L'a') + L"\\Orbela";
    const struct {
        std::wstring folder;
        bool shape;
    } rows[] = {
        {L"C:\\Games\\Orbela", true},
        {L"C:\\Games\\orbela", true},
        {L"\\\\server\\share\\Orbela", true},
        {L"C:\\Orbela", true},
        {L"", false},
        {L"Orbela", false},
        {L"C:Orbela", false},
        {L"C:\\", false},
        {L"C:", false},
        {L"\\\\server\\Orbela", false},
        {L"C:\\Windows", false},
        {L"C:\\Games\\Client", false},
        {L"C:\\Games\\MyOrbela", false},
        {L"C:\\Games\\Orbela\\", false},
        {L"C:\\Games\\..\\Orbela", false},
        {L"C:\\Games\\.\\Orbela", false},
        {longest, true},
        {L"C:\\" + std::wstring(226, L'a') + L"\\Orbela", false},
        {L"C:\\" + std::wstring(150, L'L') + L"\\" + std::wstring(149, L'M') + L"\\Orbela", false},
    };
    ASSERT_EQ(longest.size(), 235u);
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.folder.begin(), row.folder.end()));
        EXPECT_EQ(IsClientFolderShape(row.folder), row.shape);
    }
}

TEST(ClientFolderTest, RootsAndParents)
{
    EXPECT_TRUE(IsRootFolder(L"D:\\"));
    EXPECT_TRUE(IsRootFolder(L"D:\\\\"));
    EXPECT_TRUE(IsRootFolder(L"\\\\server\\share\\"));
    EXPECT_FALSE(IsRootFolder(L"D:\\Games"));
    EXPECT_FALSE(IsRootFolder(L"\\\\server\\share\\Games"));
    EXPECT_EQ(ParentFolderOf(L"D:\\Games\\Orbela"), L"D:\\Games");
    EXPECT_EQ(ParentFolderOf(L"D:\\Orbela"), L"D:");
    EXPECT_EQ(WithoutTrailingBackslashes(L"D:\\Games\\Orbela\\\\"), L"D:\\Games\\Orbela");
}

TEST(ClientFolderTest, HoldsClientOnlyWithTheClientFile)
{
    std::wstring folder = FreshTempFolder(L"client-folder", L"Orbela");
    EXPECT_FALSE(HoldsClient(folder));
    CreateDirectoryW((folder + L"\\Orbela.exe").c_str(), NULL);
    EXPECT_FALSE(HoldsClient(folder)) << "a folder named Orbela.exe is no client";
    RemoveDirectoryW((folder + L"\\Orbela.exe").c_str());
    HANDLE file = CreateFileW((folder + L"\\Orbela.exe").c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_TRUE(HoldsClient(folder));
}

TEST(ClientFolderTest, LongPathsAreFoundAndOnlyANotFoundIsMissing)
{
    // Three levels below the test folder, past every short-path call.
    std::wstring folder = FreshTempFolder(L"client-folder-long", L"x");
    for (const std::wstring& part : { std::wstring(150, L'L'), std::wstring(149, L'M'), std::wstring(L"Orbela") }) {
        folder += L"\\" + part;
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + folder).c_str(), NULL)) << "cannot make the long folder";
    }
    ASSERT_GT(folder.size(), static_cast<size_t>(MAX_PATH));
    HANDLE file = CreateFileW((L"\\\\?\\" + folder + L"\\Orbela.exe").c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, 0, NULL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);

    const struct {
        std::wstring path;
        PathKind kind;
    } rows[] = {
        {folder, PathKind::Folder},
        {folder + L"\\Orbela.exe", PathKind::File},
        {folder + L"\\missing", PathKind::Missing},
        {ParentFolderOf(folder) + L"\\Gone\\Orbela", PathKind::Missing},
        {FreshTempFolder(L"client-folder-long", L"short"), PathKind::Folder},
        {L"C:\\no such folder\\Orbela", PathKind::Missing},
        {L"C:\\a<b>\\Orbela", PathKind::Unknown},
        {L"", PathKind::Unknown},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.path.begin(), row.path.end()));
        EXPECT_EQ(KindOfPath(row.path), row.kind);
    }
    EXPECT_TRUE(HoldsClient(folder)) << "the client file is found in a long folder";
    EXPECT_FALSE(IsClientFolderShape(folder)) << "but the folder is too long to be removed";
}

TEST(OemTextTest, WideToAnsiUsesTheAnsiCodePage)
{
    EXPECT_EQ(WideToAnsi(L""), "");
    EXPECT_EQ(WideToAnsi(L"1.1.1.82"), "1.1.1.82");
    EXPECT_EQ(AnsiToWide(""), L"");
    EXPECT_EQ(AnsiToWide(std::string("1.1.1.82\0tail", 13)), L"1.1.1.82");
    if (GetACP() == 1252) {
        EXPECT_EQ(WideToAnsi(L"Gr\u00f6\u00dfe"), "Gr\xf6\xdf" "e");
        EXPECT_EQ(AnsiToWide("Gr\xf6\xdf" "e"), L"Gr\u00f6\u00dfe");
    }
}

} // namespace
