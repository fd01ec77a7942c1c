#include "control/EditUI.h"

#include "control/EditWnd.h"
#include "control/StateImage.h"
#include "core/SkinValues.h"
#include "render/GdiPainter.h"

#include <string.h>

namespace DirectUI {

CEditUI::CEditUI()
    : m_pWindow(NULL), m_iMaxChar(255), m_bReadOnly(false), m_bPasswordMode(false), m_cPasswordChar(L'*'),
      m_uButtonState(0), m_dwTipValueColor(0xFFBAC0C5), m_dwEditBkColor(0xFFFFFFFF), m_dwEditTextColor(0),
      m_iWindowStyles(0)
{
    SetRect(&m_rcTextPadding, 4, 3, 4, 3);
    SetBkColor(0xFFFFFFFF);
}

CEditUI::~CEditUI()
{
    // An open native window outlives this field otherwise, and its final
    // message would write into freed memory.
    if (m_pWindow != NULL) {
        CEditWnd* window = m_pWindow;
        m_pWindow = NULL;
        window->Detach();
        ::DestroyWindow(window->GetHWND());
    }
}

LPCWSTR CEditUI::GetControlClass() const { return L"EditUI"; }

LPVOID CEditUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"Edit") == 0) return this;
    return CLabelUI::GetInterface(name);
}

UINT CEditUI::GetControlFlags() const { return IsEnabled() ? UIFLAG_TABSTOP | UIFLAG_SETCURSOR : 0; }

HWND CEditUI::GetNativeWindow() const { return m_pWindow != NULL ? m_pWindow->GetHWND() : NULL; }

void CEditUI::SetText(LPCWSTR text)
{
    m_sText = text;
    if (m_pWindow != NULL) ::SetWindowTextW(m_pWindow->GetHWND(), m_sText);
    Invalidate();
}

void CEditUI::SetMaxChar(int count)
{
    m_iMaxChar = count;
    if (m_pWindow != NULL) m_pWindow->SendMessage(EM_LIMITTEXT, m_iMaxChar);
}

void CEditUI::SetReadOnly(bool readOnly)
{
    if (m_bReadOnly == readOnly) return;
    m_bReadOnly = readOnly;
    if (m_pWindow != NULL) m_pWindow->SendMessage(EM_SETREADONLY, m_bReadOnly);
    Invalidate();
}

void CEditUI::SetPasswordMode(bool password)
{
    if (m_bPasswordMode == password) return;
    m_bPasswordMode = password;
    Invalidate();
}

void CEditUI::SetPasswordChar(WCHAR ch)
{
    if (m_cPasswordChar == ch) return;
    m_cPasswordChar = ch;
    if (m_pWindow != NULL) m_pWindow->SendMessage(EM_SETPASSWORDCHAR, m_cPasswordChar);
    Invalidate();
}

void CEditUI::SetNumberOnly(bool numberOnly)
{
    if (numberOnly) m_iWindowStyles |= ES_NUMBER;
    else m_iWindowStyles &= ~ES_NUMBER;
}

void CEditUI::SetNormalImage(LPCWSTR image)
{
    m_sNormalImage = image;
    Invalidate();
}

void CEditUI::SetHotImage(LPCWSTR image)
{
    m_sHotImage = image;
    Invalidate();
}

void CEditUI::SetFocusedImage(LPCWSTR image)
{
    m_sFocusedImage = image;
    Invalidate();
}

void CEditUI::SetDisabledImage(LPCWSTR image)
{
    m_sDisabledImage = image;
    Invalidate();
}

void CEditUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (m_pWindow == NULL) return;
    RECT pos = m_pWindow->CalPos();
    if (m_pManager->IsLayered()) {
        POINT origin = { 0, 0 };
        ::ClientToScreen(m_pManager->GetPaintWindow(), &origin);
        OffsetRect(&pos, origin.x, origin.y);
    }
    ::SetWindowPos(m_pWindow->GetHWND(), NULL, pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void CEditUI::SetVisible(bool visible)
{
    CControlUI::SetVisible(visible);
    if (!IsVisible() && m_pWindow != NULL && m_pManager != NULL) m_pManager->SetFocus(NULL);
}

void CEditUI::SetVisibleByParent(bool visible)
{
    CControlUI::SetVisibleByParent(visible);
    if (!IsVisible() && m_pWindow != NULL && m_pManager != NULL) m_pManager->SetFocus(NULL);
}

void CEditUI::SetEnabled(bool enabled)
{
    CControlUI::SetEnabled(enabled);
    if (!IsEnabled()) m_uButtonState = 0;
}

// Puts the native edit over the control; false when it could not be made.
bool CEditUI::OpenNativeEdit()
{
    m_pWindow = new CEditWnd;
    m_pWindow->Init(this);
    // A window destroyed while being made has deleted itself already.
    if (m_pWindow != NULL && m_pWindow->GetHWND() == NULL) {
        delete m_pWindow;
        m_pWindow = NULL;
    }
    return m_pWindow != NULL;
}

void CEditUI::SelectAllNative()
{
    if (m_pWindow == NULL) return;
    int length = ::GetWindowTextLengthW(m_pWindow->GetHWND());
    m_pWindow->SendMessage(EM_SETSEL, 0, length == 0 ? 1 : length);
}

void CEditUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && event.Type >= UIEVENT_MOUSEBEGIN && event.Type <= UIEVENT_MOUSEEND) {
        if (m_pParent != NULL) m_pParent->HandleEvent(event);
        else CLabelUI::HandleEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETCURSOR:
        if (IsEnabled()) {
            ::SetCursor(LoadCursor(NULL, IDC_IBEAM));
            return;
        }
        break;
    case UIEVENT_WINDOWSIZE:
        if (m_pWindow != NULL) {
            m_pManager->SetFocusDeferred(this);
            return;
        }
        break;
    case UIEVENT_SCROLLWHEEL:
        if (m_pWindow != NULL) return;
        break;
    case UIEVENT_SETFOCUS:
        if (IsEnabled()) {
            if (m_pWindow != NULL) return;
            OpenNativeEdit();
            Invalidate();
        }
        break;
    case UIEVENT_KILLFOCUS:
        if (IsEnabled()) Invalidate();
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
    case UIEVENT_RBUTTONDOWN:
        if (!IsEnabled()) return;
        m_pManager->ReleaseCapture();
        if (IsFocused() && m_pWindow == NULL) {
            if (OpenNativeEdit() && PtInRect(&m_rcItem, event.ptMouse)) SelectAllNative();
        } else if (m_pWindow != NULL) {
            SelectAllNative();
        }
        return;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
    case UIEVENT_CONTEXTMENU:
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
    CLabelUI::HandleEvent(event);
}

void CEditUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"readonly") == 0) SetReadOnly(ParseBoolValue(value));
    else if (wcscmp(name, L"numberonly") == 0) SetNumberOnly(ParseBoolValue(value));
    else if (wcscmp(name, L"password") == 0) SetPasswordMode(ParseBoolValue(value));
    else if (wcscmp(name, L"passwordchar") == 0) SetPasswordChar(value[0]);
    else if (wcscmp(name, L"maxchar") == 0) SetMaxChar(ParseIntValue(value));
    else if (wcscmp(name, L"normalimage") == 0) SetNormalImage(value);
    else if (wcscmp(name, L"hotimage") == 0) SetHotImage(value);
    else if (wcscmp(name, L"focusedimage") == 0) SetFocusedImage(value);
    else if (wcscmp(name, L"disabledimage") == 0) SetDisabledImage(value);
    else if (wcscmp(name, L"tipvalue") == 0) SetTipValue(value);
    else if (wcscmp(name, L"tipvaluecolor") == 0) SetTipValueColor(ParseColorValue(value));
    else if (wcscmp(name, L"nativetextcolor") == 0) SetNativeEditTextColor(ParseColorValue(value));
    else if (wcscmp(name, L"nativebkcolor") == 0) SetNativeEditBkColor(ParseColorValue(value));
    else CLabelUI::SetAttribute(name, value);
}

SIZE CEditUI::PreferredSize(SIZE available)
{
    if (m_cxyFixed.cy != 0) return CControlUI::PreferredSize(available);
    SIZE size = { m_cxyFixed.cx, FontHeight() + 6 };
    return size;
}

void CEditUI::PaintStateImage(HDC dc)
{
    SyncFocusAndDisabledState(*this, m_uButtonState);

    CUIString* image = NULL;
    if ((m_uButtonState & UISTATE_DISABLED) != 0) image = &m_sDisabledImage;
    else if ((m_uButtonState & UISTATE_FOCUSED) != 0) image = &m_sFocusedImage;
    else if ((m_uButtonState & UISTATE_HOT) != 0) image = &m_sHotImage;
    DrawStateOrNormalImage(*this, dc, image, m_sNormalImage);
}

void CEditUI::PaintText(HDC dc)
{
    TakeDefaultColors();
    CUIString text = m_sText;
    DWORD color = m_dwTextColor;
    if (m_sText.IsEmpty() || m_sText == m_sTipValue.GetData()) {
        text = m_sTipValue;
        color = m_dwTipValueColor;
    } else if (m_bPasswordMode) {
        text.Empty();
        for (int i = m_sText.GetLength(); i > 0; --i) text += m_cPasswordChar;
    }
    if (!IsEnabled()) color = m_dwDisabledTextColor;
    if (text.IsEmpty()) return;
    RECT rc = TextRect();
    CGdiPainter::DrawText(dc, m_pManager, rc, text, color, m_iFont, m_uTextStyle | DT_SINGLELINE);
}

} // namespace DirectUI
