#pragma once

#include <string>

namespace DirectUI {
class WindowImplBase;
}

// The client's shortcut set for the current user: in the Start menu's
// Programs folder "Orbela\Orbela.lnk" (the client) and "Orbela\卸载Orbela.lnk"
// (the uninstaller), on the desktop "Orbela.lnk" (the client).
struct ClientShortcutsResult {
    bool startMenu = false;  // both Start-menu links written
    bool desktop = false;    // the desktop link written
};

ClientShortcutsResult CreateClientShortcuts(const std::wstring& clientFolder);

// Writes the set and shows a notice over the wizard's window for each part
// that could not be written; from a worker the notices go to the window thread.
void CreateClientShortcutsWithNotices(DirectUI::WindowImplBase* owner, const std::wstring& clientFolder);
