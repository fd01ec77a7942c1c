#include "activex/ActiveXEnum.h"

namespace DirectUI {

CActiveXEnum::CActiveXEnum(IUnknown* object) : m_iPos(0), m_dwRef(1), m_pUnk(object)
{
    if (m_pUnk != NULL) m_pUnk->AddRef();
}

CActiveXEnum::~CActiveXEnum()
{
    if (m_pUnk != NULL) m_pUnk->Release();
}

STDMETHODIMP_(ULONG) CActiveXEnum::AddRef() { return InterlockedIncrement(&m_dwRef); }

STDMETHODIMP_(ULONG) CActiveXEnum::Release()
{
    LONG left = InterlockedDecrement(&m_dwRef);
    if (left == 0) delete this;
    return left;
}

STDMETHODIMP CActiveXEnum::QueryInterface(REFIID iid, LPVOID* out)
{
    if (out == NULL) return E_POINTER;
    *out = NULL;
    if (iid != IID_IUnknown && iid != IID_IEnumUnknown) return E_NOINTERFACE;
    *out = static_cast<IEnumUnknown*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Next(ULONG count, IUnknown** out, ULONG* fetched)
{
    if (fetched != NULL) *fetched = 0;
    if (out == NULL) return E_POINTER;
    if (count == 0) return S_OK;
    if (m_iPos > 0 || m_pUnk == NULL) return S_FALSE;
    ++m_iPos;
    *out = m_pUnk;
    m_pUnk->AddRef();
    if (fetched != NULL) *fetched = 1;
    return count == 1 ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXEnum::Skip(ULONG count)
{
    m_iPos += static_cast<LONG>(count);
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Reset()
{
    m_iPos = 0;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Clone(IEnumUnknown**) { return E_NOTIMPL; }

} // namespace DirectUI
