#include "HelperProbeFrameWnd.h"

#include "MessageBoxFrameWnd.h"
#include "ConsoleLine.h"

using namespace DirectUI;

namespace {

// Posted to itself once the window stands, so the box runs from the message loop.
const UINT kRunAction = WM_APP + 1;

} // namespace

CHelperProbeFrameWnd::CHelperProbeFrameWnd(Action action, std::wstring text, int font, bool withCancel,
                                           bool keepOpen)
    : m_action(action), m_text(std::move(text)), m_font(font), m_withCancel(withCancel), m_keepOpen(keepOpen)
{
}

void CHelperProbeFrameWnd::OnControlsReady()
{
    EnableWorkerMessageBoxes(this);
    PostMessage(kRunAction);
}

LRESULT CHelperProbeFrameWnd::HandleOtherMessage(UINT msg, WPARAM, LPARAM, bool& handled)
{
    if (msg != kRunAction) return 0;
    handled = true;
    if (m_action == Action::Box) {
        int result = ShowMessageBox(this, CUIString(m_text.c_str()), m_font, m_withCancel);
        PrintLine(L"result " + std::to_wstring(result));
        if (!m_keepOpen) Close(0);
    } else if (m_action == Action::WorkerBox) {
        DWORD windowThread = ::GetCurrentThreadId();
        CloseHandle(CreateThread(NULL, 0, BoxThreadWatch, reinterpret_cast<LPVOID>(windowThread), 0, NULL));
        CloseHandle(CreateThread(NULL, 0, WorkerBoxThread, this, 0, NULL));
    }
    return 0;
}

void CHelperProbeFrameWnd::OnCloseRequest()
{
    PrintLine(::IsIconic(m_hWnd) ? L"close asked while minimised" : L"close asked while shown");
    Close(0);
}

DWORD WINAPI CHelperProbeFrameWnd::WorkerBoxThread(LPVOID parameter)
{
    CHelperProbeFrameWnd* frame = static_cast<CHelperProbeFrameWnd*>(parameter);
    int result = ShowMessageBox(frame, CUIString(frame->m_text.c_str()), frame->m_font, frame->m_withCancel);
    PrintLine(L"result " + std::to_wstring(result));
    frame->PostMessage(WM_CLOSE);
    return 0;
}

// Tells which thread the worker's box runs on, once it appears.
DWORD WINAPI CHelperProbeFrameWnd::BoxThreadWatch(LPVOID windowThreadId)
{
    for (int i = 0; i < 400; ++i) {
        HWND box = ::FindWindowW(NULL, CMessageBoxFrameWnd::WindowTitle());
        if (box != NULL) {
            bool onWindowThread = ::GetWindowThreadProcessId(box, NULL) == reinterpret_cast<DWORD_PTR>(windowThreadId);
            PrintLine(onWindowThread ? L"box thread window" : L"box thread other");
            return 0;
        }
        ::Sleep(25);
    }
    PrintLine(L"box thread none");
    return 0;
}
