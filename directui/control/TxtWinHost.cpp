#include "control/TxtWinHost.h"

#include "control/RichEditUI.h"
#include "control/ScrollBarUI.h"
#include "manager/WindowUIManager.h"

#include <string.h>

namespace DirectUI {

namespace {

// {8D33F740-CF58-11CE-A89D-00AA006CADC5}
const IID kIIDTextServices = { 0x8d33f740, 0xcf58, 0x11ce, { 0xa8, 0x9d, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5 } };
// {C5BDD8D0-D26E-11CE-A89E-00AA006CADC5}
const IID kIIDTextHost = { 0xc5bdd8d0, 0xd26e, 0x11ce, { 0xa8, 0x9e, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5 } };

const LONG kHimetricPerInch = 2540;

int LogPixels(int index)
{
    HDC screen = ::GetDC(NULL);
    int value = ::GetDeviceCaps(screen, index);
    ::ReleaseDC(NULL, screen);
    return value > 0 ? value : 96;
}

} // namespace

CTxtWinHost::CTxtWinHost()
    : m_cRefs(1), m_pOwner(NULL), m_pServices(NULL), m_hLibrary(NULL), m_dwStyle(0), m_dwBits(0),
      m_lMaxLength(0x7FFF), m_lSelBarWidth(0), m_chPasswordChar(0), m_lAccelPos(-1), m_hdcMeasure(NULL)
{
    SetRectEmpty(&m_rcClient);
    m_sizelExtent.cx = m_sizelExtent.cy = 0;
    memset(&m_cf, 0, sizeof(m_cf));
    memset(&m_pf, 0, sizeof(m_pf));
}

CTxtWinHost::~CTxtWinHost()
{
    if (m_pServices != NULL) {
        m_pServices->OnTxInPlaceDeactivate();
        m_pServices->Release();
    }
    if (m_hLibrary != NULL) ::FreeLibrary(m_hLibrary);
    if (m_hdcMeasure != NULL) ::DeleteDC(m_hdcMeasure);
}

bool CTxtWinHost::Init(CRichEditUI* owner, DWORD style, LPCWSTR text)
{
    m_pOwner = owner;
    m_dwStyle = style;
    // Transparent from the start: Wine's services take the back style when
    // they are created and ignore a later change.
    m_dwBits = kAutoWordSelect | kAllowBeep | kSaveSelection | kTransparent;
    if ((m_dwStyle & (WS_HSCROLL | ES_AUTOHSCROLL)) == 0) m_dwBits |= kWordWrap;
    if (owner->IsRich()) m_dwBits |= kRichText;
    m_lMaxLength = owner->GetLimitText();

    m_cf.cbSize = sizeof(m_cf);
    m_cf.dwMask = CFM_SIZE | CFM_OFFSET | CFM_FACE | CFM_CHARSET | CFM_COLOR | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE;
    CWindowUIManager* manager = owner->GetManager();
    SetFont(manager->GetFont(owner->GetFont()));
    m_pf.cbSize = sizeof(m_pf);
    m_pf.dwMask = PFM_ALL;
    m_pf.wAlignment = PFA_LEFT;
    m_pf.cTabCount = 1;
    m_pf.rgxTabs[0] = 720;
    SetParagraphAlignment(style);

    m_hLibrary = ::LoadLibraryW(L"msftedit.dll");
    if (m_hLibrary == NULL) return false;
    PCreateTextServices create =
        reinterpret_cast<PCreateTextServices>(::GetProcAddress(m_hLibrary, "CreateTextServices"));
    IUnknown* unknown = NULL;
    if (create == NULL || FAILED(create(NULL, this, &unknown)) || unknown == NULL) {
        ::FreeLibrary(m_hLibrary);
        m_hLibrary = NULL;
        return false;
    }
    HRESULT hr = unknown->QueryInterface(kIIDTextServices, reinterpret_cast<void**>(&m_pServices));
    // The services hold their own reference; the first interface goes.
    unknown->Release();
    if (FAILED(hr) || m_pServices == NULL) {
        m_pServices = NULL;
        ::FreeLibrary(m_hLibrary);
        m_hLibrary = NULL;
        return false;
    }
    if (text != NULL && text[0] != L'\0') m_pServices->TxSetText(text);
    return true;
}

void CTxtWinHost::SetClientRect(const RECT& rc)
{
    m_rcClient = rc;
    m_sizelExtent.cx = ::MulDiv(rc.right - rc.left, kHimetricPerInch, LogPixels(LOGPIXELSX));
    m_sizelExtent.cy = ::MulDiv(rc.bottom - rc.top, kHimetricPerInch, LogPixels(LOGPIXELSY));
    if (m_pServices != NULL)
        m_pServices->OnTxPropertyBitsChange(TXTBIT_CLIENTRECTCHANGE | TXTBIT_EXTENTCHANGE,
                                            TXTBIT_CLIENTRECTCHANGE | TXTBIT_EXTENTCHANGE);
}

void CTxtWinHost::SetTextColor(COLORREF color)
{
    m_cf.crTextColor = color;
    m_cf.dwEffects &= ~CFE_AUTOCOLOR;
    if (m_pServices == NULL) return;
    m_pServices->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
    // Wine's services keep the format they were created with: the colour
    // goes to the whole text and the insertion point as well.
    CHARFORMAT2W format;
    memset(&format, 0, sizeof(format));
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR;
    format.crTextColor = color;
    LRESULT ignored = 0;
    m_pServices->TxSendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format), &ignored);
}

void CTxtWinHost::SetFont(HFONT font)
{
    if (font == NULL) return;
    LOGFONTW lf;
    if (::GetObjectW(font, sizeof(lf), &lf) == 0) return;
    int height = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    m_cf.yHeight = height * 1440 / LogPixels(LOGPIXELSY);
    m_cf.yOffset = 0;
    m_cf.dwEffects &= ~(CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE);
    if (lf.lfWeight >= FW_BOLD) m_cf.dwEffects |= CFE_BOLD;
    if (lf.lfItalic) m_cf.dwEffects |= CFE_ITALIC;
    if (lf.lfUnderline) m_cf.dwEffects |= CFE_UNDERLINE;
    m_cf.bCharSet = lf.lfCharSet;
    m_cf.bPitchAndFamily = lf.lfPitchAndFamily;
    lstrcpynW(m_cf.szFaceName, lf.lfFaceName, LF_FACESIZE);
    if (m_pServices != NULL) m_pServices->OnTxPropertyBitsChange(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
}

void CTxtWinHost::SetMaxLength(LONG length)
{
    m_lMaxLength = length;
    if (m_pServices == NULL) return;
    m_pServices->OnTxPropertyBitsChange(TXTBIT_MAXLENGTHCHANGE, TXTBIT_MAXLENGTHCHANGE);
    // Wine's services never ask the host for the limit: tell them directly.
    LRESULT ignored = 0;
    m_pServices->TxSendMessage(EM_EXLIMITTEXT, 0, length, &ignored);
}

void CTxtWinHost::SetTransparent(bool transparent)
{
    if (transparent) m_dwBits |= kTransparent;
    else m_dwBits &= ~kTransparent;
    if (m_pServices != NULL) m_pServices->OnTxPropertyBitsChange(TXTBIT_BACKSTYLECHANGE, 0);
}

void CTxtWinHost::SetActive(bool active)
{
    if (m_pServices == NULL) return;
    if (active) {
        m_dwBits |= kInPlaceActive;
        m_pServices->OnTxInPlaceActivate(&m_rcClient);
    } else {
        m_dwBits &= ~kInPlaceActive;
        m_pServices->OnTxInPlaceDeactivate();
    }
}

void CTxtWinHost::SetParagraphAlignment(DWORD style)
{
    if ((style & ES_CENTER) != 0) m_pf.wAlignment = PFA_CENTER;
    else if ((style & ES_RIGHT) != 0) m_pf.wAlignment = PFA_RIGHT;
    else m_pf.wAlignment = PFA_LEFT;
}

HRESULT STDMETHODCALLTYPE CTxtWinHost::QueryInterface(REFIID riid, void** object)
{
    if (object == NULL) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kIIDTextHost)) {
        AddRef();
        *object = static_cast<ITextHost*>(this);
        return S_OK;
    }
    *object = NULL;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CTxtWinHost::AddRef() { return ++m_cRefs; }

ULONG STDMETHODCALLTYPE CTxtWinHost::Release()
{
    ULONG left = --m_cRefs;
    if (left == 0) delete this;
    return left;
}

HDC CTxtWinHost::TxGetDC()
{
    CWindowUIManager* manager = m_pOwner != NULL ? m_pOwner->GetManager() : NULL;
    if (manager != NULL && manager->GetPaintDC() != NULL) return manager->GetPaintDC();
    // Before the window exists the services still measure.
    if (m_hdcMeasure == NULL) m_hdcMeasure = ::CreateCompatibleDC(NULL);
    return m_hdcMeasure;
}

INT CTxtWinHost::TxReleaseDC(HDC) { return 1; }

void CTxtWinHost::ShowBar(INT bar, bool show)
{
    CScrollBarUI* vertical = m_pOwner->GetVerticalScrollBar();
    CScrollBarUI* horizontal = m_pOwner->GetHorizontalScrollBar();
    bool changed = false;
    if ((bar == SB_VERT || bar == SB_BOTH) && vertical != NULL && vertical->IsVisible() != show) {
        vertical->SetVisible(show);
        changed = true;
    }
    if ((bar == SB_HORZ || bar == SB_BOTH) && horizontal != NULL && horizontal->IsVisible() != show) {
        horizontal->SetVisible(show);
        changed = true;
    }
    if (changed) m_pOwner->OnScrollBarsChanged();
}

WINBOOL CTxtWinHost::TxShowScrollBar(INT bar, WINBOOL show)
{
    if (m_pOwner == NULL) return FALSE;
    ShowBar(bar, show != FALSE);
    return TRUE;
}

WINBOOL CTxtWinHost::TxEnableScrollBar(INT flags, INT arrows)
{
    if (m_pOwner == NULL) return FALSE;
    bool vertical = flags == SB_VERT || flags == SB_BOTH || m_pOwner->GetVerticalScrollBar() != NULL;
    bool horizontal = flags == SB_HORZ || flags == SB_BOTH || m_pOwner->GetHorizontalScrollBar() != NULL;
    if ((vertical && m_pOwner->GetVerticalScrollBar() == NULL)
        || (horizontal && m_pOwner->GetHorizontalScrollBar() == NULL)) {
        m_pOwner->EnableScrollBars(vertical, horizontal);
        // A new bar starts hidden until the services ask for it.
        if (m_pOwner->GetVerticalScrollBar() != NULL && (flags == SB_VERT || flags == SB_BOTH))
            m_pOwner->GetVerticalScrollBar()->SetVisible(false);
        if (m_pOwner->GetHorizontalScrollBar() != NULL && (flags == SB_HORZ || flags == SB_BOTH))
            m_pOwner->GetHorizontalScrollBar()->SetVisible(false);
    }
    ShowBar(flags, arrows != ESB_DISABLE_BOTH);
    return TRUE;
}

WINBOOL CTxtWinHost::TxSetScrollRange(INT bar, LONG minPos, INT maxPos, WINBOOL)
{
    if (m_pOwner == NULL) return FALSE;
    CScrollBarUI* scrollBar = bar == SB_VERT ? m_pOwner->GetVerticalScrollBar() : m_pOwner->GetHorizontalScrollBar();
    if (scrollBar == NULL) return FALSE;
    LONGLONG extent = bar == SB_VERT ? m_rcClient.bottom - m_rcClient.top : m_rcClient.right - m_rcClient.left;
    LONGLONG span = static_cast<LONGLONG>(maxPos) - minPos;
    if (span > extent) {
        LONGLONG range = span - extent;
        scrollBar->SetScrollRange(range > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(range));
        ShowBar(bar, true);
    } else {
        scrollBar->SetScrollRange(0);
        ShowBar(bar, false);
    }
    return TRUE;
}

WINBOOL CTxtWinHost::TxSetScrollPos(INT bar, INT pos, WINBOOL)
{
    if (m_pOwner == NULL) return FALSE;
    CScrollBarUI* scrollBar = bar == SB_VERT ? m_pOwner->GetVerticalScrollBar() : m_pOwner->GetHorizontalScrollBar();
    if (scrollBar == NULL) return FALSE;
    scrollBar->SetScrollPos(pos);
    return TRUE;
}

void CTxtWinHost::TxInvalidateRect(LPCRECT rc, WINBOOL)
{
    if (m_pOwner == NULL || m_pOwner->GetManager() == NULL) return;
    m_pOwner->GetManager()->Invalidate(rc != NULL ? *rc : m_rcClient);
}

void CTxtWinHost::TxViewChange(WINBOOL)
{
    if (m_pOwner != NULL && m_pOwner->OnTxViewChanged()) m_pOwner->Invalidate();
}

WINBOOL CTxtWinHost::TxCreateCaret(HBITMAP bitmap, INT width, INT height)
{
    if (m_pOwner == NULL || m_pOwner->GetManager() == NULL) return FALSE;
    // A width of 0 means the system's border width, as for CreateCaret.
    if (width <= 0) width = ::GetSystemMetrics(SM_CXBORDER);
    return m_pOwner->GetManager()->CreateCaret(bitmap, width, height);
}

WINBOOL CTxtWinHost::TxShowCaret(WINBOOL show)
{
    if (m_pOwner == NULL || m_pOwner->GetManager() == NULL) return FALSE;
    // Read-only text and a control that cannot be edited show no caret.
    if (show && (m_pOwner->IsReadOnly() || !m_pOwner->IsEnabled())) show = FALSE;
    return m_pOwner->GetManager()->ShowCaret(show != FALSE);
}

WINBOOL CTxtWinHost::TxSetCaretPos(INT x, INT y)
{
    if (m_pOwner == NULL || m_pOwner->GetManager() == NULL) return FALSE;
    return m_pOwner->GetManager()->SetCaretPos(m_pOwner, x, y);
}

WINBOOL CTxtWinHost::TxSetTimer(UINT id, UINT timeout)
{
    if (m_pOwner == NULL || m_pOwner->GetManager() == NULL) return FALSE;
    m_dwBits |= kTimer;
    return m_pOwner->GetManager()->SetTimer(m_pOwner, id, timeout);
}

void CTxtWinHost::TxKillTimer(UINT id)
{
    if (m_pOwner == NULL || m_pOwner->GetManager() == NULL) return;
    m_pOwner->GetManager()->KillTimer(m_pOwner, id);
    m_dwBits &= ~kTimer;
}

void CTxtWinHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT) {}

void CTxtWinHost::TxSetCapture(WINBOOL capture)
{
    if (m_pOwner == NULL || m_pOwner->GetManager() == NULL) return;
    if (capture) {
        m_dwBits |= kCaptured;
        m_pOwner->GetManager()->SetCapture();
    } else {
        m_dwBits &= ~kCaptured;
        m_pOwner->GetManager()->ReleaseCapture();
    }
}

void CTxtWinHost::TxSetFocus()
{
    if (m_pOwner != NULL) m_pOwner->SetFocus();
}

void CTxtWinHost::TxSetCursor(HCURSOR cursor, WINBOOL) { ::SetCursor(cursor); }

WINBOOL CTxtWinHost::TxScreenToClient(LPPOINT pt)
{
    if (m_pOwner == NULL || m_pOwner->GetManager() == NULL) return FALSE;
    return ::ScreenToClient(m_pOwner->GetManager()->GetPaintWindow(), pt);
}

WINBOOL CTxtWinHost::TxClientToScreen(LPPOINT pt)
{
    if (m_pOwner == NULL || m_pOwner->GetManager() == NULL) return FALSE;
    return ::ClientToScreen(m_pOwner->GetManager()->GetPaintWindow(), pt);
}

HRESULT CTxtWinHost::TxActivate(LONG*) { return S_OK; }
HRESULT CTxtWinHost::TxDeactivate(LONG) { return S_OK; }

HRESULT CTxtWinHost::TxGetClientRect(LPRECT rc)
{
    *rc = m_rcClient;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetViewInset(LPRECT rc)
{
    SetRectEmpty(rc);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetCharFormat(const CHARFORMATW** format)
{
    *format = reinterpret_cast<const CHARFORMATW*>(&m_cf);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetParaFormat(const PARAFORMAT** format)
{
    *format = reinterpret_cast<const PARAFORMAT*>(&m_pf);
    return S_OK;
}

COLORREF CTxtWinHost::TxGetSysColor(int index)
{
    COLORREF color = ::GetSysColor(index);
    // Pure black is the layered window's transparent colour.
    return color == RGB(0, 0, 0) ? RGB(0, 0, 1) : color;
}

HRESULT CTxtWinHost::TxGetBackStyle(TXTBACKSTYLE* style)
{
    *style = (m_dwBits & kTransparent) != 0 ? TXTBACK_TRANSPARENT : TXTBACK_OPAQUE;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetMaxLength(DWORD* length)
{
    *length = static_cast<DWORD>(m_lMaxLength);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetScrollBars(DWORD* scrollBars)
{
    *scrollBars = m_dwStyle & (WS_VSCROLL | WS_HSCROLL | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_DISABLENOSCROLL);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetPasswordChar(TCHAR* ch)
{
    *ch = m_chPasswordChar;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetAcceleratorPos(LONG* pos)
{
    *pos = m_lAccelPos;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetExtent(LPSIZEL extent)
{
    *extent = m_sizelExtent;
    return S_OK;
}

HRESULT CTxtWinHost::OnTxCharFormatChange(const CHARFORMATW*) { return S_OK; }
HRESULT CTxtWinHost::OnTxParaFormatChange(const PARAFORMAT*) { return S_OK; }

HRESULT CTxtWinHost::TxGetPropertyBits(DWORD mask, DWORD* bits)
{
    DWORD all = 0;
    if ((m_dwBits & kRichText) != 0) all |= TXTBIT_RICHTEXT;
    if ((m_dwStyle & ES_MULTILINE) != 0) all |= TXTBIT_MULTILINE;
    if ((m_dwStyle & ES_READONLY) != 0) all |= TXTBIT_READONLY;
    if ((m_dwStyle & ES_PASSWORD) != 0) all |= TXTBIT_USEPASSWORD;
    if ((m_dwStyle & ES_NOHIDESEL) == 0) all |= TXTBIT_HIDESELECTION;
    if ((m_dwBits & kAutoWordSelect) != 0) all |= TXTBIT_AUTOWORDSEL;
    if ((m_dwBits & kWordWrap) != 0) all |= TXTBIT_WORDWRAP;
    if ((m_dwBits & kAllowBeep) != 0) all |= TXTBIT_ALLOWBEEP;
    if ((m_dwBits & kSaveSelection) != 0) all |= TXTBIT_SAVESELECTION;
    *bits = all & mask;
    return S_OK;
}

HRESULT CTxtWinHost::TxNotify(DWORD code, void* data)
{
    if (code == EN_REQUESTRESIZE && data != NULL) {
        const REQRESIZE* request = static_cast<const REQRESIZE*>(data);
        m_rcClient.right = m_rcClient.left + (request->rc.right - request->rc.left);
        m_rcClient.bottom = m_rcClient.top + (request->rc.bottom - request->rc.top);
    }
    if (m_pOwner != NULL) m_pOwner->OnTxNotify(code, data);
    return S_OK;
}

HIMC CTxtWinHost::TxImmGetContext() { return NULL; }
void CTxtWinHost::TxImmReleaseContext(HIMC) {}

HRESULT CTxtWinHost::TxGetSelectionBarWidth(LONG* width)
{
    *width = m_lSelBarWidth;
    return S_OK;
}

} // namespace DirectUI
