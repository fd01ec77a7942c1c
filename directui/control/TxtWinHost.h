#pragma once

#include <windows.h>
#include <richedit.h>
#include <textserv.h>

namespace DirectUI {

class CRichEditUI;

// The text host of a rich edit: answers the windowless text services'
// callbacks with the control's window manager, scroll bars and caret.
// ITextHost's own methods are plain C++ virtuals (thiscall on i386), as the
// text services call them; only IUnknown's are stdcall.
class CTxtWinHost final : public ITextHost
{
public:
    // Host bits.
    enum {
        kAutoWordSelect = 0x01,
        kWordWrap = 0x02,
        kAllowBeep = 0x04,
        kRichText = 0x08,
        kSaveSelection = 0x10,
        kInPlaceActive = 0x20,
        kTransparent = 0x40,
        kTimer = 0x80,
        kCaptured = 0x100,
    };

    CTxtWinHost();

    // Loads the text services for owner with its style and text; false
    // (and nothing held) when they are missing or refuse.
    bool Init(CRichEditUI* owner, DWORD style, LPCWSTR text);
    ITextServices* GetTextServices() const { return m_pServices; }

    void SetClientRect(const RECT& rc);
    const RECT& GetClientRect() const { return m_rcClient; }
    void SetTextColor(COLORREF color);
    void SetFont(HFONT font);
    void SetMaxLength(LONG length);
    LONG GetMaxLength() const { return m_lMaxLength; }
    void SetTransparent(bool transparent);
    void SetActive(bool active);
    void SetParagraphAlignment(DWORD style);
    bool IsCaptured() const { return (m_dwBits & kCaptured) != 0; }
    DWORD GetStyle() const { return m_dwStyle; }
    // The owner is going away: no callback reaches it any more.
    void DetachOwner() { m_pOwner = NULL; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // ITextHost, in its order.
    HDC TxGetDC() override;
    INT TxReleaseDC(HDC dc) override;
    WINBOOL TxShowScrollBar(INT bar, WINBOOL show) override;
    WINBOOL TxEnableScrollBar(INT flags, INT arrows) override;
    WINBOOL TxSetScrollRange(INT bar, LONG minPos, INT maxPos, WINBOOL redraw) override;
    WINBOOL TxSetScrollPos(INT bar, INT pos, WINBOOL redraw) override;
    void TxInvalidateRect(LPCRECT rc, WINBOOL mode) override;
    void TxViewChange(WINBOOL update) override;
    WINBOOL TxCreateCaret(HBITMAP bitmap, INT width, INT height) override;
    WINBOOL TxShowCaret(WINBOOL show) override;
    WINBOOL TxSetCaretPos(INT x, INT y) override;
    WINBOOL TxSetTimer(UINT id, UINT timeout) override;
    void TxKillTimer(UINT id) override;
    void TxScrollWindowEx(INT dx, INT dy, LPCRECT scroll, LPCRECT clip, HRGN update, LPRECT updateRect,
                          UINT flags) override;
    void TxSetCapture(WINBOOL capture) override;
    void TxSetFocus() override;
    void TxSetCursor(HCURSOR cursor, WINBOOL text) override;
    WINBOOL TxScreenToClient(LPPOINT pt) override;
    WINBOOL TxClientToScreen(LPPOINT pt) override;
    HRESULT TxActivate(LONG* oldState) override;
    HRESULT TxDeactivate(LONG newState) override;
    HRESULT TxGetClientRect(LPRECT rc) override;
    HRESULT TxGetViewInset(LPRECT rc) override;
    HRESULT TxGetCharFormat(const CHARFORMATW** format) override;
    HRESULT TxGetParaFormat(const PARAFORMAT** format) override;
    COLORREF TxGetSysColor(int index) override;
    HRESULT TxGetBackStyle(TXTBACKSTYLE* style) override;
    HRESULT TxGetMaxLength(DWORD* length) override;
    HRESULT TxGetScrollBars(DWORD* scrollBars) override;
    HRESULT TxGetPasswordChar(TCHAR* ch) override;
    HRESULT TxGetAcceleratorPos(LONG* pos) override;
    HRESULT TxGetExtent(LPSIZEL extent) override;
    HRESULT OnTxCharFormatChange(const CHARFORMATW* format) override;
    HRESULT OnTxParaFormatChange(const PARAFORMAT* format) override;
    HRESULT TxGetPropertyBits(DWORD mask, DWORD* bits) override;
    HRESULT TxNotify(DWORD code, void* data) override;
    HIMC TxImmGetContext() override;
    void TxImmReleaseContext(HIMC imc) override;
    HRESULT TxGetSelectionBarWidth(LONG* width) override;

private:
    ~CTxtWinHost();
    void ShowBar(INT bar, bool show);

    LONG m_cRefs;
    CRichEditUI* m_pOwner;
    ITextServices* m_pServices;
    HMODULE m_hLibrary;
    DWORD m_dwStyle;
    DWORD m_dwBits;
    LONG m_lMaxLength;
    LONG m_lSelBarWidth;
    RECT m_rcClient;
    SIZEL m_sizelExtent;
    CHARFORMAT2W m_cf;
    PARAFORMAT2 m_pf;
    WCHAR m_chPasswordChar;
    LONG m_lAccelPos;
    HDC m_hdcMeasure;
};

} // namespace DirectUI
