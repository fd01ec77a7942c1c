#include "DibCanvas.h"
#include "SkinWindow.h"
#include "control/ScrollBarUI.h"

#include <gtest/gtest.h>

using namespace DirectUI;

namespace {

TEST(ScrollBarUI, PositionStaysWithinTheRange)
{
    CScrollBarUI bar;
    bar.SetScrollPos(-5);
    EXPECT_EQ(0, bar.GetScrollPos());
    bar.SetScrollPos(101);
    EXPECT_EQ(100, bar.GetScrollPos());
    bar.SetScrollPos(50);
    bar.SetScrollRange(10);
    EXPECT_EQ(10, bar.GetScrollPos());
    bar.SetScrollRange(-3);
    EXPECT_EQ(0, bar.GetScrollRange());
    EXPECT_EQ(0, bar.GetScrollPos());
}

struct ThumbRow
{
    const char* what;
    bool horizontal;
    RECT bar;
    int range, pos;
    const char* button1;
    const char* button2;
    const char* thumb;
};

const ThumbRow kThumbs[] = {
    { "range 0: the thumb fills the rail", false, { 0, 0, 16, 100 }, 0, 0, "0,0,16,16", "0,84,16,100", "0,16,16,84" },
    { "range 100 in 100: length 100*68/200", false, { 0, 0, 16, 100 }, 100, 0, "0,0,16,16", "0,84,16,100", "0,16,16,50" },
    { "at the end the thumb meets button 2", false, { 0, 0, 16, 100 }, 100, 100, "0,0,16,16", "0,84,16,100", "0,50,16,84" },
    { "a 16x20 bar: two 10-pixel buttons, no thumb", false, { 0, 0, 16, 20 }, 100, 0, "0,0,16,10", "0,10,16,20", "0,0,0,0" },
    { "a huge range keeps the thumb at least the thickness", false, { 0, 0, 16, 100 }, 2000000000, 1000000000,
      "0,0,16,16", "0,84,16,100", "0,42,16,58" },
    { "a huge range at its end", false, { 0, 0, 16, 100 }, 2147483647, 2147483647, "0,0,16,16", "0,84,16,100",
      "0,68,16,84" },
    { "horizontal", true, { 10, 0, 110, 16 }, 100, 50, "10,0,26,16", "94,0,110,16", "43,0,77,16" },
};

class ThumbGeometry : public ::testing::TestWithParam<ThumbRow> {};

TEST_P(ThumbGeometry, PlacesTheParts)
{
    const ThumbRow& row = GetParam();
    CScrollBarUI bar;
    if (row.horizontal) bar.SetHorizontal(true);
    bar.SetScrollRange(row.range);
    bar.SetScrollPos(row.pos);
    bar.SetPos(row.bar);
    EXPECT_EQ(row.button1, RectText(bar.GetButton1Rect())) << row.what;
    EXPECT_EQ(row.button2, RectText(bar.GetButton2Rect())) << row.what;
    RECT thumb = bar.GetThumbRect();
    EXPECT_EQ(row.thumb, IsRectEmpty(&thumb) ? std::string("0,0,0,0") : RectText(thumb)) << row.what;
}

INSTANTIATE_TEST_SUITE_P(ScrollBarUI, ThumbGeometry, ::testing::ValuesIn(kThumbs));

// A bar without an owner at 0,0-16,100 in a window, range 1000.
struct LoneBar
{
    LoneBar() : skin(L"<Window><Container><ScrollBar name=\"bar\" range=\"1000\" linesize=\"7\" float=\"true\" pos=\"0,0,16,100\"/>"
                     L"</Container></Window>")
    {
        bar = static_cast<CScrollBarUI*>(skin.Find(L"bar"));
        skin.recorder.got.clear();
    }
    void Tick()
    {
        ControlEvent event = { 0 };
        event.Type = UIEVENT_TIMER;
        event.pSender = bar;
        event.wParam = CScrollBarUI::kRepeatTimerId;
        bar->HandleEvent(event);
    }
    SkinWindow skin;
    CScrollBarUI* bar;
};

TEST(ScrollBarUI, ArrowRepeatsFromTheSixthTickAndSendsScroll)
{
    LoneBar lone;
    ASSERT_TRUE(lone.bar != NULL);
    lone.skin.window.Mouse(WM_LBUTTONDOWN, 8, 90, MK_LBUTTON);
    EXPECT_EQ(7, lone.bar->GetScrollPos());
    EXPECT_EQ(L"scroll;", TypesOf(lone.skin.recorder, L"scroll"));
    EXPECT_NE(0u, lone.bar->GetButton2State() & UISTATE_PUSHED);
    int positions[7];
    for (int i = 0; i < 7; ++i) {
        lone.Tick();
        positions[i] = lone.bar->GetScrollPos();
    }
    const int expected[7] = { 7, 7, 7, 7, 7, 14, 21 };
    for (int i = 0; i < 7; ++i) EXPECT_EQ(expected[i], positions[i]) << "tick " << i + 1;
    EXPECT_EQ(L"scroll;scroll;scroll;", TypesOf(lone.skin.recorder, L"scroll"));
    lone.skin.window.Mouse(WM_LBUTTONUP, 8, 90);
    EXPECT_EQ(0u, lone.bar->GetButton2State() & UISTATE_PUSHED);
    lone.Tick();
    EXPECT_EQ(21, lone.bar->GetScrollPos());
}

TEST(ScrollBarUI, RailPressPagesByTheBarLength)
{
    LoneBar lone;
    lone.bar->SetScrollPos(500);
    RECT thumb = lone.bar->GetThumbRect();
    lone.skin.window.Mouse(WM_LBUTTONDOWN, 8, thumb.bottom + 2, MK_LBUTTON);
    EXPECT_EQ(600, lone.bar->GetScrollPos());
    lone.skin.window.Mouse(WM_LBUTTONUP, 8, thumb.bottom + 2);
    thumb = lone.bar->GetThumbRect();
    lone.skin.window.Mouse(WM_LBUTTONDOWN, 8, thumb.top - 1, MK_LBUTTON);
    EXPECT_EQ(500, lone.bar->GetScrollPos());
    lone.skin.window.Mouse(WM_LBUTTONUP, 8, thumb.top - 1);
}

TEST(ScrollBarUI, ThumbDragFollowsTheMouseOnTicks)
{
    LoneBar lone;
    RECT thumb = lone.bar->GetThumbRect();
    int length = thumb.bottom - thumb.top;
    int y = (thumb.top + thumb.bottom) / 2;
    lone.skin.window.Mouse(WM_LBUTTONDOWN, 8, y, MK_LBUTTON);
    EXPECT_NE(0u, lone.bar->GetThumbState() & UISTATE_CAPTURED);
    lone.skin.window.Mouse(WM_MOUSEMOVE, 8, y + 10, MK_LBUTTON);
    EXPECT_EQ(0, lone.bar->GetScrollPos()); // moves on the next tick
    lone.Tick();
    EXPECT_EQ(10 * 1000 / (100 - length - 32), lone.bar->GetScrollPos());
    lone.skin.window.Mouse(WM_LBUTTONUP, 8, y + 10);
    EXPECT_EQ(0u, lone.bar->GetThumbState() & (UISTATE_CAPTURED | UISTATE_PUSHED));
}

TEST(ScrollBarUI, OwnedBarScrollsItsOwnerAndSendsNothing)
{
    SkinWindow skin(L"<Window><VerticalLayout name=\"v\" vscrollbar=\"true\"><Control name=\"a\" height=\"80\"/>"
                    L"<Control height=\"80\"/></VerticalLayout></Window>");
    CContainerUI* v = static_cast<CContainerUI*>(skin.Find(L"v"));
    CScrollBarUI* bar = v->GetVerticalScrollBar();
    ASSERT_TRUE(bar != NULL && bar->IsVisible());
    skin.recorder.got.clear();
    RECT button2 = bar->GetButton2Rect();
    skin.window.Mouse(WM_LBUTTONDOWN, (button2.left + button2.right) / 2, button2.top + 2, MK_LBUTTON);
    skin.window.Mouse(WM_LBUTTONUP, (button2.left + button2.right) / 2, button2.top + 2);
    EXPECT_GT(bar->GetScrollPos(), 0);
    EXPECT_EQ(-bar->GetScrollPos(), skin.Find(L"a")->GetPos().top);
    EXPECT_EQ(L"", TypesOf(skin.recorder, L"scroll"));
    // The wheel goes to the owner too.
    skin.window.Mouse(WM_MOUSEMOVE, 50, 50);
    int before = bar->GetScrollPos();
    POINT pt = { 50, 50 };
    ClientToScreen(skin.window.GetHWND(), &pt);
    ::SendMessageW(skin.window.GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    EXPECT_LT(bar->GetScrollPos(), before);
}

TEST(ScrollBarUI, WithoutImagesThePartsAreLightBlueOutlines)
{
    CScrollBarUI bar;
    bar.SetScrollRange(100);
    RECT rc = { 0, 0, 16, 100 };
    bar.SetPos(rc);
    DibCanvas canvas(16, 100);
    bar.Paint(canvas.dc(), canvas.rect());
    const DWORD blue = 0x85E4FF;
    EXPECT_EQ(blue, canvas.Pixel(0, 0) & 0xFFFFFF);   // button 1
    EXPECT_EQ(blue, canvas.Pixel(15, 99) & 0xFFFFFF); // button 2
    EXPECT_EQ(blue, canvas.Pixel(0, 20) & 0xFFFFFF);  // thumb edge
    EXPECT_EQ(0xFFFFFFu, canvas.Pixel(8, 8) & 0xFFFFFF);
    EXPECT_EQ(0xFFFFFFu, canvas.Pixel(8, 70) & 0xFFFFFF); // the rail below the thumb
}

// Each part shows the image of its state, else the normal one; a state image
// that cannot be drawn is forgotten. The background follows the thumb's state.
TEST(ScrollBarUI, PartsShowTheirStateImageElseTheNormalOne)
{
    const DWORD normal = 0x808080, hot = 0xFF0000, pushed = 0x00FF00, blue = 0x0000FF, disabled = 0x101010;
    CWindowUIManager::SetSkinPath(ImageFolder().c_str());
    SkinWindow skin(L"<Window><Container><ScrollBar name=\"bar\" range=\"100\" float=\"true\" pos=\"0,0,16,100\" "
                    L"button1normalimage=\"file='state-normal.png'\" button1hotimage=\"file='state-hot.png'\" "
                    L"thumbnormalimage=\"file='state-normal.png'\" thumbhotimage=\"file='missing.png'\" "
                    L"thumbpushedimage=\"file='state-pushed.png'\" bknormalimage=\"file='state-focused.png'\" "
                    L"bkdisabledimage=\"file='state-disabled.png'\"/></Container></Window>");
    CScrollBarUI* bar = static_cast<CScrollBarUI*>(skin.Find(L"bar"));
    ASSERT_TRUE(bar != NULL);
    // Button 1 at 0-16, the thumb at 16-50, the bare rail below it.
    auto paint = [bar](int x, int y) {
        DibCanvas canvas(16, 100);
        bar->Paint(canvas.dc(), canvas.rect());
        return canvas.Pixel(x, y) & 0xFFFFFF;
    };
    EXPECT_EQ(normal, paint(8, 8));
    EXPECT_EQ(normal, paint(8, 30));
    EXPECT_EQ(blue, paint(8, 70));

    skin.window.Mouse(WM_MOUSEMOVE, 8, 30);
    ASSERT_NE(0u, bar->GetThumbState() & UISTATE_HOT);
    EXPECT_EQ(hot, paint(8, 8));
    EXPECT_EQ(normal, paint(8, 30));
    EXPECT_TRUE(bar->GetThumbImage(CScrollBarUI::kHot).IsEmpty());
    EXPECT_EQ(blue, paint(8, 70));

    skin.window.Mouse(WM_LBUTTONDOWN, 8, 30, MK_LBUTTON);
    EXPECT_EQ(pushed, paint(8, 30));
    skin.window.Mouse(WM_LBUTTONUP, 8, 30);

    bar->SetEnabled(false);
    EXPECT_EQ(normal, paint(8, 30));
    EXPECT_EQ(disabled, paint(8, 70));
    CWindowUIManager::SetSkinPath(L"");
}

} // namespace
