#include "activex/ActiveXCtrl.h"

#include "activex/ActiveXEnum.h"
#include "activex/ActiveXFrameWnd.h"
#include "activex/ActiveXUI.h"
#include "activex/ActiveXWnd.h"

namespace DirectUI {

CActiveXCtrl::CActiveXCtrl()
    : m_dwRef(1), m_pOwner(NULL), m_pWindow(NULL), m_pUnkSite(NULL), m_pViewObject(NULL), m_pInPlaceObject(NULL),
      m_bLocked(false), m_bFocused(false), m_bCaptured(false), m_bUIActivated(false), m_bInPlaceActive(false),
      m_bWindowless(true), m_bFiltering(false)
{
}

CActiveXCtrl::~CActiveXCtrl()
{
    if (m_pWindow != NULL) {
        HWND hwnd = m_pWindow->GetHWND();
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    if (m_pUnkSite != NULL) m_pUnkSite->Release();
    if (m_pViewObject != NULL) m_pViewObject->Release();
    if (m_pInPlaceObject != NULL) m_pInPlaceObject->Release();
}

STDMETHODIMP_(ULONG) CActiveXCtrl::AddRef() { return InterlockedIncrement(&m_dwRef); }

STDMETHODIMP_(ULONG) CActiveXCtrl::Release()
{
    LONG left = InterlockedDecrement(&m_dwRef);
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP CActiveXCtrl::QueryInterface(REFIID iid, LPVOID* out)
{
    if (out == NULL) return E_POINTER;
    *out = NULL;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite) *out = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite || iid == IID_IOleInPlaceSiteEx
             || iid == IID_IOleInPlaceSiteWindowless)
        *out = static_cast<IOleInPlaceSiteWindowless*>(this);
    else if (iid == IID_IOleControlSite) *out = static_cast<IOleControlSite*>(this);
    else if (iid == IID_IObjectWithSite) *out = static_cast<IObjectWithSite*>(this);
    else if (iid == IID_IOleContainer || iid == IID_IParseDisplayName) *out = static_cast<IOleContainer*>(this);
    if (*out == NULL) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::SetSite(IUnknown* site)
{
    if (site != NULL) site->AddRef();
    if (m_pUnkSite != NULL) m_pUnkSite->Release();
    m_pUnkSite = site;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetSite(REFIID iid, LPVOID* out)
{
    if (out == NULL) return E_POINTER;
    *out = NULL;
    if (m_pUnkSite == NULL) return E_FAIL;
    return m_pUnkSite->QueryInterface(iid, out);
}

STDMETHODIMP CActiveXCtrl::SaveObject() { return E_NOTIMPL; }

STDMETHODIMP CActiveXCtrl::GetMoniker(DWORD, DWORD, IMoniker** out)
{
    if (out != NULL) *out = NULL;
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetContainer(IOleContainer** out)
{
    if (out == NULL) return E_POINTER;
    *out = NULL;
    HRESULT hr = E_NOTIMPL;
    if (m_pUnkSite != NULL) hr = m_pUnkSite->QueryInterface(IID_IOleContainer, reinterpret_cast<LPVOID*>(out));
    if (FAILED(hr)) hr = QueryInterface(IID_IOleContainer, reinterpret_cast<LPVOID*>(out));
    return hr;
}

STDMETHODIMP CActiveXCtrl::ShowObject()
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    HDC dc = ::GetDC(m_pOwner->m_hwndHost);
    if (dc == NULL) return E_FAIL;
    if (m_pViewObject != NULL) {
        RECTL bounds = { m_pOwner->m_rcItem.left, m_pOwner->m_rcItem.top, m_pOwner->m_rcItem.right,
                         m_pOwner->m_rcItem.bottom };
        m_pViewObject->Draw(DVASPECT_CONTENT, -1, NULL, NULL, NULL, dc, &bounds, NULL, NULL, 0);
    }
    ::ReleaseDC(m_pOwner->m_hwndHost, dc);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnShowWindow(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CActiveXCtrl::RequestNewObjectLayout() { return E_NOTIMPL; }
STDMETHODIMP CActiveXCtrl::CanWindowlessActivate() { return S_OK; }
STDMETHODIMP CActiveXCtrl::GetCapture() { return m_bCaptured ? S_OK : S_FALSE; }

STDMETHODIMP CActiveXCtrl::SetCapture(BOOL capture)
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    m_bCaptured = capture == TRUE;
    if (m_bCaptured) ::SetCapture(m_pOwner->m_hwndHost);
    else ::ReleaseCapture();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetFocus() { return m_bFocused ? S_OK : S_FALSE; }

STDMETHODIMP CActiveXCtrl::SetFocus(BOOL focus)
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    if (focus) m_pOwner->SetFocus();
    m_bFocused = focus == TRUE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetDC(LPCRECT, DWORD flags, HDC* dc)
{
    if (dc == NULL) return E_POINTER;
    *dc = NULL;
    if (m_pOwner == NULL) return E_UNEXPECTED;
    *dc = ::GetDC(m_pOwner->m_hwndHost);
    if (*dc == NULL) return E_FAIL;
    if ((flags & OLEDC_PAINTBKGND) != 0) {
        RECT rc = m_pOwner->GetPos();
        if (!m_bWindowless) OffsetRect(&rc, -rc.left, -rc.top);
        ::FillRect(*dc, &rc, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ReleaseDC(HDC dc)
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    ::ReleaseDC(m_pOwner->m_hwndHost, dc);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::InvalidateRect(LPCRECT rect, BOOL erase)
{
    if (m_pOwner == NULL || m_pOwner->m_hwndHost == NULL) return E_FAIL;
    return ::InvalidateRect(m_pOwner->m_hwndHost, rect, erase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::InvalidateRgn(HRGN region, BOOL erase)
{
    if (m_pOwner == NULL || m_pOwner->m_hwndHost == NULL) return E_FAIL;
    return ::InvalidateRgn(m_pOwner->m_hwndHost, region, erase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::ScrollRect(INT, INT, LPCRECT, LPCRECT) { return S_OK; }
STDMETHODIMP CActiveXCtrl::AdjustRect(LPRECT) { return S_OK; }

STDMETHODIMP CActiveXCtrl::OnDefWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (m_pOwner == NULL) return E_UNEXPECTED;
    LRESULT answer = ::DefWindowProcW(m_pOwner->m_hwndHost, msg, wParam, lParam);
    if (result != NULL) *result = answer;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags)
{
    if (noRedraw != NULL) *noRedraw = FALSE;
    if (m_pOwner == NULL || m_pOwner->m_pUnk == NULL) return E_UNEXPECTED;
    ::OleLockRunning(m_pOwner->m_pUnk, TRUE, FALSE);
    HWND frame = m_pOwner->GetManager() != NULL ? m_pOwner->GetManager()->GetPaintWindow() : NULL;
    HRESULT hr = E_FAIL;
    if ((flags & ACTIVATE_WINDOWLESS) != 0) {
        m_bWindowless = true;
        hr = m_pOwner->m_pUnk->QueryInterface(IID_IOleInPlaceObjectWindowless,
                                               reinterpret_cast<LPVOID*>(&m_pInPlaceObject));
        if (SUCCEEDED(hr)) {
            m_pOwner->m_hwndHost = frame;
            // Once per control: an object activated again must not leave a
            // second entry behind that outlives the control.
            if (!m_bFiltering) {
                m_pOwner->GetManager()->AddMessageFilter(m_pOwner);
                m_bFiltering = true;
            }
        }
    }
    if (FAILED(hr)) {
        m_bWindowless = false;
        hr = CreateActiveXWnd();
        if (FAILED(hr)) return hr;
        // Only the IOleInPlaceObject part of the pointer is used for windowed objects.
        hr = m_pOwner->m_pUnk->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<LPVOID*>(&m_pInPlaceObject));
    }
    if (m_pInPlaceObject != NULL) {
        RECT rc = m_pOwner->GetPos();
        if (!m_bWindowless) OffsetRect(&rc, -rc.left, -rc.top);
        m_pInPlaceObject->SetObjectRects(&rc, &rc);
    }
    m_bInPlaceActive = SUCCEEDED(hr);
    return hr;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivateEx(BOOL)
{
    m_bInPlaceActive = false;
    StopFiltering();
    if (m_pInPlaceObject != NULL) {
        m_pInPlaceObject->Release();
        m_pInPlaceObject = NULL;
    }
    if (m_pWindow != NULL) {
        HWND hwnd = m_pWindow->GetHWND();
        // The window object deletes itself when the window ends.
        m_pWindow = NULL;
        if (IsWindow(hwnd)) ::DestroyWindow(hwnd);
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::RequestUIActivate() { return S_OK; }
STDMETHODIMP CActiveXCtrl::CanInPlaceActivate() { return S_OK; }

STDMETHODIMP CActiveXCtrl::OnInPlaceActivate()
{
    BOOL noRedraw = FALSE;
    return OnInPlaceActivateEx(&noRedraw, 0);
}

STDMETHODIMP CActiveXCtrl::OnUIActivate()
{
    m_bUIActivated = true;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT pos,
                                            LPRECT clip, LPOLEINPLACEFRAMEINFO info)
{
    if (frame == NULL || document == NULL || pos == NULL || clip == NULL) return E_POINTER;
    *frame = NULL;
    *document = NULL;
    if (m_pOwner == NULL) return E_UNEXPECTED;
    *frame = new CActiveXFrameWnd(m_pOwner);
    if (m_pWindow != NULL) {
        ::GetClientRect(m_pWindow->GetHWND(), pos);
    } else {
        *pos = m_pOwner->GetPos();
    }
    *clip = *pos;
    if (info != NULL) {
        info->cb = sizeof(OLEINPLACEFRAMEINFO);
        info->fMDIApp = FALSE;
        info->hwndFrame = m_pOwner->GetManager() != NULL ? m_pOwner->GetManager()->GetPaintWindow() : NULL;
        info->haccel = NULL;
        info->cAccelEntries = 0;
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::Scroll(SIZE) { return E_NOTIMPL; }

STDMETHODIMP CActiveXCtrl::OnUIDeactivate(BOOL)
{
    m_bUIActivated = false;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivate() { return OnInPlaceDeactivateEx(TRUE); }
STDMETHODIMP CActiveXCtrl::DiscardUndoState() { return E_NOTIMPL; }
STDMETHODIMP CActiveXCtrl::DeactivateAndUndo() { return E_NOTIMPL; }
STDMETHODIMP CActiveXCtrl::OnPosRectChange(LPCRECT) { return E_NOTIMPL; }

STDMETHODIMP CActiveXCtrl::GetWindow(HWND* hwnd)
{
    if (hwnd == NULL) return E_POINTER;
    *hwnd = NULL;
    if (m_pOwner == NULL) return E_UNEXPECTED;
    if (m_pOwner->m_hwndHost == NULL) CreateActiveXWnd();
    if (m_pOwner->m_hwndHost == NULL) return E_FAIL;
    *hwnd = m_pOwner->m_hwndHost;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ContextSensitiveHelp(BOOL) { return S_OK; }
STDMETHODIMP CActiveXCtrl::OnControlInfoChanged() { return S_OK; }
STDMETHODIMP CActiveXCtrl::LockInPlaceActive(BOOL) { return S_OK; }

STDMETHODIMP CActiveXCtrl::GetExtendedControl(IDispatch** out)
{
    if (out == NULL) return E_POINTER;
    *out = NULL;
    if (m_pOwner == NULL || m_pOwner->m_pUnk == NULL) return E_UNEXPECTED;
    return m_pOwner->m_pUnk->QueryInterface(IID_IDispatch, reinterpret_cast<LPVOID*>(out));
}

STDMETHODIMP CActiveXCtrl::TransformCoords(POINTL*, POINTF*, DWORD) { return S_OK; }
STDMETHODIMP CActiveXCtrl::TranslateAccelerator(MSG*, DWORD) { return S_FALSE; }

STDMETHODIMP CActiveXCtrl::OnFocus(BOOL gotFocus)
{
    m_bFocused = gotFocus == TRUE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ShowPropertyFrame() { return E_NOTIMPL; }

STDMETHODIMP CActiveXCtrl::EnumObjects(DWORD, IEnumUnknown** out)
{
    if (out == NULL) return E_POINTER;
    *out = NULL;
    if (m_pOwner == NULL) return E_UNEXPECTED;
    *out = new CActiveXEnum(m_pOwner->m_pUnk);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::LockContainer(BOOL lock)
{
    m_bLocked = lock != FALSE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker**) { return E_NOTIMPL; }

void CActiveXCtrl::StopFiltering()
{
    if (!m_bFiltering) return;
    m_bFiltering = false;
    if (m_pOwner != NULL && m_pOwner->GetManager() != NULL) m_pOwner->GetManager()->RemoveMessageFilter(m_pOwner);
}

HRESULT CActiveXCtrl::CreateActiveXWnd()
{
    if (m_pOwner == NULL || m_pOwner->GetManager() == NULL) return E_UNEXPECTED;
    if (m_pWindow != NULL) return S_OK;
    m_pWindow = new CActiveXWnd;
    m_pOwner->m_hwndHost = m_pWindow->Init(this, m_pOwner->GetManager()->GetPaintWindow());
    if (m_pOwner->m_hwndHost == NULL) {
        // Creation failed before the window existed: nothing deletes it but us.
        delete m_pWindow;
        m_pWindow = NULL;
        return E_FAIL;
    }
    return S_OK;
}

} // namespace DirectUI
