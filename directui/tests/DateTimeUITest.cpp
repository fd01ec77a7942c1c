#include "ControlWindow.h"

#include "control/DateTimeUI.h"
#include "control/DateTimeWnd.h"

#include <commctrl.h>
#include <gtest/gtest.h>

using namespace DirectUI;

namespace {

std::wstring Today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    WCHAR text[32];
    wsprintfW(text, L"%4d-%02d-%02d", now.wYear, now.wMonth, now.wDay);
    return text;
}

// A date control at 10,10-150,34; the picker is opened by focusing it.
struct DateWindow
{
    DateWindow() : date(w.Add(new CDateTimeUI, L"date", L"10,10,150,34")) { w.Show(); }
    HWND Open()
    {
        w.window.manager.SetFocus(date);
        return date->GetPicker() != NULL ? date->GetPicker()->GetHWND() : NULL;
    }
    // Runs queued messages until the picker is gone.
    void WaitClosed()
    {
        PumpUntil([this] { return date->GetPicker() == NULL; });
    }
    void Set(int year, int month, int day)
    {
        SYSTEMTIME time = {};
        time.wYear = static_cast<WORD>(year);
        time.wMonth = static_cast<WORD>(month);
        time.wDay = static_cast<WORD>(day);
        date->SetTime(time);
    }
    ControlWindow w;
    CDateTimeUI* date;
};

TEST(DateTime, ANewControlShowsTodaysDate)
{
    CDateTimeUI date;
    EXPECT_EQ(Today(), std::wstring(date.GetText().GetData()));
}

TEST(DateTime, FocusOpensThePickerOverTheControlWithItsDate)
{
    DateWindow d;
    d.Set(2021, 3, 4);
    HWND picker = d.Open();
    ASSERT_TRUE(IsWindow(picker));
    WCHAR className[64] = { 0 };
    GetClassNameW(picker, className, 64);
    EXPECT_STREQ(L"DateTimeWnd", className);
    EXPECT_EQ(d.w.window.GetHWND(), GetParent(picker));
    RECT rc;
    GetWindowRect(picker, &rc);
    MapWindowPoints(NULL, d.w.window.GetHWND(), reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_TRUE(EqualRect(&rc, &d.date->GetPos()));
    SYSTEMTIME shown = {};
    EXPECT_EQ(GDT_VALID, SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)));
    EXPECT_EQ(2021, shown.wYear);
    EXPECT_EQ(3, shown.wMonth);
    EXPECT_EQ(4, shown.wDay);
}

TEST(DateTime, LosingFocusTakesThePickedDate)
{
    DateWindow d;
    HWND picker = d.Open();
    ASSERT_TRUE(IsWindow(picker));
    SYSTEMTIME picked = {};
    picked.wYear = 2030;
    picked.wMonth = 12;
    picked.wDay = 31;
    SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&picked));
    SendMessageW(picker, WM_KILLFOCUS, 0, 0);
    d.WaitClosed();
    EXPECT_FALSE(IsWindow(picker));
    EXPECT_TRUE(d.date->GetPicker() == NULL);
    EXPECT_EQ(L"2030-12-31", std::wstring(d.date->GetText().GetData()));
}

TEST(DateTime, EscapeKeepsBackspaceClearsAndTheNextOpeningStartsToday)
{
    DateWindow d;
    d.Set(2021, 3, 4);
    HWND picker = d.Open();
    ASSERT_TRUE(IsWindow(picker));
    SendMessageW(picker, WM_KEYUP, VK_ESCAPE, 0);
    d.WaitClosed();
    EXPECT_EQ(L"2021-03-04", std::wstring(d.date->GetText().GetData()));

    d.w.window.manager.SetFocus(NULL);
    picker = d.Open();
    ASSERT_TRUE(IsWindow(picker));
    SendMessageW(picker, WM_KEYUP, VK_BACK, 0);
    d.WaitClosed();
    EXPECT_TRUE(d.date->GetText().IsEmpty());

    d.w.window.manager.SetFocus(NULL);
    picker = d.Open();
    ASSERT_TRUE(IsWindow(picker));
    SYSTEMTIME shown = {};
    SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
    WCHAR text[32];
    wsprintfW(text, L"%4d-%02d-%02d", shown.wYear, shown.wMonth, shown.wDay);
    EXPECT_EQ(Today(), std::wstring(text));
}

TEST(DateTime, DeletedWhileOpenDestroysThePicker)
{
    DateWindow d;
    HWND picker = d.Open();
    ASSERT_TRUE(IsWindow(picker));
    d.w.root->SetDelayedDestroy(false);
    d.w.root->Remove(d.date);
    EXPECT_FALSE(IsWindow(picker));
    // Messages still queued for it (its close) find nothing to call.
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, NULL) != FALSE);
}

} // namespace
