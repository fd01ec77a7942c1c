#pragma once

#include <windows.h>

namespace DirectUI {

// One native top-level or popup window bound to this object: every message
// of the window reaches HandleMessage.
class CWindowWnd
{
public:
    CWindowWnd();
    virtual ~CWindowWnd() {}

    HWND GetHWND() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    bool RegisterWindowClass();
    bool RegisterSuperclass();

    HWND Create(HWND parent, LPCWSTR name, DWORD style, DWORD exStyle, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT, HMENU menu = NULL);
    HWND Create(HWND parent, LPCWSTR name, DWORD style, DWORD exStyle, const RECT& rc, HMENU menu = NULL);
    void Unsubclass();
    void ShowWindow(bool show = true, bool takeFocus = true);
    UINT ShowModal();
    void Close(UINT result = IDOK);
    void CenterWindow();

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

protected:
    virtual LPCWSTR GetWindowClassName() const = 0;
    virtual LPCWSTR GetSuperClassName() const { return NULL; }
    virtual UINT GetClassStyle() const { return 0; }
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual void OnNcDestroyed(HWND) {}

    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SuperclassWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd;
    WNDPROC m_OldWndProc;
    bool m_bSubclassed;

private:
    static LRESULT RouteMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, bool superclass);
    CWindowWnd(const CWindowWnd&);
    CWindowWnd& operator=(const CWindowWnd&);
};

} // namespace DirectUI
