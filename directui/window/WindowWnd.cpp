#include "window/WindowWnd.h"

#include "manager/WindowUIManager.h"

namespace DirectUI {

namespace {
const WCHAR kObjectProperty[] = L"WndX";
} // namespace

CWindowWnd::CWindowWnd() : m_hWnd(NULL), m_OldWndProc(::DefWindowProcW), m_bSubclassed(false)
{
}

bool CWindowWnd::RegisterWindowClass()
{
    WNDCLASSW wc = { 0 };
    wc.style = GetClassStyle();
    wc.lpfnWndProc = CWindowWnd::WindowProc;
    wc.hInstance = CWindowUIManager::GetInstance();
    wc.hCursor = ::LoadCursorW(NULL, IDC_ARROW);
    wc.lpszClassName = GetWindowClassName();
    ATOM atom = ::RegisterClassW(&wc);
    return atom != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::RegisterSuperclass()
{
    WNDCLASSEXW wc = { 0 };
    wc.cbSize = sizeof(wc);
    if (!::GetClassInfoExW(NULL, GetSuperClassName(), &wc) &&
        !::GetClassInfoExW(CWindowUIManager::GetInstance(), GetSuperClassName(), &wc))
        return false;
    m_OldWndProc = wc.lpfnWndProc;
    wc.lpfnWndProc = CWindowWnd::SuperclassWindowProc;
    wc.hInstance = CWindowUIManager::GetInstance();
    wc.lpszClassName = GetWindowClassName();
    ATOM atom = ::RegisterClassExW(&wc);
    return atom != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::Create(HWND parent, LPCWSTR name, DWORD style, DWORD exStyle, const RECT& rc, HMENU menu)
{
    return Create(parent, name, style, exStyle, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, menu);
}

HWND CWindowWnd::Create(HWND parent, LPCWSTR name, DWORD style, DWORD exStyle, int x, int y, int cx, int cy,
                        HMENU menu)
{
    if (GetSuperClassName() != NULL ? !RegisterSuperclass() : !RegisterWindowClass()) return NULL;
    // The handle is stored at WM_NCCREATE. Nothing of this object is touched
    // after the call: a window whose creation failed has been through
    // WM_NCDESTROY, where an object may delete itself.
    return ::CreateWindowExW(exStyle, GetWindowClassName(), name, style, x, y, cx, cy, parent, menu,
                             CWindowUIManager::GetInstance(), this);
}

void CWindowWnd::Unsubclass()
{
    if (!::IsWindow(m_hWnd) || !m_bSubclassed) return;
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_OldWndProc);
    m_OldWndProc = ::DefWindowProcW;
    m_bSubclassed = false;
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus)
{
    if (!::IsWindow(m_hWnd)) return;
    ::ShowWindow(m_hWnd, show ? (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::ShowModal()
{
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
    if (owner != NULL) ::EnableWindow(owner, FALSE);
    UINT result = 0;
    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg = { 0 };
    while (::IsWindow(m_hWnd)) {
        BOOL got = ::GetMessageW(&msg, NULL, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        if (got == -1) break; // the queue is unusable; waiting on would spin
        if (msg.message == WM_CLOSE && msg.hwnd == m_hWnd) {
            result = (UINT)msg.wParam;
            // Before the window goes, so the system does not activate another program.
            if (owner != NULL) {
                ::EnableWindow(owner, TRUE);
                ::SetFocus(owner);
            }
        }
        if (!CWindowUIManager::TranslateQueuedMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    if (owner != NULL) {
        ::EnableWindow(owner, TRUE);
        ::SetFocus(owner);
    }
    if (quit) ::PostQuitMessage((int)quitCode);
    return result;
}

void CWindowWnd::Close(UINT result)
{
    if (!::IsWindow(m_hWnd)) return;
    ::PostMessageW(m_hWnd, WM_CLOSE, (WPARAM)result, 0);
}

void CWindowWnd::CenterWindow()
{
    RECT window = { 0 };
    ::GetWindowRect(m_hWnd, &window);
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO monitor = { 0 };
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(owner != NULL ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT work = monitor.rcWork;
    RECT reference = work;
    if (owner != NULL) ::GetWindowRect(owner, &reference);

    int width = window.right - window.left;
    int height = window.bottom - window.top;
    int x = (reference.left + reference.right) / 2 - width / 2;
    int y = (reference.top + reference.bottom) / 2 - height / 2;
    if (x < work.left) x = work.left;
    else if (x + width > work.right) x = work.right - width;
    if (y < work.top) y = work.top;
    else if (y + height > work.bottom) y = work.bottom - height;
    ::SetWindowPos(m_hWnd, NULL, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CWindowWnd::SendMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_hWnd, msg, wParam, lParam);
}

LRESULT CWindowWnd::PostMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageW(m_hWnd, msg, wParam, lParam);
}

LRESULT CWindowWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcW(m_OldWndProc, m_hWnd, msg, wParam, lParam);
}

// Both window procedures: an own class keeps the object in GWL_USERDATA, a
// superclass (whose extra bytes belong to the system class) in a property.
LRESULT CWindowWnd::RouteMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, bool superclass)
{
    CWindowWnd* self = NULL;
    if (msg == WM_NCCREATE) {
        self = static_cast<CWindowWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self != NULL) {
            self->m_hWnd = hWnd;
            if (superclass) ::SetPropW(hWnd, kObjectProperty, (HANDLE)self);
            else ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    } else {
        self = superclass ? reinterpret_cast<CWindowWnd*>(::GetPropW(hWnd, kObjectProperty))
                          : reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (msg == WM_NCDESTROY && self != NULL) {
            LRESULT result = ::CallWindowProcW(self->m_OldWndProc, hWnd, msg, wParam, lParam);
            if (!superclass) ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
            if (self->m_bSubclassed) self->Unsubclass();
            if (superclass) ::RemovePropW(hWnd, kObjectProperty);
            self->m_hWnd = NULL;
            self->OnNcDestroyed(hWnd);
            return result;
        }
    }
    if (self != NULL) return self->HandleMessage(msg, wParam, lParam);
    return ::DefWindowProcW(hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return RouteMessage(hWnd, msg, wParam, lParam, false);
}

LRESULT CALLBACK CWindowWnd::SuperclassWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return RouteMessage(hWnd, msg, wParam, lParam, true);
}

} // namespace DirectUI
