#include "Shortcut.h"
#include "TempFolder.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <string>
#include <thread>

namespace {

TEST(ShortcutTest, LinksReadBackTheirTarget)
{
    std::wstring folder = FreshTempFolder(L"links", L"plain");
    struct Row {
        const wchar_t* link;
        const wchar_t* target;
    };
    const Row rows[] = {
        {L"\\Orbela.lnk", L"C:\\Games\\Orbela\\Orbela.exe"},
        {L"\\\u5378\u8f7dOrbela.lnk", L"C:\\Games\\Orbela\\Uninstall.exe"},  // 卸载Orbela.lnk
        {L"\\100% sure.lnk", L"C:\\Program Files\\100%\\Orbela\\Orbela.exe"},
    };
    for (const Row& row : rows) {
        std::wstring link = folder + row.link;
        EXPECT_TRUE(CreateShortcut(link.c_str(), row.target));
        EXPECT_EQ(ReadShortcutTarget(link.c_str()), row.target);
    }
}

TEST(ShortcutTest, DirectoryAtTheLinkPathFails)
{
    std::wstring blocked = FreshTempFolder(L"links", L"blocked\\Orbela.lnk");
    EXPECT_FALSE(CreateShortcut(blocked.c_str(), L"C:\\Games\\Orbela\\Orbela.exe"));
}

TEST(ShortcutTest, ThreadThatHasComSucceedsAndKeepsIt)
{
    std::wstring folder = FreshTempFolder(L"links", L"com");
    for (DWORD model : {COINIT_APARTMENTTHREADED, COINIT_MULTITHREADED}) {
        SCOPED_TRACE(model);
        std::thread worker([&] {
            ASSERT_EQ(CoInitializeEx(NULL, model), S_OK);
            std::wstring link = folder + L"\\model" + std::to_wstring(model) + L".lnk";
            EXPECT_TRUE(CreateShortcut(link.c_str(), L"C:\\Games\\Orbela\\Orbela.exe"));
            // The thread's own COM is still there: initialising again only counts up.
            EXPECT_EQ(CoInitializeEx(NULL, model), S_FALSE);
            CoUninitialize();
            CoUninitialize();
        });
        worker.join();
    }
}

} // namespace
