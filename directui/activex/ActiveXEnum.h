#pragma once

#include <ole2.h>

namespace DirectUI {

// Enumerates the one hosted object, once.
class CActiveXEnum : public IEnumUnknown
{
public:
    explicit CActiveXEnum(IUnknown* object);
    virtual ~CActiveXEnum();

    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP QueryInterface(REFIID iid, LPVOID* out) override;
    STDMETHODIMP Next(ULONG count, IUnknown** out, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumUnknown** out) override;

private:
    LONG m_iPos;
    LONG m_dwRef;
    IUnknown* m_pUnk;
};

} // namespace DirectUI
