// The helper probe: runs the wizards' setup helpers on command, so tests can
// check them from outside; answers are UTF-8 lines on standard output.
//   HelperProbe.exe --code-page              the ANSI code page the wizards see
//   HelperProbe.exe machine                  the machine description, one field a line
//   HelperProbe.exe report STATUS [VERSION]  posts the statistics report ("update" takes the new version)
//   HelperProbe.exe box TEXT [FONT] [cancel|nocancel] [keep]   its window, then a message box over
//                                            it; with "keep" the window stays until it is closed
//   HelperProbe.exe worker-box TEXT          the same box asked for by a worker thread
//   HelperProbe.exe entry FOLDER VERSION     the uninstall entry as an installation writes it
//   HelperProbe.exe links FOLDER             the client's shortcut set for that folder
//   HelperProbe.exe stay                     its window only, until it is closed
//   HelperProbe.exe remove PATH              the wizards' tree removal of PATH: "gone" or "left"
#include "ClientShortcuts.h"
#include "ConsoleLine.h"
#include "FolderTreeRemoval.h"
#include "HelperProbeFrameWnd.h"
#include "OemText.h"
#include "StatisticsReport.h"
#include "UninstallEntry.h"

#include <windows.h>

#include <string>

namespace {

int PrintMachine()
{
    StatisticsFields fields = CollectStatisticsFields("install");
    PrintLine(L"os=" + OemToWide(fields.os));
    PrintLine(L"cpu=" + OemToWide(fields.cpu));
    PrintLine(L"user_name=" + OemToWide(fields.userName));
    PrintLine(L"pc_name=" + OemToWide(fields.pcName));
    PrintLine(L"memory=" + OemToWide(fields.memory));
    PrintLine(L"gpu=" + OemToWide(fields.gpu));
    PrintLine(L"metrics=" + OemToWide(fields.metrics));
    PrintLine(L"pc_type=" + OemToWide(fields.pcType));
    PrintLine(L"visitor_id=" + OemToWide(fields.visitorId));
    return 0;
}

int Report(const std::wstring& status, const std::wstring& newVersion)
{
    std::string narrowStatus(status.begin(), status.end());
    StatisticsFields fields = CollectStatisticsFields(narrowStatus.c_str());
    if (status == L"update") {
        std::wstring old;
        ReadUninstallValue(L"DisplayVersion", old);
        fields.hasVersions = true;
        fields.oldVersion.assign(old.begin(), old.end());
        fields.newVersion.assign(newVersion.begin(), newVersion.end());
    }
    PostStatistics(fields);
    PrintLine(L"posted");
    return 0;
}

int RunWindow(HINSTANCE instance, CHelperProbeFrameWnd::Action action, const std::wstring& text, int font,
              bool withCancel, bool keepOpen = false)
{
    DirectUI::CWindowUIManager::SetInstance(instance);
    CHelperProbeFrameWnd frame(action, text, font, withCancel, keepOpen);
    if (frame.Create(NULL, CHelperProbeFrameWnd::Title(), WS_POPUP | WS_VISIBLE, 0) == NULL)
        return 1;
    frame.CenterWindow();
    frame.ShowModal();
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::wstring command = argc > 1 ? argv[1] : L"";
    std::wstring text = argc > 2 ? argv[2] : L"";
    int result = 64;
    CoInitialize(NULL);
    if (command == L"--code-page") {
        PrintLine(std::to_wstring(GetACP()));
        result = 0;
    } else if (command == L"machine") {
        result = PrintMachine();
    } else if (command == L"report" && argc > 2) {
        result = Report(text, argc > 3 ? argv[3] : L"");
    } else if (command == L"box" && argc > 2) {
        int font = argc > 3 ? _wtoi(argv[3]) : 3;
        bool withCancel = !(argc > 4 && std::wstring(argv[4]) == L"nocancel");
        bool keepOpen = argc > 5 && std::wstring(argv[5]) == L"keep";
        result = RunWindow(instance, CHelperProbeFrameWnd::Action::Box, text, font, withCancel, keepOpen);
    } else if (command == L"worker-box" && argc > 2) {
        result = RunWindow(instance, CHelperProbeFrameWnd::Action::WorkerBox, text, 3, false);
    } else if (command == L"entry" && argc > 3) {
        // The uninstall entry exactly as an installation writes it, for tests
        // that start from an installed client.
        result = WriteUninstallEntry(argv[2], argv[3]) ? 0 : 1;
        PrintLine(result == 0 ? L"written" : L"failed");
    } else if (command == L"links" && argc > 2) {
        ClientShortcutsResult links = CreateClientShortcuts(argv[2]);
        result = links.startMenu && links.desktop ? 0 : 1;
        PrintLine(result == 0 ? L"written" : L"failed");
    } else if (command == L"remove" && argc > 2) {
        result = RemoveFolderTree(argv[2]) ? 0 : 1;
        PrintLine(result == 0 ? L"gone" : L"left");
    } else if (command == L"stay") {
        result = RunWindow(instance, CHelperProbeFrameWnd::Action::Stay, L"", 3, false);
    } else {
        PrintLine(L"usage: HelperProbe.exe --code-page | machine | report STATUS [VERSION] | box TEXT [FONT] "
                  L"[cancel|nocancel] [keep] | worker-box TEXT | entry FOLDER VERSION | links FOLDER | stay | remove PATH");
    }
    CoUninitialize();
    LocalFree(argv);
    return result;
}
