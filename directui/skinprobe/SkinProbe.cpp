// skinprobe SKIN [FILE.xml] [--size W,H] [steps...]
//
// Shows a skin in a WindowImplBase frame, runs the steps in order (each
// followed by pumping messages) and prints what they show; --render also
// draws an open combo drop-down where it lies over the frame. SKIN is a skin
// folder or a zip, whose bytes become the skin zip as a wizard's ZIPRES copy
// does. Exit codes: 0 all steps ran, 1 the skin did not load, 2 a bad command
// line or an unknown control name, 3 the watchdog ended a hung run.
#include "ProbeFrame.h"
#include "ProbeOutput.h"
#include "SkinLoadBox.h"
#include "WaitingMessages.h"
#include "control/ControlTreeDump.h"
#include "control/ControlUI.h"
#include "manager/SkinFiles.h"

#include <gdiplus.h>
#include <stdlib.h>

#include <string>
#include <vector>

using namespace DirectUI;

namespace {

enum { kExitOk = 0, kExitSkin = 1, kExitUsage = 2, kExitHung = 3 };

const wchar_t kUsage[] =
    L"usage: skinprobe SKIN [FILE.xml] [--size W,H] [--watchdog SECONDS] [steps...]\n"
    L"  SKIN is a skin folder or a skin zip; FILE.xml defaults to main.xml. Steps:\n"
    L"  --dump | --render OUT.png | --click NAME[@X,Y] | --dblclick NAME | --wheel NAME up|down\n"
    L"  --focus NAME | --key KEY (escape, return, tab, space, up, down, left, right, home, end,\n"
    L"  prior, next, back, delete or one character) | --char TEXT | --sys minimize|maximize|restore\n"
    L"  (--click NAME@X,Y clicks X,Y from the control's top left; --key and --char go to the focused window)\n"
    L"  --hittest X,Y | --windows | --wait MS";

struct Step
{
    std::wstring name;
    std::wstring argument;
    std::wstring second;
};

struct Options
{
    std::wstring skin;
    std::wstring file;
    int width, height;
    int watchdogSeconds;
    std::vector<Step> steps;
};

int Usage(LPCWSTR problem)
{
    ProbeOut(L"skinprobe: %ls", problem);
    ProbeOut(L"%ls", kUsage);
    return kExitUsage;
}

bool ParsePair(const std::wstring& text, int* a, int* b)
{
    wchar_t* end = NULL;
    long first = wcstol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != L',') return false;
    const wchar_t* rest = end + 1;
    long second = wcstol(rest, &end, 10);
    if (end == rest || *end != L'\0') return false;
    *a = static_cast<int>(first);
    *b = static_cast<int>(second);
    return true;
}

bool ParseCommandLine(int argc, wchar_t** argv, Options& options, std::wstring& problem)
{
    options.width = options.height = 0;
    options.watchdogSeconds = 60;
    options.file = L"main.xml";
    int i = 1;
    if (i >= argc || wcsncmp(argv[i], L"--", 2) == 0) {
        problem = L"no skin given";
        return false;
    }
    options.skin = argv[i++];
    if (i < argc && wcsncmp(argv[i], L"--", 2) != 0) options.file = argv[i++];
    static const struct
    {
        LPCWSTR name;
        int arguments;
    } kSteps[] = {
        { L"--dump", 0 }, { L"--render", 1 }, { L"--click", 1 }, { L"--dblclick", 1 }, { L"--wheel", 2 },
        { L"--focus", 1 }, { L"--key", 1 },   { L"--char", 1 },  { L"--sys", 1 },      { L"--hittest", 1 },
        { L"--windows", 0 }, { L"--wait", 1 },
    };
    for (; i < argc; ++i) {
        std::wstring name = argv[i];
        if (name == L"--size" || name == L"--watchdog") {
            if (i + 1 >= argc) {
                problem = name + L" needs a value";
                return false;
            }
            std::wstring value = argv[++i];
            if (name == L"--size") {
                if (!ParsePair(value, &options.width, &options.height) || options.width <= 0 || options.height <= 0) {
                    problem = L"--size needs W,H";
                    return false;
                }
            } else {
                options.watchdogSeconds = _wtoi(value.c_str());
                if (options.watchdogSeconds <= 0) {
                    problem = L"--watchdog needs a number of seconds";
                    return false;
                }
            }
            continue;
        }
        int arguments = -1;
        for (size_t k = 0; k < sizeof(kSteps) / sizeof(kSteps[0]); ++k)
            if (name == kSteps[k].name) arguments = kSteps[k].arguments;
        if (arguments < 0) {
            problem = L"unknown step " + name;
            return false;
        }
        if (i + arguments >= argc) {
            problem = name + L" needs an argument";
            return false;
        }
        Step step;
        step.name = name;
        if (arguments > 0) step.argument = argv[++i];
        if (arguments > 1) step.second = argv[++i];
        if (name == L"--wheel" && step.second != L"up" && step.second != L"down") {
            problem = L"--wheel needs up or down";
            return false;
        }
        if (name == L"--sys" && step.argument != L"minimize" && step.argument != L"maximize" &&
            step.argument != L"restore") {
            problem = L"--sys needs minimize, maximize or restore";
            return false;
        }
        int a = 0, b = 0;
        size_t at = step.argument.find(L'@');
        if (name == L"--click" && at != std::wstring::npos) {
            step.second = step.argument.substr(at + 1);
            step.argument.erase(at);
            if (step.argument.empty() || !ParsePair(step.second, &a, &b)) {
                problem = L"--click needs NAME or NAME@X,Y";
                return false;
            }
        }
        if (name == L"--hittest" && !ParsePair(step.argument, &a, &b)) {
            problem = L"--hittest needs X,Y";
            return false;
        }
        options.steps.push_back(step);
    }
    return true;
}

// Ends a hung run, and reads and dismisses the frame's skin-load box.
struct Watch
{
    ProbeFrame* frame;
    std::wstring skin;
    DWORD deadline;
    volatile LONG stop;
};

DWORD WINAPI WatchThread(LPVOID parameter)
{
    Watch* watch = static_cast<Watch*>(parameter);
    bool boxSeen = false;
    while (watch->stop == 0) {
        if (!boxSeen) {
            HWND box = FindSkinLoadBox(GetCurrentProcessId());
            if (box != NULL) {
                boxSeen = true;
                ProbeOut(L"skinprobe: cannot load skin %ls: %ls", watch->skin.c_str(),
                         watch->frame->GetSkinLoadError().GetData());
                ProbeOut(L"box \"%ls\": %ls", WindowImplBase::SkinLoadFailedCaption(), SkinLoadBoxText(box).c_str());
                PostMessageW(box, WM_COMMAND, IDOK, 0);
            }
        }
        if (static_cast<LONG>(GetTickCount() - watch->deadline) >= 0) {
            ProbeOut(L"skinprobe: watchdog: the run did not finish in time; ending it");
            ExitProcess(kExitHung);
        }
        Sleep(10);
    }
    return 0;
}

void PumpFor(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        DispatchWaitingMessages();
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) break;
        MsgWaitForMultipleObjects(0, NULL, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

void LoadSkin(const Options& options)
{
    DWORD attributes = GetFileAttributesW(options.skin.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        // A zip: its bytes become the skin zip as a wizard's resource copy
        // does, and are kept for the process as the wizards keep theirs. One
        // that cannot be read opens no archive, which the frame reports.
        BYTE* bytes = NULL;
        DWORD size = 0;
        LPCWSTR failure = NULL;
        ReadWholeFile(options.skin.c_str(), ProbeFrame::kMaxSkinZipSize, &bytes, &size, &failure);
        std::wstring folder = options.skin;
        size_t slash = folder.find_last_of(L"\\/");
        folder = slash == std::wstring::npos ? L"." : folder.substr(0, slash);
        CWindowUIManager::SetSkinPath(folder.c_str());
        CWindowUIManager::SetSkinZipBuffer(bytes, size);
    } else {
        CWindowUIManager::SetSkinPath(options.skin.c_str());
    }
}

CControlUI* FindNamed(ProbeFrame& frame, const std::wstring& name)
{
    CControlUI* control = frame.GetManager()->FindControl(name.c_str());
    if (control == NULL) ProbeOut(L"skinprobe: no control named %ls", name.c_str());
    return control;
}

POINT CentreOf(CControlUI* control)
{
    const RECT& rc = control->GetPos();
    POINT pt = { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
    return pt;
}

// The cursor goes onto the point first, as a user's would.
POINT PutCursorOn(HWND hwnd, POINT client)
{
    POINT screen = client;
    ClientToScreen(hwnd, &screen);
    SetCursorPos(screen.x, screen.y);
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    DispatchWaitingMessages();
    return screen;
}

void Click(HWND hwnd, POINT pt, bool twice)
{
    PutCursorOn(hwnd, pt);
    LPARAM at = MAKELPARAM(pt.x, pt.y);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    DispatchWaitingMessages();
    PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
    DispatchWaitingMessages();
    if (!twice) return;
    PostMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    DispatchWaitingMessages();
    PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
    DispatchWaitingMessages();
}

UINT KeyCode(const std::wstring& key)
{
    static const struct
    {
        LPCWSTR name;
        UINT vk;
    } kKeys[] = {
        { L"escape", VK_ESCAPE }, { L"return", VK_RETURN }, { L"tab", VK_TAB },   { L"space", VK_SPACE },
        { L"up", VK_UP },         { L"down", VK_DOWN },     { L"left", VK_LEFT }, { L"right", VK_RIGHT },
        { L"home", VK_HOME },     { L"end", VK_END },       { L"prior", VK_PRIOR }, { L"next", VK_NEXT },
        { L"back", VK_BACK },     { L"delete", VK_DELETE },
    };
    for (size_t i = 0; i < sizeof(kKeys) / sizeof(kKeys[0]); ++i)
        if (key == kKeys[i].name) return kKeys[i].vk;
    if (key.size() == 1) {
        SHORT scan = VkKeyScanW(key[0]);
        if (scan != -1) return LOBYTE(scan);
    }
    return 0;
}

LPCWSTR HitTestName(LRESULT code)
{
    switch (code) {
    case HTCLIENT: return L"HTCLIENT";
    case HTCAPTION: return L"HTCAPTION";
    case HTLEFT: return L"HTLEFT";
    case HTRIGHT: return L"HTRIGHT";
    case HTTOP: return L"HTTOP";
    case HTTOPLEFT: return L"HTTOPLEFT";
    case HTTOPRIGHT: return L"HTTOPRIGHT";
    case HTBOTTOM: return L"HTBOTTOM";
    case HTBOTTOMLEFT: return L"HTBOTTOMLEFT";
    case HTBOTTOMRIGHT: return L"HTBOTTOMRIGHT";
    case HTNOWHERE: return L"HTNOWHERE";
    default: return L"other";
    }
}

BOOL CALLBACK PrintWindowOfProcess(HWND hwnd, LPARAM)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId()) return TRUE;
    wchar_t className[128] = { 0 }, title[128] = { 0 };
    GetClassNameW(hwnd, className, 128);
    GetWindowTextW(hwnd, title, 128);
    RECT rc;
    GetWindowRect(hwnd, &rc);
    LONG exStyle = GetWindowLongW(hwnd, GWL_EXSTYLE);
    ProbeOut(L"window %ls \"%ls\" %ld,%ld,%ld,%ld %ls%ls", className, title, rc.left, rc.top, rc.right, rc.bottom,
             IsWindowVisible(hwnd) ? L"visible" : L"hidden", (exStyle & WS_EX_LAYERED) != 0 ? L" layered" : L"");
    return TRUE;
}

// Reads a bitmap's pixels as top-down 32-bit rows.
bool ReadPixels(HBITMAP bitmap, int width, int height, std::vector<DWORD>& pixels)
{
    pixels.assign(static_cast<size_t>(width) * height, 0);
    BITMAPINFO bmi = { 0 };
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = -height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(NULL);
    int rows = GetDIBits(screen, bitmap, 0, height, pixels.data(), &bmi, DIB_RGB_COLORS);
    ReleaseDC(NULL, screen);
    return rows == height;
}

struct DropDowns
{
    HWND frame;
    POINT origin;
    std::vector<DWORD>* pixels;
    int width, height;
};

// An open combo drop-down is a window of its own: it is drawn into the
// picture where it lies over the frame.
BOOL CALLBACK DrawDropDown(HWND hwnd, LPARAM parameter)
{
    DropDowns* target = reinterpret_cast<DropDowns*>(parameter);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t className[32] = { 0 };
    GetClassNameW(hwnd, className, 32);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd) || wcscmp(className, L"ComboWnd") != 0) return TRUE;
    RECT rc;
    GetWindowRect(hwnd, &rc);
    int width = rc.right - rc.left, height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0) return TRUE;
    HDC windowDc = GetWindowDC(hwnd);
    HDC memory = CreateCompatibleDC(windowDc);
    HBITMAP shot = CreateCompatibleBitmap(windowDc, width, height);
    HGDIOBJ old = SelectObject(memory, shot);
    BitBlt(memory, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    std::vector<DWORD> popup;
    if (ReadPixels(shot, width, height, popup)) {
        for (int y = 0; y < height; ++y) {
            int ty = rc.top - target->origin.y + y;
            if (ty < 0 || ty >= target->height) continue;
            for (int x = 0; x < width; ++x) {
                int tx = rc.left - target->origin.x + x;
                if (tx < 0 || tx >= target->width) continue;
                (*target->pixels)[static_cast<size_t>(ty) * target->width + tx] = popup[static_cast<size_t>(y) * width + x] | 0xFF000000;
            }
        }
    }
    DeleteObject(shot);
    DeleteDC(memory);
    ReleaseDC(hwnd, windowDc);
    return TRUE;
}

bool SavePng(HWND frame, HBITMAP bitmap, bool premultiplied, LPCWSTR path, int* width, int* height)
{
    BITMAP info;
    if (bitmap == NULL || GetObjectW(bitmap, sizeof(info), &info) == 0) return false;
    *width = info.bmWidth;
    *height = info.bmHeight;
    std::vector<DWORD> pixels;
    if (!ReadPixels(bitmap, info.bmWidth, info.bmHeight, pixels)) return false;
    if (!premultiplied)
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] |= 0xFF000000;
    DropDowns dropDowns = { frame, { 0, 0 }, &pixels, info.bmWidth, info.bmHeight };
    ClientToScreen(frame, &dropDowns.origin);
    EnumWindows(DrawDropDown, reinterpret_cast<LPARAM>(&dropDowns));
    Gdiplus::Bitmap image(info.bmWidth, info.bmHeight, info.bmWidth * 4,
                          premultiplied ? PixelFormat32bppPARGB : PixelFormat32bppARGB,
                          reinterpret_cast<BYTE*>(pixels.data()));
    static const CLSID kPngEncoder = { 0x557CF406, 0x1A04, 0x11D3, { 0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E } };
    return image.Save(path, &kPngEncoder, NULL) == Gdiplus::Ok;
}

int RunStep(ProbeFrame& frame, const Step& step)
{
    HWND hwnd = frame.GetHWND();
    CWindowUIManager* manager = frame.GetManager();
    if (step.name == L"--wait") {
        PumpFor(static_cast<DWORD>(_wtoi(step.argument.c_str())));
        return kExitOk;
    }
    if (step.name == L"--windows") {
        EnumWindows(PrintWindowOfProcess, 0);
        return kExitOk;
    }
    if (frame.IsClosed() || hwnd == NULL) {
        ProbeOut(L"skinprobe: %ls: the window is closed", step.name.c_str());
        return kExitOk;
    }
    if (step.name == L"--dump") {
        CUIString dump = DumpControlTree(manager->GetRoot());
        // Line by line, so each stays within one write.
        int start = 0;
        while (start < dump.GetLength()) {
            int end = dump.Find(L'\n', start);
            if (end < 0) end = dump.GetLength();
            ProbeOut(L"%ls", dump.Mid(start, end - start).GetData());
            start = end + 1;
        }
    } else if (step.name == L"--render") {
        InvalidateRect(hwnd, NULL, FALSE);
        UpdateWindow(hwnd);
        DispatchWaitingMessages();
        int width = 0, height = 0;
        // A window too small or too large to paint has no picture: said, not fatal.
        if (SavePng(hwnd, manager->GetPaintBitmap(), manager->IsLayered(), step.argument.c_str(), &width, &height))
            ProbeOut(L"render %ls %dx%d", step.argument.c_str(), width, height);
        else
            ProbeOut(L"render %ls: nothing painted", step.argument.c_str());
    } else if (step.name == L"--click" || step.name == L"--dblclick") {
        CControlUI* control = FindNamed(frame, step.argument);
        if (control == NULL) return kExitUsage;
        POINT pt = CentreOf(control);
        if (!step.second.empty()) {
            // A point inside the control: a link, a slider position.
            int x = 0, y = 0;
            ParsePair(step.second, &x, &y);
            pt.x = control->GetPos().left + x;
            pt.y = control->GetPos().top + y;
        }
        Click(hwnd, pt, step.name == L"--dblclick");
    } else if (step.name == L"--wheel") {
        CControlUI* control = FindNamed(frame, step.argument);
        if (control == NULL) return kExitUsage;
        POINT screen = PutCursorOn(hwnd, CentreOf(control));
        short delta = step.second == L"up" ? WHEEL_DELTA : -WHEEL_DELTA;
        PostMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(screen.x, screen.y));
    } else if (step.name == L"--focus") {
        CControlUI* control = FindNamed(frame, step.argument);
        if (control == NULL) return kExitUsage;
        PutCursorOn(hwnd, CentreOf(control));
        ::SetFocus(hwnd);
        control->SetFocus();
    } else if (step.name == L"--key") {
        UINT vk = KeyCode(step.argument);
        if (vk == 0) {
            ProbeOut(L"skinprobe: unknown key %ls", step.argument.c_str());
            return kExitUsage;
        }
        UINT scan = MapVirtualKeyW(vk, 0);
        HWND target = GetFocus() != NULL ? GetFocus() : hwnd;
        PostMessageW(target, WM_KEYDOWN, vk, 1 | (scan << 16));
        DispatchWaitingMessages();
        PostMessageW(target, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000);
    } else if (step.name == L"--char") {
        // As the keyboard does: to the window with the focus, such as an edit's native window.
        HWND target = GetFocus() != NULL ? GetFocus() : hwnd;
        for (size_t i = 0; i < step.argument.size(); ++i) PostMessageW(target, WM_CHAR, step.argument[i], 1);
    } else if (step.name == L"--sys") {
        WPARAM command = step.argument == L"minimize" ? SC_MINIMIZE : step.argument == L"maximize" ? SC_MAXIMIZE : SC_RESTORE;
        PostMessageW(hwnd, WM_SYSCOMMAND, command, 0);
    } else if (step.name == L"--hittest") {
        int x = 0, y = 0;
        ParsePair(step.argument, &x, &y);
        POINT pt = { x, y };
        ClientToScreen(hwnd, &pt);
        LRESULT code = SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
        ProbeOut(L"hittest %d,%d %ls", x, y, HitTestName(code));
    }
    DispatchWaitingMessages();
    return kExitOk;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    Options options;
    std::wstring problem;
    if (!ParseCommandLine(argc, argv, options, problem)) return Usage(problem.c_str());

    CWindowUIManager::SetInstance(GetModuleHandleW(NULL));
    // Hosted ActiveX controls activate in place only where OLE runs on this thread.
    OleInitialize(NULL);
    LoadSkin(options);
    ProbeFrame* frame = new ProbeFrame(options.file.c_str(), true);

    static Watch watch;
    watch.frame = frame;
    watch.skin = options.skin;
    watch.deadline = GetTickCount() + static_cast<DWORD>(options.watchdogSeconds) * 1000;
    watch.stop = 0;
    HANDLE watcher = CreateThread(NULL, 0, WatchThread, &watch, 0, NULL);

    // A skin that cannot be loaded ends the process in the frame's own path.
    frame->Create(NULL, L"skinprobe", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0);
    if (frame->GetHWND() == NULL) {
        ProbeOut(L"skinprobe: the window could not be created");
        return kExitSkin;
    }
    if (options.width > 0)
        SetWindowPos(frame->GetHWND(), NULL, 0, 0, options.width, options.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame->CenterWindow();
    ShowWindow(frame->GetHWND(), SW_SHOWNORMAL);
    UpdateWindow(frame->GetHWND());
    DispatchWaitingMessages();

    int code = kExitOk;
    for (size_t i = 0; i < options.steps.size() && code == kExitOk; ++i) code = RunStep(*frame, options.steps[i]);

    if (frame->GetHWND() != NULL) DestroyWindow(frame->GetHWND());
    DispatchWaitingMessages();
    InterlockedExchange(&watch.stop, 1);
    WaitForSingleObject(watcher, INFINITE);
    CloseHandle(watcher);
    delete frame;
    OleUninitialize();
    return code;
}
