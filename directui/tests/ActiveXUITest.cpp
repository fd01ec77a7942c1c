#include "DibCanvas.h"
#include "ProbeControls.h"
#include "countingcontrol/CountingControlApi.h"

#include "activex/ActiveXUI.h"
#include "activex/ActiveXWnd.h"

#include <gtest/gtest.h>
#include <ocidl.h>

using namespace DirectUI;

namespace {

const wchar_t kModule[] = L"CountingControl.dll";
const wchar_t kWindowed[] = L"{0D3A7E10-5A1C-4B7E-9C1A-2F5E6B7C8D01}";
const wchar_t kWindowless[] = L"{0D3A7E10-5A1C-4B7E-9C1A-2F5E6B7C8D02}";

// Keeps the test control's module loaded (so its counts outlive each host)
// and OLE initialised on this thread, as in-place activation needs.
class CountingControlModule
{
public:
    CountingControlModule() : m_module(LoadLibraryW(kModule)), m_counts(NULL)
    {
        OleInitialize(NULL);
        CountingControlCountsFn countsOf =
            m_module != NULL ? reinterpret_cast<CountingControlCountsFn>(GetProcAddress(m_module, "CountingControlCountsOf"))
                             : NULL;
        if (countsOf != NULL) m_counts = countsOf();
        if (m_counts != NULL) ZeroMemory(m_counts, sizeof(*m_counts));
    }
    ~CountingControlModule()
    {
        OleUninitialize();
        if (m_module != NULL) FreeLibrary(m_module);
    }
    CountingControlCounts* counts() const { return m_counts; }

private:
    HMODULE m_module;
    CountingControlCounts* m_counts;
};

// A window with a container root; the host sits at 20,20-120,80.
struct HostWindow
{
    HostWindow() : root(new CContainerUI), host(new CActiveXUI)
    {
        window.manager.AddNotifier(&recorder);
        host->SetAttribute(L"float", L"true");
        host->SetAttribute(L"pos", L"20,20,120,80");
        root->Add(host);
        window.manager.AttachRoot(root);
    }
    void Host(LPCWSTR clsid, LPCWSTR delayCreate = L"true", LPCWSTR module = kModule)
    {
        host->SetAttribute(L"modulename", module);
        host->SetAttribute(L"delaycreate", delayCreate);
        host->SetAttribute(L"clsid", clsid);
    }
    // A windowless object, created at once and laid out: in-place active.
    void ShowWindowless()
    {
        Host(kWindowless, L"false");
        window.Repaint();
    }
    // Runs what the window has queued, such as the deletion of removed controls.
    void Pump()
    {
        MSG msg;
        while (PeekMessageW(&msg, window.GetHWND(), 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    int Shown() const
    {
        int shown = 0;
        for (const NotifyRecorder::Entry& e : recorder.got) shown += e.type == L"showactivex" && e.sender == host;
        return shown;
    }
    CountingControlModule module;
    ManagedWindow window;
    NotifyRecorder recorder;
    CContainerUI* root;
    CActiveXUI* host;
};

TEST(ActiveX, TestControlModuleLoads)
{
    CountingControlModule module;
    ASSERT_TRUE(module.counts() != NULL) << "CountingControl.dll beside the test";
}

TEST(ActiveX, DelayCreateWaitsForTheFirstLayoutOtherwiseCreatesAtOnce)
{
    struct Row
    {
        const wchar_t* delayCreate;
        bool createdBeforeLayout;
    };
    const Row rows[] = { { L"true", false }, { L"false", true } };
    for (const Row& row : rows) {
        HostWindow w;
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.delayCreate)));
        w.Host(kWindowless, row.delayCreate);
        EXPECT_EQ(row.createdBeforeLayout, w.host->IsCreated());
        EXPECT_EQ(row.createdBeforeLayout ? 1 : 0, w.module.counts()->created);
        w.window.Repaint();
        EXPECT_TRUE(w.host->IsCreated());
        EXPECT_EQ(1, w.module.counts()->created);
        EXPECT_EQ(1, w.module.counts()->initNew);
        EXPECT_EQ(1, w.module.counts()->inPlaceActivations);
        EXPECT_EQ(1, w.Shown());
    }
}

TEST(ActiveX, ShowActiveXOnlyAfterASuccessfulCreation)
{
    struct Row
    {
        const char* name;
        const wchar_t* clsid;
        const wchar_t* module;
        int shown;
    };
    const Row rows[] = {
        { "windowless", kWindowless, kModule, 1 },
        { "windowed", kWindowed, kModule, 1 },
        { "class the module does not know", L"{0D3A7E10-5A1C-4B7E-9C1A-2F5E6B7C8DFF}", kModule, 0 },
        { "missing module", kWindowless, L"NoSuchControl.dll", 0 },
    };
    for (const Row& row : rows) {
        HostWindow w;
        SCOPED_TRACE(row.name);
        w.Host(row.clsid, L"false", row.module);
        w.window.Repaint();
        EXPECT_EQ(row.shown, w.Shown());
        EXPECT_TRUE(w.host->IsCreated());
        LPVOID object = NULL;
        EXPECT_EQ(row.shown == 1, SUCCEEDED(w.host->GetControl(IID_IOleObject, &object)));
        if (object != NULL) static_cast<IUnknown*>(object)->Release();
        // A failed creation is not tried again at every layout.
        LONG created = w.module.counts()->created;
        w.host->SetPos(w.host->GetPos());
        EXPECT_EQ(created, w.module.counts()->created);
    }
}

TEST(ActiveX, AProgramIdNamesTheSameControlAsItsClassId)
{
    // Registered for the test only and removed again, whatever the test finds.
    const wchar_t key[] = L"Orbela.CountingControl.Test\\CLSID";
    struct ProgramId
    {
        explicit ProgramId(const wchar_t* path) : path(path)
        {
            RegSetKeyValueW(HKEY_CLASSES_ROOT, path, NULL, REG_SZ, kWindowless,
                            static_cast<DWORD>((wcslen(kWindowless) + 1) * sizeof(wchar_t)));
        }
        ~ProgramId() { RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Orbela.CountingControl.Test"); }
        const wchar_t* path;
    } programId(key);
    HostWindow byName, byId;
    byName.Host(L"Orbela.CountingControl.Test", L"false");
    byId.Host(kWindowless, L"false");
    EXPECT_TRUE(IsEqualCLSID(byId.host->GetClsid(), byName.host->GetClsid()));
    EXPECT_TRUE(byName.host->IsCreated());
    EXPECT_EQ(1, byName.Shown());
}

TEST(ActiveX, ClassIdTextIsBoundedAndAllZeroRefused)
{
    HostWindow w;
    EXPECT_FALSE(w.host->SetClsid(L"{00000000-0000-0000-0000-000000000000}"));
    std::wstring longText = std::wstring(kWindowless) + std::wstring(5000, L'x');
    EXPECT_FALSE(w.host->SetClsid(longText.c_str()));
    EXPECT_FALSE(w.host->SetClsid(L"Orbela.NoSuchProgramId"));
    EXPECT_TRUE(w.host->SetClsid(kWindowless));
    CLSID expected;
    CLSIDFromString(const_cast<LPWSTR>(kWindowless), &expected);
    EXPECT_TRUE(IsEqualCLSID(expected, w.host->GetClsid()));
}

TEST(ActiveX, WindowlessPaintsThroughItsViewAndAFailedOneNothing)
{
    struct Row
    {
        const char* name;
        const wchar_t* clsid;
        int otherPixels;
    };
    const Row rows[] = { { "created", kWindowless, 0 }, { "failed", L"{0D3A7E10-5A1C-4B7E-9C1A-2F5E6B7C8DFF}", 6000 } };
    for (const Row& row : rows) {
        HostWindow w;
        SCOPED_TRACE(row.name);
        w.Host(row.clsid, L"false");
        w.window.Repaint();
        DibCanvas canvas(200, 150);
        RECT all = canvas.rect();
        w.host->Paint(canvas.dc(), all);
        // The control paints its whole 100x60 rectangle dark blue (GDI leaves alpha 0).
        EXPECT_EQ(row.otherPixels, canvas.CountOther(w.host->GetPos(), 0x000000C8));
    }
}

TEST(ActiveX, WindowlessGetsMouseOnlyOverItsHitAreaAndKeysOnlyWhenFocused)
{
    HostWindow w;
    w.ShowWindowless();
    CountingControlCounts* counts = w.module.counts();
    ASSERT_EQ(1, counts->windowlessActivations);
    // Hit only in the left half, 20..70.
    w.window.Mouse(WM_MOUSEMOVE, 30, 50);
    w.window.Mouse(WM_LBUTTONDOWN, 40, 50, MK_LBUTTON);
    w.window.Mouse(WM_LBUTTONUP, 40, 50);
    EXPECT_EQ(3, counts->mouseMessages);
    w.window.Mouse(WM_MOUSEMOVE, 100, 50);
    w.window.Mouse(WM_LBUTTONDOWN, 100, 50, MK_LBUTTON);
    w.window.Mouse(WM_MOUSEMOVE, 5, 5);
    EXPECT_EQ(3, counts->mouseMessages);

    w.window.SendMessage(WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(0, counts->keyMessages);
    // The object asks its site for the focus, as a control does on a click.
    IObjectWithSite* withSite = NULL;
    ASSERT_TRUE(SUCCEEDED(w.host->GetControl(IID_IObjectWithSite, reinterpret_cast<LPVOID*>(&withSite))));
    IOleInPlaceSiteWindowless* site = NULL;
    ASSERT_TRUE(SUCCEEDED(withSite->GetSite(IID_IOleInPlaceSiteWindowless, reinterpret_cast<LPVOID*>(&site))));
    withSite->Release();
    site->SetFocus(TRUE);
    w.window.SendMessage(WM_KEYDOWN, 'A', 0);
    w.window.SendMessage(WM_KEYUP, 'A', 0);
    EXPECT_EQ(2, counts->keyMessages);
    site->SetFocus(FALSE);
    w.window.SendMessage(WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(2, counts->keyMessages);

    // Not mouse-enabled: nothing reaches it, even over its hit area.
    w.host->SetMouseEnabled(false);
    w.window.Mouse(WM_LBUTTONDOWN, 40, 50, MK_LBUTTON);
    EXPECT_EQ(3, counts->mouseMessages);
    site->Release();
}

TEST(ActiveX, ReleaseClosesWithoutSavingAndClearsTheSites)
{
    const wchar_t* classes[] = { kWindowless, kWindowed };
    for (const wchar_t* clsid : classes) {
        HostWindow w;
        SCOPED_TRACE(testing::PrintToString(std::wstring(clsid)));
        w.Host(clsid, L"false");
        w.window.Repaint();
        CountingControlCounts* counts = w.module.counts();
        ASSERT_EQ(1, counts->liveObjects);
        EXPECT_EQ(1, counts->setClientSite);
        EXPECT_EQ(1, counts->setSite);
        w.root->Remove(w.host);
        w.Pump();
        EXPECT_EQ(1, counts->closes);
        EXPECT_EQ(OLECLOSE_NOSAVE, counts->lastCloseOption);
        EXPECT_EQ(1, counts->clearClientSite);
        EXPECT_EQ(1, counts->clearSite);
        EXPECT_EQ(0, counts->liveObjects);
        EXPECT_EQ(0, counts->liveWindows);
        EXPECT_EQ(0, CActiveXWnd::LiveCount());
        // The removed host no longer filters the window's messages.
        w.window.Mouse(WM_LBUTTONDOWN, 40, 50, MK_LBUTTON);
        EXPECT_EQ(0, counts->mouseMessages);
    }
}

TEST(ActiveX, ActivatedTwiceItFiltersOnceAndNotAfterItsDeletion)
{
    HostWindow w;
    w.ShowWindowless();
    CountingControlCounts* counts = w.module.counts();
    ASSERT_EQ(1, counts->windowlessActivations);
    // The object leaves in-place activity and comes back, as a control may.
    IOleInPlaceObject* inPlace = NULL;
    ASSERT_TRUE(SUCCEEDED(w.host->GetControl(IID_IOleInPlaceObject, reinterpret_cast<LPVOID*>(&inPlace))));
    inPlace->InPlaceDeactivate();
    inPlace->Release();
    w.window.Mouse(WM_LBUTTONDOWN, 40, 50, MK_LBUTTON);
    w.window.Mouse(WM_LBUTTONUP, 40, 50);
    EXPECT_EQ(0, counts->mouseMessages) << "an inactive object gets nothing";
    IOleObject* object = NULL;
    ASSERT_TRUE(SUCCEEDED(w.host->GetControl(IID_IOleObject, reinterpret_cast<LPVOID*>(&object))));
    EXPECT_EQ(S_OK, object->DoVerb(OLEIVERB_INPLACEACTIVATE, NULL, NULL, 0, w.window.GetHWND(), &w.host->GetPos()));
    object->Release();
    ASSERT_EQ(2, counts->windowlessActivations);
    // Each message reaches the object once.
    w.window.Mouse(WM_LBUTTONDOWN, 40, 50, MK_LBUTTON);
    w.window.Mouse(WM_LBUTTONUP, 40, 50);
    EXPECT_EQ(2, counts->mouseMessages);
    // Deleted, the control leaves nothing in the window's filters that the
    // next message could call.
    w.root->Remove(w.host);
    w.Pump();
    EXPECT_EQ(0, counts->liveObjects);
    w.window.Mouse(WM_LBUTTONDOWN, 40, 50, MK_LBUTTON);
    w.window.Mouse(WM_LBUTTONUP, 40, 50);
    EXPECT_EQ(2, counts->mouseMessages);
}

TEST(ActiveX, WindowedObjectLivesInAHostWindowThatFollowsTheControl)
{
    HostWindow w;
    w.Host(kWindowed, L"false");
    w.window.Repaint();
    HWND hostWnd = w.host->GetHostWindow();
    ASSERT_TRUE(IsWindow(hostWnd));
    EXPECT_EQ(w.window.GetHWND(), GetParent(hostWnd));
    WCHAR text[32] = { 0 };
    GetWindowTextW(hostWnd, text, 32);
    EXPECT_STREQ(L"UIActiveX", text);
    WCHAR className[32] = { 0 };
    GetClassNameW(hostWnd, className, 32);
    EXPECT_STREQ(L"ActiveXWnd", className);
    RECT rc;
    GetWindowRect(hostWnd, &rc);
    MapWindowPoints(NULL, w.window.GetHWND(), reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_TRUE(EqualRect(&rc, &w.host->GetPos()));
    // The object's rectangles are relative to its host window.
    RECT expected = { 0, 0, 100, 60 };
    EXPECT_TRUE(EqualRect(&expected, &w.module.counts()->lastObjectRect));
    EXPECT_GE(w.module.counts()->setExtents, 1);
    EXPECT_EQ(1, w.module.counts()->liveWindows);

    w.host->SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(hostWnd));
    w.host->SetVisible(true);
    EXPECT_TRUE(IsWindowVisible(hostWnd));
}

TEST(ActiveX, ChangingTheClassIdManyTimesLeaksNoWindowOrObject)
{
    HostWindow w;
    w.Host(kWindowed, L"false");
    w.window.Repaint();
    for (int i = 0; i < 40; ++i) {
        w.host->SetAttribute(L"clsid", i % 2 == 0 ? kWindowless : kWindowed);
        w.window.Repaint();
        EXPECT_LE(CActiveXWnd::LiveCount(), 1);
        EXPECT_LE(w.module.counts()->liveObjects, 1);
        EXPECT_LE(w.module.counts()->liveWindows, 1);
    }
    EXPECT_EQ(41, w.module.counts()->created);
    EXPECT_EQ(41, w.Shown());
    w.root->Remove(w.host);
    w.Pump();
    EXPECT_EQ(0, CActiveXWnd::LiveCount());
    EXPECT_EQ(0, w.module.counts()->liveObjects);
    EXPECT_EQ(0, w.module.counts()->liveWindows);
}

} // namespace
