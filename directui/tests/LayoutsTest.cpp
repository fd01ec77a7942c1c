#include "SkinWindow.h"
#include "control/ChildLayoutUI.h"
#include "control/ScrollBarUI.h"
#include "control/TabLayoutUI.h"
#include "control/VerticalLayoutUI.h"

#include <gtest/gtest.h>

using namespace DirectUI;

namespace {

struct PlacementRow
{
    const char* what;
    int width, height;
    LPCWSTR xml;
    LPCWSTR control;
    const char* expected;
};

const PlacementRow kPlacements[] = {
    { "two adjustable children share what a fixed one and the padding leave", 200, 100,
      L"<Window><VerticalLayout childpadding=\"5\"><Control name=\"a\"/><Control name=\"b\" height=\"20\"/>"
      L"<Control name=\"c\"/></VerticalLayout></Window>",
      L"a", "0,0,200,35" },
    { "the fixed child sits after the first share and its padding", 200, 100,
      L"<Window><VerticalLayout childpadding=\"5\"><Control name=\"a\"/><Control name=\"b\" height=\"20\"/>"
      L"<Control name=\"c\"/></VerticalLayout></Window>",
      L"c", "0,65,200,100" },
    { "a negative share becomes 0 and the minimum height still applies", 200, 100,
      L"<Window><VerticalLayout><Control height=\"150\"/><Control name=\"a\" minheight=\"10\"/></VerticalLayout></Window>",
      L"a", "0,150,200,160" },
    { "a maximum height holds an adjustable child", 200, 100,
      L"<Window><VerticalLayout><Control name=\"a\" maxheight=\"30\"/></VerticalLayout></Window>", L"a", "0,0,200,30" },
    { "inset and child padding", 200, 100,
      L"<Window><VerticalLayout inset=\"5,5,5,5\"><Control name=\"a\" padding=\"2,3,4,5\" height=\"10\"/>"
      L"</VerticalLayout></Window>",
      L"a", "7,8,191,18" },
    { "a vertical layout higher than its area shows its bar and re-lays narrower", 200, 100,
      L"<Window><VerticalLayout vscrollbar=\"true\"><Control name=\"a\" height=\"80\"/><Control height=\"80\"/>"
      L"</VerticalLayout></Window>",
      L"a", "0,0,184,80" },
    { "horizontal: the rest after a fixed width and the child padding", 200, 100,
      L"<Window><HorizontalLayout childpadding=\"4\"><Control width=\"50\"/><Control name=\"b\"/></HorizontalLayout></Window>",
      L"b", "54,0,200,100" },
    { "horizontal: the vertical scroll position is not applied", 200, 100,
      L"<Window><HorizontalLayout><Control name=\"a\" width=\"30\" height=\"40\" padding=\"0,7,0,0\"/></HorizontalLayout></Window>",
      L"a", "0,7,30,47" },
    { "tile: itemsize 100 in 350 gives 3 columns of 116, children centred", 350, 100,
      L"<Window><TileLayout itemsize=\"100,0\"><Control width=\"100\" height=\"30\"/><Control name=\"b\" width=\"100\" height=\"30\"/>"
      L"<Control width=\"100\" height=\"30\"/><Control name=\"d\" width=\"100\" height=\"30\"/></TileLayout></Window>",
      L"b", "124,0,224,30" },
    { "tile: the fourth child starts the second row", 350, 100,
      L"<Window><TileLayout itemsize=\"100,0\"><Control width=\"100\" height=\"30\"/><Control width=\"100\" height=\"30\"/>"
      L"<Control width=\"100\" height=\"30\"/><Control name=\"d\" width=\"100\" height=\"30\"/></TileLayout></Window>",
      L"d", "8,30,108,60" },
    { "tile: columns count while the item width is 0", 200, 100,
      L"<Window><TileLayout columns=\"4\"><Control/><Control name=\"b\" height=\"20\"/></TileLayout></Window>",
      L"b", "50,0,100,20" },
    { "tab: only the current page is placed, less its padding", 200, 100,
      L"<Window><TabLayout><Control name=\"p0\" padding=\"1,2,3,4\"/><Control name=\"p1\"/></TabLayout></Window>",
      L"p0", "1,2,197,96" },
    { "tab: selectedid picks the page at once", 200, 100,
      L"<Window><TabLayout selectedid=\"1\"><Control name=\"p0\"/><Control name=\"p1\"/></TabLayout></Window>",
      L"p1", "0,0,200,100" },
};

class Placement : public ::testing::TestWithParam<PlacementRow> {};

TEST_P(Placement, PlacesTheChild)
{
    const PlacementRow& row = GetParam();
    SkinWindow skin(row.xml, row.width, row.height);
    ASSERT_TRUE(skin.root != NULL) << row.what;
    CControlUI* control = skin.Find(row.control);
    ASSERT_TRUE(control != NULL) << row.what;
    EXPECT_EQ(row.expected, RectText(control->GetPos())) << row.what;
}

INSTANTIATE_TEST_SUITE_P(Layouts, Placement, ::testing::ValuesIn(kPlacements));

TEST(Layouts, VerticalBarRangeFollowsTheContent)
{
    SkinWindow skin(L"<Window><VerticalLayout name=\"v\" vscrollbar=\"true\"><Control height=\"80\"/><Control height=\"80\"/>"
                    L"</VerticalLayout></Window>");
    CContainerUI* v = static_cast<CContainerUI*>(skin.Find(L"v"));
    CScrollBarUI* bar = v->GetVerticalScrollBar();
    ASSERT_TRUE(bar != NULL);
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(60, bar->GetScrollRange());
    EXPECT_EQ("184,0,200,100", RectText(bar->GetPos()));
}

struct TabStep
{
    const char* what;
    int select;     // SelectTab argument, or -100 to remove the current page
    bool answer;
    int current;
    const wchar_t* notifications;
    WPARAM wParam;  // of the last "tabselect"
    LPARAM lParam;
};

TEST(Layouts, TabSelectionNotifiesOnlyRealChanges)
{
    SkinWindow skin(L"<Window><TabLayout name=\"tabs\"><Control name=\"p0\"/><Control name=\"p1\"/><Control name=\"p2\"/>"
                    L"</TabLayout></Window>");
    CTabLayoutUI* tabs = static_cast<CTabLayoutUI*>(skin.Find(L"tabs"));
    ASSERT_TRUE(tabs != NULL);
    skin.recorder.got.clear();
    const TabStep steps[] = {
        { "the first visible page is current", -1, false, 0, L"", 0, 0 },
        { "switching sends new and old index", 2, true, 2, L"tabselect;", 2, 0 },
        { "the current index again sends nothing", 2, true, 2, L"", 0, 0 },
        { "out of range changes nothing", 3, false, 2, L"", 0, 0 },
        { "removing the current page selects page 0 without a notification", -100, true, 0, L"", 0, 0 },
        { "after removal indexes move down", 1, true, 1, L"tabselect;", 1, 0 },
    };
    for (size_t i = 0; i < sizeof(steps) / sizeof(steps[0]); ++i) {
        const TabStep& step = steps[i];
        skin.recorder.got.clear();
        bool answer = false;
        if (step.select == -100) answer = tabs->Remove(tabs->ItemAt(tabs->GetCurSel()));
        else answer = tabs->SelectTab(step.select);
        EXPECT_EQ(step.answer, answer) << step.what;
        EXPECT_EQ(step.current, tabs->GetCurSel()) << step.what;
        EXPECT_EQ(std::wstring(step.notifications), TypesOf(skin.recorder, L"tabselect")) << step.what;
        for (size_t n = 0; n < skin.recorder.got.size(); ++n) {
            if (skin.recorder.got[n].type != L"tabselect") continue;
            EXPECT_EQ(step.wParam, skin.recorder.got[n].wParam) << step.what;
            EXPECT_TRUE(skin.recorder.got[n].sender == tabs) << step.what;
        }
        for (int page = 0; page < tabs->Count(); ++page)
            EXPECT_EQ(page == tabs->GetCurSel(), tabs->ItemAt(page)->IsVisible()) << step.what << " page " << page;
    }
}

TEST(Layouts, TabSelectNotificationCarriesTheOldIndex)
{
    NotifyRecorder recorder;
    ManagedWindow window;
    CDialogBuilder builder;
    CControlUI* root = builder.Build(L"<Window><TabLayout><Control/><Control/></TabLayout></Window>", NULL, NULL,
                                     &window.manager);
    window.manager.AttachRoot(root);
    struct LParamRecorder : INotifyUI
    {
        void Notify(NotifyRecord& msg) override
        {
            if (msg.sType == L"tabselect") lParams.push_back(msg.lParam);
        }
        std::vector<LPARAM> lParams;
    } lParams;
    window.manager.AddNotifier(&lParams);
    CTabLayoutUI* tabs = static_cast<CTabLayoutUI*>(root);
    tabs->SelectTab(1);
    tabs->SelectTab(0);
    ASSERT_EQ(2u, lParams.lParams.size());
    EXPECT_EQ(0, lParams.lParams[0]);
    EXPECT_EQ(1, lParams.lParams[1]);
}

TEST(Layouts, SeparatorDragStopsAtTheMaximumHeight)
{
    SkinWindow skin(L"<Window><VerticalLayout><VerticalLayout name=\"pane\" height=\"40\" maxheight=\"60\" sepheight=\"4\"/>"
                    L"<Control/></VerticalLayout></Window>",
                    200, 200);
    CVerticalLayoutUI* pane = static_cast<CVerticalLayoutUI*>(skin.Find(L"pane"));
    ASSERT_EQ("0,0,200,40", RectText(pane->GetPos()));
    EXPECT_EQ("0,36,200,40", RectText(pane->GetThumbRect()));
    skin.window.Mouse(WM_LBUTTONDOWN, 100, 38, MK_LBUTTON);
    for (int y = 48; y <= 118; y += 10) skin.window.Mouse(WM_MOUSEMOVE, 100, y, MK_LBUTTON);
    skin.window.Mouse(WM_LBUTTONUP, 100, 118);
    skin.Layout();
    EXPECT_EQ(60, pane->GetFixedHeight());
    EXPECT_EQ("0,0,200,60", RectText(pane->GetPos()));
}

TEST(Layouts, ChildLayoutThatCannotBeBuiltEndsUpEmpty)
{
    SkinWindow skin(L"<Window><VerticalLayout><ChildLayout name=\"child\" xmlfile=\"no such file.xml\"/></VerticalLayout></Window>");
    CChildLayoutUI* child = static_cast<CChildLayoutUI*>(skin.Find(L"child"));
    ASSERT_TRUE(child != NULL);
    EXPECT_EQ(0, child->Count());
    EXPECT_TRUE(child->GetInterface(L"IContainer") == NULL);
}

TEST(Layouts, ChildLayoutsShareTheWindowsBuildBudget)
{
    // Each file fits the budget alone (60,001 controls); the window's two
    // copies do not, so the second stays empty as a file that cannot be built.
    wchar_t folder[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, folder);
    CWindowUIManager::SetSkinPath(folder);
    std::string rows = "<Window>";
    for (int i = 0; i < 200; ++i) rows += "<Control/>";
    rows += "</Window>";
    const std::string half = "<Window><VerticalLayout><Include count=\"300\" source=\"budget_rows.xml\"/></VerticalLayout></Window>";
    const struct
    {
        LPCWSTR name;
        const std::string& text;
    } files[] = { { L"budget_rows.xml", rows }, { L"budget_half.xml", half } };
    for (const auto& f : files) {
        HANDLE file = CreateFileW(f.name, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        WriteFile(file, f.text.data(), static_cast<DWORD>(f.text.size()), &written, NULL);
        CloseHandle(file);
    }
    const LONG before = CControlUI::LiveCount();
    {
        SkinWindow skin(L"<Window><VerticalLayout><ChildLayout name=\"first\" xmlfile=\"budget_half.xml\"/>"
                        L"<ChildLayout name=\"second\" xmlfile=\"budget_half.xml\"/></VerticalLayout></Window>");
        CChildLayoutUI* first = static_cast<CChildLayoutUI*>(skin.Find(L"first"));
        CChildLayoutUI* second = static_cast<CChildLayoutUI*>(skin.Find(L"second"));
        ASSERT_TRUE(first != NULL && second != NULL);
        EXPECT_EQ(1, first->Count());
        EXPECT_EQ(0, second->Count());
        EXPECT_LE(CControlUI::LiveCount() - before, static_cast<LONG>(CBuildBudget::kMaxControls));
        EXPECT_EQ(3 + 60001, CControlUI::LiveCount() - before);
        EXPECT_EQ(static_cast<int>(CBuildBudget::kMaxControls), skin.window.manager.GetBuildBudget()->GetControls());
    }
    // Another window starts with a whole budget of its own.
    SkinWindow again(L"<Window><VerticalLayout><ChildLayout name=\"only\" xmlfile=\"budget_half.xml\"/></VerticalLayout></Window>");
    CChildLayoutUI* only = static_cast<CChildLayoutUI*>(again.Find(L"only"));
    ASSERT_TRUE(only != NULL);
    EXPECT_EQ(1, only->Count());
    CWindowUIManager::SetSkinPath(L"");
    DeleteFileW(L"budget_rows.xml");
    DeleteFileW(L"budget_half.xml");
}

TEST(Layouts, SelfIncludingChildLayoutStopsAtTheCycle)
{
    // The file names itself: the nested layout's build is refused, so the
    // tree holds exactly one level of the file.
    const char xml[] = "<Window><VerticalLayout name=\"inner\"><ChildLayout name=\"again\" xmlfile=\"self.xml\"/>"
                       "</VerticalLayout></Window>";
    wchar_t folder[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, folder);
    CWindowUIManager::SetSkinPath(folder);
    HANDLE file = CreateFileW(L"self.xml", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, xml, sizeof(xml) - 1, &written, NULL);
    CloseHandle(file);

    SkinWindow skin(L"<Window><VerticalLayout><ChildLayout name=\"outer\" xmlfile=\"self.xml\"/></VerticalLayout></Window>");
    CChildLayoutUI* outer = static_cast<CChildLayoutUI*>(skin.Find(L"outer"));
    ASSERT_TRUE(outer != NULL);
    ASSERT_EQ(1, outer->Count());
    CChildLayoutUI* again = static_cast<CChildLayoutUI*>(skin.Find(L"again"));
    ASSERT_TRUE(again != NULL);
    // The nested copy would build self.xml inside itself again: it stays empty.
    EXPECT_EQ(0, again->Count());
    int levels = 0;
    for (CControlUI* c = again; c != NULL; c = c->GetParent())
        if (wcscmp(c->GetControlClass(), L"ChildLayoutUI") == 0) ++levels;
    EXPECT_EQ(2, levels);
    CWindowUIManager::SetSkinPath(L"");
    DeleteFileW(L"self.xml");
}

} // namespace
