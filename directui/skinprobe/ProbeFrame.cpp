#include "ProbeFrame.h"

#include "ProbeOutput.h"
#include "control/ControlUI.h"

using namespace DirectUI;

ProbeFrame::ProbeFrame(LPCWSTR skinFile, bool printNotifications)
    : m_sSkinFile(skinFile), m_bPrintNotifications(printNotifications), m_bClosed(false)
{
}

void ProbeFrame::Notify(NotifyRecord& msg)
{
    if (m_bPrintNotifications) {
        CUIString sender = L"-";
        if (msg.pSender != NULL) sender = msg.pSender->GetName().IsEmpty() ? CUIString(msg.pSender->GetControlClass())
                                                                            : msg.pSender->GetName();
        ProbeOut(L"notify %ls %ls %ld %ld", msg.sType.GetData(), sender.GetData(), (long)msg.wParam, (long)msg.lParam);
    }
    WindowImplBase::Notify(msg);
}

LRESULT ProbeFrame::OnClose(UINT, WPARAM wParam, LPARAM, bool& handled)
{
    if (m_bPrintNotifications) ProbeOut(L"close %ld", (long)wParam);
    handled = false;
    return 0;
}

LRESULT ProbeFrame::OnDestroy(UINT, WPARAM, LPARAM, bool& handled)
{
    m_bClosed = true;
    handled = false;
    return 0;
}
