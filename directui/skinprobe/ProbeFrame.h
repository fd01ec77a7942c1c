#pragma once

#include "window/WindowImplBase.h"

// The frame skinprobe and skin-bench show: a plain WindowImplBase over a
// skin file of the skin set up before it is created. It can print every
// notification as "notify TYPE SENDER WPARAM LPARAM".
class ProbeFrame : public DirectUI::WindowImplBase
{
public:
    // Largest skin zip the tools read into memory.
    enum { kMaxSkinZipSize = 0x10000000 };

    ProbeFrame(LPCWSTR skinFile, bool printNotifications);

    void Notify(DirectUI::NotifyRecord& msg) override;
    bool IsClosed() const { return m_bClosed; }

protected:
    LPCWSTR GetWindowClassName() const override { return L"SkinProbeFrame"; }
    DirectUI::CUIString GetSkinFolder() override { return DirectUI::CUIString(); }
    DirectUI::CUIString GetSkinFile() override { return m_sSkinFile; }
    LRESULT OnClose(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
    LRESULT OnDestroy(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    DirectUI::CUIString m_sSkinFile;
    bool m_bPrintNotifications;
    bool m_bClosed;
};
