#pragma once

#include "ProbeControls.h"
#include "builder/DialogBuilder.h"

// A managed popup window whose tree the builder made from XML text; laid out
// by its first paint.
class SkinWindow
{
public:
    SkinWindow(LPCWSTR xml, int width = 200, int height = 100,
               DirectUI::IDialogBuilderCallback* callback = NULL);

    DirectUI::CControlUI* Find(LPCWSTR name) const { return window.manager.FindControl(name); }
    void Layout() { window.Repaint(); }

    ManagedWindow window;
    NotifyRecorder recorder;
    DirectUI::CDialogBuilder builder;
    DirectUI::CControlUI* root;
};

// The notifications of one type a recorder got, as "type;type;".
std::wstring TypesOf(const NotifyRecorder& recorder, LPCWSTR type);

// "l,t,r,b" of a rectangle, for readable failures.
std::string RectText(const RECT& rc);
