#include "ProcessControl.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

std::wstring FolderOfThisProgram()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring text = path;
    return text.substr(0, text.find_last_of(L'\\'));
}

// The fixture client copied to folder\name and started; it runs until ended.
struct Copy {
    std::wstring path;
    PROCESS_INFORMATION process = {};
};

// The fixture (by default the client, "FixtureUpdater.exe" for an updater
// copy with the updater's resources) copied to folder\name and started.
Copy Start(const std::wstring& folder, const wchar_t* name, const wchar_t* fixture = L"Orbela.exe")
{
    Copy copy;
    copy.path = folder + L"\\" + name;
    EXPECT_TRUE(CopyFileW((FolderOfThisProgram() + L"\\" + fixture).c_str(), copy.path.c_str(), FALSE));
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    std::wstring commandLine = L"\"" + copy.path + L"\"";
    EXPECT_TRUE(CreateProcessW(copy.path.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(),
                               &startup, &copy.process));
    // Its window and message loop are up once it waits for input.
    WaitForInputIdle(copy.process.hProcess, 20000);
    return copy;
}

bool Running(const Copy& copy)
{
    return WaitForSingleObject(copy.process.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD ExitCode(const Copy& copy)
{
    DWORD code = 12345;
    GetExitCodeProcess(copy.process.hProcess, &code);
    return code;
}

// Ends the copies still running and lets go of their handles.
void EndAll(std::initializer_list<Copy*> copies)
{
    for (Copy* copy : copies) {
        TerminateProcess(copy->process.hProcess, 99);
        WaitForSingleObject(copy->process.hProcess, 10000);
        CloseHandle(copy->process.hProcess);
        CloseHandle(copy->process.hThread);
    }
}

TEST(ProcessControlTest, OnlyProcessesOfTheClientFolderCountAndAreEnded)
{
    std::wstring client = FreshTempFolder(L"processes", L"a\\Orbela");
    std::wstring lowerClient = FreshTempFolder(L"processes", L"b\\Orbela");
    std::wstring prefixClient = FreshTempFolder(L"processes", L"c\\Orbela");
    std::wstring updaterParent = FreshTempFolder(L"processes", L"d");
    std::wstring updaterClient = FreshTempFolder(L"processes", L"d\\Orbela");
    std::wstring elsewhere = FreshTempFolder(L"processes", L"e\\elsewhere");
    std::wstring unrelatedClient = FreshTempFolder(L"processes", L"e\\x\\Orbela");
    std::wstring nestedClient = FreshTempFolder(L"processes", L"f\\Orbela");
    std::wstring nestedTools = FreshTempFolder(L"processes", L"f\\Orbela\\Tools");
    std::wstring lookalikeClient = FreshTempFolder(L"processes", L"g\\Orbela");
    std::wstring lookalike = FreshTempFolder(L"processes", L"g\\OrbelaX");
    // A shared root: its Update.exe is another program's, not the client's updater copy.
    std::wstring sharedRoot = FreshTempFolder(L"processes", L"h");
    std::wstring sharedClient = FreshTempFolder(L"processes", L"h\\Orbela");

    Copy orbela = Start(client, L"Orbela.exe");
    Copy lower = Start(lowerClient, L"orbela.exe");
    Copy prefixed = Start(prefixClient, L"xOrbela.exe");
    Copy updaterInParent = Start(updaterParent, L"Update.exe", L"FixtureUpdater.exe");
    Copy foreignUpdater = Start(sharedRoot, L"Update.exe");
    Copy updaterElsewhere = Start(elsewhere, L"Update.exe");
    Copy nested = Start(nestedTools, L"Orbela.exe");
    Copy besideLookalike = Start(lookalike, L"Orbela.exe");

    struct Row {
        const char* what;
        const wchar_t* name;
        std::wstring folder;
        bool running;
    };
    const Row rows[] = {
        {"Orbela.exe in its client folder", L"Orbela.exe", client, true},
        {"Orbela.exe seen from an unrelated client folder", L"Orbela.exe", unrelatedClient, false},
        {"orbela.exe: the check is case-sensitive", L"Orbela.exe", lowerClient, false},
        {"xOrbela.exe is another name", L"Orbela.exe", prefixClient, false},
        {"the updater copy in the client folder's parent", L"Update.exe", updaterClient, true},
        {"another program's Update.exe in a shared root", L"Update.exe", sharedClient, false},
        {"Update.exe of an unrelated folder", L"Update.exe", unrelatedClient, false},
        {"no client folder", L"Orbela.exe", L"", false},
        {"Orbela.exe in a folder below the client folder", L"Orbela.exe", nestedClient, true},
        {"Orbela.exe in a folder whose name only starts like the client folder's", L"Orbela.exe", lookalikeClient, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(IsProcessRunning(row.name, row.folder.c_str()), row.running);
    }

    // The kill compares names without regard to case, one process per call.
    KillProcessByName(L"Orbela.exe", client.c_str());
    KillProcessByName(L"ORBELA.EXE", lowerClient.c_str());
    KillProcessByName(L"Orbela.exe", prefixClient.c_str());
    KillProcessByName(L"Update.exe", updaterClient.c_str());
    KillProcessByName(L"Update.exe", sharedClient.c_str());
    KillProcessByName(L"", elsewhere.c_str());
    KillProcessByName(L"Orbela.exe", nestedClient.c_str());
    KillProcessByName(L"Orbela.exe", lookalikeClient.c_str());

    EXPECT_FALSE(Running(orbela));
    EXPECT_EQ(ExitCode(orbela), 0u);
    EXPECT_FALSE(Running(lower));
    EXPECT_EQ(ExitCode(lower), 0u);
    EXPECT_TRUE(Running(prefixed)) << "xOrbela.exe lives on";
    EXPECT_FALSE(Running(updaterInParent));
    EXPECT_EQ(ExitCode(updaterInParent), 0u);
    EXPECT_TRUE(Running(updaterElsewhere)) << "an Update.exe outside the client folder lives on";
    EXPECT_TRUE(Running(foreignUpdater)) << "another program's Update.exe in a shared root lives on";
    EXPECT_FALSE(Running(nested)) << "a client program below the client folder is ended";
    EXPECT_TRUE(Running(besideLookalike)) << "OrbelaX is not the client folder";

    EndAll({&orbela, &lower, &prefixed, &updaterInParent, &foreignUpdater, &updaterElsewhere, &nested, &besideLookalike});
}

TEST(ProcessControlTest, BeforeAnUpdateOnlyProcessesOfTheListedImagesAreStopped)
{
    std::wstring root = FreshTempFolder(L"stop-images", L"root");
    std::wstring client = FreshTempFolder(L"stop-images", L"root\\Orbela");
    std::wstring tools = FreshTempFolder(L"stop-images", L"root\\Orbela\\Tools");
    std::wstring game = FreshTempFolder(L"stop-images", L"root\\Orbela\\VRGames\\Game");
    std::wstring sibling = FreshTempFolder(L"stop-images", L"root\\OrbelaX");

    Copy orbela = Start(client, L"Orbela.exe");
    Copy helper = Start(tools, L"helper.exe");
    Copy unlisted = Start(tools, L"other.exe");
    Copy gameCopy = Start(game, L"Game.exe");
    Copy updaterCopy = Start(root, L"Update.exe", L"FixtureUpdater.exe");
    Copy besides = Start(sibling, L"Orbela.exe");

    // The images as a package lists them, in another case: paths compare without regard to case.
    std::vector<std::wstring> images = {client + L"\\ORBELA.EXE", tools + L"\\helper.exe", client + L"\\Update.exe"};
    // A short limit: the fixtures never end by themselves, so the wait runs into it and they are stopped.
    EXPECT_TRUE(StopProcessesWithImages(images, 300));
    EXPECT_FALSE(Running(orbela)) << "a listed image is stopped";
    EXPECT_FALSE(Running(helper)) << "a listed image below the folder is stopped";
    EXPECT_TRUE(Running(unlisted)) << "an image the list lacks lives on, though it is in the client folder";
    EXPECT_TRUE(Running(gameCopy)) << "a game under the client folder lives on";
    EXPECT_TRUE(Running(updaterCopy)) << "the updater in the parent folder lives on";
    EXPECT_TRUE(Running(besides)) << "the same name in another folder lives on";
    EXPECT_TRUE(StopProcessesWithImages(images, 300)) << "nothing left: true at once";
    EXPECT_TRUE(StopProcessesWithImages({}, 300)) << "no image, nothing to stop";

    EndAll({&orbela, &helper, &unlisted, &gameCopy, &updaterCopy, &besides});
}

} // namespace
