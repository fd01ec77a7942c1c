#pragma once

#include "control/ContainerUI.h"
#include "window/WindowWnd.h"

#include <string>
#include <vector>

// A control that writes every event it gets into its log and, like a
// button, sends "click" when the left button comes up inside it.
class ProbeUI : public DirectUI::CControlUI
{
public:
    ProbeUI(LPCWSTR name, LPCWSTR pos, UINT flags = 0);

    LPCWSTR GetControlClass() const override { return m_class; }
    UINT GetControlFlags() const override { return m_flags; }
    bool Activate() override;
    void HandleEvent(DirectUI::ControlEvent& event) override;
    void PaintText(HDC dc) override;

    std::string log;
    LPCWSTR m_class;
    UINT m_flags;
    bool activated;
    // Painting: GDI fills of the left and right halves (CLR_INVALID: none),
    // and the bitmap that was selected into the DC it painted on.
    COLORREF leftFill, rightFill;
    HBITMAP paintedOn;
};

// A control that draws its text with the manager's font 0.
class TextProbeUI : public DirectUI::CControlUI
{
public:
    void PaintText(HDC dc) override;
};

// Notifications a window sent, in order.
class NotifyRecorder : public DirectUI::INotifyUI
{
public:
    struct Entry
    {
        std::wstring type;
        DirectUI::CControlUI* sender;
        WPARAM wParam;
        LPARAM lParam;
    };
    void Notify(DirectUI::NotifyRecord& msg) override;
    std::wstring Types() const;
    // The types other than focus changes (senders may be gone).
    std::wstring TypesBesidesFocus() const;
    // The notifications other than focus changes, as "sender:type;".
    std::wstring SendersAndTypes() const;
    std::vector<Entry> got;
};

// Handles every message waiting for this thread, as a frame's loop does.
void PumpMessages();

// Handles this thread's queued messages one by one until done() holds or
// none is left (at most 1000).
template <class Done> void PumpUntil(Done done)
{
    for (int round = 0; round < 1000 && !done(); ++round) {
        MSG msg;
        if (!::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) break;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Handles this thread's messages as they arrive until one for which seen()
// holds has been handled, or timeoutMs have passed; whether one came.
template <class Seen> bool WaitForMessage(Seen seen, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    bool came = false;
    while (!came && ::GetTickCount() - start < timeoutMs) {
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (seen(msg)) came = true;
            ::DispatchMessageW(&msg);
        }
    }
    return came;
}

// A popup window whose messages go through a window manager.
class ManagedWindow : public DirectUI::CWindowWnd
{
public:
    explicit ManagedWindow(int width = 200, int height = 150);
    ~ManagedWindow() override;

    void Repaint();
    void Mouse(UINT msg, int x, int y, WPARAM wParam = 0);
    void ScreenMouse(UINT msg, int x, int y, WPARAM wParam = 0);

    DirectUI::CWindowUIManager manager;

protected:
    LPCWSTR GetWindowClassName() const override { return L"OrbelaTestManagedWindow"; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
};
