#include "ControlWindow.h"

#include "control/SliderUI.h"
#include "control/TextUI.h"

#include <gtest/gtest.h>

using namespace DirectUI;

namespace {

const DWORD kRed = 0xFF0000, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

TEST(Progress, ValueOutsideTheRangeIsIgnoredAndTheMaximumFillsToTheEdge)
{
    ControlWindow w;
    CProgressUI* bar = w.Add(new CProgressUI, L"p", L"10,10,110,20", L"foreimage=\"file='state-hot.png'\"");
    w.Show();
    bar->SetValue(50);
    bar->SetValue(101);
    EXPECT_EQ(50, bar->GetValue());
    bar->SetValue(-1);
    EXPECT_EQ(50, bar->GetValue());
    EXPECT_EQ(kWhite, w.Pixel(70, 15));
    bar->SetValue(100);
    EXPECT_EQ(kRed, w.Pixel(109, 15));
    EXPECT_EQ(kRed, w.Pixel(10, 15));
}

TEST(Progress, EqualMinimumAndMaximumAreRepairedAndKept)
{
    ControlWindow w;
    CProgressUI* bar = w.Add(new CProgressUI, L"p", L"10,10,110,20",
                             L"min=\"5\" max=\"5\" value=\"5\" foreimage=\"file='state-hot.png'\"");
    w.Show();
    EXPECT_EQ(6, bar->GetMaxValue());
    EXPECT_EQ(5, bar->GetValue());
    EXPECT_EQ(kWhite, w.Pixel(20, 15)); // 5 of 5..6: nothing filled
    bar->SetValue(6);
    EXPECT_EQ(kRed, w.Pixel(108, 15));
}

TEST(Progress, FillTable)
{
    struct Row
    {
        const wchar_t* attributes;
        int x, y;
        DWORD colour;
    };
    // bar.png is 100x4: red left half, blue right half; the control is 100x40.
    const Row rows[] = {
        // Unstretched: the image's left half shows where it is.
        { L"value=\"50\" isstretchfore=\"false\"", 20, 2, kRed },
        { L"value=\"50\" isstretchfore=\"false\"", 45, 2, kRed },
        { L"value=\"50\" isstretchfore=\"false\"", 60, 2, kWhite },
        // Stretched: the whole image is squeezed into the filled half.
        { L"value=\"50\"", 20, 20, kRed },
        { L"value=\"50\"", 40, 20, kBlue },
        { L"value=\"50\"", 60, 20, kWhite },
        // Vertical: a quarter from the bottom.
        { L"value=\"25\" hor=\"false\"", 50, 35, kBlue },
        { L"value=\"25\" hor=\"false\"", 50, 20, kWhite },
    };
    for (const Row& row : rows) {
        ControlWindow w;
        CUIString attributes(L"foreimage=\"file='bar.png'\" ");
        attributes += row.attributes;
        w.Add(new CProgressUI, L"p", L"0,0,100,40", attributes);
        w.Show();
        EXPECT_EQ(row.colour, w.Pixel(row.x, row.y)) << row.attributes << " at " << row.x << "," << row.y;
    }
}

// Notifications with the slider's value when each was sent.
struct SliderWindow : ControlWindow, INotifyUI
{
    SliderWindow(LPCWSTR attributes)
    {
        slider = Add(new CSliderUI, L"s", L"10,10,110,30", attributes);
        window.manager.AddNotifier(this);
        Show();
        sent.clear();
    }
    void Notify(NotifyRecord& msg) override
    {
        if (msg.sType == L"setfocus" || msg.sType == L"killfocus") return;
        sent += std::wstring(msg.sType.GetData()) + L"=" + std::to_wstring(slider->GetValue()) + L";";
    }
    CSliderUI* slider;
    std::wstring sent;
};

TEST(Slider, NotificationsTable)
{
    struct Step
    {
        UINT msg;
        int x;
        WPARAM wParam;
    };
    struct Row
    {
        const char* name;
        const wchar_t* attributes;
        std::vector<Step> steps;
        const wchar_t* sent;
    };
    // 100 wide, thumb 10: x = 15 is the minimum, 105 the maximum, 60 the middle.
    const Row rows[] = {
        { "press and release in place", L"value=\"50\"", { { WM_LBUTTONDOWN, 60 }, { WM_LBUTTONUP, 60 } },
          L"valuechanged=50;" },
        { "drag without sendmove", L"",
          { { WM_LBUTTONDOWN, 15 }, { WM_MOUSEMOVE, 40 }, { WM_MOUSEMOVE, 60 }, { WM_LBUTTONUP, 105 } },
          L"valuechanged=100;" },
        { "drag with sendmove", L"sendmove=\"true\"",
          { { WM_LBUTTONDOWN, 15 }, { WM_MOUSEMOVE, 60 }, { WM_MOUSEMOVE, 105 }, { WM_LBUTTONUP, 105 } },
          L"movevaluechanged=50;movevaluechanged=100;valuechanged=100;" },
        { "wheel up at the maximum", L"value=\"100\"", { { WM_MOUSEWHEEL, 60, MAKEWPARAM(0, 120) } },
          L"valuechanged=100;" },
        { "wheel down by the step", L"value=\"50\" step=\"5\"", { { WM_MOUSEWHEEL, 60, MAKEWPARAM(0, -120) } },
          L"valuechanged=45;" },
    };
    for (const Row& row : rows) {
        SliderWindow w(row.attributes);
        for (const Step& step : row.steps) {
            if (step.msg == WM_MOUSEWHEEL) w.window.ScreenMouse(step.msg, step.x, 20, step.wParam);
            else w.window.Mouse(step.msg, step.x, 20, step.msg == WM_LBUTTONUP ? 0 : MK_LBUTTON);
        }
        EXPECT_EQ(row.sent, w.sent) << row.name;
    }
}

TEST(Slider, ThumbImagesFollowTheState)
{
    SliderWindow w(L"value=\"0\" thumbsize=\"10,10\" thumbimage=\"file='state-normal.png'\" "
                   L"thumbhotimage=\"file='state-hot.png'\" thumbpushedimage=\"file='state-pushed.png'\"");
    EXPECT_EQ(0x808080u, w.Pixel(15, 20));
    w.window.Mouse(WM_MOUSEMOVE, 15, 20);
    EXPECT_EQ(kRed, w.Pixel(15, 20));
    w.window.Mouse(WM_LBUTTONDOWN, 15, 20, MK_LBUTTON);
    EXPECT_EQ(0x00FF00u, w.Pixel(15, 20));
    w.window.Mouse(WM_LBUTTONUP, 15, 20);
}

// A slider as wide as its thumb, and one whose minimum equals its maximum
// before it was ever painted, take every kind of input.
TEST(Slider, DegenerateSlidersSurviveInput)
{
    const wchar_t* rows[] = { L"thumbsize=\"100,10\" value=\"30\"", L"min=\"7\" max=\"7\"",
                              L"hor=\"false\" thumbsize=\"10,20\"", L"min=\"-2147483648\" max=\"2147483647\"" };
    for (const wchar_t* attributes : rows) {
        ControlWindow w;
        CSliderUI* slider = new CSliderUI;
        slider->ApplyAttributes(attributes);
        slider->SetName(L"s");
        slider->SetAttribute(L"float", L"true");
        slider->SetAttribute(L"pos", L"10,10,110,30");
        w.root->Add(slider);
        w.window.manager.AttachRoot(w.root);
        // Input before the first paint.
        for (int x : { 10, 60, 109 }) {
            w.window.Mouse(WM_MOUSEMOVE, x, 20);
            w.window.Mouse(WM_LBUTTONDOWN, x, 20, MK_LBUTTON);
            w.window.Mouse(WM_MOUSEMOVE, x + 1, 20, MK_LBUTTON);
            w.window.Mouse(WM_LBUTTONUP, x + 1, 20);
            w.window.ScreenMouse(WM_MOUSEWHEEL, x, 20, MAKEWPARAM(0, 120));
        }
        w.window.Repaint();
        EXPECT_LT(slider->GetMinValue(), slider->GetMaxValue()) << attributes;
        EXPECT_GE(slider->GetValue(), slider->GetMinValue()) << attributes;
        EXPECT_LE(slider->GetValue(), slider->GetMaxValue()) << attributes;
    }
}

// A text control with markup; each recorded link piece is clicked at its
// centre and the "link" indexes are collected.
struct TextWindow : ControlWindow
{
    TextWindow(LPCWSTR text, LPCWSTR pos = L"0,0,300,200")
    {
        control = Add(new CTextUI, L"t", pos, L"showhtml=\"true\"");
        control->SetText(text);
        Show();
    }
    std::wstring ClickEveryPiece()
    {
        std::wstring reported;
        for (int slot = 0; slot < control->GetLinkCount(); ++slot) {
            RECT piece = control->GetLinkRect(slot);
            if (IsRectEmpty(&piece)) continue; // a link closed at the start of a line
            int x = (piece.left + piece.right) / 2, y = (piece.top + piece.bottom) / 2;
            recorder.got.clear();
            window.Mouse(WM_MOUSEMOVE, x, y);
            window.Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
            window.Mouse(WM_LBUTTONUP, x, y);
            for (const NotifyRecorder::Entry& e : recorder.got)
                if (e.type == L"link") reported += std::to_wstring(e.wParam) + L";";
        }
        return reported;
    }
    CTextUI* control;
};

TEST(Text, AutoWidthIsMeasuredWithoutAnotherLayout)
{
    ControlWindow w;
    CTextUI* text = w.Add(new CTextUI, L"t", L"0,0,10,30", L"autocalcwidth=\"true\" text=\"A measured text\"");
    w.Show();
    SIZE available = { 300, 200 };
    SIZE size = text->PreferredSize(available);
    EXPECT_GT(size.cx, 40);
    EXPECT_EQ(size.cx, text->GetFixedWidth());
    EXPECT_FALSE(w.window.manager.IsUpdateNeeded());
    EXPECT_EQ(size.cx, text->PreferredSize(available).cx);
}

TEST(Text, LinksReportTheirIndexInTextOrder)
{
    TextWindow w(L"See {a one}one{/a}, {a two}two{/a} and {a three}three{/a}.");
    ASSERT_EQ(3, w.control->GetLinkCount());
    EXPECT_EQ(L"0;1;2;", w.ClickEveryPiece());
    // Outside every link nothing is sent.
    w.recorder.got.clear();
    w.Click(290, 190);
    EXPECT_EQ(L"", w.recorder.Types());
    EXPECT_EQ(static_cast<UINT>(UIFLAG_SETCURSOR), w.control->GetControlFlags());
}

TEST(Text, ANinthLinkIsNotReported)
{
    TextWindow w(L"{a 1}1{/a} {a 2}2{/a} {a 3}3{/a} {a 4}4{/a} {a 5}5{/a} {a 6}6{/a} {a 7}7{/a} {a 8}8{/a} {a 9}9{/a}");
    ASSERT_EQ(8, w.control->GetLinkCount());
    EXPECT_EQ(L"0;1;2;3;4;5;6;7;", w.ClickEveryPiece());
    RECT last = w.control->GetLinkRect(7);
    w.recorder.got.clear();
    w.Click(last.right + 8, (last.top + last.bottom) / 2); // the ninth
    EXPECT_EQ(L"", w.recorder.Types());
}

TEST(Text, OneLinkOverManyLines)
{
    // A narrow control: the first link wraps over several lines.
    TextWindow w(L"{a long}a link whose words wrap over many lines here{/a} {a next}next{/a}", L"0,0,80,300");
    ASSERT_GT(w.control->GetLinkCount(), 2);
    ASSERT_LE(w.control->GetLinkCount(), CTextUI::kMaxLinks);
    std::wstring expected;
    for (int i = 0; i < w.control->GetLinkCount() - 1; ++i) {
        RECT piece = w.control->GetLinkRect(i);
        if (!IsRectEmpty(&piece)) expected += L"0;";
    }
    EXPECT_EQ(expected + L"1;", w.ClickEveryPiece());
}

TEST(Text, LongLinkFillsAtMostTheEightSlots)
{
    std::wstring text = L"{a flood}";
    for (int i = 0; i < 40; ++i) text += L"word ";
    text += L"{/a}";
    TextWindow w(text.c_str(), L"0,0,60,600");
    EXPECT_EQ(8, w.control->GetLinkCount());
    std::wstring reported = w.ClickEveryPiece();
    EXPECT_EQ(L"0;0;0;0;0;0;0;0;", reported);
}

} // namespace
