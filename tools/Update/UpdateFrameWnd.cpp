#include "UpdateFrameWnd.h"

#include "ClientFolder.h"
#include "ClientShortcuts.h"
#include "ExtractorRunner.h"
#include "FreshFile.h"
#include "HttpDownload.h"
#include "MessageBoxFrameWnd.h"
#include "OemText.h"
#include "ProcessControl.h"
#include "StatisticsReport.h"
#include "UninstallEntry.h"
#include "UpdateTestSeam.h"
#include "UpdateUnpacking.h"
#include "WizardNotices.h"

#include <algorithm>
#include <cwchar>

using namespace DirectUI;

volatile LONG g_updateProgress = 0;
wchar_t g_clientExePath[MAX_PATH] = { 0 };
std::wstring g_startFolder;

namespace {

const int kExtractorResourceId = 130;
const UINT kProgressTimerMs = 100;
const DWORD kFinishedPauseMs = 2000;
// The client has handed over and is ending: it gets this long before its
// processes in the client folder are stopped.
const DWORD kClientEndWaitMs = 10000;

// The worker's end, posted with the outcome as wParam.
const UINT kUpdateEndedMessage = WM_APP + 112;

// The job's state: the window may stop a running download; once the worker
// has committed to extracting, it finishes the extraction, the entry and the links.
const LONG kJobRunning = 0;
const LONG kJobStopAsked = 1;
const LONG kJobCommitted = 2;

const wchar_t* const kExitQuestion = L"确定要退出更新程序？";
const wchar_t* const kDownloadFailedText = L"更新包下载失败！";
const wchar_t* const kClientFolderWrongText = L"Orbela目录有误！";
// What failed, and on the box's second line the folder that keeps the old files.
const wchar_t* const kOldFilesKeptText = L"部分旧文件未能恢复，保存在：\n";
// The default games folder inside the client folder: a game the player runs
// from there is no file of the package.
const wchar_t* const kGamesFolder = L"VRGames";

std::wstring ModuleFolder()
{
    wchar_t path[MAX_PATH] = { 0 };
    DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::wstring();
    return ParentFolderOf(path);
}

} // namespace

// What the window thread hands to the worker.
struct CUpdateFrameWnd::UpdateJob {
    CUpdateFrameWnd* frame;
    HWND window;
    std::wstring url;
    std::wstring version;
    std::wstring clientFolder;
    volatile LONG state;
};

CUpdateFrameWnd::CUpdateFrameWnd(const char* newVersion, const wchar_t* packageUrl)
    : url(packageUrl), version(newVersion != NULL ? newVersion : "")
{
}

std::wstring CUpdateFrameWnd::FindClientFolder()
{
    std::wstring registered;
    ReadUninstallValue(L"InstallLocation", registered);
    std::wstring beside = ModuleFolder();
    const std::wstring candidates[] = {
        WithoutTrailingBackslashes(registered),
        beside.empty() ? std::wstring() : beside + L"\\Orbela",
        WithoutTrailingBackslashes(g_startFolder),
    };
    // Each candidate as the uninstaller takes a folder: named "Orbela" below a
    // root, holding the client; never a root, a system folder or ".." parts.
    for (const std::wstring& folder : candidates) {
        if (IsClientFolderShape(folder) && HoldsClient(folder))
            return folder;
    }
    return std::wstring();
}

void CUpdateFrameWnd::OnControlsReady()
{
    CenterWindow();
    tab_page = static_cast<CTabLayoutUI*>(m_PaintManager.FindControl(L"tab_page"));
    close_btn = static_cast<CButtonUI*>(m_PaintManager.FindControl(L"close_btn"));
    process = static_cast<CProgressUI*>(m_PaintManager.FindControl(L"process"));
    progress_text = static_cast<CLabelUI*>(m_PaintManager.FindControl(L"progress_text"));
    if (!tab_page || !close_btn || !process || !progress_text || !m_PaintManager.FindControl(L"start_btn")) {
        // A skin without the updater's controls is a skin that failed to load.
        ::MessageBoxW(NULL, SkinLoadFailedText(), SkinLoadFailedCaption(), MB_OK);
        ::ExitProcess(1);
    }
    CMessageBoxFrameWnd::SetWizardIdentity(L"Orbela更新", 131);
    EnableWorkerMessageBoxes(this);
    g_updateProgress = 0;
    tab_page->SelectTab(0);

    // Never a folder without the client: nothing is downloaded, nothing reported.
    m_clientFolder = FindClientFolder();
    if (m_clientFolder.empty()) {
        ShowAlert(this, kClientFolderWrongText);
        Close(1);
        return;
    }
    const std::wstring client = m_clientFolder + L"\\Orbela.exe";
    wcsncpy(g_clientExePath, client.c_str(), MAX_PATH - 1);
    g_clientExePath[MAX_PATH - 1] = L'\0';
    ReadUninstallValue(L"DisplayVersion", m_oldVersion);

    ::SetTimer(m_hWnd, PROGRESS_TIMER_ID, kProgressTimerMs, NULL);
    ReportUpdateStatistics();

    UpdateJob* job = new UpdateJob{ this, m_hWnd, url.GetData(), AnsiToWide(version), m_clientFolder, kJobRunning };
    HANDLE worker = ::CreateThread(NULL, 0, UpdateThreadProc, job, 0, NULL);
    if (worker == NULL) {
        delete job;
        ::KillTimer(m_hWnd, PROGRESS_TIMER_ID);
        ShowAlert(this, kWorkerStartFailedText);
        Close(1);
        return;
    }
    ::CloseHandle(worker);
    m_job = job;
}

void CUpdateFrameWnd::ReportUpdateStatistics()
{
    StatisticsFields fields = CollectStatisticsFields("update");
    fields.hasVersions = true;
    fields.oldVersion = WideToOemString(m_oldVersion);
    fields.newVersion = version;
    PostStatistics(fields);
}

void CUpdateFrameWnd::Notify(NotifyRecord& msg)
{
    if (msg.sType == L"click" && msg.pSender != NULL && msg.pSender->GetName() == L"start_btn")
        StartClientAndExit(g_clientExePath);
    CWizardFrameWnd::Notify(msg);
}

void CUpdateFrameWnd::OnClick(NotifyRecord& msg)
{
    if (msg.pSender == NULL)
        return;
    CUIString name = msg.pSender->GetName();
    if (name == L"close_btn")
        AskToClose();
    else if (name == L"min_btn")
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CUpdateFrameWnd::AskToClose()
{
    if (m_closeWhenEnded)
        return;
    if (ShowMessageBox(this, kExitQuestion, kExitQuestionFont, true) != 1)
        return;
    if (m_job != NULL) {
        // A download stops at its next read; an extraction already begun runs
        // to its end with the entry and the links. The window closes on the worker's end.
        ::InterlockedCompareExchange(&m_job->state, kJobStopAsked, kJobRunning);
        m_closeWhenEnded = true;
        return;
    }
    Close(1);
}

namespace {

// The percent only rises: a download message still queued when the worker
// has stored its final 100 never takes the bar back.
void RaiseUpdateProgress(LONG percent)
{
    for (LONG current = g_updateProgress; current < percent; current = g_updateProgress) {
        if (::InterlockedCompareExchange(&g_updateProgress, percent, current) == current)
            break;
    }
}

} // namespace

LRESULT CUpdateFrameWnd::HandleOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled)
{
    // Taken by the window itself, not by a pre-message filter, which the
    // system's move and menu loops skip.
    if (msg == WM_UPDATE_PROGRESS) {
        handled = true;
        RaiseUpdateProgress(static_cast<LONG>(wParam));
        return 0;
    }
    if (msg == kUpdateEndedMessage) {
        handled = true;
        OnUpdateEnded(static_cast<UpdateOutcome>(wParam));
        return 0;
    }
    return CWizardFrameWnd::HandleOtherMessage(msg, wParam, lParam, handled);
}

void CUpdateFrameWnd::OnProgressTimer()
{
    LONG percent = g_updateProgress;
    if (percent < 100) {
        ShowPercent(process, progress_text, static_cast<unsigned int>(percent));
        return;
    }
    ::KillTimer(m_hWnd, PROGRESS_TIMER_ID);
    ::Sleep(kFinishedPauseMs);
    tab_page->SelectTab(1);
}

void CUpdateFrameWnd::OnUpdateEnded(UpdateOutcome outcome)
{
    delete m_job;
    m_job = NULL;
    if (outcome == Updated && !m_closeWhenEnded)
        return;  // the timer shows the finished page
    ::KillTimer(m_hWnd, PROGRESS_TIMER_ID);
    if (outcome == DownloadFailed)
        ShowAlert(this, kDownloadFailedText);
    else if (outcome == ExtractFailed)
        ShowAlert(this, kExtractFailedText);
    else if (outcome == OldFilesKept)
        ShowAlert(this, CUIString((kOldFilesKeptText + m_clientFolder + L"\\" + kUpdateKeptFolder).c_str()));
    else if (outcome == RegistryFailed)
        ShowAlert(this, kRegistryWriteFailedText);
    // A failed update ends the updater without starting the client.
    Close(1);
}

DWORD WINAPI CUpdateFrameWnd::UpdateThreadProc(LPVOID parameter)
{
    UpdateJob* job = static_cast<UpdateJob*>(parameter);
    HWND window = job->window;
    UpdateOutcome outcome = RunUpdate(*job);
    // The last touch of the job: the window deletes it on this message.
    ::PostMessageW(window, kUpdateEndedMessage, outcome, 0);
    return 0;
}

CUpdateFrameWnd::UpdateOutcome CUpdateFrameWnd::RunUpdate(UpdateJob& job)
{
    // An earlier run cut off or failed: its old files come back before anything else.
    if (!UndoEarlierUpdate(job.clientFolder))
        return OldFilesKept;
    std::wstring package, extractor;
    if (!TemporaryPackagePaths(package, extractor))
        return ExtractFailed;

    const void* bytes = NULL;
    size_t size = 0;
    if (!FindOwnResource(L"exe", kExtractorResourceId, &bytes, &size)
        || WriteFreshFile(extractor.c_str(), bytes, size, FreshFileCheck::Bytes) != FreshFileResult::Written)
        return ExtractFailed;

    // Whatever an earlier run left under the package's name is never unpacked:
    // the download writes a new file, and the archive is tested before use.
    bool downloaded = HttpDownloadToFile(job.url.c_str(), package.c_str(), job.window, &job.state)
        && TestArchive(extractor, package, ParentFolderOf(extractor)) == 0;
    if (!downloaded) {
        ::DeleteFileW(package.c_str());
        return job.state == kJobStopAsked ? Stopped : DownloadFailed;
    }
    if (::InterlockedCompareExchange(&job.state, kJobCommitted, kJobRunning) != kJobRunning) {
        ::DeleteFileW(package.c_str());
        return Stopped;
    }

    // An update package holds the client's files at its top level. Once it
    // is staged, nothing may hold the files it puts in place: the client's
    // processes get their time to end, then those left are stopped.
    const std::wstring games = job.clientFolder + L"\\" + kGamesFolder + L"\\";
    auto stopUsers = [&games](const std::vector<std::wstring>& clientFiles) {
        std::vector<std::wstring> images;
        for (const std::wstring& file : clientFiles) {
            if (CompareStringOrdinal(file.c_str(), static_cast<int>(std::min(file.size(), games.size())), games.c_str(),
                                     -1, TRUE) != CSTR_EQUAL)
                images.push_back(file);
        }
        StopProcessesWithImages(images, WaitLimitForTest(L"ORBELA_UPDATE_CLIENT_END_MS", kClientEndWaitMs));
    };
    UnpackOutcome unpacked = UnpackOverClient(extractor, package, job.clientFolder, stopUsers);
    if (unpacked == UnpackOutcome::OldFilesKept)
        return OldFilesKept;
    if (unpacked != UnpackOutcome::Placed || !HoldsClient(job.clientFolder))
        return ExtractFailed;
    DeleteUninstallEntry();
    if (!WriteUninstallEntry(job.clientFolder, job.version))
        return RegistryFailed;
    CreateClientShortcutsWithNotices(job.frame, job.clientFolder);
    // Stored, not posted: the window's timer reads it whatever loop runs.
    ::InterlockedExchange(&g_updateProgress, 100);
    return Updated;
}
