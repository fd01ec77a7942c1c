// skin-bench [SKIN.zip]: how long a frame takes from reading its skin zip to
// its first finished paint, against a bare Win32 program doing the same raw
// work (read the zip, decode the same images with stb_image, blit them where
// the frame drew them into a window of the same size and style, finish its
// first paint). One warm-up,
// then 20 alternating rounds; prints both medians, the frame's split, and
// ratio=<skin/bare> last.
// skin-bench SKIN-FOLDER: how long a frame over a skin folder (such as a skin
// of the bad corpus) takes from its creation to its first finished paint, and
// how many controls it holds; median of 5 rounds after one warm-up.
#include "ProbeFrame.h"
#include "ProbeOutput.h"
#include "WaitingMessages.h"
#include "control/ButtonUI.h"
#include "control/IContainerUI.h"
#include "manager/SkinFiles.h"
#include "render/GdiPainter.h"

#include <minizip/unzip.h>
#define STBI_NO_STDIO
#include <stb_image.h> // the decoder the framework carries
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace DirectUI;

namespace {

const int kRounds = 20;
const DWORD kFrameStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

double Now()
{
    static LARGE_INTEGER frequency = { { 0, 0 } };
    if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

struct SkinTimes
{
    double read, build, paint, total;
};

// An image the frame's first paint drew, and where.
struct Placement
{
    std::wstring image;
    RECT rc;
};

// The file of an image string: "name" or "file='name' ...".
std::wstring ImageFile(const CUIString& image)
{
    std::wstring text = image.GetData();
    size_t file = text.find(L"file='");
    if (file == std::wstring::npos) return text;
    size_t end = text.find(L'\'', file + 6);
    return text.substr(file + 6, end == std::wstring::npos ? std::wstring::npos : end - file - 6);
}

void CollectPlacements(CControlUI* control, std::vector<Placement>& placements)
{
    if (control == NULL || !control->IsVisible()) return;
    const RECT& rc = control->GetPos();
    if (!control->GetBkImage().IsEmpty()) placements.push_back(Placement{ ImageFile(control->GetBkImage()), rc });
    CButtonUI* button = static_cast<CButtonUI*>(control->GetInterface(L"Button"));
    if (button != NULL && !button->GetNormalImage().IsEmpty())
        placements.push_back(Placement{ ImageFile(button->GetNormalImage()), rc });
    IContainerUI* container = static_cast<IContainerUI*>(control->GetInterface(L"IContainer"));
    for (int i = 0; container != NULL && i < container->Count(); ++i) CollectPlacements(container->ItemAt(i), placements);
}

// (a): a new frame over a freshly opened archive and a new image cache.
SkinTimes SkinRound(const std::wstring& zip, std::vector<Placement>* placements, SIZE* size)
{
    SkinTimes times;
    double start = Now();
    CWindowUIManager::SetSkinZip(L""); // closes the archive of the last round
    BYTE* bytes = NULL;
    DWORD zipSize = 0;
    LPCWSTR failure = NULL;
    ReadWholeFile(zip.c_str(), ProbeFrame::kMaxSkinZipSize, &bytes, &zipSize, &failure);
    CWindowUIManager::SetSkinZipBuffer(bytes, zipSize);
    double read = Now();
    ProbeFrame* frame = new ProbeFrame(L"main.xml", false);
    frame->Create(NULL, L"skin-bench", kFrameStyle, 0);
    double built = Now();
    ::ShowWindow(frame->GetHWND(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(frame->GetHWND());
    double painted = Now();
    times.read = read - start;
    times.build = built - read;
    times.paint = painted - built;
    times.total = painted - start;
    if (placements != NULL) {
        CollectPlacements(frame->GetManager()->GetRoot(), *placements);
        RECT rc;
        GetWindowRect(frame->GetHWND(), &rc);
        size->cx = rc.right - rc.left;
        size->cy = rc.bottom - rc.top;
    }
    ::DestroyWindow(frame->GetHWND());
    DispatchWaitingMessages();
    delete frame;
    CWindowUIManager::SetSkinZip(L"");
    free(bytes);
    return times;
}

// (b): the bare program's images, premultiplied DIBs as a painter needs them,
// each drawn where the frame drew it.
struct BareImage
{
    HBITMAP bitmap;
    int width, height;
    bool alpha;
    RECT rc;
};
std::vector<BareImage> g_bareImages;

LRESULT CALLBACK BareWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_PAINT) return DefWindowProcW(hwnd, msg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    // Double-buffered, as the frame paints.
    HDC buffer = CreateCompatibleDC(dc);
    HBITMAP canvas = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ oldCanvas = SelectObject(buffer, canvas);
    HDC source = CreateCompatibleDC(dc);
    SetStretchBltMode(buffer, HALFTONE);
    BLENDFUNCTION blend = { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
    for (size_t i = 0; i < g_bareImages.size(); ++i) {
        const BareImage& image = g_bareImages[i];
        const RECT& rc = image.rc;
        HGDIOBJ old = SelectObject(source, image.bitmap);
        if (image.alpha)
            AlphaBlend(buffer, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, source, 0, 0, image.width,
                       image.height, blend);
        else
            StretchBlt(buffer, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, source, 0, 0, image.width,
                       image.height, SRCCOPY);
        SelectObject(source, old);
    }
    BitBlt(dc, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
    SelectObject(buffer, oldCanvas);
    DeleteObject(canvas);
    DeleteDC(source);
    DeleteDC(buffer);
    EndPaint(hwnd, &ps);
    return 0;
}

double BareRound(const std::wstring& zip, const std::vector<Placement>& placements, SIZE size)
{
    double start = Now();
    char path[MAX_PATH * 3];
    WideCharToMultiByte(CP_ACP, 0, zip.c_str(), -1, path, sizeof(path), NULL, NULL);
    unzFile archive = unzOpen64(path);
    HDC screen = GetDC(NULL);
    // Each image is decoded once, as the frame's image cache does.
    std::vector<std::wstring> decoded;
    std::vector<BareImage> images;
    for (size_t i = 0; archive != NULL && i < placements.size(); ++i) {
        size_t known = std::find(decoded.begin(), decoded.end(), placements[i].image) - decoded.begin();
        if (known < decoded.size()) {
            BareImage again = images[known];
            again.rc = placements[i].rc;
            g_bareImages.push_back(again);
            continue;
        }
        char name[MAX_PATH];
        WideCharToMultiByte(CP_UTF8, 0, placements[i].image.c_str(), -1, name, sizeof(name), NULL, NULL);
        unz_file_info64 info;
        if (unzLocateFile(archive, name, 2) != UNZ_OK || unzGetCurrentFileInfo64(archive, &info, NULL, 0, NULL, 0, NULL, 0) != UNZ_OK ||
            unzOpenCurrentFile(archive) != UNZ_OK)
            continue;
        std::vector<BYTE> bytes(static_cast<size_t>(info.uncompressed_size));
        int got = unzReadCurrentFile(archive, bytes.data(), static_cast<unsigned>(bytes.size()));
        unzCloseCurrentFile(archive);
        int width = 0, height = 0, components = 0;
        stbi_uc* pixels = got > 0 ? stbi_load_from_memory(bytes.data(), got, &width, &height, &components, 4) : NULL;
        if (pixels == NULL) continue;
        LPDWORD bits = NULL;
        HBITMAP bitmap = CGdiPainter::CreateDib32(screen, width, height, &bits);
        if (bitmap != NULL) {
            BYTE* out = reinterpret_cast<BYTE*>(bits);
            bool alpha = false;
            for (int p = 0; p < width * height; ++p) {
                BYTE a = pixels[p * 4 + 3];
                alpha = alpha || a != 255;
                out[p * 4 + 0] = static_cast<BYTE>(pixels[p * 4 + 2] * a / 255);
                out[p * 4 + 1] = static_cast<BYTE>(pixels[p * 4 + 1] * a / 255);
                out[p * 4 + 2] = static_cast<BYTE>(pixels[p * 4 + 0] * a / 255);
                out[p * 4 + 3] = a;
            }
            BareImage image = { bitmap, width, height, alpha, placements[i].rc };
            decoded.push_back(placements[i].image);
            images.push_back(image);
            g_bareImages.push_back(image);
        }
        stbi_image_free(pixels);
    }
    ReleaseDC(NULL, screen);
    if (archive != NULL) unzClose(archive);
    HWND hwnd = CreateWindowExW(0, L"SkinBenchBare", L"bare", kFrameStyle & ~WS_CAPTION, 0, 0, size.cx, size.cy, NULL,
                                NULL, GetModuleHandleW(NULL), NULL);
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
    double elapsed = Now() - start;
    DestroyWindow(hwnd);
    DispatchWaitingMessages();
    for (size_t i = 0; i < images.size(); ++i) DeleteObject(images[i].bitmap);
    g_bareImages.clear();
    return elapsed;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// One frame over the skin folder set up as the skin path: its time to the
// first finished paint, and the controls it held then.
double FolderRound(LONG* controls)
{
    const LONG before = CControlUI::LiveCount();
    double start = Now();
    ProbeFrame* frame = new ProbeFrame(L"main.xml", false);
    frame->Create(NULL, L"skin-bench", kFrameStyle, 0);
    ::ShowWindow(frame->GetHWND(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(frame->GetHWND());
    double elapsed = Now() - start;
    *controls = CControlUI::LiveCount() - before;
    ::DestroyWindow(frame->GetHWND());
    DispatchWaitingMessages();
    delete frame;
    return elapsed;
}

int FolderBench(const std::wstring& folder)
{
    const int kFolderRounds = 5;
    CWindowUIManager::SetSkinPath(folder.c_str());
    LONG controls = 0;
    FolderRound(&controls);
    std::vector<double> times;
    for (int i = 0; i < kFolderRounds; ++i) times.push_back(FolderRound(&controls));
    ProbeOut(L"skin-bench: %ls, %d rounds: %ld controls in the window", folder.c_str(), kFolderRounds, controls);
    ProbeOut(L"folder skin median %.2f ms (slowest %.2f)", Median(times), *std::max_element(times.begin(), times.end()));
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring zip;
    if (argc > 1) {
        zip = argv[1];
    } else {
        wchar_t exe[MAX_PATH];
        GetModuleFileNameW(NULL, exe, MAX_PATH);
        zip = exe;
        zip = zip.substr(0, zip.find_last_of(L"\\/") + 1) + L"..\\skins\\sample.zip";
    }
    if (GetFileAttributesW(zip.c_str()) == INVALID_FILE_ATTRIBUTES) {
        ProbeOut(L"skin-bench: no skin zip %ls", zip.c_str());
        return 2;
    }
    CWindowUIManager::SetInstance(GetModuleHandleW(NULL));
    DWORD attributes = GetFileAttributesW(zip.c_str());
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return FolderBench(zip);
    CWindowUIManager::SetSkinPath(L".");
    WNDCLASSEXW wc = { sizeof(wc) };
    wc.lpfnWndProc = BareWindowProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = L"SkinBenchBare";
    RegisterClassExW(&wc);

    // The warm-up tells which images the first paint drew where, and the
    // window's size.
    std::vector<Placement> placements;
    SIZE size = { 0, 0 };
    SkinRound(zip, &placements, &size);
    BareRound(zip, placements, size);
    ProbeOut(L"skin-bench: %ls, %dx%d, %d images drawn in the first paint, %d rounds each", zip.c_str(), (int)size.cx,
             (int)size.cy, (int)placements.size(), kRounds);

    std::vector<double> skin, bare, read, build, paint;
    for (int i = 0; i < kRounds; ++i) {
        SkinTimes times = SkinRound(zip, NULL, NULL);
        skin.push_back(times.total);
        read.push_back(times.read);
        build.push_back(times.build);
        paint.push_back(times.paint);
        bare.push_back(BareRound(zip, placements, size));
    }
    double skinMedian = Median(skin), bareMedian = Median(bare);
    ProbeOut(L"skin median %.2f ms (read %.2f, build %.2f, layout and first paint %.2f)", skinMedian, Median(read),
             Median(build), Median(paint));
    ProbeOut(L"bare median %.2f ms", bareMedian);
    ProbeOut(L"ratio=%.2f", bareMedian > 0 ? skinMedian / bareMedian : 0.0);
    return 0;
}
