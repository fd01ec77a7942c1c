#pragma once

#include "WizardFrameWnd.h"

#include "control/ButtonUI.h"
#include "control/TabLayoutUI.h"

#include <string>

// The percent the progress page shows: raised by WM_UPDATE_PROGRESS and set
// to 100 by the worker at its end; read by the timer.
extern volatile LONG g_updateProgress;
// The client executable the finished page starts.
extern wchar_t g_clientExePath[MAX_PATH];
// The current folder the updater was started in (the last place it looks for the client).
extern std::wstring g_startFolder;

// The updater's window: a progress page while a worker downloads the package,
// unpacks it over the client, registers the new version and writes the links;
// then a finished page whose button starts the client.
class CUpdateFrameWnd : public CWizardFrameWnd
{
public:
    DirectUI::CTabLayoutUI* tab_page = nullptr;
    DirectUI::CButtonUI* close_btn = nullptr;
    DirectUI::CProgressUI* process = nullptr;
    DirectUI::CLabelUI* progress_text = nullptr;
    DirectUI::CUIString url;
    std::string version;

    CUpdateFrameWnd(const char* newVersion, const wchar_t* packageUrl);

    static LPCWSTR Title() { return L"Orbela更新向导"; }

    void OnProgressTimer() override;
    void ReportUpdateStatistics();
    static DWORD WINAPI UpdateThreadProc(LPVOID job);

protected:
    LPCWSTR GetWindowClassName() const override { return L"UpdateFrameWnd"; }
    DirectUI::CUIString GetSkinFolder() override { return DirectUI::CUIString(); }
    DirectUI::CUIString GetSkinFile() override { return DirectUI::CUIString(L"main.xml"); }
    UINT GetSkinSource() override { return DirectUI::SkinSourceZipResource; }
    LPCWSTR GetSkinResourceId() override { return MAKEINTRESOURCEW(131); }
    void OnControlsReady() override;
    void Notify(DirectUI::NotifyRecord& msg) override;
    void OnClick(DirectUI::NotifyRecord& msg) override;
    void OnCloseRequest() override { AskToClose(); }
    LRESULT HandleOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    struct UpdateJob;
    enum UpdateOutcome { Updated, Stopped, DownloadFailed, ExtractFailed, OldFilesKept, RegistryFailed };

    static UpdateOutcome RunUpdate(UpdateJob& job);
    // The first folder of the client's shape (IsClientFolderShape) holding
    // "Orbela.exe" of: the registered location, the folder "Orbela" beside the
    // updater, the start folder; empty for none.
    static std::wstring FindClientFolder();
    void AskToClose();
    void OnUpdateEnded(UpdateOutcome outcome);

    std::wstring m_clientFolder;
    std::wstring m_oldVersion;      // "DisplayVersion" before the update
    UpdateJob* m_job = nullptr;     // while the worker runs
    bool m_closeWhenEnded = false;  // the user chose to quit during the update
};
