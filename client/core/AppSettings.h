#pragma once
// The settings record kept in "UserData/Settings.ini", and the body window's
// remembered and default rectangle.

#include <QRect>
#include <QString>

#include <cstdint>

struct AppSettings
{
    uint8_t valid = 0;          // the file existed at the last load; never written
    bool isMaximized = false;
    bool isAutoRun = false;
    QString downloadTool;       // "http": own downloader; anything else: the engine
    QString deviceId;
    QString deviceName;
    QString installPath;        // the games folder, ending with "/"
    QRect windowRect;           // the body window (null until loaded)
};

QString settingsFilePath();
// Reads the file anew into the shared record and returns it.
AppSettings &loadSettings();
void saveSettings(const AppSettings &settings);
// The main window's own copy: what the file holds, or the client's defaults
// ("thunder", no autostart, the default games folder) when there is no file.
// A file without a games folder means the default games folder too.
AppSettings loadWindowSettings();

// The windows' callers pass the primary screen's available size
// (availablePrimaryScreenArea() in gui/) and the width the title bar needs
// for all its items; the remembered rectangle wins when it has one, widened
// to that width (or to the screen's, when the screen is narrower).
QRect getWindowRect(const QSize &available, int minimumWidth);
// The default rectangle for a given available screen size: 80 pixels in from
// each side, but at least minimumWidth wide (centred then), and never wider
// than the screen.
QRect getDefaultWindowRect(const QSize &available, int minimumWidth);
bool setAutoRun(bool on);
