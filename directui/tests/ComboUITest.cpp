#include "ControlWindow.h"

#include "builder/DialogBuilder.h"
#include "control/ComboBoxUI.h"
#include "control/ComboUI.h"
#include "control/ComboWnd.h"
#include "control/ListLabelElementUI.h"
#include "control/ScrollBarUI.h"
#include "control/VerticalLayoutUI.h"

#include <gtest/gtest.h>

using namespace DirectUI;

namespace {

// A combo at 10,10-160,34 with label items 20 pixels high.
struct ComboWindow
{
    explicit ComboWindow(int items, CComboUI* control = new CComboUI, LPCWSTR attributes = L"")
    {
        combo = w.Add(control, L"combo", L"10,10,160,34", attributes);
        for (int i = 0; i < items; ++i) {
            CListLabelElementUI* item = new CListLabelElementUI;
            WCHAR text[16];
            wsprintfW(text, L"choice %d", i);
            item->SetText(text);
            item->SetAttribute(L"height", L"20");
            combo->Add(item);
        }
        w.Show();
    }
    ~ComboWindow()
    {
        CComboWnd* popup = combo != NULL ? combo->GetDropWindow() : NULL;
        if (popup != NULL && IsWindow(popup->GetHWND())) DestroyWindow(popup->GetHWND());
    }
    HWND Popup() const { return combo->GetDropWindow() != NULL ? combo->GetDropWindow()->GetHWND() : NULL; }
    RECT PopupRect() const
    {
        RECT rc = { 0, 0, 0, 0 };
        GetWindowRect(Popup(), &rc);
        return rc;
    }
    void Open()
    {
        combo->Activate();
        HWND popup = Popup();
        ASSERT_TRUE(IsWindow(popup));
        UpdateWindow(popup);
    }
    void WaitClosed()
    {
        PumpUntil([this] { return combo->GetDropWindow() == NULL; });
    }
    void PopupKey(WPARAM key) { ::SendMessageW(Popup(), WM_KEYDOWN, key, 1); }
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
    CComboUI* combo;
};

TEST(Combo, PopupHeightIsItsItemsCappedByTheDropBoxSize)
{
    struct Row
    {
        int items;
        int height;
        bool bar;
    };
    const Row rows[] = { { 20, 150, true }, { 3, 64, false } };
    for (const Row& row : rows) {
        ComboWindow c(row.items);
        SCOPED_TRACE(row.items);
        c.Open();
        RECT rc = c.PopupRect();
        EXPECT_EQ(row.height, rc.bottom - rc.top);
        EXPECT_EQ(150, rc.right - rc.left);
        POINT below = { 10, 34 };
        ClientToScreen(c.w.window.GetHWND(), &below);
        EXPECT_EQ(below.y, rc.top);
        EXPECT_EQ(below.x, rc.left);
        CScrollBarUI* bar = c.combo->GetDropWindow()->GetLayout()->GetVerticalScrollBar();
        ASSERT_TRUE(bar != NULL);
        EXPECT_EQ(row.bar, bar->IsVisible());
        EXPECT_NE(std::wstring::npos, c.w.recorder.Types().find(L"dropdown;"));
        // The items are lent to the popup while it is open.
        EXPECT_TRUE(c.combo->ItemAt(0)->GetManager() == c.combo->GetDropWindow()->GetManager());
    }
}

TEST(Combo, OpensAboveNearTheBottomOfTheWorkArea)
{
    ComboWindow c(3);
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(c.w.window.GetHWND(), NULL, 50, work.bottom - 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    c.Open();
    RECT rc = c.PopupRect();
    POINT top = { 10, 10 };
    ClientToScreen(c.w.window.GetHWND(), &top);
    EXPECT_EQ(top.y, rc.bottom);
    EXPECT_EQ(64, rc.bottom - rc.top);
}

TEST(Combo, EscapeRestoresTheSelectionItOpenedWith)
{
    ComboWindow c(5);
    c.combo->SelectItem(1);
    c.w.recorder.got.clear();
    c.Open();
    c.PopupKey(VK_DOWN);
    c.PopupKey(VK_DOWN);
    EXPECT_EQ(3, c.combo->GetCurSel());
    c.PopupKey(VK_ESCAPE);
    c.WaitClosed();
    EXPECT_TRUE(c.combo->GetDropWindow() == NULL);
    EXPECT_EQ(1, c.combo->GetCurSel());
    EXPECT_EQ("2/1;3/2;1/3;", c.Selects());
    // The items are back with the combo.
    EXPECT_TRUE(c.combo->ItemAt(0)->GetManager() == &c.w.window.manager);
    EXPECT_TRUE(c.combo->ItemAt(0)->GetParent() == c.combo);
}

TEST(Combo, ReturnKeepsTheNewSelection)
{
    ComboWindow c(5);
    c.combo->SelectItem(1);
    c.Open();
    c.PopupKey(VK_DOWN);
    c.PopupKey(VK_RETURN);
    c.WaitClosed();
    EXPECT_TRUE(c.combo->GetDropWindow() == NULL);
    EXPECT_EQ(2, c.combo->GetCurSel());
    EXPECT_EQ(CUIString(L"choice 2"), c.combo->GetText());
}

TEST(Combo, ClickOnTheBarKeepsItOpenOnAnItemSelectsAndCloses)
{
    ComboWindow c(20);
    c.Open();
    HWND popup = c.Popup();
    CScrollBarUI* bar = c.combo->GetDropWindow()->GetLayout()->GetVerticalScrollBar();
    ASSERT_TRUE(bar->IsVisible());
    RECT barRc = bar->GetPos();
    int x = (barRc.left + barRc.right) / 2, y = barRc.bottom - 30;
    ::SendMessageW(popup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageW(popup, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    // The release asks for no closing (a posted WM_KILLFOCUS). The focus is
    // not waited for: a window of another test program may take it, which
    // closes the popup as it should.
    MSG queued;
    EXPECT_FALSE(PeekMessageW(&queued, popup, WM_KILLFOCUS, WM_KILLFOCUS, PM_NOREMOVE));
    ASSERT_TRUE(c.combo->GetDropWindow() != NULL);
    EXPECT_TRUE(IsWindow(popup));

    // The bar's track scrolled the items: take the first one wholly in view.
    CVerticalLayoutUI* layout = c.combo->GetDropWindow()->GetLayout();
    int target = -1;
    for (int i = 0; i < c.combo->Count() && target < 0; ++i)
        if (c.combo->ItemAt(i)->GetPos().top >= layout->GetPos().top + 1) target = i;
    ASSERT_GT(target, 0);
    const RECT& item = c.combo->ItemAt(target)->GetPos();
    x = (item.left + item.right) / 2 - 20;
    y = (item.top + item.bottom) / 2;
    c.w.recorder.got.clear();
    ::SendMessageW(popup, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    ::SendMessageW(popup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageW(popup, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    c.WaitClosed();
    EXPECT_TRUE(c.combo->GetDropWindow() == NULL);
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_EQ(target, c.combo->GetCurSel());
    EXPECT_EQ(std::to_string(target) + "/-1;", c.Selects());
}

TEST(Combo, ReleaseOverNoControlOfThePopupClosesIt)
{
    ComboWindow c(3);
    c.Open();
    ::SendMessageW(c.Popup(), WM_LBUTTONUP, 0, MAKELPARAM(-5, -5));
    c.WaitClosed();
    EXPECT_TRUE(c.combo->GetDropWindow() == NULL);
}

TEST(Combo, WheelOverAClosedComboStopsAtTheLastItem)
{
    ComboWindow c(3);
    POINT pt = { 50, 20 };
    ClientToScreen(c.w.window.GetHWND(), &pt);
    for (int i = 0; i < 5; ++i)
        ::SendMessageW(c.w.window.GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(2, c.combo->GetCurSel());
    EXPECT_EQ("0/-1;1/0;2/1;", c.Selects());
    ::SendMessageW(c.w.window.GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(1, c.combo->GetCurSel());
    EXPECT_TRUE(c.combo->GetDropWindow() == NULL);
}

TEST(Combo, TextIsTheSelectedItemsAndEmptyWithoutSelection)
{
    ComboWindow c(3);
    EXPECT_TRUE(c.combo->GetText().IsEmpty());
    c.combo->SelectItem(7);
    EXPECT_EQ(2, c.combo->GetCurSel());
    EXPECT_EQ(CUIString(L"choice 2"), c.combo->GetText());
    // Removing it selects the nearest before it.
    c.combo->RemoveAt(2);
    EXPECT_EQ(1, c.combo->GetCurSel());
}

TEST(Combo, ArrowCellFollowsTheState)
{
    ComboWindow c(3, new CComboBoxUI, L"arrowimage=\"file='arrow.png' source='0,0,100,20'\"");
    CComboBoxUI* box = static_cast<CComboBoxUI*>(c.combo);
    // The arrow takes the last 20 pixels: 140..160 of the combo, y 10..34.
    // The window focused its first tab stop, the combo.
    EXPECT_EQ(0xFFFF00u, c.w.Pixel(150, 22));
    c.w.window.manager.SetFocus(NULL);
    EXPECT_EQ(0xFF0000u, c.w.Pixel(150, 22));
    EXPECT_EQ(20, box->GetArrowWidth());
    c.w.window.Mouse(WM_MOUSEMOVE, 100, 20);
    EXPECT_EQ(0x00FF00u, c.w.Pixel(150, 22));
    EXPECT_EQ(0xFFFFFFu, c.w.Pixel(130, 22));
    c.w.window.Mouse(WM_MOUSEMOVE, 250, 150);
    c.combo->SetEnabled(false);
    EXPECT_EQ(0x808080u, c.w.Pixel(150, 22));
}

TEST(Combo, ArrowWithoutASourcePartDrawsNothing)
{
    ComboWindow c(3, new CComboBoxUI, L"arrowimage=\"file='arrow.png'\"");
    EXPECT_EQ(0xFFFFFFu, c.w.Pixel(150, 22));
}

TEST(Combo, OwnerWindowDestroyedWhileOpen)
{
    std::unique_ptr<ComboWindow> c(new ComboWindow(5));
    c->Open();
    HWND popup = c->Popup();
    DestroyWindow(c->w.window.GetHWND());
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_TRUE(c->combo->GetDropWindow() == NULL);
    // The borrowed items came back before the popup's manager went.
    for (int i = 0; i < c->combo->Count(); ++i) {
        EXPECT_TRUE(c->combo->ItemAt(i)->GetManager() == &c->w.window.manager);
        EXPECT_TRUE(c->combo->ItemAt(i)->GetParent() == c->combo);
    }
    c.reset();
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, NULL) != FALSE);
}

TEST(Combo, DeletingAnOpenComboClosesItsPopup)
{
    ComboWindow c(5);
    c.Open();
    HWND popup = c.Popup();
    c.w.root->SetDelayedDestroy(false);
    c.w.root->Remove(c.combo);
    c.combo = NULL;
    EXPECT_FALSE(IsWindow(popup));
}

TEST(Combo, BuiltFromASkinWithItsDropBoxAttributes)
{
    ControlWindow w;
    CDialogBuilder builder;
    CControlUI* built = builder.Build(
        L"<Window><Combo float=\"true\" pos=\"0,0,100,24\" dropboxsize=\"200,80\" dropbox=\"bkcolor=&quot;#FF00FF00&quot;\">"
        L"<ListLabelElement text=\"a\" height=\"20\"/><ListLabelElement text=\"b\" height=\"20\" selected=\"true\"/>"
        L"</Combo></Window>",
        NULL, NULL, &w.window.manager);
    ASSERT_TRUE(built != NULL);
    CComboUI* combo = static_cast<CComboUI*>(built->GetInterface(L"Combo"));
    ASSERT_TRUE(combo != NULL);
    w.root->Add(combo);
    w.Show();
    EXPECT_EQ(1, combo->GetCurSel());
    combo->Activate();
    ASSERT_TRUE(combo->GetDropWindow() != NULL);
    RECT rc;
    GetWindowRect(combo->GetDropWindow()->GetHWND(), &rc);
    EXPECT_EQ(200, rc.right - rc.left);
    EXPECT_EQ(44, rc.bottom - rc.top);
    EXPECT_EQ(0xFF00FF00u, combo->GetDropWindow()->GetLayout()->GetBkColor());
    DestroyWindow(combo->GetDropWindow()->GetHWND());
}

} // namespace
