#include "control/RichEditUI.h"

#include "control/LayoutMath.h"
#include "control/ScrollBarUI.h"
#include "control/StateImage.h"
#include "control/TxtWinHost.h"
#include "core/SkinValues.h"
#include "render/ClipScope.h"
#include "render/GdiPainter.h"

#include <imm.h>
#include <string.h>

namespace DirectUI {

namespace {

bool IsButtonMessage(UINT msg)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}

} // namespace

CRichEditUI::CRichEditUI()
    : m_pTwh(NULL), m_bWantTab(true), m_bWantReturn(true), m_bWantCtrlReturn(true), m_bRich(true),
      m_bReadOnly(false), m_dwTextColor(0), m_iFont(-1), m_iLimitText(0x7FFF), m_lTwhStyle(ES_MULTILINE),
      m_bInited(false), m_uButtonState(0), m_dwTipValueColor(0xFFBAC0C5), m_bLayingOut(false)
{
    SetRectEmpty(&m_rcTextPadding);
}

CRichEditUI::~CRichEditUI()
{
    if (m_pManager != NULL) m_pManager->RemoveMessageFilter(this);
    if (m_pTwh != NULL) {
        m_pTwh->DetachOwner();
        m_pTwh->Release();
        m_pTwh = NULL;
    }
}

LPCWSTR CRichEditUI::GetControlClass() const { return L"RichEditUI"; }

LPVOID CRichEditUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"RichEdit") == 0) return this;
    return CContainerUI::GetInterface(name);
}

HRESULT CRichEditUI::TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) const
{
    if (m_pTwh == NULL) return S_FALSE;
    if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
        bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
        if (!m_bWantReturn || (ctrl && !m_bWantCtrlReturn)) {
            if (m_pManager != NULL) m_pManager->SendNotify(const_cast<CRichEditUI*>(this), L"return");
            return S_OK;
        }
    }
    LRESULT ignored = 0;
    return m_pTwh->GetTextServices()->TxSendMessage(msg, wParam, lParam, result != NULL ? result : &ignored);
}

bool CRichEditUI::OnTxViewChanged() { return true; }

void CRichEditUI::OnTxNotify(DWORD code, void* data)
{
    // The services also report focus and updates without any data.
    if (data == NULL || m_pManager == NULL) return;
    switch (code) {
    case EN_MSGFILTER:
    case EN_SELCHANGE:
    case EN_DROPFILES:
    case EN_PROTECTED:
    case EN_STOPNOUNDO:
    case EN_SAVECLIPBOARD:
    case EN_OLEOPFAILED:
    case EN_OBJECTPOSITIONS:
    case EN_LINK:
    case EN_DRAGDROPDONE: {
        HWND window = m_pManager->GetPaintWindow();
        NMHDR* header = static_cast<NMHDR*>(data);
        header->hwndFrom = window;
        header->idFrom = static_cast<UINT_PTR>(::GetWindowLongPtrW(window, GWLP_ID));
        header->code = code;
        ::SendMessageW(window, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
        break;
    }
    default:
        break;
    }
}

CUIString CRichEditUI::GetText() const
{
    if (m_pTwh == NULL) return m_sText;
    long length = GetTextLength();
    if (length <= 0) return CUIString();
    // Room for the terminator; the services take the size in bytes.
    WCHAR* buffer = new WCHAR[length + 1];
    buffer[0] = L'\0';
    GETTEXTEX request = { static_cast<DWORD>((length + 1) * sizeof(WCHAR)), GT_DEFAULT, 1200, NULL, NULL };
    TxSendMessage(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(buffer), NULL);
    buffer[length] = L'\0';
    CUIString text(buffer);
    delete[] buffer;
    return text;
}

long CRichEditUI::GetTextLength() const
{
    GETTEXTLENGTHEX request = { GTL_DEFAULT, 1200 };
    LRESULT length = 0;
    TxSendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0, &length);
    return static_cast<long>(length);
}

void CRichEditUI::SetText(LPCWSTR text)
{
    m_sText = text;
    if (m_pTwh == NULL) return;
    ApplyTextColor(m_dwTextColor);
    SetSel(0, -1);
    ReplaceSel(m_sText, false);
}

void CRichEditUI::ShowTip()
{
    SetSel(0, -1);
    ReplaceSel(m_sTipValue, false);
    ApplyTextColor(m_dwTipValueColor);
}

LRESULT CRichEditUI::SetSel(long start, long end)
{
    CHARRANGE range = { start, end };
    LRESULT result = 0;
    TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range), &result);
    return result;
}

void CRichEditUI::ReplaceSel(LPCWSTR text, bool canUndo)
{
    TxSendMessage(EM_REPLACESEL, canUndo ? TRUE : FALSE, reinterpret_cast<LPARAM>(text), NULL);
}

void CRichEditUI::ApplyTextColor(DWORD color)
{
    if (m_pTwh == NULL) return;
    if (color == 0 && m_pManager != NULL) color = m_pManager->GetDefaultFontColor();
    COLORREF ref = ArgbToColorRef(color);
    // Pure black is a layered window's transparent colour.
    if (ref == RGB(0, 0, 0) && m_pManager != NULL && m_pManager->IsLayered()) ref = RGB(0, 0, 1);
    m_pTwh->SetTextColor(ref);
}

void CRichEditUI::SetFont(int index)
{
    m_iFont = index;
    if (m_pTwh != NULL && m_pManager != NULL) m_pTwh->SetFont(m_pManager->GetFont(m_iFont));
}

void CRichEditUI::SetTextColor(DWORD color)
{
    m_dwTextColor = color;
    ApplyTextColor(color);
}

void CRichEditUI::SetLimitText(int length)
{
    m_iLimitText = length <= 0 ? 0x7FFF : length;
    if (m_pTwh != NULL) m_pTwh->SetMaxLength(m_iLimitText);
}

void CRichEditUI::SetNormalImage(LPCWSTR image)
{
    m_sNormalImage = image;
    Invalidate();
}

void CRichEditUI::SetHotImage(LPCWSTR image)
{
    m_sHotImage = image;
    Invalidate();
}

void CRichEditUI::SetFocusedImage(LPCWSTR image)
{
    m_sFocusedImage = image;
    Invalidate();
}

void CRichEditUI::SetDisabledImage(LPCWSTR image)
{
    m_sDisabledImage = image;
    Invalidate();
}

void CRichEditUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    Invalidate();
}

void CRichEditUI::SetEnabled(bool enabled)
{
    if (IsEnabled() != enabled && m_pManager != NULL) {
        if (enabled) ApplyTextColor(m_dwTextColor);
        else if (m_pTwh != NULL) m_pTwh->SetTextColor(ArgbToColorRef(m_pManager->GetDefaultDisabledColor()));
    }
    CContainerUI::SetEnabled(enabled);
}

void CRichEditUI::InitSelf()
{
    if (m_bInited || m_pManager == NULL) return;
    m_bInited = true;
    CTxtWinHost* host = new CTxtWinHost;
    if (!host->Init(this, m_lTwhStyle, m_sText)) {
        host->Release();
        return;
    }
    m_pTwh = host;
    ApplyTextColor(m_dwTextColor);
    m_pTwh->SetTransparent(true);
    // Wine's services read the limit only when told it changed.
    m_pTwh->SetMaxLength(m_iLimitText);
    LRESULT ignored = 0;
    m_pTwh->GetTextServices()->TxSendMessage(EM_SETLANGOPTIONS, 0, 0, &ignored);
    m_pTwh->SetActive(true);
    m_pManager->AddMessageFilter(this);
    if (IsEnabled()) {
        if (m_sText.IsEmpty() && !m_sTipValue.IsEmpty()) ShowTip();
    } else {
        m_pTwh->SetTextColor(ArgbToColorRef(m_pManager->GetDefaultDisabledColor()));
    }
}

RECT CRichEditUI::GetTextClientRect() const
{
    RECT rc = DeflatedRect(InnerRect(), m_rcTextPadding);
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    return rc;
}

void CRichEditUI::OnScrollBarsChanged()
{
    // Placing again may make the services show or hide a bar once more.
    if (m_bLayingOut || IsRectEmpty(&m_rcItem)) return;
    SetPos(m_rcItem);
}

void CRichEditUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    m_bLayingOut = true;
    RECT client = GetTextClientRect();
    if (m_pTwh != NULL) {
        RECT before = m_pTwh->GetClientRect();
        m_pTwh->SetClientRect(client);
        // Wine's services scroll a view without height down to its caret
        // line; the first real placement shows the text from its start.
        if (IsRectEmpty(&before) && !IsRectEmpty(&client)) SendScroll(WM_VSCROLL, SB_TOP);
    }
    m_bLayingOut = false;

    RECT inner = InsetRect();
    bool vertical = m_pVerticalScrollBar != NULL && m_pVerticalScrollBar->IsVisible();
    bool horizontal = m_pHorizontalScrollBar != NULL && m_pHorizontalScrollBar->IsVisible();
    if (vertical) {
        RECT bar = { inner.right - m_pVerticalScrollBar->GetFixedWidth(), inner.top, inner.right, inner.bottom };
        if (horizontal) bar.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
        m_pVerticalScrollBar->SetPos(bar);
    }
    if (horizontal) {
        RECT bar = { inner.left, inner.bottom - m_pHorizontalScrollBar->GetFixedHeight(), inner.right, inner.bottom };
        if (vertical) bar.right -= m_pVerticalScrollBar->GetFixedWidth();
        m_pHorizontalScrollBar->SetPos(bar);
    }

    // Children stack like a vertical layout in the text area.
    int count = 0, fixedTotal = 0, adjustable = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = ItemAt(i);
        if (!child->IsVisible() || child->IsFloat()) continue;
        ++count;
        SIZE available = { client.right - client.left, client.bottom - client.top };
        SIZE size = child->PreferredSize(available);
        if (size.cy == 0) ++adjustable;
        else fixedTotal += size.cy;
    }
    if (count == 0) return;
    int height = client.bottom - client.top;
    int share = adjustable > 0 ? (height - m_iChildPadding * (count - 1) - fixedTotal) / adjustable : 0;
    if (share < 0) share = 0;
    int y = client.top;
    int scroll = m_pVerticalScrollBar != NULL ? m_pVerticalScrollBar->GetScrollPos() : 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = ItemAt(i);
        if (!child->IsVisible() || child->IsFloat()) continue;
        SIZE available = { client.right - client.left, height };
        SIZE size = child->PreferredSize(available);
        int cy = ClampToLimits(size.cy == 0 ? share : size.cy, child->GetMinHeight(), child->GetMaxHeight());
        RECT place = { client.left, y - scroll, client.right, y - scroll + cy };
        child->SetPos(place);
        y += cy + m_iChildPadding;
    }
    int needed = y - m_iChildPadding - client.top;
    if (m_pVerticalScrollBar != NULL && needed > height) m_pVerticalScrollBar->SetScrollRange(needed - height);
}

void CRichEditUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && event.Type >= UIEVENT_MOUSEBEGIN && event.Type <= UIEVENT_MOUSEEND) {
        if (m_pParent != NULL) m_pParent->HandleEvent(event);
        else CControlUI::HandleEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETCURSOR:
        if (IsEnabled() && m_pTwh != NULL) {
            RECT client = m_pTwh->GetClientRect();
            if (PtInRect(&client, event.ptMouse)) {
                POINT pt = event.ptMouse;
                m_pTwh->GetTextServices()->OnTxSetCursor(DVASPECT_CONTENT, -1, NULL, NULL, m_pManager->GetPaintDC(),
                                                          NULL, &client, pt.x, pt.y);
                return;
            }
        }
        break;
    case UIEVENT_SETFOCUS:
        if (m_pTwh != NULL) {
            m_pTwh->SetActive(true);
            if (!m_sTipValue.IsEmpty() && GetText() == m_sTipValue.GetData()) {
                SetText(L"");
                ApplyTextColor(m_dwTextColor);
            }
            TxSendMessage(WM_SETFOCUS, 0, 0, NULL);
        }
        m_bFocused = true;
        Invalidate();
        return;
    case UIEVENT_KILLFOCUS:
        if (m_pTwh != NULL) {
            m_pTwh->SetActive(true);
            if (GetTextLength() == 0 && !m_sTipValue.IsEmpty()) ShowTip();
            TxSendMessage(WM_KILLFOCUS, 0, 0, NULL);
        }
        m_bFocused = false;
        Invalidate();
        return;
    case UIEVENT_TIMER:
        if (m_pTwh != NULL) TxSendMessage(WM_TIMER, event.wParam, event.lParam, NULL);
        break;
    case UIEVENT_SCROLLWHEEL:
        // With Ctrl the filter has given the wheel to the services (zoom).
        if ((event.wKeyState & MK_CONTROL) != 0) return;
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
    case UIEVENT_KEYDOWN:
    case UIEVENT_KEYUP:
    case UIEVENT_CHAR:
    case UIEVENT_SYSKEY:
        return;
    case UIEVENT_MOUSEENTER:
        if (IsEnabled()) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSELEAVE:
        if (IsEnabled()) {
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
    default:
        break;
    }
    CContainerUI::HandleEvent(event);
}

LRESULT CRichEditUI::FilterMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled)
{
    if (!IsVisible() || !IsEnabled() || m_pTwh == NULL || m_pManager == NULL) return 0;
    bool mouse = msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST;
    if (mouse && !IsMouseEnabled()) return 0;
    if (msg == WM_MOUSEWHEEL && (LOWORD(wParam) & MK_CONTROL) == 0) return 0;
    if (msg == WM_IME_COMPOSITION) {
        HWND window = m_pManager->GetPaintWindow();
        HIMC imc = ::ImmGetContext(window);
        if (imc != NULL) {
            POINT caret;
            ::GetCaretPos(&caret);
            COMPOSITIONFORM form = { CFS_POINT, caret, { 0, 0, 0, 0 } };
            ::ImmSetCompositionWindow(imc, &form);
            ::ImmReleaseContext(window, imc);
        }
        return 0;
    }
    bool keyboard = msg >= WM_KEYFIRST && msg <= WM_KEYLAST;
    if (mouse || msg == WM_SETCURSOR) {
        if (!m_pTwh->IsCaptured()) {
            POINT pt;
            if (msg == WM_SETCURSOR || msg == WM_MOUSEWHEEL) {
                ::GetCursorPos(&pt);
                ::ScreenToClient(m_pManager->GetPaintWindow(), &pt);
            } else {
                pt.x = static_cast<short>(LOWORD(lParam));
                pt.y = static_cast<short>(HIWORD(lParam));
            }
            if (IsButtonMessage(msg) && m_pManager->FindControl(pt) != this) return 0;
            RECT client = m_pTwh->GetClientRect();
            if (!PtInRect(&client, pt) || m_pManager->IsCaptured()) return 0;
        }
        if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN) SetFocus();
    } else if (keyboard) {
        if (!IsFocused()) return 0;
    } else if (msg == WM_CONTEXTMENU) {
        POINT pt = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
        ::ScreenToClient(m_pManager->GetPaintWindow(), &pt);
        if (m_pManager->FindControl(pt) != this) return 0;
    } else if (msg != WM_HELP) {
        return 0;
    }
    LRESULT result = 0;
    HRESULT hr = TxSendMessage(msg, wParam, lParam, &result);
    if (hr != S_OK && !keyboard && msg != WM_IME_CHAR && !(mouse && m_pTwh->IsCaptured())) return result;
    if (msg != WM_SETCURSOR && msg != WM_HELP) handled = true;
    return result;
}

void CRichEditUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    bool yes = ParseBoolValue(value);
    if (wcscmp(name, L"vscrollbar") == 0) {
        if (yes) m_lTwhStyle |= WS_VSCROLL | ES_DISABLENOSCROLL;
    } else if (wcscmp(name, L"autovscroll") == 0) {
        if (yes) m_lTwhStyle |= ES_AUTOVSCROLL;
    } else if (wcscmp(name, L"hscrollbar") == 0) {
        if (yes) m_lTwhStyle |= WS_HSCROLL | ES_DISABLENOSCROLL;
    } else if (wcscmp(name, L"autohscroll") == 0) {
        if (yes) m_lTwhStyle |= ES_AUTOHSCROLL;
    } else if (wcscmp(name, L"wanttab") == 0) {
        SetWantTab(yes);
    } else if (wcscmp(name, L"wantreturn") == 0) {
        SetWantReturn(yes);
    } else if (wcscmp(name, L"wantctrlreturn") == 0) {
        SetWantCtrlReturn(yes);
    } else if (wcscmp(name, L"rich") == 0) {
        SetRich(yes);
    } else if (wcscmp(name, L"multiline") == 0) {
        if (wcscmp(value, L"false") == 0) m_lTwhStyle &= ~ES_MULTILINE;
    } else if (wcscmp(name, L"readonly") == 0) {
        if (yes) {
            m_lTwhStyle |= ES_READONLY;
            m_bReadOnly = true;
        }
    } else if (wcscmp(name, L"password") == 0) {
        if (yes) m_lTwhStyle |= ES_PASSWORD;
    } else if (wcscmp(name, L"align") == 0) {
        if (wcsstr(value, L"left") != NULL) m_lTwhStyle &= ~(ES_CENTER | ES_RIGHT);
        if (wcsstr(value, L"center") != NULL) {
            m_lTwhStyle &= ~(ES_CENTER | ES_RIGHT);
            m_lTwhStyle |= ES_CENTER;
        }
        if (wcsstr(value, L"right") != NULL) {
            m_lTwhStyle &= ~(ES_CENTER | ES_RIGHT);
            m_lTwhStyle |= ES_RIGHT;
        }
    } else if (wcscmp(name, L"font") == 0) {
        SetFont(ParseIntValue(value));
    } else if (wcscmp(name, L"textcolor") == 0) {
        SetTextColor(ParseColorValue(value));
    } else if (wcscmp(name, L"maxchar") == 0) {
        SetLimitText(ParseIntValue(value));
    } else if (wcscmp(name, L"normalimage") == 0) {
        SetNormalImage(value);
    } else if (wcscmp(name, L"hotimage") == 0) {
        SetHotImage(value);
    } else if (wcscmp(name, L"focusedimage") == 0) {
        SetFocusedImage(value);
    } else if (wcscmp(name, L"disabledimage") == 0) {
        SetDisabledImage(value);
    } else if (wcscmp(name, L"textpadding") == 0) {
        RECT rc = { 0, 0, 0, 0 };
        ParseRectValue(value, rc);
        SetTextPadding(rc);
    } else if (wcscmp(name, L"tipvalue") == 0) {
        SetTipValue(value);
    } else if (wcscmp(name, L"tipvaluecolor") == 0) {
        SetTipValueColor(ParseColorValue(value));
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

SIZE CRichEditUI::PreferredSize(SIZE available) { return CControlUI::PreferredSize(available); }

void CRichEditUI::PaintStateImage(HDC dc)
{
    CUIString* image = NULL;
    if (!IsEnabled()) image = &m_sDisabledImage;
    else if (IsFocused()) image = &m_sFocusedImage;
    else if ((m_uButtonState & UISTATE_HOT) != 0) image = &m_sHotImage;
    DrawStateOrNormalImage(*this, dc, image, m_sNormalImage);
}

void CRichEditUI::Paint(HDC dc, const RECT& rcPaint)
{
    RECT rcTemp;
    if (!IntersectRect(&rcTemp, &rcPaint, &m_rcItem)) return;
    CClipScope clip;
    CClipScope::ClipToRect(dc, rcTemp, clip);
    CControlUI::Paint(dc, rcPaint);
    if (m_pTwh != NULL) {
        RECT client = m_pTwh->GetClientRect();
        RECTL bounds = { client.left, client.top, client.right, client.bottom };
        m_pTwh->GetTextServices()->TxDraw(DVASPECT_CONTENT, 0, NULL, NULL, dc, NULL, &bounds, NULL, NULL, NULL, 0,
                                          TXTVIEW_ACTIVE);
    }
    PaintChildren(dc, rcPaint);
    PaintScrollBars(dc, rcPaint);
}

void CRichEditUI::SendScroll(UINT msg, WORD code) { TxSendMessage(msg, MAKEWPARAM(code, 0), 0, NULL); }

void CRichEditUI::SetScrollPos(SIZE pos)
{
    CContainerUI::SetScrollPos(pos);
    if (m_pTwh == NULL) return;
    if (m_pVerticalScrollBar != NULL && m_pVerticalScrollBar->IsVisible())
        TxSendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, m_pVerticalScrollBar->GetScrollPos()), 0, NULL);
    if (m_pHorizontalScrollBar != NULL && m_pHorizontalScrollBar->IsVisible())
        TxSendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, m_pHorizontalScrollBar->GetScrollPos()), 0, NULL);
}

void CRichEditUI::LineUp() { SendScroll(WM_VSCROLL, SB_LINEUP); }

void CRichEditUI::LineDown()
{
    bool atEnd = m_pVerticalScrollBar != NULL
                 && m_pVerticalScrollBar->GetScrollPos() >= m_pVerticalScrollBar->GetScrollRange();
    SendScroll(WM_VSCROLL, SB_LINEDOWN);
    if (atEnd && m_pVerticalScrollBar != NULL) m_pVerticalScrollBar->SetScrollPos(m_pVerticalScrollBar->GetScrollRange());
}

void CRichEditUI::PageUp() { SendScroll(WM_VSCROLL, SB_PAGEUP); }
void CRichEditUI::PageDown() { SendScroll(WM_VSCROLL, SB_PAGEDOWN); }
void CRichEditUI::HomeUp() { SendScroll(WM_VSCROLL, SB_TOP); }
void CRichEditUI::EndDown() { SendScroll(WM_VSCROLL, SB_BOTTOM); }
void CRichEditUI::LineLeft() { SendScroll(WM_HSCROLL, SB_LINELEFT); }
void CRichEditUI::LineRight() { SendScroll(WM_HSCROLL, SB_LINERIGHT); }
void CRichEditUI::PageLeft() { SendScroll(WM_HSCROLL, SB_PAGELEFT); }
void CRichEditUI::PageRight() { SendScroll(WM_HSCROLL, SB_PAGERIGHT); }
void CRichEditUI::HomeLeft() { SendScroll(WM_HSCROLL, SB_LEFT); }
void CRichEditUI::EndRight() { SendScroll(WM_HSCROLL, SB_RIGHT); }

} // namespace DirectUI
