#include "activex/ActiveXUI.h"

#include "activex/ActiveXCtrl.h"
#include "activex/ActiveXWnd.h"

#include <ocidl.h>
#include <string.h>
#include <windowsx.h>

namespace DirectUI {

namespace {

typedef HRESULT(WINAPI* DllGetClassObjectFn)(REFCLSID, REFIID, LPVOID*);

// Longest class id or program id text read from a skin.
const int kMaxClsidText = 99;

bool IsNullClsid(const CLSID& clsid)
{
    static const CLSID zero = {};
    return IsEqualCLSID(clsid, zero) != FALSE;
}

LONG PixelsToHimetric(int pixels, int perInch) { return MulDiv(pixels, 2540, perInch > 0 ? perInch : 96); }

} // namespace

CActiveXUI::CActiveXUI()
    : m_bCreated(false), m_bDelayCreate(true), m_pUnk(NULL), m_pControl(NULL), m_hwndHost(NULL), m_hModule(NULL)
{
    memset(&m_clsid, 0, sizeof(m_clsid));
}

CActiveXUI::~CActiveXUI() { ReleaseObject(); }

LPCWSTR CActiveXUI::GetControlClass() const { return L"ActiveXUI"; }

LPVOID CActiveXUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"ActiveX") == 0) return this;
    return CControlUI::GetInterface(name);
}

void CActiveXUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (!m_bCreated) CreateControl();
    if (m_pUnk == NULL || m_pControl == NULL) return;

    HDC screen = ::GetDC(NULL);
    int perInchX = screen != NULL ? ::GetDeviceCaps(screen, LOGPIXELSX) : 96;
    int perInchY = screen != NULL ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != NULL) ::ReleaseDC(NULL, screen);
    SIZEL extent = { PixelsToHimetric(m_rcItem.right - m_rcItem.left, perInchX),
                     PixelsToHimetric(m_rcItem.bottom - m_rcItem.top, perInchY) };
    m_pUnk->SetExtent(DVASPECT_CONTENT, &extent);

    if (m_pControl->m_pInPlaceObject != NULL) {
        RECT pos = m_rcItem;
        if (!m_pControl->m_bWindowless) OffsetRect(&pos, -pos.left, -pos.top);
        m_pControl->m_pInPlaceObject->SetObjectRects(&pos, &pos);
    }
    if (!m_pControl->m_bWindowless && m_hwndHost != NULL)
        ::MoveWindow(m_hwndHost, m_rcItem.left, m_rcItem.top, m_rcItem.right - m_rcItem.left,
                     m_rcItem.bottom - m_rcItem.top, TRUE);
}

void CActiveXUI::SyncHostVisibility()
{
    if (m_hwndHost != NULL && m_pControl != NULL && !m_pControl->m_bWindowless)
        ::ShowWindow(m_hwndHost, IsVisible() ? SW_SHOW : SW_HIDE);
}

void CActiveXUI::SetVisible(bool visible)
{
    CControlUI::SetVisible(visible);
    SyncHostVisibility();
}

void CActiveXUI::SetVisibleByParent(bool visible)
{
    CControlUI::SetVisibleByParent(visible);
    SyncHostVisibility();
}

void CActiveXUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"clsid") == 0) SetClsid(value);
    else if (wcscmp(name, L"modulename") == 0) SetModuleName(value);
    else if (wcscmp(name, L"delaycreate") == 0) SetDelayCreate(wcscmp(value, L"true") == 0);
    else CControlUI::SetAttribute(name, value);
}

void CActiveXUI::Paint(HDC dc, const RECT& rcPaint)
{
    if (!IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    if (m_pControl == NULL || !m_pControl->m_bWindowless || m_pControl->m_pViewObject == NULL) return;
    RECTL bounds = { m_rcItem.left, m_rcItem.top, m_rcItem.right, m_rcItem.bottom };
    m_pControl->m_pViewObject->Draw(DVASPECT_CONTENT, -1, NULL, NULL, NULL, dc, &bounds, NULL, NULL, 0);
}

void CActiveXUI::PaintStateImage(HDC) {}
void CActiveXUI::PaintText(HDC) {}

bool CActiveXUI::SetClsid(LPCWSTR text)
{
    if (text == NULL) return false;
    // A bounded, terminated copy: skin texts may be of any length.
    WCHAR id[kMaxClsidText + 1] = { 0 };
    wcsncpy(id, text, kMaxClsidText);
    id[kMaxClsidText] = L'\0';
    CLSID clsid = {};
    HRESULT hr = id[0] == L'{' ? ::CLSIDFromString(id, &clsid) : ::CLSIDFromProgID(id, &clsid);
    if (FAILED(hr)) return false;
    return SetClsid(clsid);
}

bool CActiveXUI::SetClsid(const CLSID& clsid)
{
    if (IsNullClsid(clsid)) return false;
    m_clsid = clsid;
    m_bCreated = false;
    if (!m_bDelayCreate) CreateControl();
    return true;
}

void CActiveXUI::SetModuleName(LPCWSTR name) { m_sModuleName = name; }

void CActiveXUI::SetDelayCreate(bool delay)
{
    if (m_bDelayCreate == delay) return;
    m_bDelayCreate = delay;
    if (!delay && !IsNullClsid(m_clsid) && !m_bCreated) CreateControl();
}

HRESULT CActiveXUI::GetControl(const IID& iid, LPVOID* out)
{
    if (out == NULL) return E_POINTER;
    *out = NULL;
    if (m_pUnk == NULL) return E_FAIL;
    return m_pUnk->QueryInterface(iid, out);
}

bool CActiveXUI::CreateControl()
{
    ReleaseControl();
    if (IsNullClsid(m_clsid)) return false;
    // Activation needs the framework window: without one, creation waits
    // for the first placement.
    if (m_pManager == NULL || m_pManager->GetPaintWindow() == NULL) return false;
    m_bCreated = true;

    IOleControl* control = NULL;
    if (!m_sModuleName.IsEmpty()) {
        m_hModule = ::LoadLibraryW(m_sModuleName);
        DllGetClassObjectFn getClassObject =
            m_hModule != NULL ? reinterpret_cast<DllGetClassObjectFn>(::GetProcAddress(m_hModule, "DllGetClassObject"))
                              : NULL;
        IClassFactory* factory = NULL;
        if (getClassObject != NULL
            && SUCCEEDED(getClassObject(m_clsid, IID_IClassFactory, reinterpret_cast<LPVOID*>(&factory)))
            && factory != NULL) {
            factory->CreateInstance(NULL, IID_IOleControl, reinterpret_cast<LPVOID*>(&control));
            factory->Release();
        }
    }
    if (control == NULL)
        ::CoCreateInstance(m_clsid, NULL, CLSCTX_ALL, IID_IOleControl, reinterpret_cast<LPVOID*>(&control));
    if (control == NULL) {
        ReleaseObject();
        return false;
    }
    control->QueryInterface(IID_IOleObject, reinterpret_cast<LPVOID*>(&m_pUnk));
    control->Release();
    if (m_pUnk == NULL) {
        ReleaseObject();
        return false;
    }

    m_pControl = new CActiveXCtrl;
    m_pControl->m_pOwner = this;
    DWORD status = 0;
    m_pUnk->GetMiscStatus(DVASPECT_CONTENT, &status);
    IOleClientSite* site = NULL;
    m_pControl->QueryInterface(IID_IOleClientSite, reinterpret_cast<LPVOID*>(&site));
    bool siteSet = false;
    HRESULT hr = S_OK;
    if ((status & OLEMISC_SETCLIENTSITEFIRST) != 0) {
        hr = m_pUnk->SetClientSite(site);
        siteSet = true;
    }
    IPersistStreamInit* persist = NULL;
    if (SUCCEEDED(hr) && SUCCEEDED(m_pUnk->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<LPVOID*>(&persist)))
        && persist != NULL) {
        hr = persist->InitNew();
        persist->Release();
    }
    if (SUCCEEDED(hr)) {
        if (!siteSet) m_pUnk->SetClientSite(site);
        IViewObject* view = NULL;
        if (FAILED(m_pUnk->QueryInterface(IID_IViewObjectEx, reinterpret_cast<LPVOID*>(&view)))
            && FAILED(m_pUnk->QueryInterface(IID_IViewObject2, reinterpret_cast<LPVOID*>(&view))))
            m_pUnk->QueryInterface(IID_IViewObject, reinterpret_cast<LPVOID*>(&view));
        m_pControl->m_pViewObject = view;
        m_pUnk->SetHostNames(L"UIActiveX", NULL);
        m_pManager->SendNotify(this, L"showactivex", 0, 0, false);
        // The notification's listeners may have released or replaced the object.
        if (m_pUnk != NULL && (status & OLEMISC_INVISIBLEATRUNTIME) == 0)
            hr = m_pUnk->DoVerb(OLEIVERB_INPLACEACTIVATE, NULL, site, 0, m_pManager->GetPaintWindow(), &m_rcItem);
        IObjectWithSite* withSite = NULL;
        if (SUCCEEDED(hr) && m_pUnk != NULL
            && SUCCEEDED(m_pUnk->QueryInterface(IID_IObjectWithSite, reinterpret_cast<LPVOID*>(&withSite)))
            && withSite != NULL) {
            hr = withSite->SetSite(static_cast<IOleClientSite*>(m_pControl));
            withSite->Release();
        }
    }
    if (site != NULL) site->Release();
    if (FAILED(hr) || m_pUnk == NULL) {
        // A half-made object is never kept: the control paints and handles
        // nothing, and stays created so layouts do not try again.
        ReleaseObject();
        return false;
    }
    return true;
}

void CActiveXUI::ReleaseControl()
{
    ReleaseObject();
    m_bCreated = false;
}

void CActiveXUI::ReleaseObject()
{
    m_hwndHost = NULL;
    if (m_pUnk != NULL) {
        IObjectWithSite* withSite = NULL;
        if (SUCCEEDED(m_pUnk->QueryInterface(IID_IObjectWithSite, reinterpret_cast<LPVOID*>(&withSite)))
            && withSite != NULL) {
            withSite->SetSite(NULL);
            withSite->Release();
        }
        m_pUnk->Close(OLECLOSE_NOSAVE);
        m_pUnk->SetClientSite(NULL);
        m_pUnk->Release();
        m_pUnk = NULL;
    }
    if (m_pControl != NULL) {
        m_pControl->StopFiltering();
        m_pControl->m_pOwner = NULL;
        m_pControl->Release();
        m_pControl = NULL;
    }
    // Only after the object is gone may its code go.
    if (m_hModule != NULL) {
        ::FreeLibrary(m_hModule);
        m_hModule = NULL;
    }
}

bool CActiveXUI::ConnectEvents(REFIID iid, IUnknown* sink, DWORD& cookie)
{
    IConnectionPointContainer* container = NULL;
    if (FAILED(GetControl(IID_IConnectionPointContainer, reinterpret_cast<LPVOID*>(&container))) || container == NULL)
        return false;
    IConnectionPoint* point = NULL;
    HRESULT hr = container->FindConnectionPoint(iid, &point);
    container->Release();
    if (FAILED(hr) || point == NULL) return false;
    hr = point->Advise(sink, &cookie);
    point->Release();
    return SUCCEEDED(hr);
}

void CActiveXUI::DisconnectEvents(REFIID iid, DWORD& cookie)
{
    if (cookie == 0) return;
    IConnectionPointContainer* container = NULL;
    if (SUCCEEDED(GetControl(IID_IConnectionPointContainer, reinterpret_cast<LPVOID*>(&container)))
        && container != NULL) {
        IConnectionPoint* point = NULL;
        if (SUCCEEDED(container->FindConnectionPoint(iid, &point)) && point != NULL) {
            point->Unadvise(cookie);
            point->Release();
        }
        container->Release();
    }
    cookie = 0;
}

LRESULT CActiveXUI::TranslateHostAccelerator(MSG* msg)
{
    if (msg == NULL || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST || m_hwndHost == NULL) return S_FALSE;
    HWND focus = ::GetFocus();
    while (focus != NULL && focus != m_hwndHost) focus = ::GetParent(focus);
    if (focus == NULL) return S_FALSE;
    IOleInPlaceActiveObject* active = NULL;
    if (FAILED(GetControl(IID_IOleInPlaceActiveObject, reinterpret_cast<LPVOID*>(&active))) || active == NULL)
        return S_FALSE;
    HRESULT hr = active->TranslateAccelerator(msg);
    active->Release();
    return hr;
}

LRESULT CActiveXUI::FilterMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled)
{
    if (m_pControl == NULL || m_pUnk == NULL || !m_pControl->m_bInPlaceActive || !m_pControl->m_bWindowless
        || m_pControl->m_pInPlaceObject == NULL)
        return 0;
    bool passOnly = false;
    switch (msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEWHEEL: {
        if (!IsMouseEnabled()) return 0;
        if (!m_pControl->m_bCaptured) {
            POINT pt = { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
            // The wheel carries screen coordinates.
            if (msg == WM_MOUSEWHEEL) ::ScreenToClient(m_pManager->GetPaintWindow(), &pt);
            IViewObjectEx* view = NULL;
            if (m_pControl->m_pViewObject == NULL
                || FAILED(m_pControl->m_pViewObject->QueryInterface(IID_IViewObjectEx, reinterpret_cast<LPVOID*>(&view)))
                || view == NULL)
                return 0;
            DWORD hit = HITRESULT_OUTSIDE;
            view->QueryHitPoint(DVASPECT_CONTENT, &m_rcItem, pt, 0, &hit);
            view->Release();
            if (hit != HITRESULT_HIT) return 0;
        }
        break;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
        if (!m_pControl->m_bFocused) return 0;
        break;
    case WM_SETCURSOR:
    case WM_HELP:
    case WM_CONTEXTMENU:
        passOnly = true;
        break;
    default:
        return 0;
    }
    LRESULT result = 0;
    HRESULT hr = m_pControl->m_pInPlaceObject->OnWindowMessage(msg, wParam, lParam, &result);
    if (hr == S_OK && !passOnly) handled = true;
    return result;
}

} // namespace DirectUI
