#pragma once

#include "WizardFrameWnd.h"

#include "control/ButtonUI.h"
#include "control/EditUI.h"
#include "control/LabelUI.h"
#include "control/OptionUI.h"
#include "control/ProgressUI.h"
#include "control/TabLayoutUI.h"

#include <string>

// The client executable the finished page starts.
extern wchar_t g_clientExePath[MAX_PATH];

// The installer's window: quick setup (with the expandable folder area),
// licence, progress and finished pages in one tab layout. The install itself
// runs on a worker thread that reports to the window by posted messages.
class CInstallationFrameWnd : public CWizardFrameWnd
{
public:
    DirectUI::CTabLayoutUI* tab_page = nullptr;
    DirectUI::CControlUI* page_quick_setup = nullptr;
    DirectUI::CButtonUI* terms_btn = nullptr;
    DirectUI::CButtonUI* down = nullptr;
    DirectUI::CButtonUI* logo = nullptr;
    DirectUI::CButtonUI* custom_btn = nullptr;
    DirectUI::CButtonUI* quicksetupbtn = nullptr;
    DirectUI::CButtonUI* chanage_path_btn = nullptr;
    DirectUI::CEditUI* setup_path = nullptr;
    DirectUI::COptionUI* checkbox_terms = nullptr;
    DirectUI::CProgressUI* process = nullptr;
    DirectUI::CLabelUI* progress_text = nullptr;
    int reinstall = 0;
    DirectUI::CButtonUI* start_btn = nullptr;
    DirectUI::CLabelUI* lb_need_space = nullptr;
    DirectUI::CLabelUI* lb_available_space = nullptr;
    unsigned int progress = 0;

    static LPCWSTR Title() { return L"Orbela安装向导"; }
    static LPCWSTR PackageVersion() { return L"1.1.1.81"; }

    void CheckInstalledVersion();
    bool StartInstall();
    bool PrepareReinstall();
    void OnProgressTimer() override;
    static DWORD WINAPI InstallThreadProc(LPVOID frame);

protected:
    LPCWSTR GetWindowClassName() const override { return L"InstallationMainWnd"; }
    DirectUI::CUIString GetSkinFolder() override { return DirectUI::CUIString(); }
    DirectUI::CUIString GetSkinFile() override { return DirectUI::CUIString(L"main.xml"); }
    UINT GetSkinSource() override { return DirectUI::SkinSourceZipResource; }
    LPCWSTR GetSkinResourceId() override { return MAKEINTRESOURCEW(132); }
    void OnControlsReady() override;
    void Notify(DirectUI::NotifyRecord& msg) override;
    void OnClick(DirectUI::NotifyRecord& msg) override;
    void OnCloseRequest() override { AskToClose(); }
    LRESULT HandleOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    struct InstallJob;
    enum InstallOutcome { Installed, Stopped, ExtractFailed, RegistryFailed };

    static InstallOutcome RunInstall(InstallJob& job);
    void SetExpanded(bool expand);
    void ShowAvailableSpace(const std::wstring& folder);
    // The folder's drive can be checked and has the required space; a notice otherwise.
    bool HasRequiredSpace(const std::wstring& folder);
    // The exit question; on OK the window closes, or, while the worker runs,
    // the worker is told to stop and the window closes on its end.
    void AskToClose();
    void OnInstallStep(unsigned int percent);
    void OnInstallEnded(InstallOutcome outcome);

    bool m_expanded = false;
    InstallJob* m_job = nullptr;      // while the worker runs
    bool m_closeWhenEnded = false;    // the user chose to quit during the install
};
