#include "activex/ActiveXFrameWnd.h"

#include "activex/ActiveXUI.h"

namespace DirectUI {

CActiveXFrameWnd::CActiveXFrameWnd(CActiveXUI* owner) : m_dwRef(1), m_hwndFrame(NULL), m_pActiveObject(NULL)
{
    if (owner != NULL && owner->GetManager() != NULL) m_hwndFrame = owner->GetManager()->GetPaintWindow();
}

CActiveXFrameWnd::~CActiveXFrameWnd()
{
    if (m_pActiveObject != NULL) m_pActiveObject->Release();
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::AddRef() { return InterlockedIncrement(&m_dwRef); }

STDMETHODIMP_(ULONG) CActiveXFrameWnd::Release()
{
    LONG left = InterlockedDecrement(&m_dwRef);
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP CActiveXFrameWnd::QueryInterface(REFIID iid, LPVOID* out)
{
    if (out == NULL) return E_POINTER;
    *out = NULL;
    if (iid != IID_IUnknown && iid != IID_IOleWindow && iid != IID_IOleInPlaceUIWindow && iid != IID_IOleInPlaceFrame)
        return E_NOINTERFACE;
    *out = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::RemoveMenus(HMENU) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::SetStatusText(LPCOLESTR) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::EnableModeless(BOOL) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::TranslateAccelerator(LPMSG, WORD) { return S_FALSE; }

STDMETHODIMP CActiveXFrameWnd::GetWindow(HWND* hwnd)
{
    if (hwnd == NULL) return E_POINTER;
    *hwnd = m_hwndFrame;
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::ContextSensitiveHelp(BOOL) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::GetBorder(LPRECT) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::RequestBorderSpace(LPCBORDERWIDTHS) { return S_OK; }
STDMETHODIMP CActiveXFrameWnd::SetBorderSpace(LPCBORDERWIDTHS) { return S_OK; }

STDMETHODIMP CActiveXFrameWnd::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR)
{
    if (object != NULL) object->AddRef();
    if (m_pActiveObject != NULL) m_pActiveObject->Release();
    m_pActiveObject = object;
    return S_OK;
}

} // namespace DirectUI
