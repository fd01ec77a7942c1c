#include "Shortcut.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>
#include <thread>

namespace {

std::wstring TempFolder(const wchar_t* name)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"links-" + std::to_wstring(GetCurrentProcessId()) + L"\\" + name;
    SHCreateDirectoryExW(NULL, folder.c_str(), NULL);
    return folder;
}

// The target stored in a link file; empty when it cannot be read.
std::wstring LinkTarget(const std::wstring& linkPath)
{
    std::wstring target;
    HRESULT init = CoInitialize(NULL);
    IShellLinkW* link = NULL;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = NULL;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t path[MAX_PATH] = {0};
            if (SUCCEEDED(file->Load(linkPath.c_str(), STGM_READ)) &&
                SUCCEEDED(link->GetPath(path, MAX_PATH, NULL, 0)))
                target = path;
            file->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    return target;
}

TEST(ShortcutTest, LinksReadBackTheirTarget)
{
    std::wstring folder = TempFolder(L"plain");
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
        EXPECT_EQ(LinkTarget(link), row.target);
    }
}

TEST(ShortcutTest, DirectoryAtTheLinkPathFails)
{
    std::wstring blocked = TempFolder(L"blocked\\Orbela.lnk");
    EXPECT_FALSE(CreateShortcut(blocked.c_str(), L"C:\\Games\\Orbela\\Orbela.exe"));
}

TEST(ShortcutTest, ThreadThatHasComSucceedsAndKeepsIt)
{
    std::wstring folder = TempFolder(L"com");
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
