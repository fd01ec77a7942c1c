#include "ControlWindow.h"

#include "control/ButtonUI.h"
#include "control/RichEditUI.h"
#include "control/ScrollBarUI.h"

#include <gtest/gtest.h>
#include <richedit.h>

using namespace DirectUI;

namespace {

const DWORD kInk = 0x102030;

// A licence-like Chinese text of several KB, paragraphs ended by "\r" as
// the text services keep them.
std::wstring Licence()
{
    std::wstring text;
    for (int i = 1; i <= 120; ++i) {
        text += L"\x7b2c" + std::to_wstring(i) + L"\x6761\xff1a\x672c\x8f6f\x4ef6\x8bb8\x53ef\x534f\x8bae"
                L"\x9002\x7528\x4e8e\x5b89\x88c5\x3001\x66f4\x65b0\x548c\x5378\x8f7d\x3002\r";
    }
    return text;
}

struct RichEditWindow : ControlWindow
{
    explicit RichEditWindow(LPCWSTR attributes = L"", LPCWSTR pos = L"10,10,210,110") : ControlWindow(300, 200)
    {
        window.manager.SetDefaultFontColor(0xFF000000 | kInk);
        window.manager.SetDefaultAttributes(L"VScrollBar", L"width=\"12\"");
        rich = Add(new CRichEditUI, L"rich", pos, attributes);
        away = Add(new CButtonUI, L"away", L"250,150,290,190");
        Show();
        away->SetFocus();
        recorder.got.clear();
    }
    int Sent(const wchar_t* type) const
    {
        int n = 0;
        for (const NotifyRecorder::Entry& e : recorder.got)
            if (e.type == type) ++n;
        return n;
    }
    RECT Client() const { return rich->GetTextClientRect(); }
    CRichEditUI* rich;
    CButtonUI* away;
};

TEST(RichEdit, ALongChineseTextIsSetAndReadBack)
{
    RichEditWindow w(L"vscrollbar=\"true\" autovscroll=\"true\"");
    ASSERT_TRUE(w.rich->HasTextServices());
    std::wstring licence = Licence();
    ASSERT_GT(licence.size() * sizeof(wchar_t), 4096u);
    w.rich->SetText(licence.c_str());
    EXPECT_EQ(static_cast<long>(licence.size()), w.rich->GetTextLength());
    EXPECT_EQ(licence, std::wstring(w.rich->GetText().GetData()));
    RECT client = w.Client();
    int area = (client.right - client.left) * (client.bottom - client.top);
    EXPECT_GT(area - w.Count(client, 0xFFFFFF), 50);
}

TEST(RichEdit, TypedCharactersReadBackExactly)
{
    RichEditWindow w(L"textcolor=\"#FFFF0000\"");
    w.rich->SetFocus();
    w.Chars(L"Orbela \x5b89\x88c5\x5411\x5bfc");
    EXPECT_EQ(CUIString(L"Orbela \x5b89\x88c5\x5411\x5bfc"), w.rich->GetText());
    EXPECT_GT(w.Count(w.Client(), 0xFF0000), 20); // in the text colour
}

TEST(RichEdit, ReturnWithoutWantReturnSendsReturn)
{
    struct Row
    {
        const wchar_t* attributes;
        int returns;
        const wchar_t* text;
    };
    const Row rows[] = {
        { L"wantreturn=\"false\"", 1, L"ab" },
        { L"", 0, L"a\rb" },
    };
    for (const Row& row : rows) {
        RichEditWindow w(row.attributes);
        w.rich->SetFocus();
        w.Chars(L"a");
        w.Key(WM_KEYDOWN, VK_RETURN);
        w.Key(WM_KEYUP, VK_RETURN);
        w.Chars(L"b");
        EXPECT_EQ(row.returns, w.Sent(L"return")) << row.attributes;
        EXPECT_EQ(CUIString(row.text), w.rich->GetText()) << row.attributes;
    }
}

// Pixels of the caret's colour at the start of an empty text.
int CaretInk(RichEditWindow& w)
{
    RECT client = w.Client();
    RECT start = { client.left, client.top, client.left + 6, client.top + 30 };
    return w.Count(start, kInk);
}

TEST(RichEdit, ReadOnlyIgnoresTypingAndShowsNoCaret)
{
    RichEditWindow editable;
    editable.rich->SetFocus();
    EXPECT_TRUE(editable.window.manager.GetCaretOwner() == editable.rich);
    EXPECT_GT(CaretInk(editable), 0);

    RichEditWindow w(L"readonly=\"true\"");
    w.rich->SetFocus();
    EXPECT_TRUE(w.rich->IsFocused());
    w.Chars(L"typed");
    EXPECT_EQ(CUIString(L""), w.rich->GetText());
    EXPECT_EQ(0, CaretInk(w));
}

TEST(RichEdit, TheCaretBlinksByItsTimerAndGoesWithItsControl)
{
    RichEditWindow w;
    w.rich->SetFocus();
    ASSERT_GT(CaretInk(w), 0);
    // Wait for the blink timer (bounded: a few blink periods).
    ASSERT_TRUE(WaitForMessage(
        [](const MSG& msg) { return msg.message == WM_TIMER && msg.wParam == CWindowUIManager::kCaretTimerId; },
        10 * GetCaretBlinkTime() + 2000));
    EXPECT_EQ(0, CaretInk(w)); // blinked off
    w.root->SetDelayedDestroy(false);
    w.root->Remove(w.rich);
    EXPECT_TRUE(w.window.manager.GetCaretOwner() == NULL);
    EXPECT_FALSE(KillTimer(w.window.manager.GetPaintWindow(), CWindowUIManager::kCaretTimerId))
        << "the blink timer stops with its control";
    w.window.Repaint();
    w.window.Repaint();
}

TEST(RichEdit, TipTextShowsUntilFocus)
{
    RichEditWindow w(L"tipvalue=\"\x8bf7\x9605\x8bfb\x534f\x8bae\"");
    EXPECT_EQ(CUIString(L"\x8bf7\x9605\x8bfb\x534f\x8bae"), w.rich->GetText());
    RECT client = w.Client();
    EXPECT_GT(w.Count(client, 0xBAC0C5), 0);
    w.rich->SetFocus();
    EXPECT_EQ(CUIString(L""), w.rich->GetText());
    EXPECT_EQ(0, w.Count(client, 0xBAC0C5));
    w.away->SetFocus();
    EXPECT_GT(w.Count(client, 0xBAC0C5), 0);
}

TEST(RichEdit, ALongTextRangesTheVerticalBarAndLineDownScrolls)
{
    RichEditWindow w(L"vscrollbar=\"true\" autovscroll=\"true\"");
    CScrollBarUI* bar = w.rich->GetVerticalScrollBar();
    EXPECT_TRUE(bar == NULL || !bar->IsVisible());
    w.rich->SetText(Licence().c_str());
    bar = w.rich->GetVerticalScrollBar();
    ASSERT_TRUE(bar != NULL);
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_GT(bar->GetScrollRange(), 1000);
    EXPECT_EQ(210, bar->GetPos().right); // along the right edge
    EXPECT_EQ(198, bar->GetPos().left);
    EXPECT_EQ(198, w.Client().right);
    w.rich->HomeUp(); // setting the text scrolled to its end
    LRESULT first = -1;
    w.rich->TxSendMessage(EM_GETFIRSTVISIBLELINE, 0, 0, &first);
    EXPECT_EQ(0, first);
    std::unique_ptr<DibCanvas> before = w.Capture();
    w.rich->LineDown();
    w.rich->TxSendMessage(EM_GETFIRSTVISIBLELINE, 0, 0, &first);
    EXPECT_EQ(1, first);
    EXPECT_GT(bar->GetScrollPos(), 0);
    std::unique_ptr<DibCanvas> after = w.Capture();
    RECT client = w.Client();
    int changed = 0;
    for (int y = client.top; y < client.bottom; ++y)
        for (int x = client.left; x < client.right; ++x)
            if (before->Pixel(x, y) != after->Pixel(x, y)) ++changed;
    EXPECT_GT(changed, 50);
    // The bar's own thumb drag moves the text too.
    w.rich->SetScrollPos(SIZE{ 0, 0 });
    w.rich->TxSendMessage(EM_GETFIRSTVISIBLELINE, 0, 0, &first);
    EXPECT_EQ(0, first);
}

TEST(RichEdit, MaxCharZeroMeansTheDefaultLimit)
{
    const struct
    {
        const wchar_t* attributes;
        LRESULT limit;
    } rows[] = { { L"maxchar=\"0\"", 32767 }, { L"maxchar=\"-5\"", 32767 }, { L"maxchar=\"12\"", 12 }, { L"", 32767 } };
    for (const auto& row : rows) {
        RichEditWindow w(row.attributes);
        EXPECT_EQ(row.limit, w.rich->GetLimitText()) << row.attributes;
        // The services stop typing at the limit.
        w.rich->SetFocus();
        std::wstring typed(row.limit == 12 ? 15 : 40, L'x');
        w.Chars(typed.c_str());
        EXPECT_EQ(row.limit == 12 ? 12 : 40, w.rich->GetTextLength()) << row.attributes;
    }
}

TEST(RichEdit, StateImages)
{
    // The padding is outside the text: the services never take the mouse there.
    RichEditWindow w(L"textpadding=\"10,10,10,10\" normalimage=\"file='state-normal.png'\" hotimage=\"file='state-hot.png'\" "
                     L"focusedimage=\"file='state-focused.png'\" disabledimage=\"file='state-disabled.png'\"");
    EXPECT_EQ(0x808080u, w.Pixel(12, 12));
    w.window.Mouse(WM_MOUSEMOVE, 12, 12);
    EXPECT_EQ(0xFF0000u, w.Pixel(12, 12));
    w.rich->SetFocus();
    EXPECT_EQ(0x0000FFu, w.Pixel(12, 12));
    w.rich->SetEnabled(false);
    EXPECT_EQ(0x101010u, w.Pixel(12, 12));
}

TEST(RichEdit, AClickFocusesAndPlacesTheCaret)
{
    RichEditWindow w;
    w.rich->SetText(L"abcdef");
    w.Click(200, 20); // right of the text on its line
    EXPECT_TRUE(w.rich->IsFocused());
    CHARRANGE range = { -1, -1 };
    w.rich->TxSendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range), NULL);
    EXPECT_EQ(6, range.cpMin);
    EXPECT_EQ(6, range.cpMax);
}

// Run with msftedit disabled (see the test list): no text services, and the
// control still paints and takes input.
TEST(WithoutTextServices, PaintsItsBackgroundAndNothingCrashes)
{
    HMODULE library = LoadLibraryW(L"msftedit.dll");
    ASSERT_TRUE(library == NULL) << "msftedit was not disabled for this run";
    RichEditWindow w(L"bkcolor=\"#FF00FF00\" vscrollbar=\"true\" tipvalue=\"tip\"");
    EXPECT_FALSE(w.rich->HasTextServices());
    EXPECT_EQ(0x00FF00u, w.Pixel(100, 60));
    w.rich->SetText(L"kept");
    EXPECT_EQ(CUIString(L"kept"), w.rich->GetText());
    EXPECT_EQ(S_FALSE, w.rich->TxSendMessage(WM_CHAR, 'x', 0, NULL));
    w.Click(100, 60);
    w.Chars(L"typed");
    w.Key(WM_KEYDOWN, VK_RETURN);
    w.rich->LineDown();
    w.rich->SetScrollPos(SIZE{ 0, 10 });
    w.window.ScreenMouse(WM_MOUSEWHEEL, 100, 60, MAKEWPARAM(MK_CONTROL, 120));
    EXPECT_EQ(0x00FF00u, w.Pixel(100, 60));
}

} // namespace
