#include "window/WindowWnd.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using DirectUI::CWindowWnd;

namespace {
class TestWindow : public CWindowWnd
{
public:
    // Answers a message when it sets handled; anything else goes to the system.
    std::function<LRESULT(UINT, WPARAM, LPARAM, bool&)> onMessage;
    HWND ncDestroyed = NULL;

protected:
    LPCWSTR GetWindowClassName() const override { return L"OrbelaTestWindow"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        bool handled = false;
        LRESULT result = onMessage ? onMessage(msg, wParam, lParam, handled) : 0;
        return handled ? result : CWindowWnd::HandleMessage(msg, wParam, lParam);
    }
    void OnNcDestroyed(HWND hWnd) override { ncDestroyed = hWnd; }
};

class SystemEdit : public CWindowWnd
{
public:
    int setTextSeen = 0;
    LPCWSTR superClass = L"EDIT";

protected:
    LPCWSTR GetWindowClassName() const override { return L"OrbelaTestEdit"; }
    LPCWSTR GetSuperClassName() const override { return superClass; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_SETTEXT) ++setTextSeen;
        return CWindowWnd::HandleMessage(msg, wParam, lParam);
    }
};

// A window object that deletes itself when its window ends, as the native
// helper windows of the controls do. Its block is kept after the deletion and
// filled, so a test can see whether anything wrote to it afterwards.
class SelfDeletingWindow : public CWindowWnd
{
public:
    static void* operator new(size_t size)
    {
        block = static_cast<unsigned char*>(::operator new(size));
        blockSize = size;
        return block;
    }
    static void operator delete(void* p)
    {
        memset(p, 0xCD, blockSize);
        deleted = true;
    }
    // Whether nothing touched the block since the deletion; frees it.
    static bool UntouchedSinceDeletion()
    {
        bool untouched = true;
        for (size_t i = 0; i < blockSize; ++i) untouched = untouched && block[i] == 0xCD;
        ::operator delete(block);
        block = NULL;
        return untouched;
    }
    static unsigned char* block;
    static size_t blockSize;
    static bool deleted;

protected:
    LPCWSTR GetWindowClassName() const override { return L"OrbelaTestRefusedWindow"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_CREATE) return -1; // refuses to be made
        return CWindowWnd::HandleMessage(msg, wParam, lParam);
    }
    void OnNcDestroyed(HWND) override { delete this; }
};
unsigned char* SelfDeletingWindow::block = NULL;
size_t SelfDeletingWindow::blockSize = 0;
bool SelfDeletingWindow::deleted = false;

RECT WorkArea()
{
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}
} // namespace

TEST(WindowWnd, RegistersOneClassForManyWindows)
{
    TestWindow first, second;
    HWND a = first.Create(NULL, L"first", WS_POPUP, 0, 0, 0, 100, 100);
    HWND b = second.Create(NULL, L"second", WS_POPUP, 0, 0, 0, 100, 100);
    ASSERT_TRUE(a != NULL);
    ASSERT_TRUE(b != NULL);
    EXPECT_NE(a, b);
    EXPECT_EQ(a, first.GetHWND());
    EXPECT_TRUE(first.RegisterWindowClass());

    DestroyWindow(a);
    EXPECT_EQ(a, first.ncDestroyed);
    EXPECT_TRUE(first.GetHWND() == NULL);
    DestroyWindow(b);

    // A window that does not exist takes no orders.
    first.Close(1);
    first.ShowWindow(true);
}

TEST(WindowWnd, AnObjectThatDeletedItselfInAFailedCreationIsNotTouchedAgain)
{
    SelfDeletingWindow* window = new SelfDeletingWindow;
    EXPECT_TRUE(window->Create(NULL, L"refused", WS_POPUP, 0, 0, 0, 100, 100) == NULL);
    ASSERT_TRUE(SelfDeletingWindow::deleted);
    EXPECT_TRUE(SelfDeletingWindow::UntouchedSinceDeletion());
}

TEST(WindowWnd, ModalLoopAnswersTheLastCloseCode)
{
    struct Row { const char* what; UINT posted; UINT expected; };
    const Row rows[] = {
        { "closed with 7", 7, 7 },
        { "destroyed without closing", 0, 0 },
    };
    for (const Row& row : rows) {
        TestWindow owner, modal;
        ASSERT_TRUE(owner.Create(NULL, L"owner", WS_POPUP, 0, 0, 0, 300, 300) != NULL);
        ASSERT_TRUE(modal.Create(owner, L"modal", WS_POPUP, 0, 0, 0, 100, 100) != NULL);
        bool ownerDisabled = false;
        modal.onMessage = [&](UINT msg, WPARAM, LPARAM, bool& handled) -> LRESULT {
            if (msg != WM_APP) return 0;
            handled = true;
            ownerDisabled = !IsWindowEnabled(owner);
            if (row.posted != 0) modal.Close(row.posted);
            else DestroyWindow(modal);
            return 0;
        };
        modal.PostMessage(WM_APP);
        EXPECT_EQ(row.expected, modal.ShowModal()) << row.what;
        EXPECT_TRUE(ownerDisabled) << row.what;
        EXPECT_TRUE(IsWindowEnabled(owner)) << row.what;
        EXPECT_FALSE(IsWindow(modal.GetHWND())) << row.what;
        DestroyWindow(owner);
    }
}

TEST(WindowWnd, QuitEndsTheModalLoopAndReachesTheOuterLoop)
{
    TestWindow modal;
    ASSERT_TRUE(modal.Create(NULL, L"modal", WS_POPUP, 0, 0, 0, 100, 100) != NULL);
    PostQuitMessage(9);
    EXPECT_EQ(0u, modal.ShowModal());
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(9u, msg.wParam);
    EXPECT_TRUE(IsWindow(modal.GetHWND()));
    DestroyWindow(modal);
}

TEST(WindowWnd, CentresOnItsOwnerWithinTheWorkArea)
{
    const RECT work = WorkArea();
    const int workWidth = work.right - work.left, workHeight = work.bottom - work.top;
    struct Row { const char* what; RECT owner; int width, height; int x, y; };
    const Row rows[] = {
        { "no owner", { 0, 0, 0, 0 }, 200, 100,
          (work.left + work.right) / 2 - 100, (work.top + work.bottom) / 2 - 50 },
        { "wider than the work area", { 0, 0, 0, 0 }, workWidth + 200, 100, work.left,
          (work.top + work.bottom) / 2 - 50 },
        { "on its owner", { 100, 100, 600, 500 }, 200, 100, 250, 250 },
        { "owner at the right edge", { work.right - 100, 100, work.right, 300 }, 400, 100, work.right - 400, 150 },
        { "owner above the top", { 100, work.top - 300, 300, work.top - 100 }, 100, 100, 150, work.top },
    };
    (void)workHeight;
    for (const Row& row : rows) {
        TestWindow owner, window;
        HWND ownerHandle = NULL;
        if (row.owner.right != 0)
            ownerHandle = owner.Create(NULL, L"owner", WS_POPUP, 0, row.owner);
        ASSERT_TRUE(window.Create(ownerHandle, L"centred", WS_POPUP, 0, 0, 0, row.width, row.height) != NULL);
        window.CenterWindow();
        RECT rc;
        GetWindowRect(window, &rc);
        EXPECT_EQ(row.x, rc.left) << row.what;
        EXPECT_EQ(row.y, rc.top) << row.what;
        EXPECT_EQ(row.width, rc.right - rc.left) << row.what;
        DestroyWindow(window);
        if (ownerHandle != NULL) DestroyWindow(ownerHandle);
    }
}

TEST(WindowWnd, SuperclassKeepsTheSystemClassBehaviour)
{
    SystemEdit edit;
    ASSERT_TRUE(edit.Create(NULL, L"hello", WS_POPUP, 0, 0, 0, 100, 30) != NULL);
    WCHAR text[32] = { 0 };
    GetWindowTextW(edit, text, 32);
    EXPECT_STREQ(L"hello", text);
    edit.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"changed"));
    GetWindowTextW(edit, text, 32);
    EXPECT_STREQ(L"changed", text);
    EXPECT_EQ(1, edit.setTextSeen);
    EXPECT_TRUE(GetPropW(edit, L"WndX") == static_cast<HANDLE>(static_cast<CWindowWnd*>(&edit)));
    DestroyWindow(edit);
    EXPECT_TRUE(edit.GetHWND() == NULL);

    SystemEdit missing;
    missing.superClass = L"NoSuchSystemClass";
    EXPECT_TRUE(missing.Create(NULL, L"x", WS_POPUP, 0, 0, 0, 10, 10) == NULL);
}
