#include "ClientProcessQuestions.h"

#include "MessageBoxFrameWnd.h"
#include "ProcessControl.h"

bool AskToStopClientProcesses(DirectUI::WindowImplBase* owner, const std::wstring& clientFolder,
                              const wchar_t* clientQuestion, const wchar_t* updaterQuestion)
{
    const struct {
        const wchar_t* exe;
        const wchar_t* question;
    } programs[] = {
        { L"Orbela.exe", clientQuestion },
        { L"Update.exe", updaterQuestion },
    };
    for (const auto& program : programs) {
        if (!IsProcessRunning(program.exe, clientFolder.c_str()))
            continue;
        if (ShowMessageBox(owner, program.question, kNoticeFont, false) != 1)
            return false;
        KillProcessByName(program.exe, clientFolder.c_str());
    }
    return true;
}
