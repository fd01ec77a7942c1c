#include "activex/FlashUI.h"

namespace DirectUI {

namespace {

const CLSID kFlashClsid = { 0xd27cdb6e, 0xae6d, 0x11cf, { 0x96, 0xb8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00 } };
const IID kIShockwaveFlash = { 0xd27cdb6c, 0xae6d, 0x11cf, { 0x96, 0xb8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00 } };
const IID kShockwaveFlashEvents = { 0xd27cdb6d, 0xae6d, 0x11cf, { 0x96, 0xb8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00 } };

} // namespace

CFlashUI::CFlashUI() : m_pShockwaveFlash(NULL), m_dwRef(0), m_dwCookie(0), m_pFlashEventHandler(NULL)
{
    m_clsid = kFlashClsid;
}

CFlashUI::~CFlashUI() { ReleaseFlash(); }

LPCWSTR CFlashUI::GetControlClass() const { return L"FlashUI"; }

LPVOID CFlashUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"Flash") == 0) return this;
    return CActiveXUI::GetInterface(name);
}

bool CFlashUI::CreateControl()
{
    if (!CActiveXUI::CreateControl()) return false;
    GetControl(kIShockwaveFlash, reinterpret_cast<LPVOID*>(&m_pShockwaveFlash));
    m_pFlashEventHandler = static_cast<IDispatch*>(this);
    m_pFlashEventHandler->AddRef();
    ConnectEvents(kShockwaveFlashEvents, m_pFlashEventHandler, m_dwCookie);
    if (m_pManager != NULL) m_pManager->AddTranslateAccelerator(this);
    return true;
}

void CFlashUI::ReleaseFlash()
{
    DisconnectEvents(kShockwaveFlashEvents, m_dwCookie);
    if (m_pManager != NULL) m_pManager->RemoveTranslateAccelerator(this);
    if (m_pShockwaveFlash != NULL) {
        m_pShockwaveFlash->Release();
        m_pShockwaveFlash = NULL;
    }
    if (m_pFlashEventHandler != NULL) {
        m_pFlashEventHandler->Release();
        m_pFlashEventHandler = NULL;
    }
}

void CFlashUI::ReleaseControl()
{
    ReleaseFlash();
    CActiveXUI::ReleaseControl();
}

STDMETHODIMP CFlashUI::QueryInterface(REFIID iid, LPVOID* out)
{
    if (out == NULL) return E_POINTER;
    *out = NULL;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != kShockwaveFlashEvents) return E_NOINTERFACE;
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

// The framework owns the control; the count only keeps COM's books.
STDMETHODIMP_(ULONG) CFlashUI::AddRef() { return ::InterlockedIncrement(&m_dwRef); }
STDMETHODIMP_(ULONG) CFlashUI::Release() { return ::InterlockedDecrement(&m_dwRef); }

STDMETHODIMP CFlashUI::GetTypeInfoCount(UINT* count)
{
    if (count != NULL) *count = 0;
    return E_NOTIMPL;
}

STDMETHODIMP CFlashUI::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info != NULL) *info = NULL;
    return E_NOTIMPL;
}

STDMETHODIMP CFlashUI::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

// Every player event is ignored.
STDMETHODIMP CFlashUI::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) { return S_OK; }

LRESULT CFlashUI::TranslateAccelerator(MSG* msg) { return TranslateHostAccelerator(msg); }

} // namespace DirectUI
