#include "FolderTreeRemoval.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace {

void WriteFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL, const char* text = "x")
{
    HANDLE file = CreateFileW(LongPathOf(path).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, attributes, NULL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, NULL);
    CloseHandle(file);
}

// A folder path of four 90-character parts below the folder, made; empty
// when a part could not be made.
std::wstring MakeDeepFolder(const std::wstring& folder)
{
    std::wstring deep = folder;
    for (int level = 0; level < 4; ++level) {
        deep += L"\\" + std::wstring(90, static_cast<wchar_t>(L'a' + level));
        if (!CreateDirectoryW(LongPathOf(deep).c_str(), NULL))
            return std::wstring();
    }
    return deep;
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
    const std::wstring deep = MakeDeepFolder(folder);
    ASSERT_FALSE(deep.empty()) << "the deep folder was not made";
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

std::wstring ShortNameOf(const std::wstring& path)
{
    wchar_t shortPath[MAX_PATH] = { 0 };
    DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(shortPath, length) : std::wstring();
}

std::wstring UpperCopy(std::wstring text)
{
    CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

std::string ContentOf(const std::wstring& path)
{
    HANDLE file = CreateFileW(LongPathOf(path).c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return "<none>";
    char bytes[64];
    DWORD read = 0;
    ReadFile(file, bytes, sizeof(bytes), &read, NULL);
    CloseHandle(file);
    return std::string(bytes, read);
}

// An entry is itself when a handle opened on it carries its own name: every
// spelling of a real entry, and a hard link, which is a name of its own.
// (Links Wine hides are rows of the helper probe's script, which makes them.)
TEST(FolderTreeRemovalTest, AnEntryIsItselfUnderEverySpellingOfItsOwnName)
{
    std::wstring folder = FreshTempFolder(L"tree-removal", L"itself");
    WriteFile(folder + L"\\Long File Name.txt");
    ASSERT_TRUE(CreateHardLinkW((folder + L"\\second name.txt").c_str(), (folder + L"\\Long File Name.txt").c_str(), NULL));
    CreateDirectoryW((folder + L"\\Sub Folder").c_str(), NULL);
    const std::wstring deep = MakeDeepFolder(folder);
    ASSERT_FALSE(deep.empty());
    WriteFile(deep + L"\\file.txt");
    const std::wstring shortName = ShortNameOf(folder + L"\\Long File Name.txt");
    ASSERT_FALSE(shortName.empty());
    const struct {
        const char* what;
        std::wstring path;
        bool itself;
    } rows[] = {
        { "a file", folder + L"\\Long File Name.txt", true },
        { "its short spelling", shortName, true },
        { "another case", UpperCopy(folder + L"\\Long File Name.txt"), true },
        { "a trailing backslash on a folder", folder + L"\\Sub Folder\\", true },
        { "a hard link", folder + L"\\second name.txt", true },
        { "a folder", folder + L"\\Sub Folder", true },
        { "a file past MAX_PATH", deep + L"\\file.txt", true },
        { "a missing entry", folder + L"\\missing.txt", false },
        { "a drive root", L"C:\\", false },
        { "no path", L"", false },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(IsEntryItself(row.path), row.itself);
    }
    EXPECT_TRUE(IsRealFolder(folder + L"\\Sub Folder"));
    EXPECT_TRUE(IsRealFolder(deep));
    EXPECT_FALSE(IsRealFolder(folder + L"\\second name.txt"));
    EXPECT_FALSE(IsRealFolder(L"C:\\"));
}

TEST(FolderTreeRemovalTest, EverySpellingOfAFolderOpensUnderOneName)
{
    std::wstring folder = FreshTempFolder(L"tree-removal", L"A Long Folder Name");
    const std::wstring name = OpenedNameOf(folder);
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(OpenedNameOf(ShortNameOf(folder)), name);
    EXPECT_EQ(CompareStringOrdinal(OpenedNameOf(UpperCopy(folder) + L"\\").c_str(), -1, name.c_str(), -1, TRUE),
              CSTR_EQUAL);
    EXPECT_EQ(OpenedNameOf(L"C:\\").back(), L'\\') << "a drive root keeps its backslash";
    EXPECT_EQ(OpenedNameOf(L"C:"), OpenedNameOf(L"C:\\")) << "a bare drive is its root";
    EXPECT_EQ(OpenedNameOf(folder + L"\\missing"), L"");
}

TEST(FolderTreeRemovalTest, SingleRemovalsTakeOnlyWhatTheyMayTake)
{
    std::wstring folder = FreshTempFolder(L"tree-removal", L"single");
    WriteFile(folder + L"\\plain.txt");
    WriteFile(folder + L"\\locked.txt", FILE_ATTRIBUTE_READONLY);
    CreateDirectoryW((folder + L"\\full").c_str(), NULL);
    WriteFile(folder + L"\\full\\inside.txt");
    CreateDirectoryW((folder + L"\\empty").c_str(), NULL);
    CreateDirectoryW((folder + L"\\empty2").c_str(), NULL);

    EXPECT_TRUE(RemoveEntryItself(folder + L"\\plain.txt"));
    EXPECT_FALSE(Exists(folder + L"\\plain.txt"));
    EXPECT_TRUE(RemoveEntryItself(folder + L"\\locked.txt")) << "a read-only file goes";
    EXPECT_TRUE(RemoveEntryItself(folder + L"\\missing.txt")) << "nothing there is gone already";
    EXPECT_FALSE(RemoveEntryItself(folder + L"\\full")) << "a folder that holds a file stays";
    EXPECT_TRUE(Exists(folder + L"\\full\\inside.txt"));
    EXPECT_TRUE(RemoveEntryItself(folder + L"\\empty2"));

    EXPECT_FALSE(RemoveEmptyFolder(folder + L"\\full"));
    EXPECT_TRUE(Exists(folder + L"\\full\\inside.txt"));
    EXPECT_FALSE(RemoveEmptyFolder(folder + L"\\full\\inside.txt")) << "a file is no folder";
    EXPECT_TRUE(Exists(folder + L"\\full\\inside.txt"));
    EXPECT_FALSE(RemoveEmptyFolder(folder + L"\\missing"));
    EXPECT_FALSE(RemoveEmptyFolder(L"C:\\")) << "a root is never removed";
    EXPECT_TRUE(RemoveEmptyFolder(folder + L"\\empty"));
    EXPECT_FALSE(Exists(folder + L"\\empty"));
}

TEST(FolderTreeRemovalTest, AMoveTakesTheEntryItselfAndReplacesOnlyWhenAsked)
{
    std::wstring folder = FreshTempFolder(L"tree-removal", L"move");
    WriteFile(folder + L"\\old.txt", FILE_ATTRIBUTE_NORMAL, "old");
    WriteFile(folder + L"\\client.txt", FILE_ATTRIBUTE_NORMAL, "client");
    EXPECT_FALSE(MoveEntryItself(folder + L"\\old.txt", folder + L"\\client.txt", false));
    EXPECT_EQ(ContentOf(folder + L"\\client.txt"), "client");
    EXPECT_EQ(ContentOf(folder + L"\\old.txt"), "old");
    EXPECT_TRUE(MoveEntryItself(folder + L"\\old.txt", folder + L"\\client.txt", true));
    EXPECT_EQ(ContentOf(folder + L"\\client.txt"), "old");
    EXPECT_FALSE(Exists(folder + L"\\old.txt"));
    EXPECT_FALSE(MoveEntryItself(folder + L"\\missing.txt", folder + L"\\other.txt", true));

    // A folder with what it holds, and a file into a path past MAX_PATH.
    CreateDirectoryW((folder + L"\\kept").c_str(), NULL);
    WriteFile(folder + L"\\kept\\inside.txt", FILE_ATTRIBUTE_NORMAL, "inside");
    EXPECT_TRUE(MoveEntryItself(folder + L"\\kept", folder + L"\\staging", false));
    EXPECT_EQ(ContentOf(folder + L"\\staging\\inside.txt"), "inside");
    const std::wstring deep = MakeDeepFolder(folder);
    ASSERT_FALSE(deep.empty());
    EXPECT_TRUE(MoveEntryItself(folder + L"\\client.txt", deep + L"\\client.txt", false));
    EXPECT_EQ(ContentOf(deep + L"\\client.txt"), "old");
    EXPECT_TRUE(MoveEntryItself(deep + L"\\client.txt", folder + L"\\back.txt", false));
    EXPECT_EQ(ContentOf(folder + L"\\back.txt"), "old");
}

} // namespace
