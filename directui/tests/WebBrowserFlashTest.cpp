#include "DibCanvas.h"
#include "ProbeControls.h"

#include "activex/ActiveXWnd.h"
#include "activex/FlashUI.h"
#include "activex/WebBrowserUI.h"

#include <exdispid.h>
#include <gtest/gtest.h>

using namespace DirectUI;

namespace {

// Nothing listens here: a navigation sends nothing beyond this machine.
const wchar_t kHomePage[] = L"http://127.0.0.1:9/orbela-home";

// A window holding one control at 20,20-220,150, with OLE initialised.
template <class T> struct HostedWindow
{
    HostedWindow() : root(new CContainerUI), control(new T)
    {
        OleInitialize(NULL);
        window.manager.AddNotifier(&recorder);
        control->SetAttribute(L"float", L"true");
        control->SetAttribute(L"pos", L"20,20,220,150");
        root->Add(control);
        window.manager.AttachRoot(root);
    }
    ~HostedWindow() { OleUninitialize(); }
    // Runs what is queued now, a bounded number of messages: a browser that
    // cannot load pages must not keep the thread busy.
    void Pump()
    {
        MSG msg;
        for (int i = 0; i < 2000 && PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE); ++i) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    bool Shown() const { return recorder.Types().find(L"showactivex;") != std::wstring::npos; }
    ManagedWindow window;
    NotifyRecorder recorder;
    CContainerUI* root;
    T* control;
};

TEST(Flash, WithoutAPlayerTheControlFailsCleanly)
{
    HostedWindow<CFlashUI> w;
    w.control->SetAttribute(L"delaycreate", L"false");
    w.window.Repaint();
    w.Pump();
    // No player is installed: nothing is hosted, nothing announced.
    EXPECT_TRUE(w.control->IsCreated());
    EXPECT_FALSE(w.Shown());
    EXPECT_TRUE(w.control->GetShockwaveFlash() == NULL);
    LPVOID object = NULL;
    EXPECT_FALSE(SUCCEEDED(w.control->GetControl(IID_IOleObject, &object)));
    DibCanvas canvas(240, 170);
    RECT all = canvas.rect();
    w.control->Paint(canvas.dc(), all);
    EXPECT_EQ(0, canvas.CountOther(all, 0xFFFFFFFF));
    bool handled = false;
    w.control->FilterMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50), handled);
    EXPECT_FALSE(handled);
    MSG key = { w.window.GetHWND(), WM_KEYDOWN, VK_TAB, 0 };
    EXPECT_NE(0, w.control->TranslateAccelerator(&key));
    w.root->SetDelayedDestroy(false);
    w.root->Remove(w.control);
}

TEST(WebBrowser, CreationNavigationAndReleaseNeitherBlockNorCrash)
{
    HostedWindow<CWebBrowserUI> w;
    w.control->SetAttribute(L"homepage", kHomePage);
    w.control->SetAttribute(L"autonavi", L"true");
    w.window.Repaint();
    w.Pump();
    EXPECT_TRUE(w.control->IsCreated());
    // The system browser object may be made or refused; both end cleanly.
    bool made = w.control->GetWebBrowser2() != NULL;
    printf("system browser object: %s\n", made ? "made" : "refused");
    EXPECT_EQ(made, w.Shown());
    if (made) {
        EXPECT_TRUE(w.control->Navigate2(L"http://127.0.0.1:9/second"));
        w.Pump();
    }
    w.control->ReleaseControl();
    w.Pump();
    // After release every call into the browser is refused.
    EXPECT_TRUE(w.control->GetWebBrowser2() == NULL);
    EXPECT_FALSE(w.control->Navigate2(kHomePage));
    EXPECT_EQ(0, CActiveXWnd::LiveCount());
    // And a second life after a class id change.
    w.control->SetClsid(CLSID_WebBrowser);
    w.control->SetPos(w.control->GetPos());
    w.Pump();
    w.root->SetDelayedDestroy(false);
    w.root->Remove(w.control);
    w.Pump();
    EXPECT_EQ(0, CActiveXWnd::LiveCount());
}

// Records what the browser control forwards.
class RecordingHandler : public CWebBrowserEventHandler
{
public:
    void BeforeNavigate2(IDispatch*, VARIANT*& url, VARIANT*&, VARIANT*&, VARIANT*&, VARIANT*&,
                         VARIANT_BOOL*& cancel) override
    {
        calls += "before;";
        if (url != NULL && url->vt == VT_BSTR) lastUrl = url->bstrVal;
        *cancel = VARIANT_TRUE;
    }
    void CommandStateChange(long command, VARIANT_BOOL enable) override
    {
        calls += "command " + std::to_string(command) + (enable ? " on;" : " off;");
    }
    HRESULT ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override
    {
        calls += "menu;";
        return S_OK;
    }
    std::string calls;
    std::wstring lastUrl;
};

TEST(WebBrowser, EventArgumentsAreCheckedForCountAndType)
{
    CWebBrowserUI browser;
    RecordingHandler handler;
    browser.SetWebBrowserEventHandler(&handler);

    VARIANT args[7];
    for (VARIANT& v : args) VariantInit(&v);
    VARIANT url, empty;
    VariantInit(&url);
    VariantInit(&empty);
    url.vt = VT_BSTR;
    url.bstrVal = SysAllocString(L"http://127.0.0.1:9/");
    VARIANT_BOOL cancel = VARIANT_FALSE;
    // Arguments come last first.
    args[6].vt = VT_DISPATCH;
    args[6].pdispVal = NULL;
    args[5].vt = VT_VARIANT | VT_BYREF;
    args[5].pvarVal = &url;
    for (int i = 1; i <= 4; ++i) {
        args[i].vt = VT_VARIANT | VT_BYREF;
        args[i].pvarVal = &empty;
    }
    args[0].vt = VT_BOOL | VT_BYREF;
    args[0].pboolVal = &cancel;
    DISPPARAMS params = { args, NULL, 7, 0 };
    EXPECT_EQ(S_OK, browser.Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, &params, NULL, NULL, NULL));
    EXPECT_EQ("before;", handler.calls);
    EXPECT_EQ(L"http://127.0.0.1:9/", handler.lastUrl);
    EXPECT_EQ(VARIANT_TRUE, cancel);

    DISPPARAMS tooFew = { args, NULL, 3, 0 };
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, browser.Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, 0, &tooFew, NULL, NULL, NULL));
    EXPECT_EQ(DISP_E_BADPARAMCOUNT, browser.Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, 0, NULL, NULL, NULL, NULL));
    args[0].vt = VT_I4;
    EXPECT_EQ(DISP_E_TYPEMISMATCH, browser.Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, 0, &params, NULL, NULL, NULL));
    EXPECT_EQ("before;", handler.calls);

    VARIANT command[2];
    command[1].vt = VT_I4;
    command[1].lVal = 2;
    command[0].vt = VT_BOOL;
    command[0].boolVal = VARIANT_TRUE;
    DISPPARAMS commandParams = { command, NULL, 2, 0 };
    EXPECT_EQ(S_OK, browser.Invoke(DISPID_COMMANDSTATECHANGE, IID_NULL, 0, 0, &commandParams, NULL, NULL, NULL));
    EXPECT_EQ("before;command 2 on;", handler.calls);

    EXPECT_EQ(S_OK, browser.Invoke(DISPID_STATUSTEXTCHANGE, IID_NULL, 0, 0, NULL, NULL, NULL, NULL));
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, browser.Invoke(DISPID_TITLECHANGE, IID_NULL, 0, 0, NULL, NULL, NULL, NULL));
    EXPECT_EQ(E_INVALIDARG, browser.Invoke(DISPID_COMMANDSTATECHANGE, IID_IDispatch, 0, 0, &commandParams, NULL, NULL, NULL));

    // Document host questions go to the handler, or get the built-in answers.
    EXPECT_EQ(S_OK, browser.ShowContextMenu(0, NULL, NULL, NULL));
    EXPECT_EQ("before;command 2 on;menu;", handler.calls);
    browser.SetWebBrowserEventHandler(NULL);
    EXPECT_EQ(S_FALSE, browser.ShowContextMenu(0, NULL, NULL, NULL));
    IDispatch* external = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(S_FALSE, browser.GetExternal(&external));
    EXPECT_TRUE(external == NULL);
    VariantClear(&url);
}

TEST(WebBrowser, ScriptErrorsAreAnsweredWithoutADialogEvenForNullVariants)
{
    CWebBrowserUI browser;
    VARIANT out;
    VariantInit(&out);
    EXPECT_EQ(S_OK, browser.Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, NULL, &out));
    EXPECT_EQ(VT_BOOL, out.vt);
    EXPECT_EQ(VARIANT_TRUE, out.boolVal);
    EXPECT_EQ(S_OK, browser.Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, NULL, NULL));
    VARIANT notADocument;
    VariantInit(&notADocument);
    notADocument.vt = VT_UNKNOWN;
    notADocument.punkVal = static_cast<IDispatch*>(&browser);
    EXPECT_EQ(S_OK, browser.Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, &notADocument, &out));
    EXPECT_EQ(OLECMDERR_E_NOTSUPPORTED, browser.Exec(NULL, OLECMDID_SHOWSCRIPTERROR, 0, NULL, NULL));
    // The download manager service is the control's own entry.
    IUnknown* service = NULL;
    EXPECT_EQ(S_OK, browser.QueryService(IID_IDownloadManager, IID_IDownloadManager, reinterpret_cast<void**>(&service)));
    EXPECT_TRUE(service == static_cast<IDownloadManager*>(&browser));
    if (service != NULL) service->Release();
    EXPECT_EQ(E_NOINTERFACE, browser.QueryService(IID_IDownloadManager, IID_IDispatch, reinterpret_cast<void**>(&service)));
}

} // namespace
