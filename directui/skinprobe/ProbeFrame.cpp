#include "ProbeFrame.h"

#include "ProbeOutput.h"
#include "control/ControlUI.h"

using namespace DirectUI;

namespace {

// A message parameter as a signed number of the pointer's width, so a value
// prints the same on 32-bit and 64-bit Windows.
long long MessageNumber(UINT_PTR value)
{
    return static_cast<LONG_PTR>(value);
}

} // namespace

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
        ProbeOut(L"notify %ls %ls %lld %lld", msg.sType.GetData(), sender.GetData(), MessageNumber(msg.wParam),
                 MessageNumber(msg.lParam));
    }
    WindowImplBase::Notify(msg);
}

LRESULT ProbeFrame::OnClose(UINT, WPARAM wParam, LPARAM, bool& handled)
{
    if (m_bPrintNotifications) ProbeOut(L"close %lld", MessageNumber(wParam));
    handled = false;
    return 0;
}

LRESULT ProbeFrame::OnDestroy(UINT, WPARAM, LPARAM, bool& handled)
{
    m_bClosed = true;
    handled = false;
    return 0;
}
