#include "ControlWindow.h"

#include "control/CheckBoxUI.h"
#include "control/TabLayoutUI.h"

#include <gtest/gtest.h>

using namespace DirectUI;

namespace {

const DWORD kNormal = 0x808080, kHot = 0xFF0000, kPushed = 0x00FF00, kSelected = 0xFFFF00, kSelectedHot = 0x00FFFF;
const DWORD kSelectedPushed = 0xFF00FF, kFore = 0xFF8000, kDisabled = 0x101010;

struct ThreeOptions : ControlWindow
{
    ThreeOptions(LPCWSTR group)
    {
        CUIString attributes;
        if (group != NULL) attributes.Format(L"group=\"%ls\"", group);
        a = Add(new COptionUI, L"a", L"10,10,50,30", attributes);
        b = Add(new COptionUI, L"b", L"60,10,100,30", attributes);
        c = Add(new CCheckBoxUI, L"c", L"110,10,150,30", attributes);
        Show();
    }
    COptionUI* a;
    COptionUI* b;
    COptionUI* c;
};

TEST(Option, GroupedClicksTable)
{
    struct Row
    {
        const char* name;
        std::vector<int> clickX;
        const wchar_t* sent;
        const char* selected; // a, b, c
    };
    const Row rows[] = {
        { "select a", { 20 }, L"a:click;a:selectchanged;", "100" },
        { "a then b", { 20, 70 }, L"a:click;a:selectchanged;b:click;b:selectchanged;", "010" },
        { "the selected one again", { 20, 20 }, L"a:click;a:selectchanged;a:click;a:selectchanged;", "100" },
        { "the check box in the group", { 20, 120 }, L"a:click;a:selectchanged;c:click;c:selectchanged;", "001" },
    };
    for (const Row& row : rows) {
        ThreeOptions w(L"g");
        for (int x : row.clickX) w.Click(x, 20);
        EXPECT_EQ(row.sent, w.recorder.SendersAndTypes()) << row.name;
        std::string selected = std::string(w.a->IsSelected() ? "1" : "0") + (w.b->IsSelected() ? "1" : "0")
                               + (w.c->IsSelected() ? "1" : "0");
        EXPECT_EQ(row.selected, selected) << row.name;
    }
}

TEST(Option, UngroupedClickedTwiceToggles)
{
    ThreeOptions w(NULL);
    w.Click(20, 20);
    EXPECT_TRUE(w.a->IsSelected());
    w.Click(20, 20);
    EXPECT_FALSE(w.a->IsSelected());
    EXPECT_EQ(L"a:click;a:selectchanged;a:click;a:selectchanged;", w.recorder.SendersAndTypes());
}

TEST(Option, SelectedAttributeBeforeTheWindowAndGroupChanges)
{
    ControlWindow w;
    COptionUI* a = w.Add(new COptionUI, L"a", L"10,10,50,30", L"group=\"g\" selected=\"true\"");
    COptionUI* b = w.Add(new COptionUI, L"b", L"60,10,100,30", L"group=\"g\" selected=\"true\"");
    w.Show();
    EXPECT_TRUE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected()); // selected before either had a window
    a->Select(true);
    EXPECT_FALSE(b->IsSelected());
    EXPECT_EQ(L"a:selectchanged;", w.recorder.SendersAndTypes());
    // b leaves the group: selecting it no longer touches a.
    b->SetGroup(L"other");
    w.recorder.got.clear();
    b->Select(true);
    EXPECT_TRUE(a->IsSelected());
    ASSERT_TRUE(w.window.manager.GetOptionGroup(L"g") != NULL);
    EXPECT_EQ(1, w.window.manager.GetOptionGroup(L"g")->GetSize());
    // A deleted option leaves its group.
    w.root->SetDelayedDestroy(false);
    w.root->Remove(b);
    CPointerArray* other = w.window.manager.GetOptionGroup(L"other");
    EXPECT_TRUE(other == NULL || other->GetSize() == 0);
}

TEST(Option, DisablingKeepsOnlyTheSelection)
{
    ThreeOptions w(L"g");
    w.Click(20, 20);
    w.a->SetEnabled(false);
    EXPECT_EQ(static_cast<UINT>(UISTATE_SELECTED), w.a->GetButtonState());
    EXPECT_TRUE(w.a->IsSelected());
    w.b->SetEnabled(false);
    EXPECT_EQ(0u, w.b->GetButtonState());
}

TEST(CheckBox, AnswersOptionNotCheckBox)
{
    CCheckBoxUI box;
    EXPECT_STREQ(L"CheckBoxUI", box.GetControlClass());
    EXPECT_TRUE(box.GetInterface(L"Option") == &box);
    EXPECT_TRUE(box.GetInterface(L"Button") == &box);
    EXPECT_TRUE(box.GetInterface(L"Label") == &box);
    EXPECT_TRUE(box.GetInterface(L"CheckBox") == NULL);
}

TEST(Option, StateImagesWithTheSelectedOnes)
{
    ControlWindow w;
    COptionUI* option = w.Add(new COptionUI, L"o", L"10,10,60,40",
                              L"normalimage=\"file='state-normal.png'\" hotimage=\"file='state-hot.png'\" "
                              L"pushedimage=\"file='state-pushed.png'\" disabledimage=\"file='state-disabled.png'\" "
                              L"selectedimage=\"file='state-selected.png'\" "
                              L"selectedhotimage=\"file='state-selectedhot.png'\" "
                              L"selectedpushedimage=\"file='state-selectedpushed.png'\" "
                              L"foreimage=\"file='state-fore.png' dest='0,0,4,4'\"");
    w.Add(new CButtonUI, L"away", L"200,10,250,40");
    w.Show();
    w.window.manager.FindControl(L"away")->SetFocus();
    EXPECT_EQ(kNormal, w.Pixel(30, 25));
    EXPECT_EQ(kFore, w.Pixel(11, 11));
    w.window.Mouse(WM_MOUSEMOVE, 30, 25);
    EXPECT_EQ(kHot, w.Pixel(30, 25));
    w.window.Mouse(WM_LBUTTONDOWN, 30, 25, MK_LBUTTON);
    EXPECT_EQ(kPushed, w.Pixel(30, 25));
    w.window.Mouse(WM_LBUTTONUP, 30, 25);
    ASSERT_TRUE(option->IsSelected());
    EXPECT_EQ(kSelectedHot, w.Pixel(30, 25));
    w.window.Mouse(WM_LBUTTONDOWN, 30, 25, MK_LBUTTON);
    EXPECT_EQ(kSelectedPushed, w.Pixel(30, 25));
    w.window.Mouse(WM_MOUSEMOVE, 150, 150, MK_LBUTTON);
    w.window.Mouse(WM_LBUTTONUP, 150, 150);
    EXPECT_TRUE(option->IsSelected());
    EXPECT_EQ(kSelected, w.Pixel(30, 25));
    EXPECT_EQ(kFore, w.Pixel(11, 11));
    option->SetEnabled(false);
    EXPECT_EQ(kSelected, w.Pixel(30, 25)); // the selected image wins over disabled
    option->Select(false);
    EXPECT_EQ(kDisabled, w.Pixel(30, 25));
}

TEST(Option, SelectedBackgroundColourPaintsOnlyTheColour)
{
    ControlWindow w;
    COptionUI* option = w.Add(new COptionUI, L"o", L"10,10,60,40",
                              L"normalimage=\"file='state-normal.png'\" selectedbkcolor=\"#FF0000FF\" "
                              L"foreimage=\"file='state-fore.png' dest='0,0,4,4'\"");
    w.Show();
    option->Select(true);
    EXPECT_EQ(0x0000FFu, w.Pixel(30, 25));
    EXPECT_EQ(0x0000FFu, w.Pixel(11, 11));
}

TEST(Option, BindTabSwitchesATabLayoutByName)
{
    ControlWindow w;
    CTabLayoutUI* tabs = w.Add(new CTabLayoutUI, L"tabs", L"10,50,200,150");
    tabs->Add(new CControlUI);
    tabs->Add(new CControlUI);
    w.Add(new COptionUI, L"o", L"10,10,50,30", L"bindtablayoutname=\"tabs\" bindtabindex=\"1\"");
    w.Show();
    ASSERT_EQ(0, tabs->GetCurSel());
    w.Click(20, 20);
    EXPECT_EQ(1, tabs->GetCurSel());
    EXPECT_EQ(L"o:click;tabs:tabselect;o:selectchanged;", w.recorder.SendersAndTypes());
}

TEST(Option, BindTabNamingANonTabSelectsNothing)
{
    ControlWindow w;
    w.Add(new CLabelUI, L"notatab", L"100,10,150,30");
    w.Add(new COptionUI, L"o", L"10,10,50,30", L"bindtablayoutname=\"notatab\" bindtabindex=\"0\"");
    w.Show();
    w.Click(20, 20);
    EXPECT_EQ(L"o:click;o:selectchanged;", w.recorder.SendersAndTypes());
}

} // namespace
