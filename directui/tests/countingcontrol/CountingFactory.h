#pragma once

#include "CountingControl.h"

// Makes counting controls of one variant; a static object of the module.
class CountingFactory : public IClassFactory
{
public:
    explicit CountingFactory(bool windowless) : m_windowless(windowless) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (out == NULL) return E_POINTER;
        *out = iid == IID_IUnknown || iid == IID_IClassFactory ? static_cast<IClassFactory*>(this) : NULL;
        return *out != NULL ? S_OK : E_NOINTERFACE;
    }
    // Static objects: no counting.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (out == NULL) return E_POINTER;
        *out = NULL;
        if (outer != NULL) return CLASS_E_NOAGGREGATION;
        CountingControl* control = new CountingControl(m_windowless);
        HRESULT hr = control->QueryInterface(iid, out);
        control->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    bool m_windowless;
};
