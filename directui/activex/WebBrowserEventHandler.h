#pragma once

#include <docobj.h>
#include <downloadmgr.h>
#include <mshtmhst.h>
#include <oaidl.h>

namespace DirectUI {

// What a program using a web browser control may answer for it: browser
// events and the document host's questions. Every default is the answer
// the control gives when no handler is set.
class CWebBrowserEventHandler
{
public:
    virtual ~CWebBrowserEventHandler() {}

    virtual void BeforeNavigate2(IDispatch*, VARIANT*& /*url*/, VARIANT*& /*flags*/, VARIANT*& /*targetFrame*/,
                                 VARIANT*& /*postData*/, VARIANT*& /*headers*/, VARIANT_BOOL*& /*cancel*/)
    {
    }
    virtual void NavigateError(IDispatch*, VARIANT*& /*url*/, VARIANT*& /*frame*/, VARIANT*& /*status*/,
                               VARIANT_BOOL*& /*cancel*/)
    {
    }
    virtual void NavigateComplete2(IDispatch*, VARIANT*& /*url*/) {}
    virtual void NewWindow3(IDispatch**& /*dispatch*/, VARIANT_BOOL*& /*cancel*/, DWORD /*flags*/,
                            BSTR /*urlContext*/, BSTR /*url*/)
    {
    }
    virtual void CommandStateChange(long /*command*/, VARIANT_BOOL /*enable*/) {}

    // IDocHostUIHandler
    virtual HRESULT ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_FALSE; }
    virtual HRESULT GetHostInfo(DOCHOSTUIINFO*) { return E_NOTIMPL; }
    virtual HRESULT ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                           IOleInPlaceUIWindow*)
    {
        return S_OK;
    }
    virtual HRESULT HideUI() { return S_OK; }
    virtual HRESULT UpdateUI() { return S_OK; }
    virtual HRESULT EnableModeless(BOOL) { return E_NOTIMPL; }
    virtual HRESULT OnDocWindowActivate(BOOL) { return E_NOTIMPL; }
    virtual HRESULT OnFrameWindowActivate(BOOL) { return E_NOTIMPL; }
    virtual HRESULT ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return E_NOTIMPL; }
    virtual HRESULT TranslateAccelerator(LPMSG, const GUID*, DWORD) { return S_FALSE; }
    virtual HRESULT GetOptionKeyPath(LPOLESTR* key, DWORD)
    {
        if (key != NULL) *key = NULL;
        return E_NOTIMPL;
    }
    virtual HRESULT GetDropTarget(IDropTarget*, IDropTarget** target)
    {
        if (target != NULL) *target = NULL;
        return S_FALSE;
    }
    virtual HRESULT GetExternal(IDispatch** external)
    {
        if (external != NULL) *external = NULL;
        return S_FALSE;
    }
    virtual HRESULT TranslateUrl(DWORD, LPWSTR, LPWSTR* out)
    {
        if (out != NULL) *out = NULL;
        return E_NOTIMPL;
    }
    virtual HRESULT FilterDataObject(IDataObject*, IDataObject** out)
    {
        if (out != NULL) *out = NULL;
        return E_NOTIMPL;
    }

    // IDownloadManager
    virtual HRESULT Download(IMoniker*, IBindCtx*, DWORD, LONG, BINDINFO*, LPCOLESTR, LPCOLESTR, UINT)
    {
        return S_OK;
    }
};

} // namespace DirectUI
