#include "FolderTreeRemoval.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

void WriteFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL)
{
    HANDLE file = CreateFileW(LongPathOf(path).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, attributes, NULL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, "x", 1, &written, NULL);
    CloseHandle(file);
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(LongPathOf(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(FolderTreeRemovalTest, LongPathForm)
{
    const struct {
        const wchar_t* path;
        const wchar_t* longPath;
    } rows[] = {
        {L"C:\\Games\\Orbela", L"\\\\?\\C:\\Games\\Orbela"},
        {L"C:/Games/Orbela", L"\\\\?\\C:\\Games\\Orbela"},
        {L"\\\\server\\share\\Orbela", L"\\\\?\\UNC\\server\\share\\Orbela"},
        {L"\\\\?\\C:\\Games", L"\\\\?\\C:\\Games"},
        {L"Orbela", L"Orbela"},
        {L"C:", L"C:"},
        {L"", L""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.path, row.path + wcslen(row.path)));
        EXPECT_EQ(LongPathOf(row.path), row.longPath);
    }
}

TEST(FolderTreeRemovalTest, AWholeTreeGoesReadOnlyEntriesIncluded)
{
    std::wstring tree = FreshTempFolder(L"tree-removal", L"whole");
    CreateDirectoryW((tree + L"\\a").c_str(), NULL);
    CreateDirectoryW((tree + L"\\a\\b").c_str(), NULL);
    WriteFile(tree + L"\\top.txt");
    WriteFile(tree + L"\\a\\b\\deep.txt");
    WriteFile(tree + L"\\a\\locked.txt", FILE_ATTRIBUTE_READONLY);
    CreateDirectoryW((tree + L"\\fixed").c_str(), NULL);
    SetFileAttributesW((tree + L"\\fixed").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(IsRealFolder(tree));
    EXPECT_TRUE(RemoveFolderTree(tree));
    EXPECT_FALSE(Exists(tree));
    EXPECT_TRUE(RemoveFolderTree(tree)) << "a missing path is gone already";
}

TEST(FolderTreeRemovalTest, AFileIsRemovedAsItself)
{
    std::wstring folder = FreshTempFolder(L"tree-removal", L"file");
    WriteFile(folder + L"\\name");
    EXPECT_FALSE(IsRealFolder(folder + L"\\name"));
    EXPECT_TRUE(RemoveFolderTree(folder + L"\\name"));
    EXPECT_FALSE(Exists(folder + L"\\name"));
    EXPECT_TRUE(Exists(folder));
}

TEST(FolderTreeRemovalTest, PathsPastMaxPathAreRemoved)
{
    std::wstring folder = FreshTempFolder(L"tree-removal", L"long");
    std::wstring deep = folder;
    for (int level = 0; level < 4; ++level) {
        deep += L"\\" + std::wstring(90, static_cast<wchar_t>(L'a' + level));
        ASSERT_TRUE(CreateDirectoryW(LongPathOf(deep).c_str(), NULL));
    }
    ASSERT_GT(deep.size(), static_cast<size_t>(MAX_PATH));
    WriteFile(deep + L"\\file.txt");
    ASSERT_TRUE(Exists(deep + L"\\file.txt"));
    EXPECT_TRUE(RemoveFolderTree(folder));
    EXPECT_FALSE(Exists(folder));
}

TEST(FolderTreeRemovalTest, AFileThatCannotGoIsReported)
{
    std::wstring folder = FreshTempFolder(L"tree-removal", L"held");
    WriteFile(folder + L"\\held.txt");
    WriteFile(folder + L"\\free.txt");
    HANDLE held = CreateFileW((folder + L"\\held.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0,
                              NULL);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(RemoveFolderTree(folder)) << "a file held open without delete sharing stays";
    EXPECT_TRUE(Exists(folder + L"\\held.txt"));
    EXPECT_FALSE(Exists(folder + L"\\free.txt"));
    CloseHandle(held);
    EXPECT_TRUE(RemoveFolderTree(folder));
}

} // namespace
