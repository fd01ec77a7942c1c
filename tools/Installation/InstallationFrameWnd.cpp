#include "InstallationFrameWnd.h"

#include "ClientFolder.h"
#include "ClientProcessQuestions.h"
#include "ClientShortcuts.h"
#include "DiskSpace.h"
#include "ExtractorRunner.h"
#include "FolderTreeRemoval.h"
#include "FreshFile.h"
#include "MessageBoxFrameWnd.h"
#include "ProductPage.h"
#include "StatisticsReport.h"
#include "UninstallEntry.h"
#include "UpdateSwapRecord.h"
#include "VersionNumber.h"
#include "WizardNotices.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cwchar>

using namespace DirectUI;

wchar_t g_clientExePath[MAX_PATH] = { 0 };

namespace {

const int kPackageResourceId = 131;
const int kExtractorResourceId = 130;
const unsigned long long kRequiredMegabytes = 131;
const size_t kMaxFolderLength = 150;

// The worker's reports: a step reached (wParam the percent it stands for)
// and its end (wParam the outcome). Posted, so the worker never waits on the window.
const UINT kInstallStepMessage = WM_APP + 111;
const UINT kInstallEndedMessage = WM_APP + 112;

const wchar_t* const kExitQuestion = L"确定要退出Orbela安装程序？";

// "X:\..." with a drive letter: the only folders the installer takes.
bool IsDriveAbsolute(const std::wstring& folder)
{
    return folder.size() >= 3 && iswalpha(folder[0]) && folder[0] < 0x80 && folder[1] == L':' && folder[2] == L'\\';
}

std::wstring ClientFolderOf(const std::wstring& root)
{
    return WithoutTrailingBackslashes(root) + L"\\Orbela";
}

// A drive-absolute folder as the system resolves it ("C:\x\..\Games" is
// "C:\Games"), without trailing backslashes except for a drive root, which
// keeps its one ("E:\"). So the recorded client folder never holds "." or
// ".." and the uninstaller can remove it. Other texts stay as typed (the
// space check refuses them).
std::wstring NormalisedRoot(const std::wstring& folder)
{
    if (!IsDriveAbsolute(folder))
        return folder;
    wchar_t full[MAX_PATH] = { 0 };
    DWORD length = ::GetFullPathNameW(folder.c_str(), MAX_PATH, full, NULL);
    if (length == 0 || length >= MAX_PATH)
        return folder;
    std::wstring root = WithoutTrailingBackslashes(std::wstring(full, length));
    return root.size() == 2 ? root + L"\\" : root;
}

// Free whole megabytes on the folder's drive; false when they cannot be read.
bool FreeMegabytes(const std::wstring& folder, unsigned long long& megabytes)
{
    ULARGE_INTEGER available, total, free;
    if (!GetDiskFreeSpaceExW(folder.substr(0, 3).c_str(), &available, &total, &free))
        return false;
    megabytes = free.QuadPart >> 20;
    return true;
}

std::wstring FormatText(const wchar_t* format, double value)
{
    wchar_t text[64];
    _snwprintf(text, 63, format, value);
    text[63] = L'\0';
    return text;
}

} // namespace

// What the window thread hands to the worker: the folder, read once on the
// window thread, and the stop flag it may raise.
struct CInstallationFrameWnd::InstallJob {
    CInstallationFrameWnd* frame;
    HWND window;
    std::wstring root;
    volatile LONG stop;
};

void CInstallationFrameWnd::OnControlsReady()
{
    tab_page = static_cast<CTabLayoutUI*>(m_PaintManager.FindControl(L"tab_page"));
    page_quick_setup = m_PaintManager.FindControl(L"page_quick_setup");
    terms_btn = static_cast<CButtonUI*>(m_PaintManager.FindControl(L"terms_btn"));
    down = static_cast<CButtonUI*>(m_PaintManager.FindControl(L"down"));
    logo = static_cast<CButtonUI*>(m_PaintManager.FindControl(L"logo"));
    custom_btn = static_cast<CButtonUI*>(m_PaintManager.FindControl(L"custom_btn"));
    quicksetupbtn = static_cast<CButtonUI*>(m_PaintManager.FindControl(L"quicksetupbtn"));
    chanage_path_btn = static_cast<CButtonUI*>(m_PaintManager.FindControl(L"chanage_path_btn"));
    setup_path = static_cast<CEditUI*>(m_PaintManager.FindControl(L"setup_path"));
    checkbox_terms = static_cast<COptionUI*>(m_PaintManager.FindControl(L"checkbox_terms"));
    process = static_cast<CProgressUI*>(m_PaintManager.FindControl(L"process"));
    progress_text = static_cast<CLabelUI*>(m_PaintManager.FindControl(L"progress_text"));
    start_btn = static_cast<CButtonUI*>(m_PaintManager.FindControl(L"start_btn"));
    lb_need_space = static_cast<CLabelUI*>(m_PaintManager.FindControl(L"lb_need_space"));
    lb_available_space = static_cast<CLabelUI*>(m_PaintManager.FindControl(L"lb_available_space"));
    if (!tab_page || !page_quick_setup || !terms_btn || !down || !logo || !custom_btn || !quicksetupbtn
        || !chanage_path_btn || !setup_path || !checkbox_terms || !process || !progress_text || !start_btn
        || !lb_need_space || !lb_available_space) {
        // A skin without the installer's controls is a skin that failed to load.
        ::MessageBoxW(NULL, SkinLoadFailedText(), SkinLoadFailedCaption(), MB_OK);
        ::ExitProcess(1);
    }
    CMessageBoxFrameWnd::SetWizardIdentity(L"Orbela", 132);
    EnableWorkerMessageBoxes(this);

    quicksetupbtn->SetText(L"立即安装    ");
    lb_need_space->SetText(L"所需空间：131M");

    SYSTEM_INFO system = {};
    ::GetNativeSystemInfo(&system);
    bool wide = system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64
        || system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64;
    std::wstring folder = wide ? L"C:\\Program Files (x86)\\Orbela" : L"C:\\Program Files\\Orbela";
    if ((::GetLogicalDrives() & ~0x7u) != 0 && ::GetDriveTypeW(L"D:\\") == DRIVE_FIXED)
        folder = L"D:\\Program Files\\Orbela";
    setup_path->SetText(folder.c_str());
    ShowAvailableSpace(folder);

    CenterWindow();
    progress = 0;
    reinstall = 0;
    CheckInstalledVersion();
}

void CInstallationFrameWnd::ShowAvailableSpace(const std::wstring& folder)
{
    lb_available_space->SetText(FormatText(L"可用空间：%.1fG", GetFreeDiskGB(CUIString(folder.substr(0, 3).c_str()))).c_str());
}

void CInstallationFrameWnd::CheckInstalledVersion()
{
    HKEY key = NULL;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    ::RegCloseKey(key);
    reinstall = 1;
    quicksetupbtn->SetText(L"覆盖安装    ");
    custom_btn->SetVisible(false);

    std::wstring installed;
    ReadUninstallValue(L"DisplayVersion", installed);
    // Part by part: "1.1.2.0" is newer than "1.1.1.81".
    int order = CompareVersions(installed.c_str(), PackageVersion());
    if (order > 0) {
        if (ShowMessageBox(this, L"您使用的安装包版本过旧，是否继续安装？", kVersionQuestionFont, true) != 1)
            Close(1);
    } else if (order < 0) {
        quicksetupbtn->SetText(L"一键升级    ");
    } else if (ShowMessageBox(this, L"您使用的安装包跟本地版本相同，是否需要继续安装？", kVersionQuestionFont, true) != 1) {
        Close(1);
    }
}

void CInstallationFrameWnd::SetExpanded(bool expand)
{
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    ::SetWindowPos(m_hWnd, NULL, window.left, window.top, 550, expand ? 467 : 330, SWP_NOZORDER | SWP_NOACTIVATE);
    const wchar_t* file = expand ? L"selfDefine1.png" : L"selfDefine2.png";
    page_quick_setup->SetBkImage(expand ? L"file='install_page1.jpg' source='0,0,550,467'"
                                        : L"file='install_page1.jpg' source='0,0,550,330'");
    wchar_t image[80];
    _snwprintf(image, 79, L"file='%ls' source='0,0,86,16'", file);
    image[79] = L'\0';
    custom_btn->SetNormalImage(image);
    _snwprintf(image, 79, L"file='%ls' source='86,0,172,16'", file);
    custom_btn->SetHotImage(image);
    _snwprintf(image, 79, L"file='%ls' source='172,0,258,16'", file);
    custom_btn->SetPushedImage(image);
    m_expanded = expand;
}

void CInstallationFrameWnd::Notify(NotifyRecord& msg)
{
    if (msg.sType == L"click" && msg.pSender != NULL) {
        CControlUI* sender = msg.pSender;
        if (sender == custom_btn) {
            SetExpanded(!m_expanded);
        } else if (sender == terms_btn) {
            SetExpanded(false);
            tab_page->SelectTab(1);
        } else if (sender == down) {
            tab_page->SelectTab(0);
        } else if (sender == quicksetupbtn) {
            if (StartInstall()) {
                SetExpanded(false);
                ReportInstallStatistics("install");
            }
        } else if (sender == start_btn) {
            StartClientAndExit(g_clientExePath);
        } else if (sender == logo) {
            std::wstring page = GetProductPage();
            if (IsWebAddress(page))
                ::ShellExecuteW(NULL, L"open", page.c_str(), NULL, NULL, SW_SHOWMAXIMIZED);
        } else if (sender == chanage_path_btn) {
            BROWSEINFOW browse = {};
            browse.hwndOwner = m_hWnd;
            browse.lpszTitle = L"选择程序安装目录";
            browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN | BIF_NEWDIALOGSTYLE;
            LPITEMIDLIST chosen = ::SHBrowseForFolderW(&browse);
            if (chosen != NULL) {
                wchar_t path[MAX_PATH] = { 0 };
                bool named = ::SHGetPathFromIDListW(chosen, path) != FALSE;
                ::CoTaskMemFree(chosen);
                if (named) {
                    std::wstring folder = path;
                    ShowAvailableSpace(folder);
                    folder += folder.empty() || folder.back() != L'\\' ? L"\\Orbela" : L"Orbela";
                    if (folder.size() > kMaxFolderLength)
                        ShowAlert(this, L"安装目录过长，请重新选择后再试！");
                    else
                        setup_path->SetText(folder.c_str());
                }
            }
        }
    }
    CWizardFrameWnd::Notify(msg);
}

void CInstallationFrameWnd::OnClick(NotifyRecord& msg)
{
    if (msg.pSender == NULL)
        return;
    CUIString name = msg.pSender->GetName();
    if (name == L"close_btn") {
        // Once installed there is nothing left to lose.
        if (tab_page->GetCurSel() == 3)
            Close(1);
        else
            AskToClose();
    } else if (name == L"min_btn") {
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    }
}

void CInstallationFrameWnd::AskToClose()
{
    if (m_closeWhenEnded)
        return;
    if (ShowMessageBox(this, kExitQuestion, kExitQuestionFont, true) != 1)
        return;
    if (m_job != NULL) {
        // The worker stops where that is safe and the window closes on its end.
        ::InterlockedExchange(&m_job->stop, 1);
        m_closeWhenEnded = true;
        return;
    }
    Close(1);
}

LRESULT CInstallationFrameWnd::HandleOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled)
{
    if (msg == kInstallStepMessage) {
        handled = true;
        OnInstallStep(static_cast<unsigned int>(wParam));
        return 0;
    }
    if (msg == kInstallEndedMessage) {
        handled = true;
        OnInstallEnded(static_cast<InstallOutcome>(wParam));
        return 0;
    }
    return CWizardFrameWnd::HandleOtherMessage(msg, wParam, lParam, handled);
}

void CInstallationFrameWnd::OnProgressTimer()
{
    // Time only moves the bar; it holds at 99 until the worker reports its end.
    if (progress < 99) {
        ++progress;
        ShowPercent(process, progress_text, progress);
    }
}

void CInstallationFrameWnd::OnInstallStep(unsigned int percent)
{
    if (percent > 99)
        percent = 99;
    if (progress < percent) {
        progress = percent;
        ShowPercent(process, progress_text, progress);
    }
}

void CInstallationFrameWnd::OnInstallEnded(InstallOutcome outcome)
{
    ::KillTimer(m_hWnd, PROGRESS_TIMER_ID);
    delete m_job;
    m_job = NULL;
    if (m_closeWhenEnded) {
        Close(1);
        return;
    }
    if (outcome == Installed) {
        progress = 100;
        ShowPercent(process, progress_text, progress);
        tab_page->SelectTab(3);
        return;
    }
    ShowAlert(this, outcome == RegistryFailed ? kRegistryWriteFailedText : kExtractFailedText);
    progress = 0;
    ShowPercent(process, progress_text, progress);
    tab_page->SelectTab(0);
}

bool CInstallationFrameWnd::HasRequiredSpace(const std::wstring& folder)
{
    unsigned long long megabytes = 0;
    // Relative, drive-relative ("C:Orbela") and UNC folders have no drive root to check.
    if (!IsDriveAbsolute(folder) || !FreeMegabytes(folder, megabytes)) {
        ShowAlert(this, L"安装路径的磁盘空间检查出错！");
        return false;
    }
    if (megabytes < kRequiredMegabytes) {
        ShowAlert(this, L"安装路径的磁盘空间不足！");
        return false;
    }
    return true;
}

bool CInstallationFrameWnd::StartInstall()
{
    if (m_job != NULL)
        return false;
    if (!checkbox_terms->IsSelected()) {
        ShowAlert(this, L"请选中\"我已阅读并同意Orbela许可协议\"选项后，再进行安装！");
        return false;
    }
    std::wstring folder = setup_path->GetText().GetData();
    if (folder.empty()) {
        ShowAlert(this, L"安装路径不能为空！");
        return false;
    }
    folder = NormalisedRoot(folder);
    if (folder.size() > kMaxFolderLength) {
        ShowAlert(this, L"安装目录过长，请重新选择后再试！");
        return false;
    }
    if (!HasRequiredSpace(folder))
        return false;
    if (reinstall == 1) {
        if (!PrepareReinstall())
            return false;
        // The previous root may lie on another drive.
        folder = NormalisedRoot(setup_path->GetText().GetData());
        if (!HasRequiredSpace(folder))
            return false;
    }
    setup_path->SetText(folder.c_str());
    const std::wstring client = ClientFolderOf(folder) + L"\\Orbela.exe";
    wcsncpy(g_clientExePath, client.c_str(), MAX_PATH - 1);
    g_clientExePath[MAX_PATH - 1] = L'\0';

    // The worker first: a worker that cannot start leaves the wizard where it was.
    InstallJob* job = new InstallJob{ this, m_hWnd, folder, 0 };
    HANDLE worker = ::CreateThread(NULL, 0, InstallThreadProc, job, 0, NULL);
    if (worker == NULL) {
        delete job;
        ShowAlert(this, kWorkerStartFailedText);
        return false;
    }
    ::CloseHandle(worker);
    m_job = job;
    progress = 0;
    ShowPercent(process, progress_text, progress);
    tab_page->SelectTab(2);
    ::SetTimer(m_hWnd, PROGRESS_TIMER_ID, 100, NULL);
    return true;
}

bool CInstallationFrameWnd::PrepareReinstall()
{
    // The previous root: the parent of the registered client folder, when that
    // names one; otherwise the user's folder stays.
    std::wstring root = setup_path->GetText().GetData();
    std::wstring location;
    ReadUninstallValue(L"InstallLocation", location);
    location = WithoutTrailingBackslashes(location);
    const std::wstring tail = L"\\Orbela";
    if (location.size() > tail.size() && location.size() <= kMaxFolderLength + tail.size()
        && _wcsicmp(location.c_str() + location.size() - tail.size(), tail.c_str()) == 0) {
        std::wstring previous = location.substr(0, location.size() - tail.size());
        if (IsDriveAbsolute(previous + L"\\"))
            root = previous.size() == 2 ? previous + L"\\" : previous;
    }
    const std::wstring client = ClientFolderOf(root);

    if (!AskToStopClientProcesses(this, client, L"检测到Orbela正在运行，安装将关闭Orbela，是否继续？",
                                  L"检测到Orbela正在升级，安装将关闭升级程序，是否继续？")) {
        Close(1);
        return false;
    }
    setup_path->SetText(root.c_str());
    return true;
}

DWORD WINAPI CInstallationFrameWnd::InstallThreadProc(LPVOID parameter)
{
    InstallJob* job = static_cast<InstallJob*>(parameter);
    HWND window = job->window;
    // COM once for the whole run: each link then reuses it instead of starting it anew.
    HRESULT com = ::CoInitialize(NULL);
    InstallOutcome outcome = RunInstall(*job);
    if (SUCCEEDED(com))
        ::CoUninitialize();
    // The last touch of the job: the window deletes it on this message.
    ::PostMessageW(window, kInstallEndedMessage, outcome, 0);
    return 0;
}

CInstallationFrameWnd::InstallOutcome CInstallationFrameWnd::RunInstall(InstallJob& job)
{
    std::wstring package, extractor;
    if (!TemporaryPackagePaths(package, extractor))
        return ExtractFailed;

    const void* bytes = NULL;
    size_t size = 0;
    if (!FindOwnResource(L"zip", kPackageResourceId, &bytes, &size))
        return ExtractFailed;
    FreshFileResult written = WriteFreshFile(package.c_str(), bytes, size, FreshFileCheck::Size, &job.stop);
    if (written != FreshFileResult::Written)
        return written == FreshFileResult::Stopped ? Stopped : ExtractFailed;
    if (!FindOwnResource(L"exe", kExtractorResourceId, &bytes, &size))
        return ExtractFailed;
    written = WriteFreshFile(extractor.c_str(), bytes, size, FreshFileCheck::Bytes, &job.stop);
    if (written == FreshFileResult::Written && job.stop != 0)
        written = FreshFileResult::Stopped;
    if (written != FreshFileResult::Written) {
        ::DeleteFileW(package.c_str());
        ::DeleteFileW(extractor.c_str());
        return written == FreshFileResult::Stopped ? Stopped : ExtractFailed;
    }

    // From here on the install runs to its end, asked to stop or not. A drive root is there already.
    if (!IsRootFolder(job.root)) {
        int created = ::SHCreateDirectoryExW(NULL, job.root.c_str(), NULL);
        if (created != ERROR_SUCCESS && created != ERROR_ALREADY_EXISTS && created != ERROR_FILE_EXISTS)
            return ExtractFailed;
    }
    ::PostMessageW(job.window, kInstallStepMessage, 30, 0);
    const std::wstring client = ClientFolderOf(job.root);
    if (RunExtractor(extractor, package, job.root) != 0 || !HoldsClient(client))
        return ExtractFailed;
    // A new install ends any undo of an earlier update: what an update staged
    // or kept goes, so no later update puts an older file over this install.
    // The swap is ended before its kept folder goes, so a kept folder that
    // stays (a file in it held) is only ever removed. Only now: a failed extraction keeps that undo.
    RemoveFolderTree(client + L"\\" + kUpdateStagingFolder);
    const std::wstring kept = client + L"\\" + kUpdateKeptFolder;
    RemoveEndedSwap(kept);

    if (!WriteUninstallEntry(client, PackageVersion()))
        return RegistryFailed;
    CreateClientShortcutsWithNotices(job.frame, client);
    ::PostMessageW(job.window, kInstallStepMessage, 90, 0);
    return Installed;
}
