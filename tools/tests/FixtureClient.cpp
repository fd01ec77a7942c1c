// A stand-in "Orbela.exe" for the wizards and their tests: it records every
// start (version, image path, current folder, arguments) as one UTF-8 line in
// the file named by ORBELA_FIXTURE_LOG, shows a small window "Orbela fixture"
// and runs until it is closed.
//   Orbela.exe --hand-over VERSION URL
// does what the client does when an update exists: copies its folder's
// "Update.exe" to the parent folder (only when missing there), starts that copy
// with exactly the two arguments, and ends.
#include <windows.h>

#include <cstdio>
#include <string>

#ifndef ORBELA_FIXTURE_VERSION
#define ORBELA_FIXTURE_VERSION L"1.1.1.81"
#endif

namespace {

std::string ToUtf8(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, NULL, 0, NULL, NULL);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], size, NULL, NULL);
    return out;
}

std::wstring FolderOf(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring ImagePath()
{
    wchar_t path[MAX_PATH] = {0};
    GetModuleFileNameW(NULL, path, MAX_PATH);
    return path;
}

void RecordStart(int argc, wchar_t** argv)
{
    wchar_t logPath[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"ORBELA_FIXTURE_LOG", logPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    wchar_t folder[MAX_PATH] = {0};
    GetCurrentDirectoryW(MAX_PATH, folder);
    std::wstring line = L"version=" ORBELA_FIXTURE_VERSION L"\timage=" + ImagePath() + L"\tcwd=" + folder + L"\targs=";
    for (int i = 1; i < argc; ++i)
        line += (i > 1 ? L"|" : L"") + std::wstring(argv[i]);
    std::string bytes = ToUtf8(line) + "\n";
    FILE* file = _wfopen(logPath, L"ab");
    if (file) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

// Quotes one argument the way CommandLineToArgvW reads it back.
std::wstring Quoted(const std::wstring& argument)
{
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

int HandOver(const std::wstring& version, const std::wstring& url)
{
    std::wstring clientFolder = FolderOf(ImagePath());
    std::wstring source = clientFolder + L"\\Update.exe";
    std::wstring copy = FolderOf(clientFolder) + L"\\Update.exe";
    // An existing copy in the parent folder is kept.
    if (GetFileAttributesW(copy.c_str()) == INVALID_FILE_ATTRIBUTES && !CopyFileW(source.c_str(), copy.c_str(), TRUE))
        return 2;
    std::wstring commandLine = Quoted(copy) + L" " + Quoted(version) + L" " + Quoted(url);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(copy.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return 3;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

LRESULT CALLBACK FixtureWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int RunWindow(HINSTANCE instance)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = FixtureWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"OrbelaFixtureWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Orbela fixture", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  CW_USEDEFAULT, CW_USEDEFAULT, 240, 120, NULL, NULL, instance, NULL);
    if (!window)
        return 1;
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    RecordStart(argc, argv);
    int result;
    if (argc == 4 && std::wstring(argv[1]) == L"--hand-over")
        result = HandOver(argv[2], argv[3]);
    else
        result = RunWindow(instance);
    LocalFree(argv);
    return result;
}
