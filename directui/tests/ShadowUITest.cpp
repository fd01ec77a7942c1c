#include "SkinWindow.h"
#include "window/ShadowUI.h"

#include <gtest/gtest.h>
#include <malloc.h>

using namespace DirectUI;

namespace {

// The shadow's window class is registered with the framework's instance.
struct FrameworkInstance : ::testing::Environment
{
    void SetUp() override { CWindowUIManager::SetInstance(GetModuleHandleW(NULL)); }
};
::testing::Environment* const kInstance = ::testing::AddGlobalTestEnvironment(new FrameworkInstance);

TEST(ShadowUI, SettersRefuseOutOfRangeValues)
{
    CShadowUI shadow;
    struct Row
    {
        const char* what;
        bool accepted;
        bool answer;
    };
    RECT negative = { 0, -1, 0, 0 }, corners = { 20, 20, 20, 20 };
    const Row rows[] = {
        { "size 21", false, shadow.SetSize(21) },
        { "size -21", false, shadow.SetSize(-21) },
        { "size -20", true, shadow.SetSize(-20) },
        { "sharpness 21", false, shadow.SetSharpness(21) },
        { "sharpness 20", true, shadow.SetSharpness(20) },
        { "darkness 256", false, shadow.SetDarkness(256) },
        { "darkness 255", true, shadow.SetDarkness(255) },
        { "position -20,20", true, shadow.SetPosition(-20, 20) },
        { "position 21,0", false, shadow.SetPosition(21, 0) },
        { "position 0,-21", false, shadow.SetPosition(0, -21) },
        { "a negative corner", false, shadow.SetShadowCorner(negative) },
        { "corners 20", true, shadow.SetShadowCorner(corners) },
        { "no image", false, shadow.SetImage(NULL) },
    };
    for (size_t i = 0; i < sizeof(rows) / sizeof(rows[0]); ++i) EXPECT_EQ(rows[i].accepted, rows[i].answer) << rows[i].what;
    // Refused values changed nothing.
    EXPECT_EQ(-20, shadow.GetSize());
    EXPECT_EQ(20, shadow.GetSharpness());
    EXPECT_EQ(255, shadow.GetDarkness());
    EXPECT_EQ(-20, shadow.GetPosition().x);
    EXPECT_EQ(20, shadow.GetPosition().y);
    EXPECT_EQ(20, shadow.GetShadowCorner().left);
    EXPECT_FALSE(shadow.IsImageMode());
}

// Shadow windows of this thread (other tests' processes share the desktop).
int CountShadowWindows()
{
    struct Counter
    {
        static BOOL CALLBACK Count(HWND hwnd, LPARAM count)
        {
            wchar_t name[64] = { 0 };
            GetClassNameW(hwnd, name, 64);
            if (wcscmp(name, CShadowUI::GetWindowClass()) == 0) ++*reinterpret_cast<int*>(count);
            return TRUE;
        }
    };
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), Counter::Count, reinterpret_cast<LPARAM>(&count));
    return count;
}

bool HeapsAreWhole() { return HeapValidate(GetProcessHeap(), 0, NULL) && _heapchk() == _HEAPOK; }

// MakeShadow into a heap block of exactly the bitmap's size, so a stray
// write shows in the heap check.
struct ShadowBits
{
    ShadowBits(CShadowUI& shadow, HWND window, int size)
    {
        GetWindowRect(window, &rc);
        width = rc.right - rc.left + 2 * size;
        height = rc.bottom - rc.top + 2 * size;
        bits = static_cast<UINT32*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, width * height * 4));
        shadow.MakeShadow(bits, window, rc);
    }
    ~ShadowBits() { HeapFree(GetProcessHeap(), 0, bits); }
    BYTE Alpha(int x, int y) const { return static_cast<BYTE>(bits[y * width + x] >> 24); }
    RECT rc;
    int width, height;
    UINT32* bits;
};

TEST(ShadowUI, MakeShadowFadesOutsideAndKeepsTheWindowClear)
{
    ManagedWindow window(40, 30);
    CShadowUI shadow;
    shadow.SetSize(4);
    shadow.SetColor(0x00FF0000);
    ShadowBits shadowBits(shadow, window.GetHWND(), 4);
    ASSERT_EQ(48, shadowBits.width);
    ASSERT_EQ(38, shadowBits.height);
    // The window's area is clear; outside it the shadow fades outwards.
    EXPECT_EQ(0u, shadowBits.bits[19 * 48 + 24]);
    EXPECT_EQ(0, shadowBits.Alpha(4, 19));
    BYTE closest = shadowBits.Alpha(3, 19), middle = shadowBits.Alpha(2, 19), outermost = shadowBits.Alpha(0, 19);
    EXPECT_GT(closest, middle);
    EXPECT_GT(middle, outermost);
    EXPECT_LE(closest, 150);
    EXPECT_GT(closest, 0);
    // Premultiplied red: the red channel equals the alpha.
    UINT32 pixel = shadowBits.bits[19 * 48 + 3];
    EXPECT_EQ(closest, (pixel >> 16) & 0xFF);
    EXPECT_EQ(0u, pixel & 0xFFFF);
    // Left and right, top and bottom are alike.
    EXPECT_EQ(shadowBits.Alpha(3, 19), shadowBits.Alpha(44, 19));
    EXPECT_EQ(shadowBits.Alpha(24, 3), shadowBits.Alpha(24, 34));
    EXPECT_TRUE(HeapsAreWhole());
}

TEST(ShadowUI, ExtremeSettingsStayInsideTheBitmap)
{
    ManagedWindow window(30, 20);
    struct Row
    {
        int size, sharpness, x, y;
    };
    const Row rows[] = { { 0, 5, 0, 0 }, { 0, 20, 20, 20 }, { 20, 0, -20, -20 }, { -20, 20, 20, -20 }, { -5, 0, -20, 20 },
                         { 20, 20, 20, 20 } };
    for (size_t i = 0; i < sizeof(rows) / sizeof(rows[0]); ++i) {
        CShadowUI shadow;
        ASSERT_TRUE(shadow.SetSize(rows[i].size));
        ASSERT_TRUE(shadow.SetSharpness(rows[i].sharpness));
        ASSERT_TRUE(shadow.SetPosition(rows[i].x, rows[i].y));
        int size = rows[i].size > 0 ? rows[i].size : 0;
        ShadowBits shadowBits(shadow, window.GetHWND(), size);
        EXPECT_TRUE(HeapsAreWhole()) << "row " << i;
    }
}

TEST(ShadowUI, NoShadowWindowWithoutShowShadow)
{
    SkinWindow plain(L"<Window shadowsize=\"4\"><Control/></Window>");
    EXPECT_TRUE(CShadowUI::FindShadow(plain.window.GetHWND()) == NULL);
    EXPECT_EQ(0, CountShadowWindows());
    SkinWindow shadowed(L"<Window showshadow=\"true\" shadowsize=\"4\"><Control/></Window>");
    CShadowUI* shadow = CShadowUI::FindShadow(shadowed.window.GetHWND());
    ASSERT_TRUE(shadow != NULL);
    HWND shadowWindow = shadow->GetShadowWindow();
    ASSERT_TRUE(shadowWindow != NULL);
    EXPECT_TRUE(GetWindow(shadowWindow, GW_OWNER) == shadowed.window.GetHWND());
    EXPECT_NE(0, GetWindowLongW(shadowWindow, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    // A second tree attached later does not subclass the window again.
    CDialogBuilder builder;
    shadowed.window.manager.AttachRoot(builder.Build(L"<Window><Control/></Window>", NULL, NULL, &shadowed.window.manager));
    EXPECT_TRUE(CShadowUI::FindShadow(shadowed.window.GetHWND()) == shadow);
    EXPECT_TRUE(shadow->GetShadowWindow() == shadowWindow);
    EXPECT_EQ(1, CountShadowWindows());
}

struct ShadowedWindow
{
    ShadowedWindow() : skin(L"<Window showshadow=\"true\" shadowsize=\"4\"><Control/></Window>", 200, 100)
    {
        hwnd = skin.window.GetHWND();
        shadow = CShadowUI::FindShadow(hwnd);
    }
    SIZE ShadowSize() const
    {
        RECT rc;
        GetWindowRect(shadow->GetShadowWindow(), &rc);
        SIZE size = { rc.right - rc.left, rc.bottom - rc.top };
        return size;
    }
    bool ShadowVisible() const { return IsWindowVisible(shadow->GetShadowWindow()) != FALSE; }
    SkinWindow skin;
    HWND hwnd;
    CShadowUI* shadow;
};

TEST(ShadowUI, HiddenWhileMinimisedOrMaximised)
{
    ShadowedWindow w;
    ASSERT_TRUE(w.shadow != NULL);
    EXPECT_TRUE(w.ShadowVisible());
    EXPECT_EQ(208, w.ShadowSize().cx);
    ShowWindow(w.hwnd, SW_MINIMIZE);
    EXPECT_FALSE(w.ShadowVisible());
    ShowWindow(w.hwnd, SW_RESTORE);
    EXPECT_TRUE(w.ShadowVisible());
    ShowWindow(w.hwnd, SW_MAXIMIZE);
    EXPECT_FALSE(w.ShadowVisible());
    ShowWindow(w.hwnd, SW_RESTORE);
    EXPECT_TRUE(w.ShadowVisible());
    ShowWindow(w.hwnd, SW_HIDE);
    EXPECT_FALSE(w.ShadowVisible());
}

TEST(ShadowUI, GrowingWaitsForPaintShrinkingRedrawsAtOnce)
{
    ShadowedWindow w;
    ASSERT_TRUE(w.shadow != NULL);
    SetWindowPos(w.hwnd, NULL, 0, 0, 260, 120, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(w.shadow->IsUpdatePending());
    EXPECT_EQ(208, w.ShadowSize().cx);
    InvalidateRect(w.hwnd, NULL, FALSE);
    UpdateWindow(w.hwnd);
    EXPECT_FALSE(w.shadow->IsUpdatePending());
    EXPECT_EQ(268, w.ShadowSize().cx);
    EXPECT_EQ(128, w.ShadowSize().cy);
    SetWindowPos(w.hwnd, NULL, 0, 0, 150, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_FALSE(w.shadow->IsUpdatePending());
    EXPECT_EQ(158, w.ShadowSize().cx);
    EXPECT_EQ(88, w.ShadowSize().cy);
    // Moving carries the shadow along at the window's offset.
    SetWindowPos(w.hwnd, NULL, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT rc;
    GetWindowRect(w.shadow->GetShadowWindow(), &rc);
    EXPECT_EQ(36, rc.left);
    EXPECT_EQ(46, rc.top);
    EXPECT_TRUE(HeapsAreWhole());
}

} // namespace
