#include "control/ControlUI.h"
#include "window/NotifyPump.h"
#include "window/WindowWnd.h"

#include <gtest/gtest.h>

#include <string>

using namespace DirectUI;

// Not an unnamed namespace: the map macros define functions nothing else calls.
namespace notify_pump_test {
NotifyRecord Notification(LPCWSTR type, CControlUI* sender, WPARAM wParam = 0, LPARAM lParam = 0)
{
    NotifyRecord msg;
    msg.sType = type;
    msg.pSender = sender;
    msg.dwTimestamp = 0;
    msg.ptMouse.x = msg.ptMouse.y = 0;
    msg.wParam = wParam;
    msg.lParam = lParam;
    return msg;
}

class BasePump : public CNotifyPump
{
    DECLARE_NOTIFY_MAP()
public:
    std::string calls;
    void OnClose(NotifyRecord&) { calls += "close;"; }
    void OnAnyClick(NotifyRecord&) { calls += "base-any;"; }
    void OnAnyClickLater(NotifyRecord&) { calls += "base-any-later;"; }
    void OnTimer(WPARAM wParam, LPARAM lParam) { calls += "timer " + std::to_string(wParam) + "," + std::to_string(lParam) + ";"; }
};

BEGIN_NOTIFY_MAP(BasePump, CNotifyPump)
    NOTIFY_CONTROL_HANDLER(L"click", L"closebtn", BasePump::OnClose)
    NOTIFY_HANDLER(L"click", BasePump::OnAnyClick)
    NOTIFY_HANDLER(L"selectchanged", BasePump::OnAnyClick)
    NOTIFY_HANDLER(L"selectchanged", BasePump::OnAnyClickLater)
    NOTIFY_PARAMS_HANDLER(L"timer", L"", BasePump::OnTimer)
END_NOTIFY_MAP()

class DerivedPump : public BasePump
{
    DECLARE_NOTIFY_MAP()
public:
    void OnDerivedClick(NotifyRecord&) { calls += "derived-any;"; }
};

BEGIN_NOTIFY_MAP(DerivedPump, BasePump)
    NOTIFY_HANDLER(L"click", DerivedPump::OnDerivedClick)
END_NOTIFY_MAP()

// A window that is also a pump, as frames are: the handlers sit at another
// offset of the object than the pump part.
class FrameWindow : public CWindowWnd, public CNotifyPump
{
    DECLARE_NOTIFY_MAP()
public:
    CControlUI okButton;
    std::wstring clicked;
    void OnOk(NotifyRecord& msg)
    {
        clicked = msg.pSender->GetName().GetData();
        Close(42);
    }

protected:
    LPCWSTR GetWindowClassName() const override { return L"OrbelaTestFrame"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_APP) {
            NotifyRecord click = Notification(L"click", &okButton);
            DispatchNotify(click);
            return 0;
        }
        return CWindowWnd::HandleMessage(msg, wParam, lParam);
    }
};

BEGIN_NOTIFY_MAP(FrameWindow, CNotifyPump)
    NOTIFY_CONTROL_HANDLER(L"click", L"okbtn", FrameWindow::OnOk)
END_NOTIFY_MAP()
} // namespace notify_pump_test

using namespace notify_pump_test;

TEST(NotifyPump, RowsForAControlBeatRowsForAnyControl)
{
    CControlUI closeButton, minButton;
    closeButton.SetName(L"closebtn");
    minButton.SetName(L"minbtn");
    struct Row { LPCWSTR type; CControlUI* sender; bool handled; const char* calls; };
    const Row rows[] = {
        { L"click", &closeButton, true, "close;" },
        { L"click", &minButton, true, "base-any;" },
        { L"click", NULL, true, "base-any;" },
        { L"selectchanged", &minButton, true, "base-any-later;" },
        { L"Click", &closeButton, false, "" },
        { L"itemselect", &minButton, false, "" },
    };
    for (const Row& row : rows) {
        BasePump pump;
        NotifyRecord msg = Notification(row.type, row.sender);
        EXPECT_EQ(row.handled, pump.DispatchNotify(msg)) << row.calls;
        EXPECT_EQ(row.calls, pump.calls);
    }
}

TEST(NotifyPump, DerivedMapIsSearchedBeforeItsBase)
{
    CControlUI closeButton;
    closeButton.SetName(L"closebtn");
    DerivedPump pump;
    NotifyRecord click = Notification(L"click", &closeButton);
    EXPECT_TRUE(pump.DispatchNotify(click));
    NotifyRecord timer = Notification(L"timer", NULL, 3, 4);
    EXPECT_TRUE(pump.DispatchNotify(timer));
    EXPECT_EQ("derived-any;timer 3,4;", pump.calls);
}

TEST(NotifyPump, VirtualWindowsGoToTheirOwnPump)
{
    CControlUI closeButton;
    closeButton.SetName(L"closebtn");
    DerivedPump main;
    BasePump page;
    ASSERT_TRUE(main.AddVirtualWnd(L"Page1", &page));
    EXPECT_FALSE(main.AddVirtualWnd(L"Page1", &page));

    NotifyRecord msg = Notification(L"click", &closeButton);
    msg.sVirtualWnd = L"page1";
    EXPECT_TRUE(main.DispatchNotify(msg));
    EXPECT_EQ("close;", page.calls);
    EXPECT_EQ("", main.calls);

    // What the page does not handle falls back to the main pump.
    NotifyRecord timerless = Notification(L"itemselect", &closeButton);
    timerless.sVirtualWnd = L"PAGE1";
    EXPECT_FALSE(main.DispatchNotify(timerless));

    EXPECT_TRUE(main.RemoveVirtualWnd(L"Page1"));
    EXPECT_TRUE(main.DispatchNotify(msg));
    EXPECT_EQ("derived-any;", main.calls);
}

TEST(NotifyPump, FrameWindowHandlesANotificationDuringItsModalLoop)
{
    FrameWindow frame;
    frame.okButton.SetName(L"okbtn");
    ASSERT_TRUE(frame.Create(NULL, L"frame", WS_POPUP, 0, 0, 0, 200, 100) != NULL);
    frame.PostMessage(WM_APP);
    EXPECT_EQ(42u, frame.ShowModal());
    EXPECT_EQ(L"okbtn", frame.clicked);
}
