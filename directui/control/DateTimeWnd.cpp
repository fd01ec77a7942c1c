#include "control/DateTimeWnd.h"

#include "control/DateTimeUI.h"

#include <commctrl.h>

namespace DirectUI {

CDateTimeWnd::CDateTimeWnd() : m_pOwner(NULL), m_hBkBrush(NULL), m_bInit(false) {}

LPCWSTR CDateTimeWnd::GetWindowClassName() const { return L"DateTimeWnd"; }
LPCWSTR CDateTimeWnd::GetSuperClassName() const { return DATETIMEPICK_CLASSW; }

RECT CDateTimeWnd::CalPos() const
{
    RECT none = { 0, 0, 0, 0 };
    return m_pOwner != NULL ? m_pOwner->GetPos() : none;
}

void CDateTimeWnd::Init(CDateTimeUI* owner)
{
    m_pOwner = owner;
    m_pOwner->m_nDTUpdateFlag = CDateTimeUI::kUpdateNone;
    if (m_hWnd == NULL) {
        // Windows registers the picker class only for programs that ask.
        INITCOMMONCONTROLSEX classes = { sizeof(classes), ICC_DATE_CLASSES };
        ::InitCommonControlsEx(&classes);
        CWindowUIManager* manager = owner->GetManager();
        RECT rc = CalPos();
        // A failed creation may have deleted this object already.
        if (Create(manager->GetPaintWindow(), NULL, WS_CHILD, 0, rc) == NULL) return;
        ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(manager->GetFont(owner->GetFont())), TRUE);
    }
    if (m_pOwner->GetText().IsEmpty()) ::GetLocalTime(&m_pOwner->m_sysTime);
    ::SendMessageW(m_hWnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&m_pOwner->m_sysTime));
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::SetFocus(m_hWnd);
    m_bInit = true;
}

LRESULT CDateTimeWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_KILLFOCUS) {
        LRESULT result = CWindowWnd::HandleMessage(msg, wParam, lParam);
        if (m_pOwner != NULL && m_pOwner->m_nDTUpdateFlag == CDateTimeUI::kUpdateNone) {
            ::SendMessageW(m_hWnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&m_pOwner->m_sysTime));
            m_pOwner->m_nDTUpdateFlag = CDateTimeUI::kUpdateTaken;
            m_pOwner->UpdateText();
        }
        PostMessage(WM_CLOSE);
        return result;
    }
    if (msg == WM_KEYUP && (wParam == VK_BACK || wParam == VK_DELETE || wParam == VK_ESCAPE)) {
        LRESULT result = CWindowWnd::HandleMessage(msg, wParam, lParam);
        if (m_pOwner != NULL) {
            // Escape keeps the date the control had; Backspace and Delete clear it.
            m_pOwner->m_nDTUpdateFlag = wParam == VK_ESCAPE ? CDateTimeUI::kUpdateCancelled : CDateTimeUI::kUpdateCleared;
            m_pOwner->UpdateText();
        }
        PostMessage(WM_CLOSE);
        return result;
    }
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

void CDateTimeWnd::OnNcDestroyed(HWND)
{
    if (m_hBkBrush != NULL) ::DeleteObject(m_hBkBrush);
    if (m_pOwner != NULL && m_pOwner->m_pWindow == this) m_pOwner->m_pWindow = NULL;
    delete this;
}

} // namespace DirectUI
