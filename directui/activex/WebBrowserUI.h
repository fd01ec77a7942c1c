#pragma once

#include "activex/ActiveXUI.h"
#include "activex/WebBrowserEventHandler.h"

#include <docobj.h>
#include <downloadmgr.h>
#include <exdisp.h>
#include <mshtmhst.h>

namespace DirectUI {

// The system web browser control in a framework window: navigation,
// browser events, document host callbacks, no script error dialogs and
// the browser's keyboard accelerators.
class CWebBrowserUI : public CActiveXUI,
                      public IDocHostUIHandler,
                      public IServiceProvider,
                      public IOleCommandTarget,
                      public IDispatch,
                      public ITranslateAccelerator,
                      public IDownloadManager
{
public:
    CWebBrowserUI();
    ~CWebBrowserUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void ReleaseControl() override;
    bool CreateControl() override;
    // The download-manager entry: forwards to the event handler.
    STDMETHODIMP Download(IMoniker* moniker, IBindCtx* context, DWORD verb, LONG flags, BINDINFO* info,
                          LPCOLESTR headers, LPCOLESTR redirect, UINT codePage) override;

    bool Navigate2(LPCWSTR url);
    void SetWebBrowserEventHandler(CWebBrowserEventHandler* handler) { m_pWebBrowserEventHandler = handler; }
    void SetHomePage(LPCWSTR url) { m_sHomePage = url; }
    CUIString GetHomePage() const { return m_sHomePage; }
    void SetAutoNavigation(bool autoNavi) { m_bAutoNavi = autoNavi; }
    bool IsAutoNavigation() const { return m_bAutoNavi; }
    IWebBrowser2* GetWebBrowser2() const { return m_pWebBrowser2; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, LPVOID* out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch: the browser's events.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override;

    // IDocHostUIHandler
    STDMETHODIMP ShowContextMenu(DWORD id, POINT* pt, IUnknown* target, IDispatch* object) override;
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override;
    STDMETHODIMP ShowUI(DWORD id, IOleInPlaceActiveObject* active, IOleCommandTarget* target,
                        IOleInPlaceFrame* frame, IOleInPlaceUIWindow* document) override;
    STDMETHODIMP HideUI() override;
    STDMETHODIMP UpdateUI() override;
    STDMETHODIMP EnableModeless(BOOL enable) override;
    STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
    STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame) override;
    STDMETHODIMP TranslateAccelerator(LPMSG msg, const GUID* group, DWORD id) override;
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* key, DWORD reserved) override;
    STDMETHODIMP GetDropTarget(IDropTarget* drop, IDropTarget** out) override;
    STDMETHODIMP GetExternal(IDispatch** out) override;
    STDMETHODIMP TranslateUrl(DWORD reserved, LPWSTR url, LPWSTR* out) override;
    STDMETHODIMP FilterDataObject(IDataObject* object, IDataObject** out) override;

    // IServiceProvider
    STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** out) override;

    // IOleCommandTarget
    STDMETHODIMP QueryStatus(const GUID* group, ULONG count, OLECMD commands[], OLECMDTEXT* text) override;
    STDMETHODIMP Exec(const GUID* group, DWORD id, DWORD options, VARIANT* in, VARIANT* out) override;

    // ITranslateAccelerator
    LRESULT TranslateAccelerator(MSG* msg) override;

protected:
    // The handler, or the built-in answers when none is set.
    CWebBrowserEventHandler* Handler();
    // The document's custom-document interface, or null.
    ICustomDoc* CustomDocument();
    void ReleaseBrowser();

    IWebBrowser2* m_pWebBrowser2;
    LONG m_dwRef;
    DWORD m_dwCookie;
    CUIString m_sHomePage;
    bool m_bAutoNavi;
    CWebBrowserEventHandler* m_pWebBrowserEventHandler;
};

} // namespace DirectUI
