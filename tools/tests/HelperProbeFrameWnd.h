#pragma once

#include "WizardFrameWnd.h"

#include <string>

// The helper probe's window: a small wizard frame with its own skin over which
// the probe opens message boxes, from its window thread or from a worker. A
// close the system asks for prints whether the window was minimised then, and
// closes it.
class CHelperProbeFrameWnd : public CWizardFrameWnd
{
public:
    enum class Action { Stay, Box, WorkerBox };

    // keepOpen: the window stays after its box until it is closed.
    CHelperProbeFrameWnd(Action action, std::wstring text, int font, bool withCancel, bool keepOpen);

    static LPCWSTR Title() { return L"Orbela helper probe"; }

    void OnProgressTimer() override {}

protected:
    LPCWSTR GetWindowClassName() const override { return L"OrbelaHelperProbe"; }
    DirectUI::CUIString GetSkinFolder() override { return DirectUI::CUIString(); }
    DirectUI::CUIString GetSkinFile() override { return DirectUI::CUIString(L"probe.xml"); }
    UINT GetSkinSource() override { return DirectUI::SkinSourceZipResource; }
    LPCWSTR GetSkinResourceId() override { return MAKEINTRESOURCEW(132); }
    void OnControlsReady() override;
    LRESULT HandleOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void OnCloseRequest() override;

private:
    static DWORD WINAPI WorkerBoxThread(LPVOID frame);
    static DWORD WINAPI BoxThreadWatch(LPVOID windowThreadId);

    Action m_action;
    std::wstring m_text;
    int m_font;
    bool m_withCancel;
    bool m_keepOpen;
};
