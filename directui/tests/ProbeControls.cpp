#include "ProbeControls.h"

#include "render/GdiPainter.h"

using namespace DirectUI;

ProbeUI::ProbeUI(LPCWSTR name, LPCWSTR pos, UINT flags)
    : m_class(L"ControlUI"), m_flags(flags), activated(false), leftFill(CLR_INVALID), rightFill(CLR_INVALID),
      paintedOn(NULL)
{
    SetName(name);
    SetAttribute(L"float", L"true");
    SetAttribute(L"pos", pos);
}

bool ProbeUI::Activate()
{
    activated = true;
    return CControlUI::Activate();
}

void ProbeUI::HandleEvent(ControlEvent& event)
{
    switch (event.Type) {
    case UIEVENT_MOUSEENTER: log += "enter;"; break;
    case UIEVENT_MOUSELEAVE: log += "leave;"; break;
    case UIEVENT_MOUSEMOVE: log += "move;"; break;
    case UIEVENT_MOUSEHOVER: log += "hover;"; break;
    case UIEVENT_BUTTONDOWN: log += "down;"; break;
    case UIEVENT_RBUTTONDOWN: log += "rdown;"; break;
    case UIEVENT_DBLCLICK: log += "dbl;"; break;
    case UIEVENT_CONTEXTMENU: log += "menu;"; break;
    case UIEVENT_SCROLLWHEEL: log += event.wParam == 1 ? "wheel-down;" : "wheel-up;"; break;
    case UIEVENT_SETFOCUS: log += "setfocus;"; break;
    case UIEVENT_KILLFOCUS: log += "killfocus;"; break;
    case UIEVENT_TIMER: log += "timer;"; break;
    case UIEVENT_KEYDOWN: log += "keydown;"; break;
    case UIEVENT_KEYUP: log += "keyup;"; break;
    case UIEVENT_CHAR: log += "char;"; break;
    case UIEVENT_BUTTONUP:
        log += "up;";
        if (PtInRect(&m_rcItem, event.ptMouse) && m_pManager != NULL) m_pManager->SendNotify(this, L"click");
        return;
    default: break;
    }
    CControlUI::HandleEvent(event);
}

void ProbeUI::PaintText(HDC dc)
{
    paintedOn = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
    int middle = (m_rcItem.left + m_rcItem.right) / 2;
    COLORREF fills[2] = { leftFill, rightFill };
    for (int i = 0; i < 2; ++i) {
        if (fills[i] == CLR_INVALID) continue;
        RECT half = m_rcItem;
        if (i == 0) half.right = middle;
        else half.left = middle;
        HBRUSH brush = CreateSolidBrush(fills[i]);
        FillRect(dc, &half, brush);
        DeleteObject(brush);
    }
}

void TextProbeUI::PaintText(HDC dc)
{
    RECT rc = m_rcItem;
    CGdiPainter::DrawText(dc, m_pManager, rc, m_sText, 0xFF000001, 0, DT_SINGLELINE | DT_VCENTER);
}

void NotifyRecorder::Notify(NotifyRecord& msg)
{
    Entry entry = { msg.sType.GetData(), msg.pSender, msg.wParam, msg.lParam };
    got.push_back(entry);
}

std::wstring NotifyRecorder::Types() const
{
    std::wstring all;
    for (const Entry& e : got) all += e.type + L";";
    return all;
}

std::wstring NotifyRecorder::TypesBesidesFocus() const
{
    std::wstring all;
    for (const Entry& e : got)
        if (e.type != L"setfocus" && e.type != L"killfocus") all += e.type + L";";
    return all;
}

std::wstring NotifyRecorder::SendersAndTypes() const
{
    std::wstring all;
    for (const Entry& e : got) {
        if (e.type == L"setfocus" || e.type == L"killfocus") continue;
        all += std::wstring(e.sender->GetName().GetData()) + L":" + e.type + L";";
    }
    return all;
}

ManagedWindow::ManagedWindow(int width, int height)
{
    Create(NULL, L"managed", WS_POPUP, 0, 0, 0, width, height);
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
}

ManagedWindow::~ManagedWindow()
{
    if (IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
}

void ManagedWindow::Repaint()
{
    InvalidateRect(m_hWnd, NULL, FALSE);
    UpdateWindow(m_hWnd);
}

void ManagedWindow::Mouse(UINT msg, int x, int y, WPARAM wParam)
{
    ::SendMessageW(m_hWnd, msg, wParam, MAKELPARAM(x, y));
}

void ManagedWindow::ScreenMouse(UINT msg, int x, int y, WPARAM wParam)
{
    POINT pt = { x, y };
    ClientToScreen(m_hWnd, &pt);
    ::SendMessageW(m_hWnd, msg, wParam, MAKELPARAM(pt.x, pt.y));
}

LRESULT ManagedWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE) manager.AttachWindow(m_hWnd);
    LRESULT result = 0;
    if (manager.HandleWindowMessage(msg, wParam, lParam, result)) return result;
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (!CWindowUIManager::TranslateQueuedMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}
