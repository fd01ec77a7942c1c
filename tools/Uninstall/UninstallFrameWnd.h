#pragma once

#include "WizardFrameWnd.h"

#include "control/TabLayoutUI.h"

#include <string>

// The progress page's counter, raised by the timer and by the routine.
extern volatile unsigned int g_uninstallProgress;

// The uninstaller's window: confirm, progress and done pages. Its work runs
// on the window thread, the folder's removal on a thread of its own; closing
// the done page deletes the uninstaller.
class CUninstallFrameWnd : public CWizardFrameWnd
{
public:
    DirectUI::CTabLayoutUI* tab_page = nullptr;
    DirectUI::CProgressUI* process = nullptr;
    DirectUI::CLabelUI* progress_text = nullptr;
    bool confirmExit = true;

    static LPCWSTR Title() { return L"Orbela卸载向导"; }

    void RunUninstall();
    void OnProgressTimer() override;

protected:
    LPCWSTR GetWindowClassName() const override { return L"UninstallMainWnd"; }
    DirectUI::CUIString GetSkinFolder() override { return DirectUI::CUIString(); }
    DirectUI::CUIString GetSkinFile() override { return DirectUI::CUIString(L"main.xml"); }
    UINT GetSkinSource() override { return DirectUI::SkinSourceZipResource; }
    LPCWSTR GetSkinResourceId() override { return MAKEINTRESOURCEW(132); }
    void OnControlsReady() override;
    void Notify(DirectUI::NotifyRecord& msg) override;
    void OnClick(DirectUI::NotifyRecord& msg) override;
    void OnCloseRequest() override { CloseOrAsk(); }

private:
    // The close button and the system close: the batch once the work is
    // done, otherwise the exit question. While the folders are still being
    // removed the close is only noted: the progress timer ends the wizard
    // when the removal ends or its wait is over, so the window keeps painting.
    void CloseOrAsk();
    // Whether the removal of the client folder and its parent still runs;
    // its thread's handle is closed once it has ended.
    bool RemovalRunning();
    // The clean-up batch, then the end of the process.
    void DeleteSelfAndExitNow();

    std::wstring m_clientFolder;  // the folder this run removed; empty when none
    bool m_runsFromFolder = false;  // whether this uninstaller runs from that folder, asked once
    HANDLE m_removal = NULL;      // the removal's thread while it may run
    bool m_closeAsked = false;    // a close came while the removal ran
    DWORD m_closeAskedAt = 0;     // its tick count
};
