#pragma once

#include "CountingControlApi.h"

#include <ocidl.h>
#include <ole2.h>
#include <olectl.h>

// The class ids of the two variants.
extern const CLSID kWindowedClsid;
extern const CLSID kWindowlessClsid;
// The module's counts and instance, shared by its parts.
extern CountingControlCounts g_counts;
extern HINSTANCE g_module;

// The counting test control: a minimal in-place capable ActiveX object,
// windowed or windowless.
class CountingControl : public IOleObject,
                        public IOleControl,
                        public IOleInPlaceObjectWindowless,
                        public IViewObjectEx,
                        public IPersistStreamInit,
                        public IObjectWithSite
{
public:
    explicit CountingControl(bool windowless)
        : m_refs(1), m_windowless(windowless), m_site(NULL), m_objectSite(NULL), m_inPlaceSite(NULL),
          m_hwnd(NULL), m_active(false)
    {
        SetRectEmpty(&m_rect);
        m_extent.cx = m_extent.cy = 0;
        InterlockedIncrement(&g_counts.liveObjects);
        InterlockedIncrement(&g_counts.created);
    }
    virtual ~CountingControl()
    {
        Deactivate();
        if (m_site != NULL) m_site->Release();
        if (m_objectSite != NULL) m_objectSite->Release();
        InterlockedDecrement(&g_counts.liveObjects);
    }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (out == NULL) return E_POINTER;
        *out = NULL;
        if (iid == IID_IUnknown || iid == IID_IOleObject) *out = static_cast<IOleObject*>(this);
        else if (iid == IID_IOleControl) *out = static_cast<IOleControl*>(this);
        else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject)
            *out = static_cast<IOleInPlaceObject*>(this);
        else if (iid == IID_IOleInPlaceObjectWindowless && m_windowless)
            *out = static_cast<IOleInPlaceObjectWindowless*>(this);
        else if (iid == IID_IViewObject || iid == IID_IViewObject2 || iid == IID_IViewObjectEx)
            *out = static_cast<IViewObjectEx*>(this);
        else if (iid == IID_IPersist || iid == IID_IPersistStreamInit) *out = static_cast<IPersistStreamInit*>(this);
        else if (iid == IID_IObjectWithSite) *out = static_cast<IObjectWithSite*>(this);
        if (*out == NULL) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG left = InterlockedDecrement(&m_refs);
        if (left == 0) delete this;
        return left;
    }

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* site) override
    {
        InterlockedIncrement(site != NULL ? &g_counts.setClientSite : &g_counts.clearClientSite);
        if (site != NULL) site->AddRef();
        if (m_site != NULL) m_site->Release();
        m_site = site;
        return S_OK;
    }
    STDMETHODIMP GetClientSite(IOleClientSite** site) override
    {
        if (site == NULL) return E_POINTER;
        *site = m_site;
        if (m_site != NULL) m_site->AddRef();
        return S_OK;
    }
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD saveOption) override
    {
        InterlockedIncrement(&g_counts.closes);
        g_counts.lastCloseOption = static_cast<LONG>(saveOption);
        Deactivate();
        return S_OK;
    }
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT rect) override
    {
        if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_UIACTIVATE && verb != OLEIVERB_SHOW)
            return OLEOBJ_S_INVALIDVERB;
        if (m_active) return S_OK;
        if (site == NULL) site = m_site;
        if (site == NULL) return E_INVALIDARG;
        if (site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&m_inPlaceSite)) != S_OK)
            return E_NOINTERFACE;
        if (m_inPlaceSite->CanInPlaceActivate() != S_OK) {
            m_inPlaceSite->Release();
            m_inPlaceSite = NULL;
            return E_FAIL;
        }
        bool windowless = false;
        IOleInPlaceSiteWindowless* windowlessSite = NULL;
        if (m_windowless
            && m_inPlaceSite->QueryInterface(IID_IOleInPlaceSiteWindowless, reinterpret_cast<void**>(&windowlessSite))
                   == S_OK) {
            windowless = windowlessSite->CanWindowlessActivate() == S_OK;
            BOOL noRedraw = FALSE;
            windowlessSite->OnInPlaceActivateEx(&noRedraw, windowless ? ACTIVATE_WINDOWLESS : 0);
            windowlessSite->Release();
        } else {
            m_inPlaceSite->OnInPlaceActivate();
        }
        if (rect != NULL) m_rect = *rect;
        if (!windowless) {
            HWND host = NULL;
            m_inPlaceSite->GetWindow(&host);
            if (host == NULL) host = parent;
            m_hwnd = CreateWindowExW(0, L"CountingControlWindow", L"", WS_CHILD | WS_VISIBLE, m_rect.left, m_rect.top,
                                     m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, host, NULL, g_module,
                                     NULL);
            if (m_hwnd != NULL) InterlockedIncrement(&g_counts.liveWindows);
        } else {
            InterlockedIncrement(&g_counts.windowlessActivations);
        }
        IOleInPlaceFrame* frame = NULL;
        IOleInPlaceUIWindow* document = NULL;
        RECT pos, clip;
        OLEINPLACEFRAMEINFO info = { sizeof(info) };
        if (m_inPlaceSite->GetWindowContext(&frame, &document, &pos, &clip, &info) == S_OK) {
            if (frame != NULL) frame->Release();
            if (document != NULL) document->Release();
        }
        m_active = true;
        InterlockedIncrement(&g_counts.inPlaceActivations);
        return S_OK;
    }
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID* id) override
    {
        if (id == NULL) return E_POINTER;
        *id = m_windowless ? kWindowlessClsid : kWindowedClsid;
        return S_OK;
    }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL* size) override
    {
        if (size == NULL) return E_POINTER;
        m_extent = *size;
        InterlockedIncrement(&g_counts.setExtents);
        return S_OK;
    }
    STDMETHODIMP GetExtent(DWORD, SIZEL* size) override
    {
        if (size == NULL) return E_POINTER;
        *size = m_extent;
        return S_OK;
    }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override
    {
        if (status == NULL) return E_POINTER;
        *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_RECOMPOSEONRESIZE;
        return S_OK;
    }
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleControl
    STDMETHODIMP GetControlInfo(CONTROLINFO*) override { return E_NOTIMPL; }
    STDMETHODIMP OnMnemonic(MSG*) override { return E_NOTIMPL; }
    STDMETHODIMP OnAmbientPropertyChange(DISPID) override { return S_OK; }
    STDMETHODIMP FreezeEvents(BOOL) override { return S_OK; }

    // IOleWindow, IOleInPlaceObject, IOleInPlaceObjectWindowless
    STDMETHODIMP GetWindow(HWND* hwnd) override
    {
        if (hwnd == NULL) return E_POINTER;
        *hwnd = m_hwnd;
        return m_hwnd != NULL ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP InPlaceDeactivate() override
    {
        Deactivate();
        return S_OK;
    }
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT pos, LPCRECT) override
    {
        if (pos == NULL) return E_POINTER;
        m_rect = *pos;
        g_counts.lastObjectRect = *pos;
        if (m_hwnd != NULL)
            MoveWindow(m_hwnd, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top, TRUE);
        return S_OK;
    }
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnWindowMessage(UINT msg, WPARAM, LPARAM, LRESULT* result) override
    {
        if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) InterlockedIncrement(&g_counts.mouseMessages);
        else if (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) InterlockedIncrement(&g_counts.keyMessages);
        if (result != NULL) *result = 0;
        return S_OK;
    }
    STDMETHODIMP GetDropTarget(IDropTarget**) override { return E_NOTIMPL; }

    // IViewObject, IViewObject2, IViewObjectEx
    STDMETHODIMP Draw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR),
                      ULONG_PTR) override
    {
        if (dc == NULL || bounds == NULL) return E_INVALIDARG;
        RECT rc = { bounds->left, bounds->top, bounds->right, bounds->bottom };
        HBRUSH brush = CreateSolidBrush(RGB(0, 0, 200));
        FillRect(dc, &rc, brush);
        DeleteObject(brush);
        return S_OK;
    }
    STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override { return E_NOTIMPL; }
    STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP SetAdvise(DWORD, DWORD, IAdviseSink*) override { return S_OK; }
    STDMETHODIMP GetAdvise(DWORD*, DWORD*, IAdviseSink**) override { return E_NOTIMPL; }
    STDMETHODIMP GetExtent(DWORD, LONG, DVTARGETDEVICE*, LPSIZEL size) override { return GetExtent(0, size); }
    STDMETHODIMP GetRect(DWORD, LPRECTL) override { return E_NOTIMPL; }
    STDMETHODIMP GetViewStatus(DWORD* status) override
    {
        if (status == NULL) return E_POINTER;
        *status = VIEWSTATUS_OPAQUE;
        return S_OK;
    }
    STDMETHODIMP QueryHitPoint(DWORD, LPCRECT bounds, POINT pt, LONG, DWORD* result) override
    {
        if (bounds == NULL || result == NULL) return E_POINTER;
        RECT left = *bounds;
        left.right = (bounds->left + bounds->right) / 2;
        *result = PtInRect(&left, pt) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
        return S_OK;
    }
    STDMETHODIMP QueryHitRect(DWORD, LPCRECT, LPCRECT, LONG, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) override
    {
        return E_NOTIMPL;
    }

    // IPersistStreamInit
    STDMETHODIMP GetClassID(CLSID* id) override { return GetUserClassID(id); }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPSTREAM) override { return S_OK; }
    STDMETHODIMP Save(LPSTREAM, BOOL) override { return S_OK; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override
    {
        InterlockedIncrement(&g_counts.initNew);
        return S_OK;
    }

    // IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* site) override
    {
        InterlockedIncrement(site != NULL ? &g_counts.setSite : &g_counts.clearSite);
        if (site != NULL) site->AddRef();
        if (m_objectSite != NULL) m_objectSite->Release();
        m_objectSite = site;
        return S_OK;
    }
    STDMETHODIMP GetSite(REFIID iid, void** out) override
    {
        if (out == NULL) return E_POINTER;
        *out = NULL;
        return m_objectSite != NULL ? m_objectSite->QueryInterface(iid, out) : E_FAIL;
    }

private:
    void Deactivate()
    {
        if (!m_active) return;
        m_active = false;
        if (m_hwnd != NULL) DestroyWindow(m_hwnd);
        m_hwnd = NULL;
        if (m_inPlaceSite != NULL) {
            m_inPlaceSite->OnInPlaceDeactivate();
            m_inPlaceSite->Release();
            m_inPlaceSite = NULL;
        }
    }

    LONG m_refs;
    bool m_windowless;
    IOleClientSite* m_site;
    IUnknown* m_objectSite;
    IOleInPlaceSite* m_inPlaceSite;
    HWND m_hwnd;
    bool m_active;
    RECT m_rect;
    SIZEL m_extent;
};
