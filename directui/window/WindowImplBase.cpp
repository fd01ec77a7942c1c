#include "window/WindowImplBase.h"

#include "control/ControlUI.h"
#include "window/TreeQuery.h"

#include <stdlib.h>
#include <string.h>

namespace DirectUI {

namespace {

// The process's copy of the "ZIPRES" resource behind the skin zip. Frames of
// one program share it (and the archive over it) instead of each copying.
struct ZipResourceCopy
{
    HRSRC resource;
    BYTE* bytes;
    DWORD size;
};
ZipResourceCopy g_zipResource = { NULL, NULL, 0 };

bool IsClickableInCaption(LPCWSTR controlClass)
{
    // A wizard's caption covers its whole window: its folder field, licence
    // text and licence scroll bar must not start a window drag.
    static const LPCWSTR kClickable[] = { L"ButtonUI", L"OptionUI", L"TextUI", L"SliderUI",
                                          L"EditUI", L"RichEditUI", L"ScrollBarUI" };
    for (size_t i = 0; i < sizeof(kClickable) / sizeof(kClickable[0]); ++i)
        if (_wcsicmp(controlClass, kClickable[i]) == 0) return true;
    return false;
}

} // namespace

BEGIN_NOTIFY_MAP(WindowImplBase, CNotifyPump)
    NOTIFY_HANDLER(L"click", WindowImplBase::OnClickNotify)
END_NOTIFY_MAP()

WindowImplBase::WindowImplBase() {}

WindowImplBase::~WindowImplBase() {}

void WindowImplBase::OnNcDestroyed(HWND)
{
    m_PaintManager.RemovePreMessageFilter(this);
    m_PaintManager.RemoveNotifier(this);
    // The tree stays with the manager, whose destructor deletes it.
    m_PaintManager.ForgetControl(m_PaintManager.GetRoot());
}

void WindowImplBase::Notify(NotifyRecord& msg) { DispatchNotify(msg); }

CControlUI* WindowImplBase::CreateControl(LPCWSTR) { return NULL; }

LRESULT WindowImplBase::FilterMessage(UINT msg, WPARAM wParam, LPARAM, bool&)
{
    if (msg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) return HandleDefaultKey((UINT)wParam);
    return 0;
}

bool WindowImplBase::HandleDefaultKey(UINT key) { return key == VK_ESCAPE; }

void WindowImplBase::OnClick(NotifyRecord& msg)
{
    if (msg.pSender == NULL) return;
    CUIString name = msg.pSender->GetName();
    if (name == L"closebtn") Close(1);
    else if (name == L"minbtn") SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (name == L"maxbtn") SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    else if (name == L"restorebtn") SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
}

LONG WindowImplBase::GetStyle()
{
    LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    return style & ~WS_CAPTION;
}

#define DIRECTUI_NOT_HANDLED(name)                                              \
    LRESULT WindowImplBase::name(UINT, WPARAM, LPARAM, bool& handled)          \
    {                                                                           \
        handled = false;                                                        \
        return 0;                                                               \
    }
DIRECTUI_NOT_HANDLED(OnClose)
DIRECTUI_NOT_HANDLED(OnDestroy)
DIRECTUI_NOT_HANDLED(OnMouseWheel)
DIRECTUI_NOT_HANDLED(OnMouseHover)
DIRECTUI_NOT_HANDLED(OnChar)
DIRECTUI_NOT_HANDLED(OnKeyDown)
DIRECTUI_NOT_HANDLED(OnKillFocus)
DIRECTUI_NOT_HANDLED(OnSetFocus)
DIRECTUI_NOT_HANDLED(OnLButtonDown)
DIRECTUI_NOT_HANDLED(OnLButtonUp)
DIRECTUI_NOT_HANDLED(OnMouseMove)
DIRECTUI_NOT_HANDLED(HandleOtherMessage)
#undef DIRECTUI_NOT_HANDLED

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, bool& handled)
{
    if (::IsIconic(m_hWnd)) {
        handled = false;
        return 0;
    }
    return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM, LPARAM lParam, bool&)
{
    if (!::IsZoomed(m_hWnd)) return 0;
    LPRECT proposed = reinterpret_cast<LPRECT>(lParam);
    MONITORINFO info = { sizeof(info) };
    if (::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &info)) {
        proposed->right = proposed->left + (info.rcWork.right - info.rcWork.left);
        proposed->bottom = proposed->top + (info.rcWork.bottom - info.rcWork.top);
    }
    return WVR_HREDRAW | WVR_VREDRAW;
}

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, bool&) { return 0; }

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, bool&)
{
    POINT pt = { (short)LOWORD(lParam), (short)HIWORD(lParam) };
    ::ScreenToClient(m_hWnd, &pt);
    RECT client;
    ::GetClientRect(m_hWnd, &client);

    if (!::IsZoomed(m_hWnd)) {
        RECT box = m_PaintManager.GetSizeBox();
        if (pt.y < client.top + box.top) {
            if (pt.x < client.left + box.left) return HTTOPLEFT;
            if (pt.x > client.right - box.right) return HTTOPRIGHT;
            return HTTOP;
        }
        if (pt.y > client.bottom - box.bottom) {
            if (pt.x < client.left + box.left) return HTBOTTOMLEFT;
            if (pt.x > client.right - box.right) return HTBOTTOMRIGHT;
            return HTBOTTOM;
        }
        if (pt.x < client.left + box.left) return HTLEFT;
        if (pt.x > client.right - box.right) return HTRIGHT;
    }

    RECT caption = m_PaintManager.GetCaptionRect();
    if (pt.x < client.left + caption.left || pt.x >= client.right - caption.right || pt.y < caption.top ||
        pt.y >= caption.bottom)
        return HTCLIENT;
    CControlUI* control = m_PaintManager.FindControl(pt);
    if (control != NULL && !IsClickableInCaption(control->GetControlClass())) return HTCAPTION;
    return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool& handled)
{
    LPMINMAXINFO info = reinterpret_cast<LPMINMAXINFO>(lParam);
    MONITORINFO monitor = { sizeof(monitor) };
    if (::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor)) {
        info->ptMaxPosition.x = monitor.rcWork.left - monitor.rcMonitor.left;
        info->ptMaxPosition.y = monitor.rcWork.top - monitor.rcMonitor.top;
        info->ptMaxTrackSize.x = monitor.rcWork.right - monitor.rcWork.left;
        info->ptMaxTrackSize.y = monitor.rcWork.bottom - monitor.rcWork.top;
    }
    SIZE minimum = m_PaintManager.GetMinInfo();
    info->ptMinTrackSize.x = minimum.cx;
    info->ptMinTrackSize.y = minimum.cy;
    handled = false;
    return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM wParam, LPARAM, bool& handled)
{
    if (wParam != SIZE_MINIMIZED && !::IsIconic(m_hWnd)) {
        RECT rc;
        ::GetWindowRect(m_hWnd, &rc);
        SIZE round = m_PaintManager.GetRoundCorner();
        HRGN region = ::CreateRoundRectRgn(0, 0, rc.right - rc.left + 1, rc.bottom - rc.top + 1, round.cx, round.cy);
        // The window owns the region from here on.
        if (region != NULL && !::SetWindowRgn(m_hWnd, region, TRUE)) ::DeleteObject(region);
    }
    handled = false;
    return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, bool&)
{
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        SendMessage(WM_CLOSE, 0, 0);
        return 0;
    }
    bool zoomed = ::IsZoomed(m_hWnd) != FALSE;
    // The chained procedure runs the command once; the message stays handled.
    LRESULT result = CWindowWnd::HandleMessage(msg, wParam, lParam);
    if ((::IsZoomed(m_hWnd) != FALSE) != zoomed) {
        // Skins without these buttons are fine: there is nothing to swap.
        CControlUI* maxButton = m_PaintManager.FindControl(L"maxbtn");
        CControlUI* restoreButton = m_PaintManager.FindControl(L"restorebtn");
        if (maxButton != NULL && restoreButton != NULL) {
            maxButton->SetVisible(zoomed);
            restoreButton->SetVisible(!zoomed);
        }
    }
    return result;
}

void WindowImplBase::FailSkinLoad(const CUIString& why)
{
    m_sSkinLoadError = why;
    ::MessageBoxW(NULL, SkinLoadFailedText(), SkinLoadFailedCaption(), MB_ICONERROR);
    ::ExitProcess(1);
}

bool WindowImplBase::OpenSkinZipResource()
{
    HINSTANCE module = CWindowUIManager::GetResourceModule();
    LPCWSTR id = GetSkinResourceId();
    HRSRC resource = ::FindResourceW(module, id, L"ZIPRES");
    if (resource == NULL) return false;
    DWORD size = ::SizeofResource(module, resource);
    HGLOBAL loaded = ::LoadResource(module, resource);
    const void* bytes = loaded != NULL ? ::LockResource(loaded) : NULL;
    if (bytes == NULL || size == 0) return false;
    if (g_zipResource.resource != resource) {
        BYTE* copy = static_cast<BYTE*>(malloc(size));
        if (copy == NULL) return false;
        memcpy(copy, bytes, size);
        // The archive over an older copy closes when the new one opens.
        CWindowUIManager::SetSkinZipBuffer(copy, size);
        free(g_zipResource.bytes);
        g_zipResource.resource = resource;
        g_zipResource.bytes = copy;
        g_zipResource.size = size;
    } else {
        CWindowUIManager::SetSkinZipBuffer(g_zipResource.bytes, g_zipResource.size);
    }
    return true;
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, bool&)
{
    LONG style = ::GetWindowLongW(m_hWnd, GWL_STYLE);
    style &= ~WS_CAPTION;
    ::SetWindowLongW(m_hWnd, GWL_STYLE, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    ::SetWindowPos(m_hWnd, NULL, client.left, client.top, client.right - client.left, client.bottom - client.top,
                   SWP_FRAMECHANGED);

    m_PaintManager.AttachWindow(m_hWnd);
    m_PaintManager.AddPreMessageFilter(this);
    if (CWindowUIManager::GetSkinPath().IsEmpty())
        CWindowUIManager::SetSkinPath(CWindowUIManager::GetModuleFolder() + GetSkinFolder());

    CUIString skinFile = GetSkinFile();
    switch (GetSkinSource()) {
    case SkinSourceZip:
        CWindowUIManager::SetSkinZip(GetSkinZipName(), true);
        break;
    case SkinSourceZipResource:
        if (!OpenSkinZipResource()) {
            FailSkinLoad(L"ZIPRES resource: missing or empty");
            return 0;
        }
        break;
    default:
        break;
    }
    // An archive kept open that would not open is damaged.
    if (!CWindowUIManager::GetSkinZipName().IsEmpty() && CWindowUIManager::IsSkinZipKeptOpen() &&
        CWindowUIManager::GetSkinZipHandle() == NULL) {
        FailSkinLoad(L"skin zip: damaged zip archive");
        return 0;
    }

    CDialogBuilder builder;
    CControlUI* root = NULL;
    if (GetSkinSource() == SkinSourceResource)
        root = builder.Build(MAKEINTRESOURCEW(_wtoi(skinFile)), L"xml", this, &m_PaintManager);
    else
        root = builder.Build(skinFile, NULL, this, &m_PaintManager);
    if (root == NULL) {
        FailSkinLoad(builder.GetError());
        return 0;
    }
    m_PaintManager.AttachRoot(root);
    m_PaintManager.AddNotifier(this);
    OnControlsReady();
    return 0;
}

LRESULT WindowImplBase::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COPYDATA && AnswerTreeQuery(m_PaintManager.GetRoot(), wParam, lParam, m_hWnd)) return TRUE;
    LRESULT result = 0;
    bool handled = true;
    switch (msg) {
    case WM_CREATE: result = OnCreate(msg, wParam, lParam, handled); break;
    case WM_DESTROY: result = OnDestroy(msg, wParam, lParam, handled); break;
    case WM_SIZE: result = OnSize(msg, wParam, lParam, handled); break;
    case WM_SETFOCUS: result = OnSetFocus(msg, wParam, lParam, handled); break;
    case WM_KILLFOCUS: result = OnKillFocus(msg, wParam, lParam, handled); break;
    case WM_CLOSE: result = OnClose(msg, wParam, lParam, handled); break;
    case WM_GETMINMAXINFO: result = OnGetMinMaxInfo(msg, wParam, lParam, handled); break;
    case WM_NCCALCSIZE: result = OnNcCalcSize(msg, wParam, lParam, handled); break;
    case WM_NCHITTEST: result = OnNcHitTest(msg, wParam, lParam, handled); break;
    case WM_NCPAINT: result = OnNcPaint(msg, wParam, lParam, handled); break;
    case WM_NCACTIVATE: result = OnNcActivate(msg, wParam, lParam, handled); break;
    case WM_KEYDOWN: result = OnKeyDown(msg, wParam, lParam, handled); break;
    case WM_CHAR: result = OnChar(msg, wParam, lParam, handled); break;
    case WM_SYSCOMMAND: result = OnSysCommand(msg, wParam, lParam, handled); break;
    case WM_MOUSEMOVE: result = OnMouseMove(msg, wParam, lParam, handled); break;
    case WM_LBUTTONDOWN: result = OnLButtonDown(msg, wParam, lParam, handled); break;
    case WM_LBUTTONUP: result = OnLButtonUp(msg, wParam, lParam, handled); break;
    case WM_MOUSEWHEEL: result = OnMouseWheel(msg, wParam, lParam, handled); break;
    case WM_MOUSEHOVER: result = OnMouseHover(msg, wParam, lParam, handled); break;
    default: handled = false; break;
    }
    if (handled) return result;
    handled = false;
    result = HandleOtherMessage(msg, wParam, lParam, handled);
    if (handled) return result;
    if (m_PaintManager.HandleWindowMessage(msg, wParam, lParam, result)) return result;
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

} // namespace DirectUI
