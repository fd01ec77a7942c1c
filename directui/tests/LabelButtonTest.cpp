#include "ControlWindow.h"

#include "control/ButtonUI.h"
#include "control/CheckBoxUI.h"

#include <gtest/gtest.h>

using namespace DirectUI;

namespace {

const DWORD kNormal = 0x808080, kHot = 0xFF0000, kPushed = 0x00FF00, kFocused = 0x0000FF, kDisabled = 0x101010;
const DWORD kFore = 0xFF8000;

const wchar_t* kStateImages = L"normalimage=\"file='state-normal.png'\" hotimage=\"file='state-hot.png'\" "
                              L"pushedimage=\"file='state-pushed.png'\" focusedimage=\"file='state-focused.png'\" "
                              L"disabledimage=\"file='state-disabled.png'\"";

TEST(Label, UnsetTextColourTakesAndKeepsTheDefault)
{
    ControlWindow w;
    w.window.manager.SetDefaultFontColor(0xFF123456);
    CLabelUI* label = w.Add(new CLabelUI, L"label", L"10,10,200,40", L"text=\"Label\"");
    w.Show();
    EXPECT_EQ(0xFF123456u, label->GetTextColor());
    w.window.manager.SetDefaultFontColor(0xFF654321);
    w.window.Repaint();
    EXPECT_EQ(0xFF123456u, label->GetTextColor());
}

TEST(Label, AlignmentAttributesSetTheTextStyle)
{
    struct Row
    {
        const wchar_t* attributes;
        UINT style;
    };
    const Row rows[] = {
        { L"", DT_VCENTER },
        { L"align=\"center\"", DT_VCENTER | DT_CENTER },
        { L"align=\"right\"", DT_VCENTER | DT_RIGHT },
        { L"align=\"button\"", DT_VCENTER },
        { L"valign=\"top\"", DT_SINGLELINE },
        { L"valign=\"bottom\"", DT_BOTTOM | DT_SINGLELINE },
        { L"valign=\"top\" align=\"left\"", 0 },
        { L"endellipsis=\"true\"", DT_VCENTER | DT_END_ELLIPSIS },
    };
    for (const Row& row : rows) {
        CLabelUI label;
        label.ApplyAttributes(row.attributes);
        EXPECT_EQ(row.style, label.GetTextStyle()) << row.attributes;
    }
}

// A 60-high label with "valign" top draws its text in the upper part only.
TEST(Label, ValignTopDrawsAtTheTop)
{
    ControlWindow w;
    w.Add(new CLabelUI, L"top", L"10,10,200,70", L"text=\"Top\" valign=\"top\" textcolor=\"#FF000001\"");
    w.Show();
    RECT upper = { 10, 10, 200, 35 }, lower = { 10, 35, 200, 70 };
    EXPECT_GT(w.Count(upper, 0x000001), 0);
    EXPECT_EQ(0, w.Count(lower, 0x000001));
}

// Layouts ask PreferredSize while they place; measuring must not ask for
// another pass.
TEST(Label, AutoWidthSettlesInOneLayoutPass)
{
    ControlWindow w;
    CLabelUI* label = w.Add(new CLabelUI, L"auto", L"10,10,11,40",
                            L"text=\"Automatic width\" autocalcwidth=\"true\" textpadding=\"3,0,5,0\"");
    w.Show();
    ASSERT_FALSE(w.window.manager.IsUpdateNeeded());
    SIZE available = { 300, 200 };
    SIZE first = label->PreferredSize(available);
    EXPECT_GT(first.cx, 40);
    EXPECT_EQ(first.cx, label->GetFixedWidth());
    EXPECT_FALSE(w.window.manager.IsUpdateNeeded());
    SIZE second = label->PreferredSize(available);
    EXPECT_EQ(first.cx, second.cx);
    EXPECT_FALSE(w.window.manager.IsUpdateNeeded());
    // The same width set again asks for nothing either.
    label->SetFixedWidth(first.cx);
    EXPECT_FALSE(w.window.manager.IsUpdateNeeded());
}

// A layered window draws text with GDI+: the Chinese face name must reach it
// whole, so 微软雅黑 draws what the font it maps to draws (no boxes).
TEST(Label, LayeredTextFindsChineseFaces)
{
    auto draw = [](LPCWSTR face) {
        ControlWindow w;
        w.window.manager.SetLayered(true);
        w.window.manager.AddFont(face, 18, false, false, false);
        w.Add(new CLabelUI, L"label", L"10,10,190,50", L"text=\"\x5b89\x88c5\x5411\x5bfc\" font=\"0\" textcolor=\"#FF000001\"");
        w.Show();
        w.window.Repaint();
        std::vector<DWORD> pixels;
        for (int y = 10; y < 50; ++y)
            for (int x = 10; x < 190; ++x) pixels.push_back(DibPixel(w.window.manager.GetPaintBitmap(), x, y));
        return pixels;
    };
    std::vector<DWORD> mapped = draw(L"WenQuanYi Micro Hei");
    int ink = 0;
    for (DWORD pixel : mapped)
        if ((pixel & 0xFFFFFF) != 0xFFFFFF) ++ink;
    EXPECT_GT(ink, 50);
    EXPECT_TRUE(draw(L"\x5fae\x8f6f\x96c5\x9ed1") == mapped); // 微软雅黑
    EXPECT_TRUE(draw(L"Microsoft YaHei") == mapped);
}

TEST(Label, EffectsHideTheTextInTheEffectSlot)
{
    CLabelUI label;
    label.ApplyAttributes(L"text=\"shown\" enabledeffect=\"true\" transtext=\"40\" shadowoffset=\"1,1\"");
    EXPECT_TRUE(label.IsEffectEnabled());
    EXPECT_EQ(CUIString(L"shown"), label.GetText());
    label.SetText(L"other");
    EXPECT_EQ(CUIString(L"other"), label.GetText());
}

TEST(Button, StateImagesInPrecedence)
{
    ControlWindow w;
    CButtonUI* button = w.Add(new CButtonUI, L"b", L"10,10,60,40", kStateImages);
    CButtonUI* other = w.Add(new CButtonUI, L"other", L"100,10,150,40");
    w.Show();
    other->SetFocus();
    EXPECT_EQ(kNormal, w.Pixel(30, 25));
    w.window.Mouse(WM_MOUSEMOVE, 30, 25);
    EXPECT_EQ(kHot, w.Pixel(30, 25));
    w.window.Mouse(WM_LBUTTONDOWN, 30, 25, MK_LBUTTON);
    EXPECT_EQ(kPushed, w.Pixel(30, 25));
    w.window.Mouse(WM_LBUTTONUP, 30, 25);
    EXPECT_EQ(kHot, w.Pixel(30, 25)); // focused, but hot comes first
    w.window.Mouse(WM_MOUSEMOVE, 200, 150);
    EXPECT_EQ(kFocused, w.Pixel(30, 25));
    w.window.Mouse(WM_MOUSEMOVE, 30, 25);
    button->SetEnabled(false);
    EXPECT_EQ(0u, button->GetButtonState());
    EXPECT_EQ(kDisabled, w.Pixel(30, 25));
}

TEST(Button, HotColourWithoutHotImagePaintsOnlyTheColour)
{
    ControlWindow w;
    w.Add(new CButtonUI, L"b", L"10,10,60,40",
          L"normalimage=\"file='state-normal.png'\" foreimage=\"file='state-fore.png' dest='0,0,4,4'\" "
          L"hotbkcolor=\"#FF00FF00\"");
    w.Show();
    EXPECT_EQ(kFore, w.Pixel(11, 11));
    EXPECT_EQ(kNormal, w.Pixel(30, 25));
    w.window.Mouse(WM_MOUSEMOVE, 30, 25);
    EXPECT_EQ(0x00FF00u, w.Pixel(30, 25));
    EXPECT_EQ(0x00FF00u, w.Pixel(11, 11)); // no fore image either
}

TEST(Button, HotForeImageReplacesTheForeImageOnlyWithAHotImage)
{
    ControlWindow w;
    w.Add(new CButtonUI, L"b", L"10,10,60,40",
          L"normalimage=\"file='state-normal.png'\" hotimage=\"file='state-hot.png'\" "
          L"foreimage=\"file='state-fore.png' dest='0,0,4,4'\" hotforeimage=\"file='state-focused.png' dest='0,0,4,4'\"");
    w.Show();
    EXPECT_EQ(kFore, w.Pixel(11, 11));
    w.window.Mouse(WM_MOUSEMOVE, 30, 25);
    EXPECT_EQ(kFocused, w.Pixel(11, 11));
    EXPECT_EQ(kHot, w.Pixel(30, 25));
}

TEST(Button, AnImageThatCannotBeDrawnIsCleared)
{
    ControlWindow w;
    CButtonUI* button = w.Add(new CButtonUI, L"b", L"10,10,60,40",
                              L"normalimage=\"file='state-normal.png'\" focusedimage=\"file='missing.png'\"");
    w.Show();
    button->SetFocus();
    EXPECT_EQ(kNormal, w.Pixel(30, 25));
    EXPECT_TRUE(button->GetFocusedImage().IsEmpty());
}

struct InputStep
{
    UINT msg;
    int x, y;
};

TEST(Button, NotificationsFromRealInput)
{
    struct Row
    {
        const char* name;
        std::vector<InputStep> steps;
        const wchar_t* notifications;
    };
    const Row rows[] = {
        { "click", { { WM_MOUSEMOVE, 30, 25 }, { WM_LBUTTONDOWN, 30, 25 }, { WM_LBUTTONUP, 30, 25 } }, L"click;" },
        { "press, leave, release outside",
          { { WM_MOUSEMOVE, 30, 25 }, { WM_LBUTTONDOWN, 30, 25 }, { WM_MOUSEMOVE, 90, 90 }, { WM_LBUTTONUP, 90, 90 } },
          L"" },
        { "press, leave, come back, release",
          { { WM_LBUTTONDOWN, 30, 25 }, { WM_MOUSEMOVE, 90, 90 }, { WM_MOUSEMOVE, 31, 26 }, { WM_LBUTTONUP, 31, 26 } },
          L"click;" },
        { "space", { { WM_KEYDOWN, VK_SPACE, 0 } }, L"click;" },
        { "return", { { WM_KEYDOWN, VK_RETURN, 0 } }, L"click;" },
        { "another key", { { WM_KEYDOWN, 'A', 0 } }, L"" },
    };
    for (const Row& row : rows) {
        ControlWindow w;
        CButtonUI* button = w.Add(new CButtonUI, L"b", L"10,10,60,40");
        w.Show();
        if (row.steps[0].msg == WM_KEYDOWN) {
            button->SetFocus();
            w.recorder.got.clear();
        }
        for (const InputStep& step : row.steps) {
            if (step.msg == WM_KEYDOWN) w.Key(WM_KEYDOWN, step.x);
            else w.window.Mouse(step.msg, step.x, step.y, step.msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0);
        }
        EXPECT_EQ(row.notifications, w.recorder.TypesBesidesFocus()) << row.name;
        EXPECT_EQ(0u, button->GetButtonState() & (UISTATE_PUSHED | UISTATE_CAPTURED)) << row.name;
    }
}

TEST(Button, ClickHandlerMayDeleteTheButtonOrOption)
{
    struct Deleter : INotifyUI
    {
        void Notify(NotifyRecord& msg) override
        {
            if (msg.sType != L"click") return;
            root->Remove(msg.pSender);
            ++clicks;
        }
        CContainerUI* root;
        int clicks = 0;
    } deleter;
    struct Row
    {
        const char* name;
        CButtonUI* (*make)();
        LPCWSTR attributes;
    };
    // A deleted option has nothing left to select: "click" is all it sends.
    const Row rows[] = {
        { "button", [] { return new CButtonUI; }, L"bindtablayoutname=\"tabs\" bindtabindex=\"1\"" },
        { "option", [] { return static_cast<CButtonUI*>(new COptionUI); }, L"" },
        { "grouped option", [] { return static_cast<CButtonUI*>(new COptionUI); }, L"group=\"g\"" },
        { "check box", [] { return static_cast<CButtonUI*>(new CCheckBoxUI); }, L"" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ControlWindow w;
        w.Add(row.make(), L"b", L"10,10,60,40", row.attributes);
        w.root->SetDelayedDestroy(false);
        w.Show();
        const LONG alive = CControlUI::LiveCount();
        deleter.clicks = 0;
        deleter.root = w.root;
        w.window.manager.AddNotifier(&deleter);
        w.Click(30, 25);
        EXPECT_EQ(1, deleter.clicks);
        EXPECT_TRUE(w.window.manager.FindControl(L"b") == NULL);
        EXPECT_EQ(alive - 1, CControlUI::LiveCount());
        EXPECT_EQ(L"click;", w.recorder.TypesBesidesFocus());
        w.window.Mouse(WM_MOUSEMOVE, 31, 25);
    }
}

TEST(Button, DisabledOrUnseenButtonsSendNothing)
{
    ControlWindow w;
    CButtonUI* button = w.Add(new CButtonUI, L"b", L"10,10,60,40", L"enabled=\"false\"");
    w.Show();
    w.Click(30, 25);
    EXPECT_FALSE(button->Activate());
    EXPECT_EQ(L"", w.recorder.Types());
    EXPECT_EQ(static_cast<UINT>(0), button->GetControlFlags() & UIFLAG_SETCURSOR);
}

TEST(Button, ColoursOfTheTextFollowTheState)
{
    ControlWindow w;
    w.window.manager.AddFont(L"Tahoma", 28, true, false, false);
    w.Add(new CButtonUI, L"b", L"10,10,110,40",
          L"text=\"WWW\" font=\"0\" textcolor=\"#FF000001\" hottextcolor=\"#FFFF0000\" pushedtextcolor=\"#FF00FF00\"");
    w.Show();
    RECT text = { 12, 12, 108, 38 };
    auto inkOf = [&w, &text](DWORD colour) { return w.Count(text, colour); };
    EXPECT_GT(inkOf(0x000001), 0);
    w.window.Mouse(WM_MOUSEMOVE, 60, 25);
    EXPECT_GT(inkOf(0xFF0000), 0);
    w.window.Mouse(WM_LBUTTONDOWN, 60, 25, MK_LBUTTON);
    EXPECT_GT(inkOf(0x00FF00), 0);
}

} // namespace
