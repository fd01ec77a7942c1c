#include "control/DateTimeUI.h"

#include "control/DateTimeWnd.h"

#include <stdio.h>

namespace DirectUI {

CDateTimeUI::CDateTimeUI() : m_nDTUpdateFlag(kUpdateTaken), m_pWindow(NULL)
{
    ::GetLocalTime(&m_sysTime);
    UpdateText();
    m_nDTUpdateFlag = kUpdateNone;
}

CDateTimeUI::~CDateTimeUI()
{
    // An open picker must not reach back into a control that is gone.
    if (m_pWindow != NULL) {
        CDateTimeWnd* picker = m_pWindow;
        m_pWindow = NULL;
        picker->m_pOwner = NULL;
        HWND hwnd = picker->GetHWND();
        if (::IsWindow(hwnd)) ::DestroyWindow(hwnd);
        else delete picker;
    }
}

LPCWSTR CDateTimeUI::GetControlClass() const { return L"DateTimeUI"; }

LPVOID CDateTimeUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"DateTime") == 0) return this;
    return CLabelUI::GetInterface(name);
}

void CDateTimeUI::SetTime(const SYSTEMTIME& time)
{
    m_sysTime = time;
    m_nDTUpdateFlag = kUpdateTaken;
    UpdateText();
    m_nDTUpdateFlag = kUpdateNone;
}

void CDateTimeUI::UpdateText()
{
    if (m_nDTUpdateFlag == kUpdateCleared) {
        SetText(L"");
    } else if (m_nDTUpdateFlag == kUpdateTaken) {
        WCHAR text[32] = { 0 };
        _snwprintf(text, 31, L"%4d-%02d-%02d", m_sysTime.wYear, m_sysTime.wMonth, m_sysTime.wDay);
        SetText(text);
    }
}

void CDateTimeUI::OpenPicker()
{
    if (m_pWindow == NULL) m_pWindow = new CDateTimeWnd;
    m_pWindow->Init(this);
    if (m_pWindow != NULL && m_pWindow->GetHWND() == NULL) {
        // The picker could not be made: nothing is open.
        delete m_pWindow;
        m_pWindow = NULL;
    }
}

void CDateTimeUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && event.Type >= UIEVENT_MOUSEBEGIN && event.Type <= UIEVENT_MOUSEEND) {
        if (m_pParent != NULL) m_pParent->HandleEvent(event);
        else CLabelUI::HandleEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETCURSOR:
        if (IsEnabled()) {
            ::SetCursor(::LoadCursor(NULL, IDC_IBEAM));
            return;
        }
        break;
    case UIEVENT_WINDOWSIZE:
        if (m_pWindow != NULL && m_pManager != NULL) m_pManager->SetFocusDeferred(this);
        break;
    case UIEVENT_SCROLLWHEEL:
        if (m_pWindow != NULL) return;
        break;
    case UIEVENT_SETFOCUS:
        if (IsEnabled() && m_pWindow == NULL) OpenPicker();
        break;
    case UIEVENT_KILLFOCUS:
        if (IsEnabled()) Invalidate();
        break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
    case UIEVENT_RBUTTONDOWN:
        if (!IsEnabled()) break;
        if (m_pManager != NULL) m_pManager->ReleaseCapture();
        if (IsFocused() || m_pWindow != NULL) OpenPicker();
        return;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
    case UIEVENT_CONTEXTMENU:
    case UIEVENT_MOUSEENTER:
    case UIEVENT_MOUSELEAVE:
        return;
    default:
        break;
    }
    CLabelUI::HandleEvent(event);
}

} // namespace DirectUI
