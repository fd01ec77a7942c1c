#include "ControlWindow.h"

#include "builder/DialogBuilder.h"
#include "control/ListContainerElementUI.h"
#include "control/ListHeaderItemUI.h"
#include "control/ListHeaderUI.h"
#include "control/ListLabelElementUI.h"
#include "control/ListTextElementUI.h"
#include "control/ListUI.h"
#include "control/ScrollBarUI.h"

#include <gtest/gtest.h>

using namespace DirectUI;

namespace {

// A list at 10,10-290,190 with a 20-pixel header of two columns (100 and
// 120 wide) and label items 20 pixels high; the body starts at y = 30.
struct ListWindow
{
    explicit ListWindow(int items = 5, LPCWSTR listAttributes = L"")
    {
        list = w.Add(new CListUI, L"list", L"10,10,290,190", listAttributes);
        AddColumn(L"Name", L"100");
        AddColumn(L"Size", L"120");
        for (int i = 0; i < items; ++i) AddItem();
        w.Show();
    }
    CListHeaderItemUI* AddColumn(LPCWSTR text, LPCWSTR width)
    {
        CListHeaderItemUI* column = new CListHeaderItemUI;
        column->SetText(text);
        column->SetAttribute(L"width", width);
        column->SetAttribute(L"height", L"20");
        list->Add(column);
        return column;
    }
    CListLabelElementUI* AddItem()
    {
        CListLabelElementUI* item = new CListLabelElementUI;
        WCHAR text[16];
        wsprintfW(text, L"item %d", list->Count());
        item->SetText(text);
        item->SetAttribute(L"height", L"20");
        list->Add(item);
        return item;
    }
    POINT Centre(int index)
    {
        const RECT& rc = list->ItemAt(index)->GetPos();
        POINT pt = { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
        return pt;
    }
    void ClickItem(int index)
    {
        POINT pt = Centre(index);
        w.Click(pt.x, pt.y);
    }
    void Key(WPARAM key) { w.Key(WM_KEYDOWN, key); }
    // "itemselect" notifications as "new/old;" pairs.
    std::string Selects() const
    {
        std::string all;
        for (const NotifyRecorder::Entry& e : w.recorder.got) {
            if (e.type != L"itemselect") continue;
            all += std::to_string(static_cast<int>(e.wParam)) + "/" + std::to_string(static_cast<int>(e.lParam)) + ";";
        }
        return all;
    }
    ControlWindow w;
    CListUI* list;
};

TEST(List, ClickingTheSelectedItemAgainSendsNoSecondItemSelect)
{
    ListWindow l;
    l.ClickItem(1);
    l.ClickItem(1);
    EXPECT_EQ("1/-1;", l.Selects());
    EXPECT_EQ(1, l.list->GetCurSel());
    l.ClickItem(3);
    EXPECT_EQ("1/-1;3/1;", l.Selects());
    EXPECT_FALSE(static_cast<CListLabelElementUI*>(l.list->ItemAt(1))->IsSelected());
    EXPECT_TRUE(static_cast<CListLabelElementUI*>(l.list->ItemAt(3))->IsSelected());
}

TEST(List, KeysMoveTheSelection)
{
    struct Row
    {
        const char* name;
        int start;
        std::vector<WPARAM> keys;
        std::vector<int> disabled;
        int expected;
    };
    const Row rows[] = {
        { "down", 1, { VK_DOWN }, {}, 2 },
        { "up", 2, { VK_UP }, {}, 1 },
        { "down on the last item keeps it", 4, { VK_DOWN }, {}, 4 },
        { "down with only unselectable items after clears it", 2, { VK_DOWN }, { 3, 4 }, -1 },
        { "down skips a disabled item", 1, { VK_DOWN }, { 2 }, 3 },
        { "home", 3, { VK_HOME }, {}, 0 },
        { "home with the first disabled", 3, { VK_HOME }, { 0 }, 1 },
        { "end", 1, { VK_END }, {}, 4 },
        { "end with the last disabled clears it", 1, { VK_END }, { 4 }, -1 },
        { "up on the first item keeps it", 0, { VK_UP }, {}, 0 },
    };
    for (const Row& row : rows) {
        ListWindow l;
        SCOPED_TRACE(row.name);
        for (int index : row.disabled) l.list->ItemAt(index)->SetEnabled(false);
        l.ClickItem(row.start);
        ASSERT_EQ(row.start, l.list->GetCurSel());
        for (WPARAM key : row.keys) l.Key(key);
        EXPECT_EQ(row.expected, l.list->GetCurSel());
    }
}

TEST(List, ReturnActivatesTheSelectedItem)
{
    ListWindow l;
    l.ClickItem(2);
    l.w.recorder.got.clear();
    l.Key(VK_RETURN);
    ASSERT_EQ(L"itemactivate;", l.w.recorder.Types());
    EXPECT_TRUE(l.w.recorder.got[0].sender == l.list->ItemAt(2));
}

TEST(List, RemovingTheSelectedItemSelectsTheNearestBefore)
{
    struct Row
    {
        const char* name;
        int selected;
        int removed;
        std::vector<int> disabled;
        int expected;
    };
    const Row rows[] = {
        { "the one before", 3, 3, {}, 2 },
        { "skipping a disabled one", 3, 3, { 2 }, 1 },
        { "the first when none is before", 0, 0, {}, 0 },
        { "an earlier item lowers the index", 3, 1, {}, 2 },
        { "a later item changes nothing", 1, 3, {}, 1 },
    };
    for (const Row& row : rows) {
        ListWindow l;
        SCOPED_TRACE(row.name);
        l.list->SelectItem(row.selected);
        for (int index : row.disabled) l.list->ItemAt(index)->SetEnabled(false);
        CControlUI* removed = l.list->ItemAt(row.removed);
        EXPECT_TRUE(l.list->Remove(removed));
        EXPECT_EQ(4, l.list->Count());
        EXPECT_EQ(row.expected, l.list->GetCurSel());
        // Indexes stay in step with places.
        for (int i = 0; i < l.list->Count(); ++i)
            EXPECT_EQ(i, static_cast<IListItemUI*>(l.list->ItemAt(i)->GetInterface(L"ListItem"))->GetIndex());
    }
}

TEST(List, MovingItemsKeepsTheSelectionOnItsItem)
{
    ListWindow l;
    l.list->SelectItem(1);
    CControlUI* selected = l.list->ItemAt(1);
    EXPECT_TRUE(l.list->MoveItem(selected, 3));
    EXPECT_EQ(3, l.list->GetCurSel());
    EXPECT_TRUE(l.list->MoveItem(l.list->ItemAt(4), 0));
    EXPECT_EQ(4, l.list->GetCurSel());
    EXPECT_TRUE(l.list->ItemAt(4) == selected);
    for (int i = 0; i < l.list->Count(); ++i)
        EXPECT_EQ(i, static_cast<IListItemUI*>(l.list->ItemAt(i)->GetInterface(L"ListItem"))->GetIndex());
    CListLabelElementUI stranger;
    EXPECT_FALSE(l.list->MoveItem(&stranger, 0));
}

TEST(List, WheelScrollsOrWithScrollSelectMovesTheSelection)
{
    ListWindow scrolling(20, L"vscrollbar=\"true\"");
    ListWindow selecting(20, L"vscrollbar=\"true\" scrollselect=\"true\"");
    for (ListWindow* l : { &scrolling, &selecting }) l->list->SelectItem(2);
    for (ListWindow* l : { &scrolling, &selecting }) {
        POINT pt = l->Centre(2);
        ClientToScreen(l->w.window.GetHWND(), &pt);
        ::SendMessageW(l->w.window.GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    }
    EXPECT_EQ(2, scrolling.list->GetCurSel());
    EXPECT_GT(scrolling.list->GetScrollPos().cy, 0);
    EXPECT_EQ(3, selecting.list->GetCurSel());
}

TEST(List, SelectingBelowTheVisibleAreaScrollsItIntoView)
{
    ListWindow l(20, L"vscrollbar=\"true\"");
    l.list->SelectItem(15);
    l.w.window.Repaint();
    const RECT& body = l.list->GetList()->GetPos();
    const RECT& item = l.list->ItemAt(15)->GetPos();
    EXPECT_LE(item.bottom, body.bottom);
    EXPECT_GE(item.top, body.top);
    l.list->SelectItem(0);
    EXPECT_EQ(body.top, l.list->ItemAt(0)->GetPos().top);
}

TEST(List, ScaleHeaderSplitsItsWidthByTheItemsScales)
{
    ControlWindow w;
    CDialogBuilder builder;
    CControlUI* built = builder.Build(
        L"<Window><List float=\"true\" pos=\"0,0,200,100\"><ListHeader scaleheader=\"true\" height=\"20\">"
        L"<ListHeaderItem text=\"a\" scale=\"30\"/><ListHeaderItem text=\"b\" scale=\"70\"/></ListHeader></List></Window>",
        NULL, NULL, &w.window.manager);
    ASSERT_TRUE(built != NULL) << testing::PrintToString(std::wstring(builder.GetError().GetData()));
    CListUI* list = static_cast<CListUI*>(built->GetInterface(L"List"));
    ASSERT_TRUE(list != NULL);
    w.root->Add(list);
    w.Show();
    ASSERT_EQ(2, list->GetHeader()->Count());
    EXPECT_EQ(60, list->GetHeader()->ItemAt(0)->GetWidth());
    EXPECT_EQ(140, list->GetHeader()->ItemAt(1)->GetWidth());
    EXPECT_EQ(2, list->GetListInfo()->nColumns);
    EXPECT_EQ(60, list->GetListInfo()->rcColumn[1].left);
}

TEST(List, HeaderDragResizesAColumnDownToItsMinimumWidth)
{
    ListWindow l;
    CControlUI* name = l.list->GetHeader()->ItemAt(0);
    ASSERT_EQ(110, name->GetPos().right);
    // The separator is the last 4 pixels, caught 4 more pixels inside.
    l.w.window.Mouse(WM_MOUSEMOVE, 104, 20);
    l.w.window.Mouse(WM_LBUTTONDOWN, 104, 20, MK_LBUTTON);
    l.w.window.Mouse(WM_MOUSEMOVE, 124, 20, MK_LBUTTON);
    l.w.window.Repaint();
    EXPECT_EQ(120, name->GetWidth());
    EXPECT_EQ(130, l.list->GetListInfo()->rcColumn[1].left);
    // Narrower than 16 is refused step by step: 120 - 104 = 16 is the minimum itself.
    l.w.window.Mouse(WM_MOUSEMOVE, 20, 20, MK_LBUTTON);
    l.w.window.Repaint();
    EXPECT_EQ(120, name->GetWidth());
    l.w.window.Mouse(WM_MOUSEMOVE, 40, 20, MK_LBUTTON);
    l.w.window.Repaint();
    EXPECT_EQ(36, name->GetWidth());
    l.w.window.Mouse(WM_LBUTTONUP, 40, 20);
    l.w.window.Mouse(WM_MOUSEMOVE, 90, 20);
    l.w.window.Repaint();
    EXPECT_EQ(36, name->GetWidth());
}

TEST(List, ClickOnAHeaderItemSendsHeaderClick)
{
    ListWindow l;
    l.w.Click(50, 20);
    EXPECT_NE(std::wstring::npos, l.w.recorder.Types().find(L"headerclick;"));
}

// The separator image covers the strip sepwidth gives: the right edge, or
// the left one when it is negative.
TEST(List, HeaderSeparatorImageCoversItsStrip)
{
    const DWORD normal = 0x808080, separator = 0xFF0000;
    const struct
    {
        const wchar_t* sepwidth;
        int separatorX, normalX;
    } rows[] = { { L"4", 108, 103 }, { L"-4", 12, 17 } };
    for (const auto& row : rows) {
        ListWindow l(0);
        CControlUI* column = l.list->GetHeader()->ItemAt(0);
        column->SetText(L"");
        column->SetAttribute(L"normalimage", L"file='state-normal.png'");
        column->SetAttribute(L"sepimage", L"file='state-hot.png'");
        column->SetAttribute(L"sepwidth", row.sepwidth);
        // The first column spans x 10-110 of the header at y 10-30.
        EXPECT_EQ(separator, l.w.Pixel(row.separatorX, 20)) << row.sepwidth;
        EXPECT_EQ(normal, l.w.Pixel(row.normalX, 20)) << row.sepwidth;
    }
}

TEST(List, FortyHeaderItemsGiveThirtyTwoColumns)
{
    ListWindow l(3);
    for (int i = 2; i < 40; ++i) l.AddColumn(L"c", L"10");
    CListTextElementUI* text = new CListTextElementUI;
    for (int i = 0; i < 40; ++i) text->SetText(i, L"x");
    l.list->Add(text);
    EXPECT_EQ(32, l.list->GetListInfo()->nColumns);
    l.w.window.Repaint();
    l.list->SetScrollPos(SIZE{ 30, 0 });
    l.w.window.Repaint();
    EXPECT_EQ(40, l.list->GetHeader()->Count());
    EXPECT_EQ(32, l.list->GetListInfo()->nColumns);
    EXPECT_TRUE(text->GetText(35).IsEmpty());
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, NULL) != FALSE);
}

TEST(List, AnEmptyHeaderKeepsOneLineUnlessHidden)
{
    struct Row
    {
        const wchar_t* attributes;
        bool line;
    };
    const Row rows[] = { { L"", true }, { L"header=\"hidden\"", false } };
    for (const Row& row : rows) {
        ControlWindow w;
        CListUI* list = w.Add(new CListUI, L"list", L"0,0,200,100", row.attributes);
        w.Show();
        int line = w.window.manager.GetDefaultFontEntry()->tm.tmHeight + 6;
        EXPECT_EQ(row.line ? line : 0, list->GetList()->GetPos().top);
        EXPECT_EQ(row.line ? line : 0, list->GetHeader()->GetHeight());
    }
}

TEST(List, TheLastAdjustableItemTakesTheLeftoverPixels)
{
    ControlWindow w;
    CListUI* list = w.Add(new CListUI, L"list", L"0,0,200,181", L"header=\"hidden\"");
    CListContainerElementUI* rows[3];
    for (CListContainerElementUI*& row : rows) {
        row = new CListContainerElementUI;
        list->Add(row);
    }
    w.Show();
    EXPECT_EQ(60, rows[0]->GetHeight());
    EXPECT_EQ(60, rows[1]->GetHeight());
    EXPECT_EQ(61, rows[2]->GetHeight());
    EXPECT_EQ(181, rows[2]->GetPos().bottom);
}

TEST(List, HiddenHeaderStillGivesTheColumns)
{
    ListWindow l(3, L"header=\"hidden\"");
    EXPECT_EQ(10, l.list->GetList()->GetPos().top);
    const ListInfo* info = l.list->GetListInfo();
    ASSERT_EQ(2, info->nColumns);
    EXPECT_EQ(10, info->rcColumn[0].left);
    EXPECT_EQ(110, info->rcColumn[0].right);
    EXPECT_EQ(230, info->rcColumn[1].right);
    EXPECT_FALSE(l.list->GetHeader()->ItemAt(0)->IsVisible());
}

TEST(ListItems, PressSelectsReleaseClicksEvenOutsideDoubleClickActivates)
{
    ListWindow l;
    POINT pt = l.Centre(1);
    l.w.window.Mouse(WM_MOUSEMOVE, pt.x, pt.y);
    l.w.window.Mouse(WM_LBUTTONDOWN, pt.x, pt.y, MK_LBUTTON);
    EXPECT_EQ("1/-1;", l.Selects());
    l.w.window.Mouse(WM_MOUSEMOVE, 295, 195, MK_LBUTTON);
    l.w.window.Mouse(WM_LBUTTONUP, 295, 195);
    std::wstring types = l.w.recorder.Types();
    EXPECT_NE(std::wstring::npos, types.find(L"itemclick;")) << testing::PrintToString(types);
    l.w.recorder.got.clear();
    l.w.window.Mouse(WM_MOUSEMOVE, pt.x, pt.y);
    l.w.window.Mouse(WM_LBUTTONDBLCLK, pt.x, pt.y, MK_LBUTTON);
    EXPECT_NE(std::wstring::npos, l.w.recorder.Types().find(L"itemactivate;"));
}

TEST(ListItems, ADisabledItemCannotBeSelected)
{
    ListWindow l;
    l.list->ItemAt(2)->SetEnabled(false);
    l.ClickItem(2);
    EXPECT_EQ(-1, l.list->GetCurSel());
    EXPECT_FALSE(l.list->SelectItem(2));
    EXPECT_EQ(-1, l.list->GetCurSel());
    EXPECT_EQ("", l.Selects());
    l.list->SelectItem(1);
    l.list->ItemAt(1)->SetVisible(false);
    EXPECT_EQ(-1, l.list->GetCurSel());
}

TEST(ListItems, AlternateBackgroundLeavesOddRowsBare)
{
    ListWindow l(4, L"itembkcolor=\"#FF00FF00\" itemaltbk=\"true\"");
    for (int i = 0; i < 4; ++i) {
        POINT pt = l.Centre(i);
        EXPECT_EQ(i % 2 == 0 ? 0x00FF00u : 0xFFFFFFu, l.w.Pixel(pt.x + 60, pt.y)) << i;
    }
    l.list->SetAttribute(L"itemaltbk", L"false");
    POINT pt = l.Centre(1);
    EXPECT_EQ(0x00FF00u, l.w.Pixel(pt.x + 60, pt.y));
}

TEST(ListItems, SelectedAndHotItemsTakeTheirColours)
{
    ListWindow l(3, L"itemselectedbkcolor=\"#FF0000FF\" itemhotbkcolor=\"#FFFF0000\"");
    l.list->SelectItem(0);
    POINT hot = l.Centre(2);
    l.w.window.Mouse(WM_MOUSEMOVE, hot.x, hot.y);
    POINT selected = l.Centre(0);
    EXPECT_EQ(0x0000FFu, l.w.Pixel(selected.x + 60, selected.y));
    EXPECT_EQ(0xFF0000u, l.w.Pixel(hot.x + 60, hot.y));
}

TEST(ListItems, ContainerElementsFollowTheHeaderColumns)
{
    ListWindow l(0);
    CListContainerElementUI* row = new CListContainerElementUI;
    row->SetAttribute(L"height", L"24");
    CControlUI* cells[3] = { new CControlUI, new CControlUI, new CControlUI };
    for (CControlUI* cell : cells) row->Add(cell);
    l.list->Add(row);
    l.w.window.Repaint();
    EXPECT_EQ(10, cells[0]->GetPos().left);
    EXPECT_EQ(110, cells[0]->GetPos().right);
    EXPECT_EQ(110, cells[1]->GetPos().left);
    EXPECT_EQ(230, cells[1]->GetPos().right);
    // A child beyond the columns keeps the row's own placement.
    EXPECT_NE(230, cells[2]->GetPos().left);
    EXPECT_EQ(24, cells[0]->GetHeight());
    // Columns follow the header whenever the list is laid out.
    l.list->GetHeader()->ItemAt(0)->SetFixedWidth(60);
    l.list->SetPos(l.list->GetPos());
    EXPECT_EQ(70, cells[0]->GetPos().right);
    EXPECT_EQ(70, cells[1]->GetPos().left);
}

// Column texts from the program, for the provider row.
class NumberProvider : public ListTextProvider
{
public:
    CUIString GetItemText(CControlUI*, int index, int column) override
    {
        WCHAR text[32];
        wsprintfW(text, L"%d.%d", index, column);
        return text;
    }
};

TEST(ListItems, TextElementDrawsEachColumnAndMissingTextsAreEmpty)
{
    ListWindow l(0);
    for (int i = 2; i < 5; ++i) l.AddColumn(L"c", L"20");
    CListTextElementUI* text = new CListTextElementUI;
    text->SetText(0, L"first");
    text->SetText(1, L"second");
    text->SetAttribute(L"height", L"20");
    l.list->Add(text);
    l.w.window.Repaint();
    EXPECT_EQ(5, l.list->GetListInfo()->nColumns);
    EXPECT_EQ(CUIString(L"second"), text->GetText(1));
    EXPECT_TRUE(text->GetText(4).IsEmpty());
    // Text reaches into the first two columns only.
    const ListInfo* info = l.list->GetListInfo();
    RECT first = { info->rcColumn[0].left, text->GetPos().top, info->rcColumn[0].right, text->GetPos().bottom };
    RECT last = { info->rcColumn[4].left, text->GetPos().top, info->rcColumn[4].right, text->GetPos().bottom };
    ASSERT_EQ(20, last.right - last.left);
    EXPECT_LT(l.w.Count(first, 0xFFFFFF), (first.right - first.left) * 20);
    EXPECT_EQ((last.right - last.left) * 20, l.w.Count(last, 0xFFFFFF));

    NumberProvider provider;
    l.list->SetTextProvider(&provider);
    EXPECT_GT((last.right - last.left) * 20, l.w.Count(last, 0xFFFFFF));
    l.list->SetTextProvider(NULL);
}

TEST(ListItems, MarkupLinksAreBoundedByTheEightSlots)
{
    ListWindow l(0, L"itemshowhtml=\"true\"");
    CListTextElementUI* text = new CListTextElementUI;
    text->SetText(0, L"{a 1}x{/a}{a 2}x{/a}{a 3}x{/a}{a 4}x{/a}{a 5}x{/a}");
    text->SetText(1, L"{a 6}y{/a}{a 7}y{/a}{a 8}y{/a}{a 9}y{/a}{a 10}y{/a}");
    text->SetAttribute(L"height", L"20");
    l.list->Add(text);
    l.w.window.Repaint();
    EXPECT_EQ(8, text->GetLinkCount());
    EXPECT_EQ(UIFLAG_WANTRETURN | UIFLAG_SETCURSOR, text->GetControlFlags());
    RECT link = text->GetLinkRect(5);
    l.w.recorder.got.clear();
    l.w.Click((link.left + link.right) / 2, (link.top + link.bottom) / 2);
    bool linked = false;
    for (const NotifyRecorder::Entry& e : l.w.recorder.got) linked |= e.type == L"link" && e.wParam == 5;
    EXPECT_TRUE(linked) << testing::PrintToString(l.w.recorder.Types());
}

TEST(ListItems, LabelElementWithoutOwnerHasNoSize)
{
    CListLabelElementUI item;
    item.SetAttribute(L"width", L"50");
    item.SetAttribute(L"height", L"20");
    SIZE size = item.PreferredSize(SIZE{ 100, 100 });
    EXPECT_EQ(0, size.cx);
    EXPECT_EQ(0, size.cy);
}

} // namespace
