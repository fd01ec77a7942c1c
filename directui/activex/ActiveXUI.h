#pragma once

#include "control/ControlUI.h"

#include <ole2.h>

namespace DirectUI {

class CActiveXCtrl;

// Hosts an OLE/ActiveX control in a framework window: creates it by class
// id (from a named module or the system registration), is its client site,
// activates it in place (windowless or in a child host window) and keeps
// its rectangle and visibility in step with the framework control.
class CActiveXUI : public CControlUI, public IMessageFilterUI
{
    friend class CActiveXCtrl;
    friend class CActiveXWnd;

public:
    CActiveXUI();
    ~CActiveXUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool visible = true) override;
    void SetVisibleByParent(bool visible) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void Paint(HDC dc, const RECT& rcPaint) override;
    void PaintStateImage(HDC dc) override;
    void PaintText(HDC dc) override;

    virtual void ReleaseControl();
    virtual bool CreateControl();

    LRESULT FilterMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

    // A text starting with "{" is a class id string, anything else a
    // program id; an all-zero or unknown id is refused.
    bool SetClsid(LPCWSTR text);
    bool SetClsid(const CLSID& clsid);
    CLSID GetClsid() const { return m_clsid; }
    void SetModuleName(LPCWSTR name);
    CUIString GetModuleName() const { return m_sModuleName; }
    void SetDelayCreate(bool delay);
    bool IsDelayCreate() const { return m_bDelayCreate; }
    bool IsCreated() const { return m_bCreated; }
    // The hosted object's interface iid, or E_FAIL/E_NOINTERFACE.
    HRESULT GetControl(const IID& iid, LPVOID* out);
    HWND GetHostWindow() const { return m_hwndHost; }

protected:
    // Connects sink to the object's events of interface iid; cookie keeps the link.
    bool ConnectEvents(REFIID iid, IUnknown* sink, DWORD& cookie);
    void DisconnectEvents(REFIID iid, DWORD& cookie);
    // Keyboard messages for the host window (or a window inside it) go to
    // the object's in-place active part; 0 when it translated one.
    LRESULT TranslateHostAccelerator(MSG* msg);

    CLSID m_clsid;
    CUIString m_sModuleName;
    bool m_bCreated;
    bool m_bDelayCreate;
    IOleObject* m_pUnk;
    CActiveXCtrl* m_pControl;
    HWND m_hwndHost;
    // The named module, freed after the object it made.
    HMODULE m_hModule;

private:
    void ReleaseObject();
    void SyncHostVisibility();
};

} // namespace DirectUI
