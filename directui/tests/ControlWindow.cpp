#include "ControlWindow.h"

using namespace DirectUI;

ControlWindow::ControlWindow(int width, int height) : window(width, height), root(new CContainerUI)
{
    CWindowUIManager::SetSkinZip(L"", false);
    CWindowUIManager::SetSkinPath(ImageFolder().c_str());
    root->SetName(L"root");
    root->SetBkColor(0xFFFFFFFF);
    window.manager.AddNotifier(&recorder);
}

void ControlWindow::Show()
{
    window.manager.AttachRoot(root);
    window.Repaint();
    recorder.got.clear();
}

std::unique_ptr<DibCanvas> ControlWindow::Capture()
{
    window.Repaint();
    HWND hwnd = window.GetHWND();
    RECT rc;
    GetClientRect(hwnd, &rc);
    std::unique_ptr<DibCanvas> shot(new DibCanvas(rc.right, rc.bottom));
    HDC dc = GetDC(hwnd);
    BitBlt(shot->dc(), 0, 0, rc.right, rc.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, dc);
    return shot;
}

DWORD ControlWindow::Pixel(int x, int y)
{
    return Capture()->Pixel(x, y) & 0xFFFFFF;
}

int ControlWindow::Count(const RECT& rc, DWORD colour)
{
    std::unique_ptr<DibCanvas> shot = Capture();
    int count = 0;
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left; x < rc.right; ++x)
            if ((shot->Pixel(x, y) & 0xFFFFFF) == colour) ++count;
    return count;
}

void ControlWindow::Click(int x, int y)
{
    window.Mouse(WM_MOUSEMOVE, x, y);
    window.Mouse(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    window.Mouse(WM_LBUTTONUP, x, y);
}

void ControlWindow::Key(UINT msg, WPARAM key)
{
    ::SendMessageW(window.GetHWND(), msg, key, 1);
}

void ControlWindow::Chars(const wchar_t* text)
{
    for (const wchar_t* p = text; *p != 0; ++p) {
        HWND target = ::GetFocus() != NULL ? ::GetFocus() : window.GetHWND();
        ::SendMessageW(target, WM_CHAR, *p, 1);
    }
}

void ControlWindow::Pump() { PumpMessages(); }
