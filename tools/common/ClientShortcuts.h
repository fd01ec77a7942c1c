#pragma once

#include <string>

// The client's shortcut set for the current user: in the Start menu's
// Programs folder "Orbela\Orbela.lnk" (the client) and "Orbela\卸载Orbela.lnk"
// (the uninstaller), on the desktop "Orbela.lnk" (the client).
struct ClientShortcutsResult {
    bool startMenu = false;  // both Start-menu links written
    bool desktop = false;    // the desktop link written
};

ClientShortcutsResult CreateClientShortcuts(const std::wstring& clientFolder);

// The notices for a set that could not be written.
extern const wchar_t* const kStartMenuShortcutFailedText;
extern const wchar_t* const kDesktopShortcutFailedText;
