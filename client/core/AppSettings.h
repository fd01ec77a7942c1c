#pragma once
// The settings record kept in "UserData/Settings.ini", and the body window's
// remembered and default rectangle.

#include <QRect>
#include <QString>
#include <QVector>

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
// Every save goes through here. A record whose rectangle is empty (a copy
// that never saw its window, as on a first start) is saved with the default
// rectangle instead, so the file never holds a window of nothing.
void saveSettings(const AppSettings &settings);
// The default rectangle saveSettings writes in place of an empty one: the
// windows set their screen's at start; until then a 1920x1080 screen's.
void setDefaultWindowRectForSaving(const QRect &rect);
// The main window's own copy: what the file holds, or the client's defaults
// ("thunder", no autostart, the default games folder) when there is no file.
// A file without a games folder means the default games folder too.
AppSettings loadWindowSettings();

// The windows' callers pass the screens' available areas and the primary
// one's index (screenAreas() in gui/) and the width the title bar needs for
// all its items. The remembered rectangle wins when it has one, else the
// default one; either is placed on the screens (placeOnScreens), so the
// title bar always lies on a screen.
QRect getWindowRect(const QVector<QRect> &availableAreas, int primary, int minimumWidth);
// The default rectangle for a given available screen size: 80 pixels in from
// each side, but at least minimumWidth wide (centred then), and never wider
// than the screen.
QRect getDefaultWindowRect(const QSize &available, int minimumWidth);
// The default rectangle on the primary screen's available area, that area's
// origin included (a primary screen need not start at 0,0).
QRect getDefaultWindowRect(const QVector<QRect> &availableAreas, int primary, int minimumWidth);
bool setAutoRun(bool on);
