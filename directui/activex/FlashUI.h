#pragma once

#include "activex/ActiveXUI.h"

namespace DirectUI {

// The Shockwave Flash control: its events are received and ignored, its
// keyboard accelerators work as the web browser's.
class CFlashUI : public CActiveXUI, public IDispatch, public ITranslateAccelerator
{
public:
    CFlashUI();
    ~CFlashUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void ReleaseControl() override;
    bool CreateControl() override;

    // The event receiver (_IShockwaveFlashEvents).
    STDMETHODIMP QueryInterface(REFIID iid, LPVOID* out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* count) override;
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override;

    LRESULT TranslateAccelerator(MSG* msg) override;

    // The player's IShockwaveFlash, held as its dispatch interface.
    IDispatch* GetShockwaveFlash() const { return m_pShockwaveFlash; }

protected:
    void ReleaseFlash();

    IDispatch* m_pShockwaveFlash;
    LONG m_dwRef;
    DWORD m_dwCookie;
    IDispatch* m_pFlashEventHandler;
};

} // namespace DirectUI
