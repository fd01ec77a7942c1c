#pragma once

#include <ole2.h>

namespace DirectUI {

class CActiveXUI;

// The in-place frame given to a hosted object: answers with the framework
// window and keeps the active object; every other request succeeds idle.
class CActiveXFrameWnd : public IOleInPlaceFrame
{
public:
    explicit CActiveXFrameWnd(CActiveXUI* owner);
    virtual ~CActiveXFrameWnd();

    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP QueryInterface(REFIID iid, LPVOID* out) override;

    // IOleInPlaceFrame
    STDMETHODIMP InsertMenus(HMENU shared, LPOLEMENUGROUPWIDTHS widths) override;
    STDMETHODIMP SetMenu(HMENU shared, HOLEMENU ole, HWND activeObject) override;
    STDMETHODIMP RemoveMenus(HMENU shared) override;
    STDMETHODIMP SetStatusText(LPCOLESTR text) override;
    STDMETHODIMP EnableModeless(BOOL enable) override;
    STDMETHODIMP TranslateAccelerator(LPMSG msg, WORD id) override;
    // IOleWindow
    STDMETHODIMP GetWindow(HWND* hwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;
    // IOleInPlaceUIWindow
    STDMETHODIMP GetBorder(LPRECT border) override;
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR name) override;

private:
    LONG m_dwRef;
    HWND m_hwndFrame;
    IOleInPlaceActiveObject* m_pActiveObject;
};

} // namespace DirectUI
