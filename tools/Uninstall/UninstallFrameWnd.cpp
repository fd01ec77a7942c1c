#include "UninstallFrameWnd.h"

#include "ClientFolder.h"
#include "ClientProcessQuestions.h"
#include "DebugPrivilege.h"
#include "FolderRemoval.h"
#include "MessageBoxFrameWnd.h"
#include "SelfDelete.h"
#include "ShortcutRemoval.h"
#include "StatisticsReport.h"
#include "UninstallEntry.h"
#include "UninstallWaits.h"

#include <shlobj.h>

#include <cwchar>

using namespace DirectUI;

volatile unsigned int g_uninstallProgress = 0;

namespace {

const UINT kProgressTimerMs = 100;

const wchar_t* const kExitQuestion = L"确定要退出Orbela卸载程序？";
const wchar_t* const kClientFolderWrongText = L"Orbela目录有误！";

} // namespace

void CUninstallFrameWnd::OnControlsReady()
{
    tab_page = static_cast<CTabLayoutUI*>(m_PaintManager.FindControl(L"tab_page"));
    process = static_cast<CProgressUI*>(m_PaintManager.FindControl(L"process"));
    progress_text = static_cast<CLabelUI*>(m_PaintManager.FindControl(L"progress_text"));
    if (!tab_page || !process || !progress_text || !m_PaintManager.FindControl(L"down")
        || !m_PaintManager.FindControl(L"cancel")) {
        // A skin without the uninstaller's controls is a skin that failed to load.
        ::MessageBoxW(NULL, SkinLoadFailedText(), SkinLoadFailedCaption(), MB_OK);
        ::ExitProcess(1);
    }
    CMessageBoxFrameWnd::SetWizardIdentity(L"Orbela", 132);
    CenterWindow();
    confirmExit = true;
}

void CUninstallFrameWnd::Notify(NotifyRecord& msg)
{
    if (msg.sType == L"click" && msg.pSender != NULL) {
        CUIString name = msg.pSender->GetName();
        if (name == L"down")
            RunUninstall();
        else if (name == L"cancel")
            Close(1);
    }
    CWizardFrameWnd::Notify(msg);
}

void CUninstallFrameWnd::OnClick(NotifyRecord& msg)
{
    if (msg.pSender == NULL)
        return;
    CUIString name = msg.pSender->GetName();
    if (name == L"close_btn")
        CloseOrAsk();
    else if (name == L"min_btn")
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CUninstallFrameWnd::CloseOrAsk()
{
    if (!confirmExit) {
        if (!RemovalRunning())
            DeleteSelfAndExitNow();
        if (!m_closeAsked) {
            m_closeAsked = true;
            m_closeAskedAt = ::GetTickCount();
        }
        return;
    }
    if (ShowMessageBox(this, kExitQuestion, kExitQuestionFont, true) == 1)
        Close(1);
}

bool CUninstallFrameWnd::RemovalRunning()
{
    if (m_removal == NULL)
        return false;
    if (::WaitForSingleObject(m_removal, 0) == WAIT_TIMEOUT)
        return true;
    ::CloseHandle(m_removal);
    m_removal = NULL;
    return false;
}

void CUninstallFrameWnd::DeleteSelfAndExitNow()
{
    // A removal still running past its wait ends with the process; the batch follows.
    if (m_removal != NULL)
        ::CloseHandle(m_removal);
    m_removal = NULL;
    DeleteSelfAndExit(m_clientFolder, m_runsFromFolder);
}

void CUninstallFrameWnd::OnProgressTimer()
{
    const bool removing = RemovalRunning();
    if (m_closeAsked && (!removing || ::GetTickCount() - m_closeAskedAt >= CloseWaitMs()))
        DeleteSelfAndExitNow();
    // The done page waits for the folders' removal.
    if (g_uninstallProgress >= 99 && removing)
        return;
    g_uninstallProgress += 1;
    if (g_uninstallProgress <= 100) {
        ShowPercent(process, progress_text, g_uninstallProgress);
        return;
    }
    ::KillTimer(m_hWnd, PROGRESS_TIMER_ID);
    // Only a folder that is gone is reported removed, or one that holds
    // nothing but the running uninstaller: the clean-up batch at the close
    // finishes that one.
    if (!m_clientFolder.empty() && !ClientFolderRemoved(m_clientFolder, SelfPath(), m_runsFromFolder)) {
        ShowAlert(this, kClientFolderWrongText);
        return;
    }
    confirmExit = false;
    tab_page->SelectTab(2);
}

void CUninstallFrameWnd::RunUninstall()
{
    // The folder first: processes are stopped only by their place in it, and
    // only a folder that is an Orbela install is ever removed. Only a folder
    // found missing counts as a vanished install, never one that cannot be checked.
    std::wstring location;
    bool registered = ReadUninstallValue(L"InstallLocation", location);
    const std::wstring folder = WithoutTrailingBackslashes(location);
    const PathKind kind = KindOfPath(folder);
    const bool exists = kind == PathKind::Folder;
    if (!registered || !IsClientFolderShape(folder) || (kind != PathKind::Missing && (!exists || !HoldsClient(folder)))) {
        ShowAlert(this, kClientFolderWrongText);
        return;
    }

    EnableDebugPrivilege();
    if (!AskToStopClientProcesses(this, folder, L"检测到Orbela正在运行，卸载将关闭Orbela，是否继续？",
                                  L"检测到Orbela正在升级，卸载将关闭升级程序，是否继续？")) {
        Close(1);
        return;
    }

    tab_page->SelectTab(1);
    ::SetTimer(m_hWnd, PROGRESS_TIMER_ID, kProgressTimerMs, NULL);
    ReportInstallStatistics("uninstall");

    UnpinAndDeleteShortcut(CSIDL_APPDATA, L"Orbela.lnk");
    UnpinAndDeleteShortcut(CSIDL_APPDATA, L"卸载Orbela.lnk");
    for (const wchar_t* link : { L"Orbela\\Orbela.lnk", L"Orbela\\卸载Orbela.lnk" }) {
        if (FindInSpecialFolder(CSIDL_PROGRAMS, link))
            DeleteInSpecialFolder(CSIDL_PROGRAMS, link, false);
    }
    if (FindInSpecialFolder(CSIDL_PROGRAMS, L"Orbela"))
        DeleteInSpecialFolder(CSIDL_PROGRAMS, L"Orbela", true);
    for (int folderId : { CSIDL_APPDATA, CSIDL_DESKTOP }) {
        for (const wchar_t* link : { L"Orbela.lnk", L"卸载Orbela.lnk" }) {
            if (FindInSpecialFolder(folderId, link))
                DeleteInSpecialFolder(folderId, link, false);
        }
    }

    const std::wstring self = SelfPath();
    if (!self.empty())
        SHChangeNotify(SHCNE_DELETE, SHCNF_PATHW, self.c_str(), NULL);

    if (exists) {
        m_clientFolder = folder;
        m_runsFromFolder = RunsFromFolder(folder, self);
        m_removal = StartClientFolderRemoval(folder, self, m_runsFromFolder);
    }
    DeleteUninstallEntry();
    confirmExit = false;
    if (g_uninstallProgress < 90)
        g_uninstallProgress = 90;
}
