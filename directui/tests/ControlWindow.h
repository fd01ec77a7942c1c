#pragma once

#include "DibCanvas.h"
#include "ProbeControls.h"

#include <memory>

// A managed window whose root container holds floating controls placed by
// "pos"; it records the window's notifications and captures what it shows.
struct ControlWindow
{
    explicit ControlWindow(int width = 300, int height = 200);

    // Adds control floating at pos ("l,t,r,b") with the extra attributes.
    template <class T> T* Add(T* control, LPCWSTR name, LPCWSTR pos, LPCWSTR attributes = L"")
    {
        control->SetName(name);
        control->SetAttribute(L"float", L"true");
        control->SetAttribute(L"pos", pos);
        control->ApplyAttributes(attributes);
        root->Add(control);
        return control;
    }
    // Attaches the tree, paints once and forgets what that sent.
    void Show();
    // The window's client area as the window shows it now (after a repaint).
    std::unique_ptr<DibCanvas> Capture();
    DWORD Pixel(int x, int y);
    // Pixels of rc (captured now) whose RGB is colour.
    int Count(const RECT& rc, DWORD colour);
    void Click(int x, int y);
    void Key(UINT msg, WPARAM key);
    // WM_CHAR for each character to the window that has the keyboard focus.
    void Chars(const wchar_t* text);
    // Handles every message waiting for this thread (posted closes, ...).
    void Pump();

    ManagedWindow window;
    NotifyRecorder recorder;
    DirectUI::CContainerUI* root;
};
