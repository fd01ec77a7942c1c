#include "ProbeControls.h"
#include "control/ScrollBarUI.h"
#include "core/Delegate.h"

#include <gtest/gtest.h>

using namespace DirectUI;

namespace {

struct DestroyWatch
{
    int destroyed = 0;
    bool OnDestroy(LPVOID)
    {
        ++destroyed;
        return true;
    }
};

TEST(ContainerUI, IndexesInsertionAndRemoval)
{
    CContainerUI box;
    CControlUI* one = new CControlUI;
    CControlUI* two = new CControlUI;
    CControlUI stranger;
    EXPECT_FALSE(box.Add(NULL));
    EXPECT_TRUE(box.Add(one));
    EXPECT_TRUE(box.ItemAt(-1) == NULL);
    EXPECT_TRUE(box.ItemAt(1) == NULL);
    EXPECT_EQ(-1, box.IndexOf(&stranger));
    EXPECT_TRUE(box.AddAt(two, 1)); // index == count appends
    EXPECT_EQ(1, box.IndexOf(two));
    CControlUI* three = new CControlUI;
    EXPECT_FALSE(box.AddAt(three, 3));
    delete three;
    EXPECT_TRUE(box.MoveItem(two, 0));
    EXPECT_TRUE(box.ItemAt(0) == two);
    EXPECT_FALSE(box.MoveItem(&stranger, 0));
    EXPECT_TRUE(box.GetInterface(L"IContainer") == static_cast<IContainerUI*>(&box));
    EXPECT_TRUE(box.GetInterface(L"Container") == &box);
    EXPECT_TRUE(box.GetInterface(L"Control") == static_cast<CControlUI*>(&box));
    EXPECT_FALSE(box.RemoveAt(5));
}

TEST(ContainerUI, RemovingWithoutAutoDestroyHandsTheChildBack)
{
    DestroyWatch watch;
    CContainerUI box;
    CControlUI* kept = new CControlUI;
    kept->OnDestroy += MakeDelegate(&watch, &DestroyWatch::OnDestroy);
    box.Add(kept);
    box.SetManager(NULL, NULL, false);
    box.SetAutoDestroy(false);
    EXPECT_TRUE(box.Remove(kept));
    EXPECT_EQ(0, watch.destroyed);
    EXPECT_TRUE(kept->GetParent() == NULL);
    delete kept;
    EXPECT_EQ(1, watch.destroyed);

    CContainerUI* owner = new CContainerUI;
    CControlUI* owned = new CControlUI;
    owned->OnDestroy += MakeDelegate(&watch, &DestroyWatch::OnDestroy);
    owner->Add(owned);
    delete owner; // children die with their container
    EXPECT_EQ(2, watch.destroyed);
}

TEST(ContainerUI, DelayedDestroyWaitsForTheManager)
{
    DestroyWatch watch;
    ManagedWindow window;
    CContainerUI* root = new CContainerUI;
    CControlUI* child = new CControlUI;
    child->OnDestroy += MakeDelegate(&watch, &DestroyWatch::OnDestroy);
    root->Add(child);
    window.manager.AttachRoot(root);
    EXPECT_TRUE(root->Remove(child));
    EXPECT_EQ(0, watch.destroyed);
    ::SendMessageW(window.GetHWND(), CWindowUIManager::kDeleteQueuedMessage, 0, 0);
    EXPECT_EQ(1, watch.destroyed);
}

TEST(ContainerUI, VerticalBarFollowsTheContentHeight)
{
    CContainerUI box;
    box.SetAttribute(L"vscrollbar", L"true");
    CScrollBarUI* bar = box.GetVerticalScrollBar();
    ASSERT_TRUE(bar != NULL);
    bar->SetVisible(false);
    RECT area = { 0, 0, 100, 50 };
    box.SetPos(area);
    box.LayoutScrollBars(area, 0, 60);
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(10, bar->GetScrollRange());
    EXPECT_EQ(0, bar->GetScrollPos());

    CControlUI* child = new CControlUI;
    box.Add(child);
    RECT childPos = { 0, 0, 84, 60 };
    child->SetPos(childPos);
    box.SetScrollStepSize(4);
    box.SetScrollStepSize(0); // ignored
    EXPECT_EQ(4, box.GetScrollStepSize());
    box.LineDown();
    EXPECT_EQ(4, box.GetScrollPos().cy);
    EXPECT_EQ(-4, child->GetPos().top);
    box.EndDown();
    EXPECT_EQ(-10, child->GetPos().top);
    box.LineDown(); // at the end: nothing moves
    EXPECT_EQ(-10, child->GetPos().top);
    ControlEvent wheel = { UIEVENT_SCROLLWHEEL };
    wheel.wParam = 0;
    box.HandleEvent(wheel);
    EXPECT_EQ(6, box.GetScrollPos().cy);

    box.LayoutScrollBars(area, 0, 50);
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(0, bar->GetScrollRange());
    EXPECT_EQ(0, bar->GetScrollPos());
}

TEST(ContainerUI, MouseDisabledContainerPassesWheelToItsParent)
{
    CContainerUI outer;
    outer.SetAttribute(L"vscrollbar", L"true");
    RECT area = { 0, 0, 100, 50 };
    outer.SetPos(area);
    outer.LayoutScrollBars(area, 0, 100);
    CContainerUI* inner = new CContainerUI;
    outer.Add(inner);
    outer.SetManager(NULL, NULL, false); // links the child to its parent without a window
    inner->SetMouseEnabled(false);
    ControlEvent wheel = { UIEVENT_SCROLLWHEEL };
    wheel.wParam = 1;
    inner->HandleEvent(wheel);
    EXPECT_EQ(outer.GetScrollPos().cy, 8); // the default step without a manager
}

TEST(ContainerUI, AttributesWithMalformedNumbersKeepDefaults)
{
    struct Row { const wchar_t* value; RECT inset; };
    const Row rows[] = {
        { L"1,2,3,4", { 1, 2, 3, 4 } }, { L"5", { 5, 0, 0, 0 } }, { L"", { 0, 0, 0, 0 } },
        { L"7,x,9,9", { 7, 0, 0, 0 } }, { L"1,2,3,4,5,6", { 1, 2, 3, 4 } }, { L"-1,-2", { -1, -2, 0, 0 } },
    };
    for (const Row& row : rows) {
        CContainerUI box;
        box.SetAttribute(L"inset", row.value);
        RECT inset = box.GetInset();
        EXPECT_TRUE(EqualRect(&row.inset, &inset)) << row.value;
    }
    CControlUI control;
    control.SetAttribute(L"pos", L"10,20,110,50");
    EXPECT_EQ(10, control.GetFixedXY().cx);
    EXPECT_EQ(20, control.GetFixedXY().cy);
    EXPECT_EQ(100, control.GetFixedWidth());
    EXPECT_EQ(30, control.GetFixedHeight());
    control.SetAttribute(L"pos", L"-30,5,-10,25");
    EXPECT_EQ(-10, control.GetFixedXY().cx);
    EXPECT_EQ(20, control.GetFixedWidth());
    control.SetAttribute(L"tooltip", L"one<n>two");
    EXPECT_STREQ(L"one\r\ntwo", control.GetToolTip());
    control.ApplyAttributes(L"name=\"n1\" text=\"t1\"  userdata=\"u\"");
    EXPECT_STREQ(L"n1", control.GetName());
    EXPECT_STREQ(L"t1", control.GetText());
    EXPECT_STREQ(L"", control.GetUserData());
    control.ApplyAttributes(L"bkcolor=\"#FF102030\" borderround=\"4\"");
    EXPECT_EQ(0xFF102030u, control.GetBkColor());
    EXPECT_EQ(4, control.GetBorderRound().cx);
    EXPECT_EQ(0, control.GetBorderRound().cy);
}

} // namespace
