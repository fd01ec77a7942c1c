// Drives wizard windows from outside for the tests: finds them by title, reads
// their laid-out control tree through the frame window's WM_COPYDATA query
// (processes started with ORBELA_WIZARD_QUERY=1), clicks and types into
// controls, and reads what a wizard leaves behind (links, the uninstall entry,
// folders). One line per answer on standard output (UTF-8); exit code 0 on
// success, 1 on a failure, 2 on a time-out, 64 on a usage error.
#include "ConsoleLine.h"
#include "Shortcut.h"
#include "UninstallEntry.h"
#include "window/TreeQuery.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

const int kExitFailure = 1;
const int kExitTimeout = 2;
const int kExitUsage = 64;
const DWORD kDefaultWaitMs = 10000;
const DWORD kPollMs = 50;

const wchar_t* const kHelp =
    L"WizardDriver.exe COMMAND ARGUMENTS   (one answer line; exit 1 failure, 2 time-out)\n"
    L"  wait TITLE [ms]         until a window with this title exists\n"
    L"  gone TITLE [ms]         until no window with this title exists\n"
    L"  click TITLE NAME        cursor over the control's centre, posted move, press, release\n"
    L"  text TITLE NAME         the control's text\n"
    L"  shown TITLE NAME        1 when the control is visible, else 0\n"
    L"  type TITLE NAME TEXT    clicks the edit, then types TEXT into its native child\n"
    L"  close TITLE [sent]      posts SC_CLOSE to the window (\"sent\": sends it, as the system menu does)\n"
    L"  maximize TITLE          posts SC_MAXIMIZE to the window\n"
    L"  minimize TITLE          posts SC_MINIMIZE to the window\n"
    L"  iconic TITLE            1 when the window is minimised, else 0\n"
    L"  move TITLE              posts SC_MOVE: the window's thread enters the system's move loop\n"
    L"  moving TITLE            1 while the window's thread is in a move or size loop, else 0\n"
    L"  endmove TITLE           posts Escape, which ends a move loop\n"
    L"  hittest TITLE NAME      WM_NCHITTEST's answer at the control's centre\n"
    L"                          (NAME \"#CLASS\": the first visible control of that class)\n"
    L"  owner TITLE             the title of the window's owner, or \"none\"\n"
    L"  enabled TITLE           1 when the window takes input, else 0\n"
    L"  answers TITLE [ms]      1 when the window's thread answers a sent WM_NULL within ms (default 1000), else 0\n"
    L"  window TITLE            the window's class and size, \"CLASS WIDTHxHEIGHT\"\n"
    L"  dump TITLE              the whole control tree, one line per control\n"
    L"  lnk PATH                the target of a shell link, or \"missing\"\n"
    L"  reg VALUE               a value of the uninstall entry, or \"missing\"\n"
    L"  folder programs|desktop|temp   that folder's path\n"
    L"  run CMDLINE             starts CMDLINE with CreateProcessW, as Windows runs an UninstallString\n"
    L"  hold PATH MS            opens the file without write or delete sharing, answers \"held\", keeps it MS\n";

// One control of a window's tree, as the query answers it.
struct ControlLine {
    std::wstring className, name, text;
    RECT rect = {0, 0, 0, 0};
    bool visible = false, enabled = false;
};

// Reads the quoted text that starts at pos, undoing the dump's escapes; pos
// ends after the closing quote. False when no complete quoted text is there.
bool ReadQuoted(const std::wstring& line, size_t& pos, std::wstring& out)
{
    if (pos >= line.size() || line[pos] != L'"')
        return false;
    out.clear();
    for (++pos; pos < line.size(); ++pos) {
        wchar_t c = line[pos];
        if (c == L'"') {
            ++pos;
            return true;
        }
        if (c == L'\\' && pos + 1 < line.size()) {
            wchar_t escaped = line[++pos];
            out += escaped == L'n' ? L'\n' : escaped == L'r' ? L'\r' : escaped;
        } else {
            out += c;
        }
    }
    return false;
}

// One dump line: indent, class, "name", rectangle, visible|hidden,
// enabled|disabled, "text" (and for scroll bars their range and position).
bool ParseDumpLine(const std::wstring& line, ControlLine& control)
{
    size_t pos = line.find_first_not_of(L' ');
    size_t space = pos == std::wstring::npos ? pos : line.find(L' ', pos);
    if (space == std::wstring::npos)
        return false;
    control.className = line.substr(pos, space - pos);
    pos = space + 1;
    if (!ReadQuoted(line, pos, control.name))
        return false;
    wchar_t visible[16] = {0}, enabled[16] = {0};
    int consumed = 0;
    RECT& r = control.rect;
    if (swscanf(line.c_str() + pos, L" %ld,%ld,%ld,%ld %15ls %15ls %n", &r.left, &r.top, &r.right, &r.bottom, visible,
                enabled, &consumed) < 6 || consumed == 0)
        return false;
    control.visible = std::wstring(visible) == L"visible";
    control.enabled = std::wstring(enabled) == L"enabled";
    pos += consumed;
    return ReadQuoted(line, pos, control.text);
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (size_t at; (at = text.find(separator, start)) != std::wstring::npos; start = at + 1)
        parts.push_back(text.substr(start, at - start));
    parts.push_back(text.substr(start));
    return parts;
}

std::wstring g_answer;
bool g_answered = false;

LRESULT CALLBACK AnswerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data != NULL && data->dwData == DirectUI::TreeQueryId() && data->lpData != NULL) {
            g_answer.assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
            while (!g_answer.empty() && g_answer.back() == L'\0')
                g_answer.pop_back();
            g_answered = true;
            return TRUE;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND AnswerWindow()
{
    static HWND window = NULL;
    if (window == NULL) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = AnswerWindowProc;
        windowClass.hInstance = GetModuleHandleW(NULL);
        windowClass.lpszClassName = L"OrbelaWizardDriver";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL,
                                 windowClass.hInstance, NULL);
    }
    return window;
}

// The window's control tree; empty when it does not answer.
std::vector<ControlLine> QueryTree(HWND target)
{
    g_answered = false;
    g_answer.clear();
    COPYDATASTRUCT query = {};
    query.dwData = DirectUI::TreeQueryId();
    DWORD_PTR result = 0;
    SendMessageTimeoutW(target, WM_COPYDATA, reinterpret_cast<WPARAM>(AnswerWindow()),
                        reinterpret_cast<LPARAM>(&query), SMTO_ABORTIFHUNG, 5000, &result);
    std::vector<ControlLine> controls;
    if (!g_answered)
        return controls;
    for (const std::wstring& line : Split(g_answer, L'\n')) {
        ControlLine control;
        if (ParseDumpLine(line, control))
            controls.push_back(control);
    }
    return controls;
}

// Waits for the window with this title (or for its absence).
HWND WaitForTitle(const std::wstring& title, DWORD timeoutMs, bool untilGone = false)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindWindowW(NULL, title.c_str());
        if ((window != NULL) != untilGone)
            return untilGone ? reinterpret_cast<HWND>(1) : window;
        if (GetTickCount() - start >= timeoutMs)
            return NULL;
        Sleep(kPollMs);
    }
}

DWORD WaitArgument(int argc, wchar_t** argv, int index)
{
    return argc > index ? static_cast<DWORD>(_wtoi(argv[index])) : kDefaultWaitMs;
}

struct Target {
    HWND window = NULL;
    ControlLine control;
    int status = 0;  // exit code when the control cannot be had
};

Target FindControl(const std::wstring& title, const std::wstring& name)
{
    Target target;
    target.window = WaitForTitle(title, kDefaultWaitMs);
    if (target.window == NULL) {
        PrintLine(L"timeout: no window \"" + title + L"\"");
        target.status = kExitTimeout;
        return target;
    }
    std::vector<ControlLine> controls = QueryTree(target.window);
    if (controls.empty()) {
        PrintLine(L"no answer: is ORBELA_WIZARD_QUERY=1 set for the wizard?");
        target.status = kExitFailure;
        return target;
    }
    // "#CLASS" names the first visible control of that class, such as an unnamed scroll bar.
    const bool byClass = !name.empty() && name[0] == L'#';
    for (const ControlLine& control : controls) {
        if (byClass ? control.visible && control.className == name.substr(1) : control.name == name) {
            target.control = control;
            return target;
        }
    }
    PrintLine(L"missing");
    target.status = kExitFailure;
    return target;
}

// The framework's native edit window ("EditWnd") over a control: a child of
// the frame, or over a layered frame a popup that the frame owns.
struct EditSearch {
    HWND frame;
    RECT control;  // in the frame's client coordinates
    HWND found;
};

BOOL CALLBACK MatchEdit(HWND window, LPARAM data)
{
    EditSearch* search = reinterpret_cast<EditSearch*>(data);
    wchar_t className[32] = {0};
    GetClassNameW(window, className, 32);
    bool ours = GetParent(window) == search->frame || GetWindow(window, GW_OWNER) == search->frame;
    if (!ours || wcscmp(className, L"EditWnd") != 0)
        return TRUE;
    RECT rect;
    GetWindowRect(window, &rect);
    POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ScreenToClient(search->frame, &centre);
    if (!PtInRect(&search->control, centre))
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND NativeEdit(HWND frame, const RECT& control)
{
    EditSearch search = {frame, control, NULL};
    EnumChildWindows(frame, MatchEdit, reinterpret_cast<LPARAM>(&search));
    if (search.found == NULL)
        EnumThreadWindows(GetWindowThreadProcessId(frame, NULL), MatchEdit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool HasFocus(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info) && info.hwndFocus == window;
}

POINT Centre(const RECT& rect)
{
    POINT point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    return point;
}

// Moves the cursor over the control's centre and clicks, posted as the
// system queues input.
void Click(const Target& target)
{
    // A real click activates the window first; without that, the first focus
    // given to a native child activates the frame, which takes the focus back.
    DWORD targetThread = GetWindowThreadProcessId(target.window, NULL);
    AttachThreadInput(GetCurrentThreadId(), targetThread, TRUE);
    SetForegroundWindow(target.window);
    SetActiveWindow(target.window);
    AttachThreadInput(GetCurrentThreadId(), targetThread, FALSE);
    POINT client = Centre(target.control.rect);
    POINT screen = client;
    ClientToScreen(target.window, &screen);
    SetCursorPos(screen.x, screen.y);
    LPARAM at = MAKELPARAM(client.x, client.y);
    PostMessageW(target.window, WM_MOUSEMOVE, 0, at);
    PostMessageW(target.window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(target.window, WM_LBUTTONUP, 0, at);
}

int RunCommand(int argc, wchar_t** argv)
{
    const std::wstring command = argv[1];
    auto need = [&](int count) { return argc >= count + 2; };

    if ((command == L"wait" || command == L"gone") && need(1)) {
        if (!WaitForTitle(argv[2], WaitArgument(argc, argv, 3), command == L"gone")) {
            PrintLine(L"timeout");
            return kExitTimeout;
        }
        PrintLine(L"ok");
        return 0;
    }
    if ((command == L"click" || command == L"text" || command == L"shown" || command == L"hittest") && need(2)) {
        Target target = FindControl(argv[2], argv[3]);
        if (target.status != 0)
            return target.status;
        if (command == L"click") {
            Click(target);
            PrintLine(L"ok");
        } else if (command == L"text") {
            PrintLine(target.control.text);
        } else if (command == L"shown") {
            PrintLine(target.control.visible ? L"1" : L"0");
        } else {
            POINT screen = Centre(target.control.rect);
            ClientToScreen(target.window, &screen);
            LRESULT hit = SendMessageW(target.window, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
            PrintLine(std::to_wstring(static_cast<long>(hit)));
        }
        return 0;
    }
    if (command == L"type" && need(3)) {
        Target target = FindControl(argv[2], argv[3]);
        if (target.status != 0)
            return target.status;
        // A field being edited already has its native window over it, which a
        // real click would reach; only a field without one is clicked.
        HWND edit = NativeEdit(target.window, target.control.rect);
        if (edit == NULL || !HasFocus(edit))
            Click(target);
        DWORD start = GetTickCount();
        // The edit is ready once it has the focus: the framework focuses it last.
        while ((edit = NativeEdit(target.window, target.control.rect)) == NULL || !HasFocus(edit)) {
            if (GetTickCount() - start >= kDefaultWaitMs) {
                PrintLine(L"timeout: the edit shows no native child");
                return kExitTimeout;
            }
            Sleep(kPollMs);
        }
        SendMessageW(edit, EM_SETSEL, 0, -1);
        for (const wchar_t* c = argv[4]; *c; ++c)
            SendMessageW(edit, WM_CHAR, *c, 1);
        PrintLine(L"ok");
        return 0;
    }
    if ((command == L"close" || command == L"maximize" || command == L"minimize" || command == L"iconic" ||
         command == L"owner" || command == L"enabled" || command == L"answers" || command == L"window" ||
         command == L"dump" ||
         command == L"move" || command == L"moving" || command == L"endmove") && need(1)) {
        HWND window = WaitForTitle(argv[2], kDefaultWaitMs);
        if (window == NULL) {
            PrintLine(L"timeout: no window \"" + std::wstring(argv[2]) + L"\"");
            return kExitTimeout;
        }
        if (command == L"close" && argc > 3 && std::wstring(argv[3]) == L"sent") {
            // A wizard may answer only after its question is closed: the send does not wait for that.
            DWORD_PTR result = 0;
            SendMessageTimeoutW(window, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_NORMAL, 2000, &result);
            PrintLine(L"ok");
        } else if (command == L"close" || command == L"maximize" || command == L"minimize") {
            WPARAM which = command == L"close" ? SC_CLOSE : command == L"maximize" ? SC_MAXIMIZE : SC_MINIMIZE;
            PostMessageW(window, WM_SYSCOMMAND, which, 0);
            PrintLine(L"ok");
        } else if (command == L"move") {
            PostMessageW(window, WM_SYSCOMMAND, SC_MOVE, 0);
            PrintLine(L"ok");
        } else if (command == L"moving") {
            GUITHREADINFO info = {};
            info.cbSize = sizeof(info);
            bool moving = GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info)
                && (info.flags & GUI_INMOVESIZE) != 0;
            PrintLine(moving ? L"1" : L"0");
        } else if (command == L"endmove") {
            PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
            PrintLine(L"ok");
        } else if (command == L"iconic") {
            PrintLine(IsIconic(window) ? L"1" : L"0");
        } else if (command == L"owner") {
            HWND owner = GetWindow(window, GW_OWNER);
            wchar_t title[256] = {0};
            if (owner != NULL)
                GetWindowTextW(owner, title, 256);
            PrintLine(owner != NULL ? std::wstring(title) : L"none");
        } else if (command == L"enabled") {
            PrintLine(IsWindowEnabled(window) ? L"1" : L"0");
        } else if (command == L"answers") {
            // A thread that waits instead of taking its messages lets the send time out.
            DWORD_PTR result = 0;
            DWORD waitMs = argc > 3 ? static_cast<DWORD>(_wtoi(argv[3])) : 1000;
            bool answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, waitMs, &result) != 0;
            PrintLine(answered ? L"1" : L"0");
        } else if (command == L"window") {
            wchar_t className[256] = {0};
            GetClassNameW(window, className, 256);
            RECT rect;
            GetWindowRect(window, &rect);
            PrintLine(std::wstring(className) + L" " + std::to_wstring(rect.right - rect.left) + L"x" +
                      std::to_wstring(rect.bottom - rect.top));
        } else {
            QueryTree(window);
            for (const std::wstring& line : Split(g_answer, L'\n'))
                if (!line.empty())
                    PrintLine(line);
        }
        return 0;
    }
    if (command == L"lnk" && need(1)) {
        std::wstring target = ReadShortcutTarget(argv[2]);
        PrintLine(target.empty() ? L"missing" : target);
        return 0;
    }
    if (command == L"reg" && need(1)) {
        std::wstring value;
        PrintLine(ReadUninstallValue(argv[2], value) ? value : L"missing");
        return 0;
    }
    if (command == L"folder" && need(1)) {
        const std::wstring which = argv[2];
        wchar_t path[MAX_PATH] = {0};
        bool ok = false;
        if (which == L"programs" || which == L"desktop")
            ok = SUCCEEDED(SHGetFolderPathW(NULL, which == L"programs" ? CSIDL_PROGRAMS : CSIDL_DESKTOPDIRECTORY,
                                            NULL, 0, path));
        else if (which == L"temp")
            ok = GetTempPathW(MAX_PATH, path) > 0;
        if (!ok) {
            PrintLine(L"unknown folder");
            return kExitUsage;
        }
        PrintLine(path);
        return 0;
    }
    if (command == L"run" && need(1)) {
        std::wstring commandLine = argv[2];
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        if (!CreateProcessW(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
            PrintLine(L"failed " + std::to_wstring(GetLastError()));
            return kExitFailure;
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        PrintLine(L"started");
        return 0;
    }
    if (command == L"hold" && need(2)) {
        // As another program holding a file: it can be read, not replaced or deleted.
        HANDLE file = CreateFileW(argv[2], GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        if (file == INVALID_HANDLE_VALUE) {
            PrintLine(L"failed " + std::to_wstring(GetLastError()));
            return kExitFailure;
        }
        PrintLine(L"held");
        Sleep(static_cast<DWORD>(_wtoi(argv[3])));
        CloseHandle(file);
        return 0;
    }
    PrintLine(kHelp);
    return kExitUsage;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2 || std::wstring(argv[1]) == L"--help") {
        PrintLine(kHelp);
        return argc < 2 ? kExitUsage : 0;
    }
    return RunCommand(argc, argv);
}
