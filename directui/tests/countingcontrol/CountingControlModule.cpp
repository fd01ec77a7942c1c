// The test control's module: its window class, its two class factories and
// its exports (DllGetClassObject, DllCanUnloadNow, CountingControlCountsOf).
#include "CountingControl.h"
#include "CountingFactory.h"

namespace {

LRESULT CALLBACK ControlWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCDESTROY) InterlockedDecrement(&g_counts.liveWindows);
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hWnd, &ps);
        RECT rc;
        GetClientRect(hWnd, &rc);
        HBRUSH brush = CreateSolidBrush(RGB(0, 128, 0));
        FillRect(dc, &rc, brush);
        DeleteObject(brush);
        EndPaint(hWnd, &ps);
        return 0;
    }
    return DefWindowProcW(hWnd, msg, wParam, lParam);
}

CountingFactory g_windowedFactory(false);
CountingFactory g_windowlessFactory(true);

} // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ControlWindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = L"CountingControlWindow";
        RegisterClassW(&wc);
    }
    return TRUE;
}

__declspec(dllexport) HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (out == NULL) return E_POINTER;
    *out = NULL;
    if (clsid == kWindowedClsid) return g_windowedFactory.QueryInterface(iid, out);
    if (clsid == kWindowlessClsid) return g_windowlessFactory.QueryInterface(iid, out);
    return CLASS_E_CLASSNOTAVAILABLE;
}

__declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() { return g_counts.liveObjects == 0 ? S_OK : S_FALSE; }

__declspec(dllexport) CountingControlCounts* WINAPI CountingControlCountsOf() { return &g_counts; }

} // extern "C"
