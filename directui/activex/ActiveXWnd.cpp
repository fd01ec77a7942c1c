#include "activex/ActiveXWnd.h"

#include "activex/ActiveXCtrl.h"
#include "activex/ActiveXUI.h"

namespace DirectUI {

namespace {
LONG g_liveHostWindows = 0;
}

CActiveXWnd::CActiveXWnd() : m_pOwner(NULL) {}

HWND CActiveXWnd::Init(CActiveXCtrl* owner, HWND parent)
{
    m_pOwner = owner;
    RECT rc = owner->m_pOwner->GetPos();
    HWND hwnd = Create(parent, L"UIActiveX", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, rc);
    if (hwnd != NULL) InterlockedIncrement(&g_liveHostWindows);
    return hwnd;
}

LONG CActiveXWnd::LiveCount() { return g_liveHostWindows; }

LPCWSTR CActiveXWnd::GetWindowClassName() const { return L"ActiveXWnd"; }

void CActiveXWnd::OnNcDestroyed(HWND)
{
    InterlockedDecrement(&g_liveHostWindows);
    if (m_pOwner != NULL && m_pOwner->m_pWindow == this) {
        m_pOwner->m_pWindow = NULL;
        if (m_pOwner->m_pOwner != NULL) m_pOwner->m_pOwner->m_hwndHost = NULL;
    }
    delete this;
}

void CActiveXWnd::DoVerb(LONG verb)
{
    if (m_pOwner == NULL || m_pOwner->m_pOwner == NULL || m_pOwner->m_pOwner->m_pUnk == NULL) return;
    IOleClientSite* site = NULL;
    m_pOwner->QueryInterface(IID_IOleClientSite, reinterpret_cast<LPVOID*>(&site));
    m_pOwner->m_pOwner->m_pUnk->DoVerb(verb, NULL, site, 0, m_hWnd, &m_pOwner->m_pOwner->GetPos());
    if (site != NULL) site->Release();
}

LRESULT CActiveXWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: {
        // The hosted object paints its own window.
        PAINTSTRUCT ps;
        ::BeginPaint(m_hWnd, &ps);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_SETFOCUS:
        if (m_pOwner != NULL) {
            m_pOwner->m_bFocused = true;
            if (!m_pOwner->m_bUIActivated) DoVerb(OLEIVERB_UIACTIVATE);
        }
        return 0;
    case WM_KILLFOCUS:
        if (m_pOwner != NULL) m_pOwner->m_bFocused = false;
        return 0;
    case WM_ERASEBKGND:
        if (m_pOwner != NULL && m_pOwner->m_pViewObject == NULL) break;
        return 1;
    case WM_MOUSEACTIVATE: {
        if (m_pOwner == NULL || m_pOwner->m_pOwner == NULL || m_pOwner->m_pOwner->m_pUnk == NULL) break;
        DWORD status = 0;
        m_pOwner->m_pOwner->m_pUnk->GetMiscStatus(DVASPECT_CONTENT, &status);
        if ((status & OLEMISC_NOUIACTIVATE) != 0) break;
        if (!m_pOwner->m_bInPlaceActive) DoVerb(OLEIVERB_INPLACEACTIVATE);
        break;
    }
    default:
        break;
    }
    return ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
}

} // namespace DirectUI
