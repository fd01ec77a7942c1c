#include "activex/WebBrowserUI.h"

#include <exdispid.h>
#include <mshtml.h>

// Browser GUIDs that no import library of this toolchain carries.
extern "C" const IID IID_ICustomDoc = { 0x3050f3f0, 0x98b5, 0x11cf, { 0xbb, 0x82, 0x00, 0xaa, 0x00, 0xbd, 0xce, 0x0b } };
extern "C" const IID IID_IDownloadManager = { 0x988934a4, 0x064b, 0x11d3,
                                               { 0xbb, 0x80, 0x00, 0x10, 0x4b, 0x35, 0xe7, 0xf9 } };
extern "C" const GUID CGID_DocHostCommandHandler = { 0xf38bc242, 0xb950, 0x11d1,
                                                      { 0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36 } };

namespace DirectUI {

namespace {

// The answers the control gives without a handler of the program.
CWebBrowserEventHandler g_defaultHandler;

// Argument n (in declaration order) when it has type vt, else null.
VARIANT* Arg(DISPPARAMS* params, UINT n, VARTYPE vt)
{
    VARIANT* arg = &params->rgvarg[params->cArgs - 1 - n];
    return arg->vt == vt ? arg : NULL;
}

// Reads a property of a script object by name, for the script-error report.
void ReadProperty(IDispatch* object, LPCWSTR name, VARIANT* value)
{
    ::VariantInit(value);
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[1] = { const_cast<LPOLESTR>(name) };
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id))) return;
    DISPPARAMS none = { NULL, NULL, 0, 0 };
    object->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_PROPERTYGET, &none, value, NULL, NULL);
}

} // namespace

CWebBrowserUI::CWebBrowserUI()
    : m_pWebBrowser2(NULL), m_dwRef(0), m_dwCookie(0), m_bAutoNavi(false), m_pWebBrowserEventHandler(NULL)
{
    m_clsid = CLSID_WebBrowser;
}

CWebBrowserUI::~CWebBrowserUI() { ReleaseBrowser(); }

LPCWSTR CWebBrowserUI::GetControlClass() const { return L"WebBrowserUI"; }

LPVOID CWebBrowserUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"WebBrowser") == 0) return this;
    return CActiveXUI::GetInterface(name);
}

void CWebBrowserUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"homepage") == 0) SetHomePage(value);
    else if (wcscmp(name, L"autonavi") == 0) SetAutoNavigation(wcscmp(value, L"true") == 0);
    else CActiveXUI::SetAttribute(name, value);
}

CWebBrowserEventHandler* CWebBrowserUI::Handler()
{
    return m_pWebBrowserEventHandler != NULL ? m_pWebBrowserEventHandler : &g_defaultHandler;
}

bool CWebBrowserUI::CreateControl()
{
    if (!CActiveXUI::CreateControl()) return false;
    if (m_pManager != NULL) m_pManager->AddTranslateAccelerator(this);
    GetControl(IID_IWebBrowser2, reinterpret_cast<LPVOID*>(&m_pWebBrowser2));
    if (m_bAutoNavi && !m_sHomePage.IsEmpty()) Navigate2(m_sHomePage);
    ConnectEvents(DIID_DWebBrowserEvents2, static_cast<IDispatch*>(this), m_dwCookie);
    return true;
}

ICustomDoc* CWebBrowserUI::CustomDocument()
{
    if (m_pWebBrowser2 == NULL) return NULL;
    IDispatch* document = NULL;
    if (FAILED(m_pWebBrowser2->get_Document(&document)) || document == NULL) return NULL;
    ICustomDoc* custom = NULL;
    document->QueryInterface(IID_ICustomDoc, reinterpret_cast<LPVOID*>(&custom));
    document->Release();
    return custom;
}

void CWebBrowserUI::ReleaseBrowser()
{
    DisconnectEvents(DIID_DWebBrowserEvents2, m_dwCookie);
    if (m_pManager != NULL) m_pManager->RemoveTranslateAccelerator(this);
    // The document must not call back into a control that let go of it.
    ICustomDoc* custom = CustomDocument();
    if (custom != NULL) {
        custom->SetUIHandler(NULL);
        custom->Release();
    }
    if (m_pWebBrowser2 != NULL) {
        m_pWebBrowser2->Release();
        m_pWebBrowser2 = NULL;
    }
}

void CWebBrowserUI::ReleaseControl()
{
    ReleaseBrowser();
    CActiveXUI::ReleaseControl();
}

bool CWebBrowserUI::Navigate2(LPCWSTR url)
{
    if (url == NULL || m_pWebBrowser2 == NULL) return false;
    VARIANT target;
    ::VariantInit(&target);
    target.vt = VT_BSTR;
    target.bstrVal = ::SysAllocString(url);
    if (target.bstrVal == NULL) return false;
    HRESULT hr = m_pWebBrowser2->Navigate2(&target, NULL, NULL, NULL, NULL);
    ::VariantClear(&target);
    return SUCCEEDED(hr);
}

STDMETHODIMP CWebBrowserUI::QueryInterface(REFIID iid, LPVOID* out)
{
    if (out == NULL) return E_POINTER;
    *out = NULL;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID_DWebBrowserEvents2)
        *out = static_cast<IDispatch*>(this);
    else if (iid == IID_IDocHostUIHandler) *out = static_cast<IDocHostUIHandler*>(this);
    else if (iid == IID_IServiceProvider) *out = static_cast<IServiceProvider*>(this);
    else if (iid == IID_IOleCommandTarget) *out = static_cast<IOleCommandTarget*>(this);
    else if (iid == IID_IDownloadManager) *out = static_cast<IDownloadManager*>(this);
    if (*out == NULL) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

// The framework owns the control; the count only keeps COM's books.
STDMETHODIMP_(ULONG) CWebBrowserUI::AddRef() { return ::InterlockedIncrement(&m_dwRef); }
STDMETHODIMP_(ULONG) CWebBrowserUI::Release() { return ::InterlockedDecrement(&m_dwRef); }

STDMETHODIMP CWebBrowserUI::GetTypeInfoCount(UINT* count)
{
    if (count != NULL) *count = 0;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info != NULL) *info = NULL;
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP CWebBrowserUI::Invoke(DISPID id, REFIID iid, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                   UINT*)
{
    if (iid != IID_NULL) return E_INVALIDARG;
    struct Shape
    {
        DISPID id;
        UINT count;
        VARTYPE types[7];
    };
    const VARTYPE byRefVariant = VT_VARIANT | VT_BYREF;
    const VARTYPE byRefBool = VT_BOOL | VT_BYREF;
    // Events are only trusted in the shape the browser sends them.
    const Shape shapes[] = {
        { DISPID_BEFORENAVIGATE2, 7,
          { VT_DISPATCH, byRefVariant, byRefVariant, byRefVariant, byRefVariant, byRefVariant, byRefBool } },
        { DISPID_NAVIGATECOMPLETE2, 2, { VT_DISPATCH, byRefVariant } },
        { DISPID_NAVIGATEERROR, 5, { VT_DISPATCH, byRefVariant, byRefVariant, byRefVariant, byRefBool } },
        { DISPID_NEWWINDOW3, 5, { VT_DISPATCH | VT_BYREF, byRefBool, VT_I4, VT_BSTR, VT_BSTR } },
        { DISPID_COMMANDSTATECHANGE, 2, { VT_I4, VT_BOOL } },
    };
    if (id == DISPID_STATUSTEXTCHANGE) return S_OK;
    const Shape* shape = NULL;
    for (const Shape& s : shapes)
        if (s.id == id) shape = &s;
    if (shape == NULL) return DISP_E_MEMBERNOTFOUND;
    if (params == NULL || params->cArgs != shape->count || params->rgvarg == NULL) return DISP_E_BADPARAMCOUNT;
    VARIANT* args[7] = { NULL };
    for (UINT i = 0; i < shape->count; ++i) {
        args[i] = Arg(params, i, shape->types[i]);
        // NewWindow3's flags may come as an unsigned number.
        if (args[i] == NULL && shape->types[i] == VT_I4) args[i] = Arg(params, i, VT_UI4);
        if (args[i] == NULL) return DISP_E_TYPEMISMATCH;
    }

    CWebBrowserEventHandler* handler = m_pWebBrowserEventHandler;
    switch (id) {
    case DISPID_BEFORENAVIGATE2:
        if (handler != NULL)
            handler->BeforeNavigate2(args[0]->pdispVal, args[1]->pvarVal, args[2]->pvarVal, args[3]->pvarVal,
                                     args[4]->pvarVal, args[5]->pvarVal, args[6]->pboolVal);
        break;
    case DISPID_NAVIGATECOMPLETE2: {
        ICustomDoc* custom = CustomDocument();
        if (custom != NULL) {
            custom->SetUIHandler(this);
            custom->Release();
        }
        if (handler != NULL) handler->NavigateComplete2(args[0]->pdispVal, args[1]->pvarVal);
        break;
    }
    case DISPID_NAVIGATEERROR:
        if (handler != NULL)
            handler->NavigateError(args[0]->pdispVal, args[1]->pvarVal, args[2]->pvarVal, args[3]->pvarVal,
                                   args[4]->pboolVal);
        break;
    case DISPID_NEWWINDOW3:
        if (handler != NULL)
            handler->NewWindow3(args[0]->ppdispVal, args[1]->pboolVal, static_cast<DWORD>(args[2]->lVal),
                                args[3]->bstrVal, args[4]->bstrVal);
        break;
    case DISPID_COMMANDSTATECHANGE:
        if (handler != NULL) handler->CommandStateChange(args[0]->lVal, args[1]->boolVal);
        break;
    default:
        break;
    }
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::ShowContextMenu(DWORD id, POINT* pt, IUnknown* target, IDispatch* object)
{
    return Handler()->ShowContextMenu(id, pt, target, object);
}

STDMETHODIMP CWebBrowserUI::GetHostInfo(DOCHOSTUIINFO* info) { return Handler()->GetHostInfo(info); }

STDMETHODIMP CWebBrowserUI::ShowUI(DWORD id, IOleInPlaceActiveObject* active, IOleCommandTarget* target,
                                   IOleInPlaceFrame* frame, IOleInPlaceUIWindow* document)
{
    return Handler()->ShowUI(id, active, target, frame, document);
}

STDMETHODIMP CWebBrowserUI::HideUI() { return Handler()->HideUI(); }
STDMETHODIMP CWebBrowserUI::UpdateUI() { return Handler()->UpdateUI(); }
STDMETHODIMP CWebBrowserUI::EnableModeless(BOOL enable) { return Handler()->EnableModeless(enable); }
STDMETHODIMP CWebBrowserUI::OnDocWindowActivate(BOOL activate) { return Handler()->OnDocWindowActivate(activate); }

STDMETHODIMP CWebBrowserUI::OnFrameWindowActivate(BOOL activate)
{
    return Handler()->OnFrameWindowActivate(activate);
}

STDMETHODIMP CWebBrowserUI::ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame)
{
    return Handler()->ResizeBorder(border, window, frame);
}

STDMETHODIMP CWebBrowserUI::TranslateAccelerator(LPMSG msg, const GUID* group, DWORD id)
{
    return Handler()->TranslateAccelerator(msg, group, id);
}

STDMETHODIMP CWebBrowserUI::GetOptionKeyPath(LPOLESTR* key, DWORD reserved)
{
    return Handler()->GetOptionKeyPath(key, reserved);
}

STDMETHODIMP CWebBrowserUI::GetDropTarget(IDropTarget* drop, IDropTarget** out)
{
    return Handler()->GetDropTarget(drop, out);
}

STDMETHODIMP CWebBrowserUI::GetExternal(IDispatch** out) { return Handler()->GetExternal(out); }

STDMETHODIMP CWebBrowserUI::TranslateUrl(DWORD reserved, LPWSTR url, LPWSTR* out)
{
    return Handler()->TranslateUrl(reserved, url, out);
}

STDMETHODIMP CWebBrowserUI::FilterDataObject(IDataObject* object, IDataObject** out)
{
    return Handler()->FilterDataObject(object, out);
}

STDMETHODIMP CWebBrowserUI::QueryService(REFGUID, REFIID iid, void** out)
{
    if (out == NULL) return E_POINTER;
    *out = NULL;
    if (iid != IID_IDownloadManager) return E_NOINTERFACE;
    *out = static_cast<IDownloadManager*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP CWebBrowserUI::Download(IMoniker* moniker, IBindCtx* context, DWORD verb, LONG flags, BINDINFO* info,
                                     LPCOLESTR headers, LPCOLESTR redirect, UINT codePage)
{
    return Handler()->Download(moniker, context, verb, flags, info, headers, redirect, codePage);
}

STDMETHODIMP CWebBrowserUI::QueryStatus(const GUID*, ULONG, OLECMD[], OLECMDTEXT*) { return E_NOTIMPL; }

STDMETHODIMP CWebBrowserUI::Exec(const GUID* group, DWORD id, DWORD, VARIANT* in, VARIANT* out)
{
    if (group == NULL || *group != CGID_DocHostCommandHandler || id != OLECMDID_SHOWSCRIPTERROR)
        return OLECMDERR_E_NOTSUPPORTED;
    // The error is read from the page's current event; the answer lets the
    // scripts run on without an error dialog, whatever came in.
    if (in != NULL && in->vt == VT_UNKNOWN && in->punkVal != NULL) {
        IHTMLDocument2* document = NULL;
        if (SUCCEEDED(in->punkVal->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<LPVOID*>(&document)))
            && document != NULL) {
            IHTMLWindow2* window = NULL;
            if (SUCCEEDED(document->get_parentWindow(&window)) && window != NULL) {
                IHTMLEventObj* event = NULL;
                if (SUCCEEDED(window->get_event(&event)) && event != NULL) {
                    const wchar_t* names[] = { L"errorLine", L"errorCharacter", L"errorCode", L"errorMessage",
                                               L"errorUrl" };
                    for (const wchar_t* name : names) {
                        VARIANT value;
                        ReadProperty(event, name, &value);
                        ::VariantClear(&value);
                    }
                    event->Release();
                }
                window->Release();
            }
            document->Release();
        }
    }
    if (out != NULL) {
        ::VariantClear(out);
        out->vt = VT_BOOL;
        out->boolVal = VARIANT_TRUE;
    }
    return S_OK;
}

LRESULT CWebBrowserUI::TranslateAccelerator(MSG* msg) { return TranslateHostAccelerator(msg); }

} // namespace DirectUI
