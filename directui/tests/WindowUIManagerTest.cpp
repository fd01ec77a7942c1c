#include "DibCanvas.h"
#include "ProbeControls.h"

#include "control/ButtonUI.h"
#include "control/ListLabelElementUI.h"
#include "control/ListUI.h"
#include "control/OptionUI.h"
#include "control/SliderUI.h"

#include <gtest/gtest.h>

using namespace DirectUI;

namespace {

// A window with a root container and two probes: "a" at 10,10-60,40 and
// "b" at 100,10-150,40; the rest of the client area is the root's.
struct TwoProbeWindow
{
    TwoProbeWindow() : root(new CContainerUI), a(new ProbeUI(L"a", L"10,10,60,40")), b(new ProbeUI(L"b", L"100,10,150,40"))
    {
        root->SetName(L"root");
        root->Add(a);
        root->Add(b);
        window.manager.AttachRoot(root);
        window.manager.AddNotifier(&recorder);
        window.Repaint();
        recorder.got.clear();
        a->log.clear();
        b->log.clear();
    }
    ManagedWindow window;
    NotifyRecorder recorder;
    CContainerUI* root;
    ProbeUI* a;
    ProbeUI* b;
};

TEST(WindowUIManager, FirstPaintLaysOutAndSendsWindowInitOnce)
{
    ManagedWindow window;
    NotifyRecorder recorder;
    window.manager.AddNotifier(&recorder);
    CContainerUI* root = new CContainerUI;
    ProbeUI* probe = new ProbeUI(L"probe", L"-30,5,-10,25");
    root->Add(probe);
    window.manager.AttachRoot(root);
    EXPECT_TRUE(window.manager.FindControl(L"probe") == probe);
    window.Repaint();
    window.Repaint();
    ASSERT_EQ(L"windowinit;", recorder.Types());
    EXPECT_TRUE(recorder.got[0].sender == root);
    RECT client;
    GetClientRect(window.GetHWND(), &client);
    EXPECT_TRUE(EqualRect(&client, &root->GetPos()));
    // A floating child with a negative x keeps its distance from the right edge.
    EXPECT_EQ(client.right - 10, probe->GetPos().right);
    EXPECT_EQ(20, probe->GetWidth());
}

struct MouseStep
{
    UINT msg;
    int x, y;
    WPARAM wParam;
    bool screen;
};

TEST(WindowUIManager, MouseTableAgainstEventsAndNotifications)
{
    struct Row
    {
        const char* name;
        std::vector<MouseStep> steps;
        bool menuEnabled;
        const char* aLog;
        const wchar_t* notifications;
    };
    const Row rows[] = {
        { "enter", { { WM_MOUSEMOVE, 20, 20 } }, false, "enter;move;", L"" },
        { "enter and leave", { { WM_MOUSEMOVE, 20, 20 }, { WM_MOUSEMOVE, 80, 80 } }, false, "enter;move;leave;", L"" },
        { "click inside", { { WM_LBUTTONDOWN, 20, 20, MK_LBUTTON }, { WM_LBUTTONUP, 25, 25 } }, false,
          "setfocus;down;up;", L"setfocus;click;" },
        { "press inside, release outside",
          { { WM_LBUTTONDOWN, 20, 20, MK_LBUTTON }, { WM_MOUSEMOVE, 80, 80, MK_LBUTTON }, { WM_LBUTTONUP, 80, 80 } },
          false, "setfocus;down;move;up;", L"setfocus;" },
        // The root under the point takes the press (and the focus).
        { "press outside, release inside", { { WM_LBUTTONDOWN, 80, 80, MK_LBUTTON }, { WM_LBUTTONUP, 20, 20 } }, false,
          "", L"setfocus;" },
        { "press on b, release on a", { { WM_LBUTTONDOWN, 110, 20, MK_LBUTTON }, { WM_LBUTTONUP, 20, 20 } }, false,
          "", L"setfocus;" },
        { "right button without menu", { { WM_RBUTTONDOWN, 20, 20, MK_RBUTTON }, { WM_CONTEXTMENU, 20, 20, 0, true } },
          false, "setfocus;rdown;menu;", L"setfocus;" },
        { "right button with menu", { { WM_RBUTTONDOWN, 20, 20, MK_RBUTTON }, { WM_CONTEXTMENU, 20, 20, 0, true } },
          true, "setfocus;rdown;menu;", L"setfocus;menu;" },
        { "wheel down", { { WM_MOUSEWHEEL, 20, 20, MAKEWPARAM(0, static_cast<WORD>(-120)), true } }, false,
          "wheel-down;enter;move;", L"" },
        { "wheel up", { { WM_MOUSEWHEEL, 20, 20, MAKEWPARAM(0, 120), true } }, false, "wheel-up;enter;move;", L"" },
        { "double click", { { WM_LBUTTONDBLCLK, 20, 20, MK_LBUTTON }, { WM_LBUTTONUP, 20, 20 } }, false, "dbl;up;",
          L"click;" },
        { "outside the client area", { { WM_MOUSEMOVE, -5, -5 }, { WM_LBUTTONDOWN, 500, 500 }, { WM_LBUTTONUP, 500, 500 } },
          false, "", L"" },
    };
    for (const Row& row : rows) {
        TwoProbeWindow w;
        w.a->SetMenuEnabled(row.menuEnabled);
        for (const MouseStep& step : row.steps) {
            if (step.screen) w.window.ScreenMouse(step.msg, step.x, step.y, step.wParam);
            else w.window.Mouse(step.msg, step.x, step.y, step.wParam);
        }
        EXPECT_EQ(row.aLog, w.a->log) << row.name;
        EXPECT_EQ(row.notifications, w.recorder.Types()) << row.name;
        EXPECT_FALSE(w.window.manager.IsCaptured()) << row.name;
        EXPECT_TRUE(w.window.manager.GetPressed() == NULL) << row.name;
    }
}

TEST(WindowUIManager, ClosingWhilePressedReleasesAtTheLastMousePoint)
{
    // Each row's control sits at 10,10-110,30 (a list: 10,10-110,90 with
    // items 20 high); it is pressed at press, the mouse moves to last with
    // the button held, and the window closes.
    struct Row
    {
        const char* name;
        CControlUI* (*make)();
        POINT press, last;
        const wchar_t* notifications;
        int sliderValue; // -1: not a slider
    };
    const Row rows[] = {
        { "probe, mouse still over it", [] { return static_cast<CControlUI*>(new ProbeUI(L"c", L"10,10,110,30")); },
          { 20, 20 }, { 20, 20 }, L"c:click;", -1 },
        { "probe, mouse moved off", [] { return static_cast<CControlUI*>(new ProbeUI(L"c", L"10,10,110,30")); },
          { 20, 20 }, { 150, 100 }, L"", -1 },
        // 100 wide, thumb 10: x = 15 is the minimum, 60 the middle.
        { "slider", [] { return static_cast<CControlUI*>(new CSliderUI); }, { 15, 20 }, { 60, 20 },
          L"c:valuechanged;", 50 },
        { "slider, mouse beyond its end", [] { return static_cast<CControlUI*>(new CSliderUI); }, { 60, 20 },
          { 180, 20 }, L"c:valuechanged;", 100 },
        { "button, mouse still over it", [] { return static_cast<CControlUI*>(new CButtonUI); }, { 20, 20 },
          { 30, 25 }, L"c:click;", -1 },
        { "button, mouse moved off", [] { return static_cast<CControlUI*>(new CButtonUI); }, { 20, 20 },
          { 150, 100 }, L"", -1 },
        { "option, mouse moved off", [] { return static_cast<CControlUI*>(new COptionUI); }, { 20, 20 },
          { 150, 100 }, L"", -1 },
        { "option, mouse still over it", [] { return static_cast<CControlUI*>(new COptionUI); }, { 20, 20 },
          { 20, 20 }, L"c:click;c:selectchanged;", -1 },
        // A list item's release is its "itemclick" wherever the mouse is.
        { "list item, mouse moved off",
          [] {
              CListUI* list = new CListUI;
              list->SetAttribute(L"header", L"hidden");
              for (int i = 0; i < 2; ++i) {
                  CListLabelElementUI* item = new CListLabelElementUI;
                  item->SetName(i == 0 ? L"i0" : L"i1");
                  item->SetAttribute(L"height", L"20");
                  list->Add(item);
              }
              return static_cast<CControlUI*>(list);
          },
          { 20, 35 }, { 150, 100 }, L"c:itemselect;i1:itemclick;", -1 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ManagedWindow window;
        NotifyRecorder recorder;
        CContainerUI* root = new CContainerUI;
        CControlUI* control = row.make();
        control->SetName(L"c");
        control->SetAttribute(L"float", L"true");
        control->SetAttribute(L"pos", wcscmp(control->GetControlClass(), L"ListUI") == 0 ? L"10,10,110,90" : L"10,10,110,30");
        root->Add(control);
        window.manager.AttachRoot(root);
        window.Repaint();
        window.manager.AddNotifier(&recorder);
        window.Mouse(WM_MOUSEMOVE, row.press.x, row.press.y);
        window.Mouse(WM_LBUTTONDOWN, row.press.x, row.press.y, MK_LBUTTON);
        window.Mouse(WM_MOUSEMOVE, row.last.x, row.last.y, MK_LBUTTON);
        ::SendMessageW(window.GetHWND(), WM_CLOSE, 0, 0);
        EXPECT_EQ(row.notifications, recorder.SendersAndTypes());
        EXPECT_TRUE(window.manager.GetPressed() == NULL);
        EXPECT_FALSE(window.manager.IsCaptured());
        if (row.sliderValue >= 0) {
            EXPECT_EQ(row.sliderValue, static_cast<CSliderUI*>(control)->GetValue());
        }
    }
}

TEST(WindowUIManager, AsynchronousNotificationsWaitForTheNextMessageAndLoseADeletedSender)
{
    TwoProbeWindow w;
    w.window.manager.SendNotify(w.a, L"later", 5, 0, true);
    w.window.manager.SendNotify(w.b, L"gone", 6, 0, true);
    EXPECT_EQ(L"", w.recorder.Types());
    w.root->SetDelayedDestroy(false);
    w.root->Remove(w.b); // deletes b at once
    ::SendMessageW(w.window.GetHWND(), WM_NULL, 0, 0);
    ASSERT_EQ(L"later;gone;", w.recorder.Types());
    EXPECT_TRUE(w.recorder.got[0].sender == w.a);
    EXPECT_TRUE(w.recorder.got[1].sender == NULL);
    EXPECT_EQ(6u, w.recorder.got[1].wParam);
}

TEST(WindowUIManager, RemovedControlIsForgottenEverywhere)
{
    TwoProbeWindow w;
    CWindowUIManager& m = w.window.manager;
    w.window.Mouse(WM_MOUSEMOVE, 20, 20);
    w.window.Mouse(WM_LBUTTONDOWN, 20, 20, MK_LBUTTON);
    ASSERT_TRUE(m.GetFocus() == w.a);
    ASSERT_TRUE(m.GetHot() == w.a);
    ASSERT_TRUE(m.SetTimer(w.a, 1, 100000));
    m.AddPostPaint(w.a);
    m.SendNotify(w.a, L"queued", 0, 0, true);
    w.root->SetDelayedDestroy(false);
    ASSERT_TRUE(w.root->Remove(w.a));
    EXPECT_TRUE(m.GetFocus() == NULL);
    EXPECT_TRUE(m.GetHot() == NULL);
    EXPECT_TRUE(m.GetPressed() == NULL);
    EXPECT_TRUE(m.FindControl(L"a") == NULL);
    EXPECT_FALSE(m.KillTimer(w.a, 1));
    EXPECT_FALSE(m.RemovePostPaint(w.a));
    w.window.Mouse(WM_LBUTTONUP, 20, 20);
    ::SendMessageW(w.window.GetHWND(), WM_TIMER, 17, 0);
    w.window.Repaint();
    ASSERT_EQ(L"setfocus;queued;", w.recorder.Types());
    EXPECT_TRUE(w.recorder.got[1].sender == NULL);
}

TEST(WindowUIManager, ControlTimers)
{
    TwoProbeWindow w;
    CWindowUIManager& m = w.window.manager;
    HWND hwnd = w.window.GetHWND();
    ASSERT_TRUE(m.SetTimer(w.a, 7, 100000));
    EXPECT_FALSE(m.SetTimer(w.a, 7, 100000)); // already running
    ::SendMessageW(hwnd, WM_TIMER, 17, 0);    // the first native id is 17
    ASSERT_EQ(L"timer;", w.recorder.Types());
    EXPECT_EQ(7u, w.recorder.got[0].wParam);
    EXPECT_TRUE(m.KillTimer(w.a, 7));
    EXPECT_FALSE(m.KillTimer(w.a, 7));
    ::SendMessageW(hwnd, WM_TIMER, 17, 0);
    EXPECT_EQ(L"timer;", w.recorder.Types());
    EXPECT_TRUE(m.SetTimer(w.a, 7, 100000)); // restarted with its native id
    ::SendMessageW(hwnd, WM_TIMER, 17, 0);
    EXPECT_EQ(L"timer;timer;", w.recorder.Types());

    // Every other native id taken by b: none is left, and a's stays a's.
    for (UINT id = 1; id < 240; ++id) ASSERT_TRUE(m.SetTimer(w.b, id, 100000)) << id;
    EXPECT_FALSE(m.SetTimer(w.b, 999, 100000));
    ::SendMessageW(hwnd, WM_TIMER, 17, 0);
    ASSERT_EQ(3u, w.recorder.got.size());
    EXPECT_TRUE(w.recorder.got[2].sender == w.a);
    m.KillTimers(w.b);
    EXPECT_TRUE(m.SetTimer(w.b, 999, 100000));
}

TEST(WindowUIManager, TabAndShiftTabWrapAround)
{
    ManagedWindow window;
    CContainerUI* root = new CContainerUI;
    ProbeUI* t1 = new ProbeUI(L"t1", L"0,0,10,10", UIFLAG_TABSTOP);
    ProbeUI* plain = new ProbeUI(L"plain", L"20,0,30,10");
    ProbeUI* t2 = new ProbeUI(L"t2", L"40,0,50,10", UIFLAG_TABSTOP);
    ProbeUI* t3 = new ProbeUI(L"t3", L"60,0,70,10", UIFLAG_TABSTOP);
    root->Add(t1);
    root->Add(plain);
    root->Add(t2);
    root->Add(t3);
    window.manager.AttachRoot(root);
    window.Repaint();
    CWindowUIManager& m = window.manager;
    ASSERT_TRUE(m.GetFocus() == t1); // the first paint focuses the first tab stop

    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    LRESULT result = 0;
    CControlUI* forward[] = { t2, t3, t1 };
    for (CControlUI* expected : forward) {
        EXPECT_TRUE(m.PreFilterMessage(WM_KEYDOWN, VK_TAB, 0, result));
        EXPECT_TRUE(m.GetFocus() == expected) << m.GetFocus()->GetName().GetData();
    }
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    CControlUI* backward[] = { t3, t2, t1 };
    for (CControlUI* expected : backward) {
        EXPECT_TRUE(m.PreFilterMessage(WM_KEYDOWN, VK_TAB, 0, result));
        EXPECT_TRUE(m.GetFocus() == expected) << m.GetFocus()->GetName().GetData();
    }
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);

    // Keys go to the focused control; hiding it clears the focus.
    ::SendMessageW(window.GetHWND(), WM_KEYDOWN, 'A', 0);
    ::SendMessageW(window.GetHWND(), WM_CHAR, 'a', 0);
    ::SendMessageW(window.GetHWND(), WM_KEYUP, 'A', 0);
    EXPECT_NE(std::string::npos, t1->log.find("keydown;char;keyup;"));
    t1->SetVisible(false);
    EXPECT_TRUE(m.GetFocus() == NULL);
    t1->SetVisible(true);
    EXPECT_TRUE(m.GetFocus() == NULL);
}

TEST(WindowUIManager, ShortcutOfALabelActivatesTheControlAfterIt)
{
    ManagedWindow window;
    CContainerUI* root = new CContainerUI;
    ProbeUI* label = new ProbeUI(L"label", L"0,0,10,10");
    label->m_class = L"LabelUI";
    label->SetShortcut(L'n');
    ProbeUI* field = new ProbeUI(L"field", L"20,0,30,10");
    ProbeUI* other = new ProbeUI(L"other", L"40,0,50,10");
    other->SetShortcut(L'q');
    root->Add(other);
    root->Add(label);
    root->Add(field);
    window.manager.AttachRoot(root);
    window.Repaint();
    LRESULT result = 0;
    EXPECT_TRUE(window.manager.PreFilterMessage(WM_SYSCHAR, L'N', 0, result));
    EXPECT_TRUE(window.manager.GetFocus() == field);
    EXPECT_TRUE(field->activated);
    EXPECT_FALSE(label->activated);
    EXPECT_TRUE(window.manager.PreFilterMessage(WM_SYSCHAR, L'q', 0, result));
    EXPECT_TRUE(other->activated);
    EXPECT_FALSE(window.manager.PreFilterMessage(WM_SYSCHAR, L'z', 0, result));
}

TEST(WindowUIManager, LayeredPaintKeepsGdiBlackTransparentAndFollowsTheClientSize)
{
    ManagedWindow window(120, 80);
    window.manager.SetLayered(true);
    CContainerUI* root = new CContainerUI;
    ProbeUI* probe = new ProbeUI(L"probe", L"10,10,50,30");
    probe->leftFill = RGB(0, 0, 0);
    probe->rightFill = RGB(0, 0, 1);
    root->Add(probe);
    window.manager.AttachRoot(root);
    window.Repaint();
    ASSERT_TRUE(probe->paintedOn != NULL);
    EXPECT_EQ(0x00000000u, DibPixel(probe->paintedOn, 15, 20));
    EXPECT_EQ(0xFF000001u, DibPixel(probe->paintedOn, 45, 20));
    EXPECT_EQ(0x00000000u, DibPixel(probe->paintedOn, 80, 60)); // nothing drawn there

    SetWindowPos(window.GetHWND(), NULL, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    probe->SetAttribute(L"pos", L"200,150,260,190");
    window.Repaint();
    BITMAP bm;
    ASSERT_EQ(static_cast<int>(sizeof(bm)), GetObjectW(probe->paintedOn, sizeof(bm), &bm));
    EXPECT_EQ(300, bm.bmWidth);
    EXPECT_EQ(200, bm.bmHeight);
    EXPECT_EQ(0xFF000001u, DibPixel(probe->paintedOn, 250, 170));
}

TEST(WindowUIManager, NoRootAndNoControlUnderThePointNeverCrash)
{
    ManagedWindow window;
    HWND hwnd = window.GetHWND();
    const UINT messages[] = { WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                              WM_CONTEXTMENU, WM_MOUSEWHEEL, WM_MOUSEHOVER, WM_MOUSELEAVE, WM_KEYDOWN, WM_KEYUP,
                              WM_CHAR, WM_TIMER, WM_SIZE, WM_SETCURSOR };
    for (UINT msg : messages) ::SendMessageW(hwnd, msg, 0, MAKELPARAM(20, 20));
    window.Repaint();
    LRESULT result = 0;
    EXPECT_TRUE(window.manager.PreFilterMessage(WM_KEYDOWN, VK_TAB, 0, result));
    EXPECT_FALSE(window.manager.PreFilterMessage(WM_SYSCHAR, 'x', 0, result));
    POINT pt = { 20, 20 };
    EXPECT_TRUE(window.manager.FindControl(pt) == NULL);
    MSG msg = { hwnd, WM_KEYDOWN, VK_TAB, 0 };
    EXPECT_TRUE(CWindowUIManager::TranslateQueuedMessage(&msg));
    CWindowUIManager detached;
    EXPECT_FALSE(detached.HandleWindowMessage(WM_PAINT, 0, 0, result));
}

TEST(WindowUIManager, NameLookupAnswersTheControlAdoptedLast)
{
    ManagedWindow window;
    CContainerUI* root = new CContainerUI;
    ProbeUI* first = new ProbeUI(L"same", L"0,0,1,1");
    ProbeUI* second = new ProbeUI(L"same", L"0,0,1,1");
    root->Add(first);
    window.manager.AttachRoot(root);
    root->Add(second);
    EXPECT_TRUE(window.manager.FindControl(L"same") == second);
    EXPECT_TRUE(window.manager.FindControl(L"SAME") == NULL);
}

// A control that still needs layout after every SetPos.
class RestlessUI : public ProbeUI
{
public:
    RestlessUI() : ProbeUI(L"restless", L"0,0,10,10"), positioned(0) {}
    void SetPos(RECT rc) override
    {
        ++positioned;
        ProbeUI::SetPos(rc);
        m_bUpdateNeeded = true;
    }
    int positioned;
};

TEST(WindowUIManager, LayoutLoopEndsWhenNothingChanges)
{
    ManagedWindow window;
    CContainerUI* root = new CContainerUI;
    RestlessUI* restless = new RestlessUI;
    root->Add(restless);
    window.manager.AttachRoot(root);
    window.Repaint();
    int afterFirst = restless->positioned;
    window.manager.NeedUpdate();
    window.Repaint();
    EXPECT_LE(restless->positioned - afterFirst, 2);
}

TEST(WindowUIManager, KeyStateWordOfKeyEvents)
{
    struct Row { BYTE key; WORD bit; };
    const Row rows[] = { { VK_RBUTTON, 0x01 }, { VK_LBUTTON, 0x02 }, { VK_SHIFT, 0x04 }, { VK_CONTROL, 0x08 },
                         { VK_MENU, 0x20 } };
    BYTE keys[256];
    for (const Row& row : rows) {
        memset(keys, 0, sizeof(keys));
        keys[row.key] = 0x80;
        SetKeyboardState(keys);
        EXPECT_EQ(row.bit, CWindowUIManager::GetKeyStateWord()) << int(row.key);
    }
    memset(keys, 0, sizeof(keys));
    SetKeyboardState(keys);
    EXPECT_EQ(0, CWindowUIManager::GetKeyStateWord());
}

} // namespace
