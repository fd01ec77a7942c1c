#include "control/EditWnd.h"

#include "control/EditUI.h"
#include "core/SkinValues.h"
#include "manager/WindowUIManager.h"

namespace DirectUI {

CEditWnd::CEditWnd() : m_pOwner(NULL), m_hBkBrush(NULL), m_bInit(false) {}

LPCWSTR CEditWnd::GetWindowClassName() const { return L"EditWnd"; }
LPCWSTR CEditWnd::GetSuperClassName() const { return WC_EDITW; }

RECT CEditWnd::CalPos() const
{
    RECT rc = m_pOwner->TextRect();
    int textHeight = m_pOwner->GetManager()->GetFontEntry(m_pOwner->GetFont())->tm.tmHeight;
    int height = rc.bottom - rc.top;
    if (textHeight < height) {
        rc.top += (height - textHeight) / 2;
        rc.bottom = rc.top + textHeight;
    }
    return rc;
}

void CEditWnd::Init(CEditUI* owner)
{
    m_pOwner = owner;
    CWindowUIManager* manager = owner->GetManager();
    RECT rc = CalPos();
    DWORD style;
    if (manager->IsLayered()) {
        // A layered window shows no child windows: the edit floats above it.
        style = WS_POPUP | WS_VISIBLE | ES_AUTOHSCROLL;
        POINT origin = { 0, 0 };
        ::ClientToScreen(manager->GetPaintWindow(), &origin);
        OffsetRect(&rc, origin.x, origin.y);
    } else {
        style = WS_CHILD | ES_AUTOHSCROLL;
    }
    if (owner->IsPasswordMode()) style |= ES_PASSWORD;
    // A failed creation may have deleted this object already.
    if (Create(manager->GetPaintWindow(), NULL, style, 0, rc) == NULL) return;

    HFONT font = manager->GetFont(owner->GetFont());
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessage(EM_LIMITTEXT, owner->GetMaxChar());
    if (owner->IsPasswordMode()) SendMessage(EM_SETPASSWORDCHAR, owner->GetPasswordChar());
    ::SetWindowTextW(m_hWnd, owner->GetText());
    SendMessage(EM_SETMODIFY, FALSE);
    SendMessage(EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    ::EnableWindow(m_hWnd, owner->IsEnabled());
    SendMessage(EM_SETREADONLY, owner->IsReadOnly());
    LONG windowStyle = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    ::SetWindowLongW(m_hWnd, GWL_STYLE, windowStyle | owner->GetWindowStyles());
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(m_hWnd);
    m_bInit = true;
}

void CEditWnd::OnNcDestroyed(HWND)
{
    if (m_pOwner != NULL) {
        m_pOwner->Invalidate();
        m_pOwner->m_pWindow = NULL;
    }
    if (m_hBkBrush != NULL) ::DeleteObject(m_hBkBrush);
    delete this;
}

void CEditWnd::OnEditChanged()
{
    if (!m_bInit || m_pOwner == NULL) return;
    int length = ::GetWindowTextLengthW(m_hWnd) + 1;
    WCHAR* text = new WCHAR[length];
    text[0] = L'\0';
    ::GetWindowTextW(m_hWnd, text, length);
    // Straight into the field: the native window shows the text already.
    m_pOwner->m_sText = text;
    delete[] text;
    m_pOwner->GetManager()->SendNotify(m_pOwner, L"textchanged");
}

LRESULT CEditWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_pOwner == NULL) return CWindowWnd::HandleMessage(msg, wParam, lParam);
    switch (msg) {
    case WM_KILLFOCUS: {
        LRESULT result = CWindowWnd::HandleMessage(msg, wParam, lParam);
        PostMessage(WM_CLOSE);
        return result;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            m_pOwner->GetManager()->SendNotify(m_pOwner, L"return");
            return 0;
        }
        break;
    case 0x2000 + WM_COMMAND:
        if (HIWORD(wParam) == EN_CHANGE) OnEditChanged();
        else if (HIWORD(wParam) == EN_UPDATE) ::InvalidateRect(m_hWnd, NULL, FALSE);
        return 0;
    case 0x2000 + WM_CTLCOLOREDIT:
    case 0x2000 + WM_CTLCOLORSTATIC: {
        if (m_pOwner->GetNativeEditBkColor() == 0xFFFFFFFF) return 0;
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkMode(dc, TRANSPARENT);
        DWORD textColor = m_pOwner->GetNativeEditTextColor();
        if (textColor == 0) textColor = m_pOwner->GetTextColor();
        ::SetTextColor(dc, ArgbToColorRef(textColor));
        if (m_hBkBrush == NULL) m_hBkBrush = ::CreateSolidBrush(ArgbToColorRef(m_pOwner->GetNativeEditBkColor()));
        return reinterpret_cast<LRESULT>(m_hBkBrush);
    }
    default:
        break;
    }
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

} // namespace DirectUI
