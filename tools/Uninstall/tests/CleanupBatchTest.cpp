#include "FolderRemoval.h"
#include "SelfDelete.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

bool Has(const std::wstring& text, const std::wstring& line)
{
    return text.find(line + L"\r\n") != std::wstring::npos;
}

TEST(CleanupBatchTest, RunFromTheClientFolderRemovesItAndAnEmptyRoot)
{
    std::wstring text = CleanupBatchText(L"D:\\My Games\\Orbela\\Uninstall.exe", L"D:\\My Games\\orbela", L"D:\\My Games");
    EXPECT_EQ(text.rfind(L"@echo off\r\n", 0), 0u);
    EXPECT_TRUE(Has(text, L"del /f /q \"D:\\My Games\\Orbela\\Uninstall.exe\" >nul 2>nul"));
    EXPECT_TRUE(Has(text, L"if not exist \"D:\\My Games\\Orbela\\Uninstall.exe\" goto removed"));
    EXPECT_TRUE(Has(text, L"if %tries% geq 30 goto removed")) << "bounded by count";
    EXPECT_TRUE(Has(text, L"ping -n 2 -w 1000 127.0.0.1 >nul")) << "a pause of about a second";
    EXPECT_TRUE(Has(text, L"rd \"D:\\My Games\\orbela\" >nul 2>nul")) << "the folder, only when empty";
    EXPECT_TRUE(Has(text, L"rd \"D:\\My Games\" >nul 2>nul"));
    EXPECT_EQ(text.find(L"/s"), std::wstring::npos) << "no removal of a tree";
    EXPECT_EQ(text.find(L"CD "), std::wstring::npos) << "the batch never changes its folder";
    EXPECT_EQ(text.substr(text.size() - 12), L"del \"%~f0\"\r\n");
    // Deleting comes before removing the folders, the client folder before
    // its root, removing before the batch goes.
    EXPECT_LT(text.find(L"del /f"), text.find(L"rd \"D:\\My Games\\orbela\""));
    EXPECT_LT(text.find(L"rd \"D:\\My Games\\orbela\""), text.find(L"rd \"D:\\My Games\""));
    EXPECT_LT(text.find(L"rd \"D:\\My Games\""), text.find(L"del \"%~f0\""));
}

TEST(CleanupBatchTest, ACopyElsewhereGoesAloneAndARootIsNeverRemoved)
{
    // The caller names no folder when the uninstaller does not run from it
    // (RunsFromFolder), nor one that is not a real folder.
    std::wstring copy = CleanupBatchText(L"C:\\Downloads\\Uninstall (1).exe", L"", L"");
    EXPECT_TRUE(Has(copy, L"del /f /q \"C:\\Downloads\\Uninstall (1).exe\" >nul 2>nul"));
    EXPECT_EQ(copy.find(L"rd "), std::wstring::npos);

    std::wstring atRoot = CleanupBatchText(L"E:\\Orbela\\Uninstall.exe", L"E:\\Orbela", L"E:\\");
    EXPECT_TRUE(Has(atRoot, L"rd \"E:\\Orbela\" >nul 2>nul"));
    EXPECT_EQ(atRoot.find(L"rd ", atRoot.find(L"rd ") + 1), std::wstring::npos) << "E:\\ is a root";

    std::wstring percent = CleanupBatchText(L"C:\\100%\\Orbela\\Uninstall.exe", L"C:\\100%\\Orbela", L"C:\\100%");
    EXPECT_TRUE(Has(percent, L"rd \"C:\\100%%\\Orbela\" >nul 2>nul")) << "cmd reads %% as the one % of the path";
    EXPECT_TRUE(Has(percent, L"del /f /q \"C:\\100%%\\Orbela\\Uninstall.exe\" >nul 2>nul"));
    EXPECT_TRUE(Has(percent, L"rd \"C:\\100%%\" >nul 2>nul"));

    std::wstring folderOnly = CleanupBatchText(L"C:\\Linked\\Orbela\\Uninstall.exe", L"C:\\Linked\\Orbela", L"");
    EXPECT_TRUE(Has(folderOnly, L"rd \"C:\\Linked\\Orbela\" >nul 2>nul"));
    EXPECT_EQ(folderOnly.find(L"rd \"C:\\Linked\""), std::wstring::npos) << "a root not named is never removed";
    EXPECT_EQ(BatchLiteral(L"D:\\a%PATH%b%"), L"D:\\a%%PATH%%b%%");
}

TEST(CleanupBatchTest, CmdRunsWithoutTheMachinesAutoRunAndDelayedExpansion)
{
    EXPECT_EQ(CleanupBatchCommandLine(L"C:\\windows\\system32\\cmd.exe", L"C:\\t\\DeleteBat.bat"),
              L"\"C:\\windows\\system32\\cmd.exe\" /d /v:off /c \"\"C:\\t\\DeleteBat.bat\"\"");
}

// Runs the batch for real under cmd and the removals as the uninstaller runs
// them, on install roots whose names cmd would read as something else, with
// sentinels where a misread path would land.
std::wstring TempRoot()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"percent-paths-" + std::to_wstring(GetCurrentProcessId());
}

void MakeFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot make the test file";
    DWORD written = 0;
    WriteFile(file, "keep", 4, &written, NULL);
    CloseHandle(file);
}

std::wstring CharUpperCopy(std::wstring text)
{
    CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// An install root with its client folder ("Orbela" holding "Orbela.exe" and
// "Uninstall.exe") and a sentinel beside it under the misread name.
struct PercentRoot {
    std::wstring root;
    std::wstring client;
    std::wstring sentinel;
};

PercentRoot MakeRoot(const std::wstring& base, const std::wstring& name, const std::wstring& misread)
{
    PercentRoot made{ base + L"\\" + name, base + L"\\" + name + L"\\Orbela", base + L"\\" + misread + L"\\Orbela\\keep.txt" };
    CreateDirectoryW(made.root.c_str(), NULL);
    CreateDirectoryW(made.client.c_str(), NULL);
    MakeFile(made.client + L"\\Orbela.exe");
    MakeFile(made.client + L"\\Uninstall.exe");
    CreateDirectoryW((base + L"\\" + misread).c_str(), NULL);
    CreateDirectoryW((base + L"\\" + misread + L"\\Orbela").c_str(), NULL);
    MakeFile(made.sentinel);
    return made;
}

bool RunBatch(const std::wstring& text, const std::wstring& folder)
{
    const std::wstring batch = folder + L"\\DeleteBat.bat";
    std::string bytes(text.begin(), text.end());  // the test's paths are ASCII
    HANDLE file = CreateFileW(batch.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, NULL);
    CloseHandle(file);
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    std::wstring cmd = std::wstring(system) + L"\\cmd.exe";
    std::wstring line = CleanupBatchCommandLine(cmd, batch);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(cmd.c_str(), &line[0], NULL, NULL, FALSE, CREATE_NO_WINDOW, NULL, folder.c_str(), &startup, &process))
        return false;
    bool ended = WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended && !Exists(batch);
}

// The removal as the uninstaller runs it: on its thread, waited for.
void RemoveAsTheUninstaller(const std::wstring& client, const std::wstring& self)
{
    HANDLE thread = StartClientFolderRemoval(client, self, RunsFromFolder(client, self));
    ASSERT_NE(thread, static_cast<HANDLE>(NULL)) << "no removal thread";
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    CloseHandle(thread);
}

TEST(CleanupBatchTest, TheRemovalAndTheBatchActOnPathsCmdCouldMisread)
{
    const std::wstring base = TempRoot();
    CreateDirectoryW(base.c_str(), NULL);
    SetEnvironmentVariableW(L"ORBELA_TEST_NAME", L"Misread");
    const struct {
        const wchar_t* name;
        const wchar_t* misread;  // how cmd would read the name unescaped
    } rows[] = {
        { L"Games 100%", L"Games 100" },
        { L"Games %PATH%", L"Games PATH" },
        { L"a%ORBELA_TEST_NAME%b", L"aMisreadb" },
        // With delayed expansion the variable is read (Wine's cmd keeps the caret).
        { L"a!ORBELA_TEST_NAME!b^c&d", L"aMisreadb^c&d" },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.name, row.name + wcslen(row.name)));
        // Run from elsewhere: the client folder goes whole, its root only when empty.
        PercentRoot removed = MakeRoot(base, std::wstring(L"rd ") + row.name, std::wstring(L"rd ") + row.misread);
        CreateDirectoryW((removed.client + L"\\VRGames").c_str(), NULL);
        MakeFile(removed.client + L"\\VRGames\\save.dat");
        MakeFile(removed.root + L"\\other.txt");
        RemoveAsTheUninstaller(removed.client, base + L"\\Uninstall.exe");
        EXPECT_FALSE(Exists(removed.client)) << "the client folder is gone";
        EXPECT_TRUE(ClientFolderRemoved(removed.client, base + L"\\Uninstall.exe", false));
        EXPECT_TRUE(Exists(removed.root + L"\\other.txt")) << "a root that holds more stays";
        DeleteFileW((removed.root + L"\\other.txt").c_str());
        MakeRoot(base, std::wstring(L"rd ") + row.name, std::wstring(L"rd ") + row.misread);
        RemoveAsTheUninstaller(removed.client, base + L"\\Uninstall.exe");
        EXPECT_FALSE(Exists(removed.root)) << "the emptied root is gone";
        EXPECT_TRUE(Exists(removed.sentinel)) << "the misread folder lives";

        // Run from the client folder: all but the uninstaller goes; the batch
        // then takes it, the folder and the emptied root.
        PercentRoot batchRoot = MakeRoot(base, std::wstring(L"batch ") + row.name, std::wstring(L"batch ") + row.misread);
        const std::wstring self = batchRoot.client + L"\\Uninstall.exe";
        CreateDirectoryW((batchRoot.client + L"\\Tools").c_str(), NULL);
        MakeFile(batchRoot.client + L"\\Tools\\7z.exe");
        RemoveAsTheUninstaller(batchRoot.client, self);
        EXPECT_FALSE(Exists(batchRoot.client + L"\\Orbela.exe"));
        EXPECT_FALSE(Exists(batchRoot.client + L"\\Tools"));
        EXPECT_TRUE(Exists(self)) << "the running uninstaller is left to the batch";
        EXPECT_TRUE(Exists(batchRoot.root)) << "the root still holds the client folder";
        EXPECT_TRUE(ClientFolderRemoved(batchRoot.client, self, true));
        ASSERT_TRUE(RunBatch(CleanupBatchText(self, batchRoot.client, batchRoot.root), base))
            << "the batch ran and deleted itself";
        EXPECT_FALSE(Exists(self));
        EXPECT_FALSE(Exists(batchRoot.client)) << "the client folder is gone";
        EXPECT_FALSE(Exists(batchRoot.root)) << "the emptied install root is gone";
        EXPECT_TRUE(Exists(batchRoot.sentinel)) << "the misread folder lives";
    }
}

// The batch removes a folder only when it is empty: a held uninstaller, after
// its tries, and anything else beside it keep the folder and its root.
TEST(CleanupBatchTest, TheBatchNeverRemovesMoreThanAnEmptyFolder)
{
    const std::wstring base = TempRoot() + L"-limits";
    CreateDirectoryW(base.c_str(), NULL);
    PercentRoot held = MakeRoot(base, L"held", L"held sentinel");
    const std::wstring exe = held.client + L"\\Uninstall.exe";
    // Open without delete sharing, as a running program's file is on Windows.
    HANDLE open = CreateFileW(exe.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    DeleteFileW((held.client + L"\\Orbela.exe").c_str());
    EXPECT_TRUE(RunBatch(CleanupBatchText(exe, held.client, held.root, 2), base))
        << "the batch gave up and deleted itself";
    EXPECT_TRUE(Exists(exe)) << "the held uninstaller stays, and its folder";
    CloseHandle(open);

    PercentRoot more = MakeRoot(base, L"more", L"more sentinel");
    EXPECT_TRUE(RunBatch(CleanupBatchText(more.client + L"\\Uninstall.exe", more.client, more.root), base));
    EXPECT_FALSE(Exists(more.client + L"\\Uninstall.exe"));
    EXPECT_TRUE(Exists(more.client + L"\\Orbela.exe")) << "a file beside the uninstaller stays, and its folder";
    EXPECT_TRUE(Exists(held.sentinel));
    EXPECT_TRUE(Exists(more.sentinel));
}

TEST(CleanupBatchTest, AFolderCountsRemovedWhenGoneOrHoldingOnlyTheRunningUninstaller)
{
    const std::wstring base = TempRoot() + L"-removed";
    CreateDirectoryW(base.c_str(), NULL);
    PercentRoot both = MakeRoot(base, L"both", L"sentinel");  // Orbela.exe beside the uninstaller
    PercentRoot alone = MakeRoot(base, L"alone", L"sentinel");
    DeleteFileW((alone.client + L"\\Orbela.exe").c_str());
    const std::wstring empty = base + L"\\empty\\Orbela";
    CreateDirectoryW((base + L"\\empty").c_str(), NULL);
    CreateDirectoryW(empty.c_str(), NULL);
    const std::wstring self = alone.client + L"\\Uninstall.exe";
    wchar_t shortSelf[MAX_PATH] = { 0 };
    GetShortPathNameW(self.c_str(), shortSelf, MAX_PATH);
    // Another name of the running uninstaller's file, in a folder of its own.
    const std::wstring copy = base + L"\\Copy\\Uninstall.exe";
    CreateDirectoryW((base + L"\\Copy").c_str(), NULL);
    ASSERT_TRUE(CreateHardLinkW(copy.c_str(), self.c_str(), NULL)) << "no hard link";
    const struct {
        const wchar_t* what;
        std::wstring folder;
        std::wstring self;
        bool removed;
    } rows[] = {
        { L"only the running uninstaller is left", alone.client, self, true },
        { L"the same by the uninstaller's short name", alone.client, shortSelf, true },
        { L"a file beside the running uninstaller", both.client, both.client + L"\\Uninstall.exe", false },
        { L"an uninstaller run from elsewhere", alone.client, both.client + L"\\Uninstall.exe", false },
        { L"a second name of the uninstaller elsewhere", alone.client, copy, false },
        { L"an uninstaller of unknown path", alone.client, L"", false },
        { L"an empty folder that stayed", empty, self, false },
        { L"a folder that is gone", alone.root + L"\\gone", self, true },
        { L"a path that cannot be checked", alone.root + L"\\a<b>", self, false },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.what, row.what + wcslen(row.what)));
        EXPECT_EQ(ClientFolderRemoved(row.folder, row.self, RunsFromFolder(row.folder, row.self)), row.removed);
    }
}

// "Runs from the client folder" is the uninstaller's own folder being that
// folder, by the names handles on both carry; the removal, the batch and the
// done page take that one answer.
TEST(CleanupBatchTest, RunningFromTheFolderIsTheUninstallersOwnFolder)
{
    const std::wstring base = TempRoot() + L"-identity";
    CreateDirectoryW(base.c_str(), NULL);
    PercentRoot install = MakeRoot(base, L"Long Folder Name", L"sentinel");
    PercentRoot other = MakeRoot(base, L"other", L"other sentinel");
    const std::wstring self = install.client + L"\\Uninstall.exe";
    wchar_t shortFolder[MAX_PATH] = { 0 };
    GetShortPathNameW(install.client.c_str(), shortFolder, MAX_PATH);
    ASSERT_NE(std::wstring(shortFolder), install.client) << "a short spelling of the folder";
    const std::wstring copy = base + L"\\Copy\\Uninstall.exe";
    CreateDirectoryW((base + L"\\Copy").c_str(), NULL);
    ASSERT_TRUE(CreateHardLinkW(copy.c_str(), self.c_str(), NULL)) << "no hard link";
    const struct {
        const wchar_t* what;
        std::wstring folder;
        std::wstring self;
        bool runsFrom;
    } rows[] = {
        { L"the uninstaller in the folder", install.client, self, true },
        { L"the folder's short spelling", shortFolder, self, true },
        { L"another case", CharUpperCopy(install.client), self, true },
        { L"another folder with an uninstaller", other.client, self, false },
        { L"a second name of the uninstaller elsewhere", install.client, copy, false },
        { L"the second name's own folder", base + L"\\Copy", copy, true },
        { L"the install root", install.root, self, false },
        { L"no folder", L"", self, false },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.what, row.what + wcslen(row.what)));
        EXPECT_EQ(RunsFromFolder(row.folder, row.self), row.runsFrom);
    }
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
