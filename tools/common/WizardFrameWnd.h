#pragma once

#include "window/WindowImplBase.h"

#include "control/LabelUI.h"
#include "control/ProgressUI.h"

// The progress timer the wizards run on their windows.
const UINT PROGRESS_TIMER_ID = 111;

// What the wizards' windows share: the progress timer's ticks, a close asked
// for by the system (Alt+F4, the system menu, a posted SC_CLOSE) routed to the
// wizard's own question, and the percent shown on a bar and its label.
class CWizardFrameWnd : public DirectUI::WindowImplBase
{
public:
    virtual void OnProgressTimer() = 0;

protected:
    // The system asked to close the window (restored first when minimised).
    virtual void OnCloseRequest() = 0;

    // The progress timer's ticks, however they are delivered.
    LRESULT HandleOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

    // The bar at the percent and its label as "N%".
    static void ShowPercent(DirectUI::CProgressUI* bar, DirectUI::CLabelUI* label, unsigned int percent);

    // The finished page's button: starts the client without arguments and
    // ends the wizard.
    static void StartClientAndExit(const wchar_t* clientExe);
};
