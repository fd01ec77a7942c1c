#include "ControlWindow.h"

#include "control/ButtonUI.h"
#include "control/EditUI.h"
#include "control/TabLayoutUI.h"

#include <gtest/gtest.h>

using namespace DirectUI;

namespace {

const DWORD kNormal = 0x808080, kHot = 0xFF0000, kFocused = 0x0000FF, kDisabled = 0x101010;

struct EditWindow : ControlWindow
{
    explicit EditWindow(LPCWSTR attributes = L"")
    {
        edit = Add(new CEditUI, L"edit", L"10,10,210,40", attributes);
        away = Add(new CButtonUI, L"away", L"10,100,60,130");
        Show();
        // The first layout focused the field; its native window closes.
        away->SetFocus();
        Pump();
        recorder.got.clear();
    }
    // Focuses the field by a click, which opens its native window.
    HWND StartEditing()
    {
        Click(100, 25);
        recorder.got.clear();
        return edit->GetNativeWindow();
    }
    using ControlWindow::Count;
    int Count(const wchar_t* type) const
    {
        int n = 0;
        for (const NotifyRecorder::Entry& e : recorder.got)
            if (e.type == type) ++n;
        return n;
    }
    CEditUI* edit;
    CButtonUI* away;
};

TEST(Edit, FocusOpensANativeChildEditOverTheText)
{
    EditWindow w(L"text=\"start\"");
    HWND native = w.StartEditing();
    ASSERT_TRUE(native != NULL);
    EXPECT_EQ(native, ::GetFocus());
    WCHAR className[32] = { 0 };
    GetClassNameW(native, className, 32);
    EXPECT_STREQ(L"EditWnd", className);
    LONG style = GetWindowLongW(native, GWL_STYLE);
    EXPECT_NE(0, style & WS_CHILD);
    EXPECT_NE(0, style & ES_AUTOHSCROLL);
    WCHAR text[32] = { 0 };
    GetWindowTextW(native, text, 32);
    EXPECT_STREQ(L"start", text);
    // Inside the text padding (4, 3, 4, 3), centred on the font's height.
    RECT rc;
    GetWindowRect(native, &rc);
    POINT origin = { 0, 0 };
    ClientToScreen(w.window.GetHWND(), &origin);
    EXPECT_EQ(14, rc.left - origin.x);
    EXPECT_EQ(206, rc.right - origin.x);
    int height = w.window.manager.GetDefaultFontEntry()->tm.tmHeight;
    EXPECT_EQ(height, rc.bottom - rc.top);
    EXPECT_EQ(13 + (24 - height) / 2, rc.top - origin.y);
    // Losing the focus closes it.
    w.away->SetFocus();
    w.Pump();
    EXPECT_TRUE(w.edit->GetNativeWindow() == NULL);
    EXPECT_FALSE(IsWindow(native));
}

TEST(Edit, TypingIsCopiedBackAndReported)
{
    struct Row
    {
        const char* name;
        const wchar_t* attributes;
        const wchar_t* typed;
        const wchar_t* text;
        int changes;
    };
    const Row rows[] = {
        { "latin", L"", L"abc", L"abc", 3 },
        { "chinese", L"", L"\x5b89\x88c5\x8def\x5f84", L"\x5b89\x88c5\x8def\x5f84", 4 },
        // Wine's edit also reports a change for each refused character.
        { "maxchar 10", L"maxchar=\"10\"", L"0123456789AB", L"0123456789", -1 },
        { "number only", L"numberonly=\"true\"", L"1a2b3", L"123", 3 },
        { "read-only", L"readonly=\"true\" text=\"fixed\"", L"xyz", L"fixed", 0 },
    };
    for (const Row& row : rows) {
        EditWindow w(row.attributes);
        ASSERT_TRUE(w.StartEditing() != NULL) << row.name;
        w.Chars(row.typed);
        EXPECT_EQ(CUIString(row.text), w.edit->GetText()) << row.name;
        if (row.changes >= 0) EXPECT_EQ(row.changes, w.Count(L"textchanged")) << row.name;
        else EXPECT_GE(w.Count(L"textchanged"), 10) << row.name;
        for (const NotifyRecorder::Entry& e : w.recorder.got) {
            if (e.type == L"textchanged") {
                EXPECT_TRUE(e.sender == w.edit) << row.name;
            }
        }
    }
}

TEST(Edit, ReturnSendsReturnAndInsertsNothing)
{
    EditWindow w(L"text=\"ab\"");
    HWND native = w.StartEditing();
    ASSERT_TRUE(native != NULL);
    ::SendMessageW(native, WM_KEYDOWN, VK_RETURN, 1);
    ::SendMessageW(native, WM_CHAR, L'\r', 1);
    ::SendMessageW(native, WM_KEYUP, VK_RETURN, 1);
    EXPECT_EQ(1, w.Count(L"return"));
    EXPECT_EQ(CUIString(L"ab"), w.edit->GetText());
    WCHAR text[8] = { 0 };
    GetWindowTextW(native, text, 8);
    EXPECT_STREQ(L"ab", text);
}

// Records the selections the field asks its native window for.
std::vector<std::pair<WPARAM, LPARAM>> g_selections;
LRESULT CALLBACK RecordSelections(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == EM_SETSEL) g_selections.push_back(std::make_pair(call->wParam, call->lParam));
    return CallNextHookEx(NULL, code, wParam, lParam);
}

TEST(Edit, AClickOnTheFocusedFieldSelectsAll)
{
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, RecordSelections, NULL, GetCurrentThreadId());
    ASSERT_TRUE(hook != NULL);
    const wchar_t* texts[] = { L"hello", L"" };
    for (const wchar_t* text : texts) {
        EditWindow w;
        w.edit->SetText(text);
        g_selections.clear();
        // Focused, then its native window closed while the field keeps the
        // window's focus: the next click opens one and selects all.
        w.edit->SetFocus();
        ASSERT_TRUE(w.edit->GetNativeWindow() != NULL);
        ::SetFocus(w.window.GetHWND());
        w.Pump();
        ASSERT_TRUE(w.edit->GetNativeWindow() == NULL);
        ASSERT_TRUE(w.edit->IsFocused());
        g_selections.clear();
        w.Click(100, 25);
        ASSERT_FALSE(g_selections.empty()) << text;
        LPARAM end = wcslen(text) == 0 ? 1 : static_cast<LPARAM>(wcslen(text));
        EXPECT_EQ(0u, g_selections.back().first) << text;
        EXPECT_EQ(end, g_selections.back().second) << text;
        DWORD from = 0, to = 0;
        ::SendMessageW(w.edit->GetNativeWindow(), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        EXPECT_EQ(0u, from);
        EXPECT_EQ(wcslen(text), to);
    }
    UnhookWindowsHookEx(hook);
}

TEST(Edit, TipTextShowsInItsColourWhileEmpty)
{
    EditWindow w(L"tipvalue=\"\x8bf7\x8f93\x5165\x8def\x5f84\" textcolor=\"#FF000001\"");
    RECT field = { 10, 10, 210, 40 };
    EXPECT_GT(w.Count(field, 0xBAC0C5), 0);
    EXPECT_EQ(0, w.Count(field, 0x000001));
    w.edit->SetText(L"C:\\Orbela");
    EXPECT_EQ(0, w.Count(field, 0xBAC0C5));
    EXPECT_GT(w.Count(field, 0x000001), 0);
}

TEST(Edit, PasswordShowsOneCharacterPerCharacter)
{
    ControlWindow w;
    CEditUI* secret = w.Add(new CEditUI, L"secret", L"10,10,210,40", L"password=\"true\" textcolor=\"#FF000001\"");
    w.Add(new CEditUI, L"plain", L"10,50,210,80", L"text=\"****\" textcolor=\"#FF000001\"");
    CButtonUI* away = w.Add(new CButtonUI, L"away", L"10,100,60,130");
    w.Show();
    away->SetFocus(); // no native window covers either field
    w.Pump();
    secret->SetText(L"WxYz");
    std::unique_ptr<DibCanvas> shot = w.Capture();
    int differ = 0, ink = 0;
    for (int y = 10; y < 40; ++y) {
        for (int x = 10; x < 210; ++x) {
            DWORD a = shot->Pixel(x, y) & 0xFFFFFF, b = shot->Pixel(x, y + 40) & 0xFFFFFF;
            if (a != b) ++differ;
            if (a == 0x000001) ++ink;
        }
    }
    EXPECT_EQ(0, differ);
    EXPECT_GT(ink, 0);
}

TEST(Edit, StateImages)
{
    EditWindow w(L"normalimage=\"file='state-normal.png'\" hotimage=\"file='state-hot.png'\" "
                 L"focusedimage=\"file='state-focused.png'\" disabledimage=\"file='state-disabled.png'\"");
    EXPECT_EQ(kNormal, w.Pixel(11, 11));
    w.window.Mouse(WM_MOUSEMOVE, 11, 11);
    EXPECT_EQ(kHot, w.Pixel(11, 11));
    w.edit->SetFocus();
    EXPECT_EQ(kFocused, w.Pixel(11, 11));
    w.edit->SetEnabled(false);
    EXPECT_EQ(kDisabled, w.Pixel(11, 11));
}

TEST(Edit, NativeColoursAnswerTheReflectedColourMessage)
{
    EditWindow w(L"nativebkcolor=\"#FF00FF00\" nativetextcolor=\"#FFFF0000\"");
    HWND native = w.StartEditing();
    ASSERT_TRUE(native != NULL);
    HDC dc = GetDC(native);
    HBRUSH brush = reinterpret_cast<HBRUSH>(
        ::SendMessageW(w.window.GetHWND(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(native)));
    ASSERT_TRUE(brush != NULL);
    LOGBRUSH info;
    ASSERT_EQ(static_cast<int>(sizeof(info)), GetObjectW(brush, sizeof(info), &info));
    EXPECT_EQ(RGB(0, 255, 0), info.lbColor);
    EXPECT_EQ(RGB(255, 0, 0), GetTextColor(dc));
    ReleaseDC(native, dc);

    EditWindow plain;
    native = plain.StartEditing();
    dc = GetDC(native);
    EXPECT_EQ(0, ::SendMessageW(plain.window.GetHWND(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                reinterpret_cast<LPARAM>(native)));
    ReleaseDC(native, dc);
}

TEST(Edit, ATabSwitchClosesTheNativeWindow)
{
    ControlWindow w;
    CTabLayoutUI* tabs = w.Add(new CTabLayoutUI, L"tabs", L"0,0,300,200");
    CContainerUI* page = new CContainerUI;
    CEditUI* edit = new CEditUI;
    edit->ApplyAttributes(L"float=\"true\" pos=\"10,10,210,40\"");
    page->Add(edit);
    tabs->Add(page);
    tabs->Add(new CContainerUI);
    w.Show();
    w.Click(100, 25);
    HWND native = edit->GetNativeWindow();
    ASSERT_TRUE(native != NULL);
    tabs->SelectTab(1);
    w.Pump();
    EXPECT_TRUE(edit->GetNativeWindow() == NULL);
    EXPECT_FALSE(IsWindow(native));
}

TEST(Edit, DeletingTheFieldWhileEditing)
{
    EditWindow w(L"text=\"doomed\"");
    HWND native = w.StartEditing();
    ASSERT_TRUE(native != NULL);
    w.root->SetDelayedDestroy(false);
    w.root->Remove(w.edit);
    w.Pump();
    EXPECT_FALSE(IsWindow(native));
    EXPECT_TRUE(w.window.manager.FindControl(L"edit") == NULL);
    w.window.Repaint();
}

TEST(Edit, ALayeredWindowGetsAPopupInScreenCoordinates)
{
    ControlWindow w;
    w.window.manager.SetLayered(true);
    CEditUI* edit = w.Add(new CEditUI, L"edit", L"10,10,210,40");
    w.Show();
    edit->SetFocus();
    HWND native = edit->GetNativeWindow();
    ASSERT_TRUE(native != NULL);
    LONG style = GetWindowLongW(native, GWL_STYLE);
    EXPECT_NE(0, style & WS_POPUP);
    EXPECT_EQ(0, style & WS_CHILD);
    EXPECT_TRUE(GetAncestor(native, GA_PARENT) != w.window.GetHWND());
    RECT rc;
    GetWindowRect(native, &rc);
    POINT origin = { 0, 0 };
    ClientToScreen(w.window.GetHWND(), &origin);
    EXPECT_EQ(origin.x + 14, rc.left);
    EXPECT_EQ(origin.x + 206, rc.right);
    w.Chars(L"xy");
    EXPECT_EQ(CUIString(L"xy"), edit->GetText());
}

} // namespace
