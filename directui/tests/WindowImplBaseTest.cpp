#include "control/ControlUI.h"
#include "window/WindowImplBase.h"
#include "SkinLoadBox.h"
#include "WaitingMessages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

using namespace DirectUI;

namespace {

// ZIPRES resources of this executable (FrameResources.rc).
enum { kSampleZip = 1, kEmptyZip = 3, kDamagedZip = 4, kMissingZip = 99 };

// A frame over a skin of the given source; counts OnControlsReady.
class TestFrame : public WindowImplBase
{
public:
    TestFrame(UINT source, LPCWSTR file, UINT resource = kSampleZip)
        : ready(0), m_source(source), m_file(file), m_resource(resource)
    {
    }
    void OnControlsReady() override { ++ready; }
    int ready;

protected:
    LPCWSTR GetWindowClassName() const override { return L"OrbelaTestFrame"; }
    CUIString GetSkinFolder() override { return m_source == SkinSourceFile ? L"..\\skins\\sample\\" : L"..\\skins\\"; }
    CUIString GetSkinFile() override { return m_file; }
    UINT GetSkinSource() override { return m_source; }
    CUIString GetSkinZipName() override { return L"sample.zip"; }
    LPCWSTR GetSkinResourceId() override { return MAKEINTRESOURCEW(m_resource); }

private:
    UINT m_source;
    CUIString m_file;
    UINT m_resource;
};

// Skin location is process-wide: each frame starts from none.
void ForgetSkinLocation()
{
    CWindowUIManager::SetSkinZip(L"");
    CWindowUIManager::SetSkinPath(L"");
}

// The sample skin from its ZIPRES, shown and laid out.
struct SampleFrame
{
    SampleFrame() : frame(SkinSourceZipResource, L"main.xml")
    {
        ForgetSkinLocation();
        frame.Create(NULL, L"frame", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0);
        ::ShowWindow(frame.GetHWND(), SW_SHOWNORMAL);
        ::UpdateWindow(frame.GetHWND());
        DispatchWaitingMessages();
    }
    ~SampleFrame()
    {
        if (::IsWindow(frame.GetHWND())) ::DestroyWindow(frame.GetHWND());
    }
    CControlUI* Find(LPCWSTR name) { return frame.GetManager()->FindControl(name); }
    POINT CentreOf(LPCWSTR name)
    {
        const RECT& rc = Find(name)->GetPos();
        POINT pt = { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
        return pt;
    }
    LRESULT HitTest(int x, int y)
    {
        POINT pt = { x, y };
        ClientToScreen(frame.GetHWND(), &pt);
        return ::SendMessageW(frame.GetHWND(), WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
    }
    TestFrame frame;
};

struct SourceRow
{
    const char* what;
    UINT source;
    LPCWSTR file;
};

TEST(WindowImplBase, BuildsFromEachSkinSource)
{
    const SourceRow rows[] = {
        { "a file in the skin folder", SkinSourceFile, L"main.xml" },
        { "an entry of a zip in the skin folder", SkinSourceZip, L"main.xml" },
        { "an xml resource", SkinSourceResource, L"7" },
        { "an entry of the ZIPRES resource", SkinSourceZipResource, L"main.xml" },
    };
    for (size_t i = 0; i < sizeof(rows) / sizeof(rows[0]); ++i) {
        ForgetSkinLocation();
        TestFrame frame(rows[i].source, rows[i].file);
        frame.Create(NULL, L"frame", WS_POPUP | WS_CAPTION, 0);
        ASSERT_TRUE(frame.GetHWND() != NULL) << rows[i].what;
        EXPECT_EQ(1, frame.ready) << rows[i].what;
        ASSERT_TRUE(frame.GetManager()->GetRoot() != NULL) << rows[i].what;
        EXPECT_EQ(L"root", std::wstring(frame.GetManager()->GetRoot()->GetName())) << rows[i].what;
        // The frame lost the caption and border it was created with: it is
        // all client area.
        EXPECT_EQ(0, ::GetWindowLongW(frame.GetHWND(), GWL_STYLE) & WS_CAPTION) << rows[i].what;
        RECT window, client;
        ::GetWindowRect(frame.GetHWND(), &window);
        ::GetClientRect(frame.GetHWND(), &client);
        EXPECT_EQ(window.right - window.left, client.right) << rows[i].what;
        EXPECT_EQ(window.bottom - window.top, client.bottom) << rows[i].what;
        ::DestroyWindow(frame.GetHWND());
    }
    ForgetSkinLocation();
}

TEST(WindowImplBase, FramesOfOneProgramShareTheSkinArchive)
{
    SampleFrame first;
    HZIP archive = CWindowUIManager::GetSkinZipHandle();
    ASSERT_TRUE(archive != NULL);
    TestFrame second(SkinSourceZipResource, L"main.xml");
    second.Create(NULL, L"second", WS_POPUP, 0);
    EXPECT_TRUE(CWindowUIManager::GetSkinZipHandle() == archive);
    EXPECT_EQ(1, second.ready);
    ::DestroyWindow(second.GetHWND());
}

TEST(WindowImplBase, SizeAndRoundRegionFromTheSkin)
{
    SampleFrame sample;
    RECT rc;
    GetWindowRect(sample.frame.GetHWND(), &rc);
    EXPECT_EQ(550, rc.right - rc.left);
    EXPECT_EQ(330, rc.bottom - rc.top);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, GetWindowRgn(sample.frame.GetHWND(), region));
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 549, 329));
    EXPECT_TRUE(PtInRegion(region, 3, 3));
    EXPECT_TRUE(PtInRegion(region, 275, 0));
    EXPECT_TRUE(PtInRegion(region, 549, 165));
    DeleteObject(region);
}

struct HitRow
{
    int x, y;
    LRESULT normal;
    LRESULT maximised;
};

TEST(WindowImplBase, HitTestsBySizeBoxCaptionAndControl)
{
    SampleFrame sample;
    POINT minbtn = sample.CentreOf(L"minbtn");
    POINT title = sample.CentreOf(L"title");
    const HitRow rows[] = {
        { 1, 1, HTTOPLEFT, HTCAPTION },
        { 548, 1, HTTOPRIGHT, HTCAPTION }, // the title bar's right inset
        { 275, 1, HTTOP, HTCAPTION },
        { 1, 328, HTBOTTOMLEFT, HTCLIENT },
        { 548, 328, HTBOTTOMRIGHT, HTCLIENT },
        { 275, 328, HTBOTTOM, HTCLIENT },
        { 1, 165, HTLEFT, HTCLIENT },
        { 548, 165, HTRIGHT, HTCLIENT },
        { title.x, title.y, HTCAPTION, HTCAPTION },      // a label in the caption drags
        { minbtn.x, minbtn.y, HTCLIENT, HTCLIENT },      // a button in the caption clicks
        { 275, 200, HTCLIENT, HTCLIENT },                // below the caption
    };
    for (size_t i = 0; i < sizeof(rows) / sizeof(rows[0]); ++i)
        EXPECT_EQ(rows[i].normal, sample.HitTest(rows[i].x, rows[i].y)) << "normal " << rows[i].x << "," << rows[i].y;
    ::SendMessageW(sample.frame.GetHWND(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    DispatchWaitingMessages();
    ASSERT_TRUE(IsZoomed(sample.frame.GetHWND()));
    RECT client;
    GetClientRect(sample.frame.GetHWND(), &client);
    for (size_t i = 0; i < sizeof(rows) / sizeof(rows[0]); ++i) {
        // Maximised, the rows keep their distance from the nearer edge.
        int x = rows[i].x > 275 ? client.right - (550 - rows[i].x) : rows[i].x;
        int y = rows[i].y > 165 ? client.bottom - (330 - rows[i].y) : rows[i].y;
        if (rows[i].x == minbtn.x || rows[i].x == title.x) {
            if (rows[i].x == minbtn.x) x = sample.CentreOf(L"minbtn").x;
            else x = sample.CentreOf(L"title").x;
        }
        if (rows[i].x == 275) x = client.right / 2;
        EXPECT_EQ(rows[i].maximised, sample.HitTest(x, y)) << "maximised " << x << "," << y;
    }
}

TEST(WindowImplBase, MaximiseAndRestoreSwapTheButtons)
{
    SampleFrame sample;
    HWND hwnd = sample.frame.GetHWND();
    EXPECT_TRUE(sample.Find(L"maxbtn")->IsVisible());
    EXPECT_FALSE(sample.Find(L"restorebtn")->IsVisible());
    // Through the buttons, as a user does.
    POINT pt = sample.CentreOf(L"maxbtn");
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    DispatchWaitingMessages();
    EXPECT_TRUE(IsZoomed(hwnd));
    EXPECT_FALSE(sample.Find(L"maxbtn")->IsVisible());
    EXPECT_TRUE(sample.Find(L"restorebtn")->IsVisible());
    ::UpdateWindow(hwnd);
    pt = sample.CentreOf(L"restorebtn");
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    DispatchWaitingMessages();
    EXPECT_FALSE(IsZoomed(hwnd));
    EXPECT_TRUE(sample.Find(L"maxbtn")->IsVisible());
    EXPECT_FALSE(sample.Find(L"restorebtn")->IsVisible());
}

TEST(WindowImplBase, SkinWithoutMaxAndRestoreButtonsSurvivesMaximising)
{
    ForgetSkinLocation();
    TestFrame frame(SkinSourceZipResource, L"box.xml", 2);
    frame.Create(NULL, L"box", WS_POPUP | WS_SYSMENU | WS_MAXIMIZEBOX, 0);
    ASSERT_TRUE(frame.GetHWND() != NULL);
    ::ShowWindow(frame.GetHWND(), SW_SHOWNORMAL);
    ::SendMessageW(frame.GetHWND(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_TRUE(IsZoomed(frame.GetHWND()));
    ::SendMessageW(frame.GetHWND(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsZoomed(frame.GetHWND()));
    DispatchWaitingMessages();
    ::DestroyWindow(frame.GetHWND());
}

TEST(WindowImplBase, EscapeDoesNotCloseAndCloseButtonEndsShowModalWithOne)
{
    SampleFrame sample;
    HWND hwnd = sample.frame.GetHWND();
    ::PostMessageW(hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    ::PostMessageW(hwnd, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    DispatchWaitingMessages();
    EXPECT_TRUE(IsWindow(hwnd));
    // The click waits in the queue for the modal loop.
    POINT pt = sample.CentreOf(L"closebtn");
    ::PostMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    ::PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(1u, sample.frame.ShowModal());
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(1, sample.frame.ready);
}

// A frame's controls go when the frame object is deleted, however its window
// ended: destroyed from outside, or closed by its own button in a modal loop
// over an owner, as a message box is.
TEST(WindowImplBase, DeletedFramesLeaveNoControlAlive)
{
    struct Row
    {
        const char* name;
        bool modalOverOwner;
        int cycles;
    };
    const Row rows[] = { { "frame destroyed, then deleted", false, 100 },
                         { "modal box closed by its button, then deleted", true, 10 } };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::unique_ptr<SampleFrame> owner(row.modalOverOwner ? new SampleFrame : NULL);
        const LONG before = CControlUI::LiveCount();
        LONG tree = 0;
        for (int i = 0; i < row.cycles; ++i) {
            TestFrame* frame = new TestFrame(SkinSourceZipResource, L"main.xml");
            frame->Create(owner ? owner->frame.GetHWND() : NULL, L"cycle", WS_POPUP, 0);
            ASSERT_TRUE(frame->GetHWND() != NULL);
            tree = CControlUI::LiveCount() - before;
            HWND hwnd = frame->GetHWND();
            ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
            ::UpdateWindow(hwnd);
            if (row.modalOverOwner) {
                const RECT& rc = frame->GetManager()->FindControl(L"closebtn")->GetPos();
                LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
                ::PostMessageW(hwnd, WM_MOUSEMOVE, 0, at);
                ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
                ::PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
                EXPECT_EQ(1u, frame->ShowModal());
            } else {
                ::DestroyWindow(hwnd);
            }
            DispatchWaitingMessages();
            EXPECT_FALSE(IsWindow(hwnd));
            delete frame;
            ASSERT_EQ(before, CControlUI::LiveCount()) << "after cycle " << i + 1;
        }
        EXPECT_GT(tree, 20) << "the sample skin's tree";
        std::printf("%s: %ld controls alive before, %ld more while a frame was up, %ld after %d cycles\n", row.name,
                    before, tree, CControlUI::LiveCount(), row.cycles);
    }
}

// Runs this executable as a child that opens a frame over resource id; the
// child must show the skin-load box, which is dismissed here, and exit 1.
void ExpectSkinLoadFailure(UINT resource)
{
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(NULL, exe, MAX_PATH);
    std::wstring command = std::wstring(L"\"") + exe + L"\" --frame-child=" + std::to_wstring(resource);
    STARTUPINFOW si = { sizeof(si) };
    PROCESS_INFORMATION pi;
    ASSERT_TRUE(CreateProcessW(NULL, &command[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi));
    bool boxSeen = false;
    std::wstring text;
    DWORD waited = 0;
    while (WaitForSingleObject(pi.hProcess, 20) == WAIT_TIMEOUT && waited < 20000) {
        waited += 20;
        HWND box = FindSkinLoadBox(pi.dwProcessId);
        if (box == NULL) continue;
        text = SkinLoadBoxText(box);
        boxSeen = true;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    if (code == STILL_ACTIVE) TerminateProcess(pi.hProcess, 9);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    EXPECT_TRUE(boxSeen) << "resource " << resource;
    EXPECT_EQ(std::wstring(L"加载资源文件失败"), text) << "resource " << resource;
    EXPECT_EQ(1u, code) << "resource " << resource;
}

TEST(WindowImplBase, MissingEmptyAndDamagedSkinsEndTheProcessWithOne)
{
    ExpectSkinLoadFailure(kMissingZip);
    ExpectSkinLoadFailure(kEmptyZip);
    ExpectSkinLoadFailure(kDamagedZip);
}

} // namespace

int main(int argc, char** argv)
{
    CWindowUIManager::SetInstance(GetModuleHandleW(NULL));
    for (int i = 1; i < argc; ++i) {
        if (strncmp(argv[i], "--frame-child=", 14) != 0) continue;
        // The child: a frame whose skin cannot load ends the process itself.
        TestFrame frame(SkinSourceZipResource, L"main.xml", atoi(argv[i] + 14));
        frame.Create(NULL, L"child", WS_POPUP, 0);
        return 0;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
