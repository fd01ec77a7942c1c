#include "WizardFrameWnd.h"

#include <shellapi.h>

#include <cwchar>

LRESULT CWizardFrameWnd::HandleOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled)
{
    // Taken by the window itself, not by a pre-message filter: the system's
    // move and menu loops hand the ticks straight to the window.
    if (msg == WM_TIMER && wParam == PROGRESS_TIMER_ID) {
        handled = true;
        OnProgressTimer();
        return 0;
    }
    return WindowImplBase::HandleOtherMessage(msg, wParam, lParam, handled);
}

LRESULT CWizardFrameWnd::OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled)
{
    // Posted or sent (Alt+F4, the system menu), every close ends up here.
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        // The question would not be seen over a minimised window.
        if (::IsIconic(m_hWnd))
            SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
        OnCloseRequest();
        return 0;
    }
    return WindowImplBase::OnSysCommand(msg, wParam, lParam, handled);
}

void CWizardFrameWnd::ShowPercent(DirectUI::CProgressUI* bar, DirectUI::CLabelUI* label, unsigned int percent)
{
    bar->SetValue(static_cast<int>(percent));
    wchar_t text[16];
    _snwprintf(text, 15, L"%d%%", static_cast<int>(percent));
    text[15] = L'\0';
    label->SetText(text);
}

void CWizardFrameWnd::StartClientAndExit(const wchar_t* clientExe)
{
    ::ShellExecuteW(NULL, L"open", clientExe, NULL, NULL, SW_SHOW);
    ::PostQuitMessage(0);
    ::ExitProcess(0);
}
