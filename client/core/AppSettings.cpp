#include "core/AppSettings.h"

#include "core/AppFolders.h"
#include "core/WindowOnScreen.h"
#include "platform/PlatformServices.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

namespace {
const int kMaxScreenWidth = 1920;
const int kMaxScreenHeight = 1080;

QRect &defaultRectForSaving()
{
    static QRect rect = getDefaultWindowRect(QSize(kMaxScreenWidth, kMaxScreenHeight), 0);
    return rect;
}
} // namespace

QString settingsFilePath()
{
    return getUserDataDir() + QStringLiteral("/Settings.ini");
}

AppSettings &loadSettings()
{
    static AppSettings shared;
    const QString path = settingsFilePath();
    if (!QFileInfo::exists(path)) {
        shared.valid = 0;
        return shared;
    }
    shared.valid = 1;
    QSettings file(path, QSettings::IniFormat);
    shared.windowRect = QRect(file.value(QStringLiteral("/WindowLocation/X")).toInt(),
                              file.value(QStringLiteral("/WindowLocation/Y")).toInt(),
                              file.value(QStringLiteral("/WindowSize/Width")).toInt(),
                              file.value(QStringLiteral("/WindowSize/Height")).toInt());
    shared.isMaximized = file.value(QStringLiteral("/WindowState/isMaximized")).toBool();
    shared.isAutoRun = file.value(QStringLiteral("/Settings/isAutoRun")).toBool();
    shared.installPath = file.value(QStringLiteral("/Settings/installPath")).toString();
    shared.deviceId = file.value(QStringLiteral("/DeviceInfo/Id")).toString();
    shared.deviceName = file.value(QStringLiteral("/DeviceInfo/Name")).toString();
    shared.downloadTool = file.value(QStringLiteral("/Download/Tool")).toString();
    return shared;
}

void saveSettings(const AppSettings &settings)
{
    const QString path = settingsFilePath();
    // QSettings replaces the file atomically when it syncs, and makes it when missing.
    QSettings file(path, QSettings::IniFormat);
    const QRect window = settings.windowRect.isEmpty() ? defaultRectForSaving() : settings.windowRect;
    file.setValue(QStringLiteral("/WindowLocation/X"), window.x());
    file.setValue(QStringLiteral("/WindowLocation/Y"), window.y());
    file.setValue(QStringLiteral("/WindowSize/Width"), window.width());
    file.setValue(QStringLiteral("/WindowSize/Height"), window.height());
    file.setValue(QStringLiteral("/WindowState/isMaximized"), settings.isMaximized);
    file.setValue(QStringLiteral("/DeviceInfo/Id"), settings.deviceId);
    file.setValue(QStringLiteral("/DeviceInfo/Name"), settings.deviceName);
    file.setValue(QStringLiteral("/Download/Tool"), settings.downloadTool);
    file.setValue(QStringLiteral("/Settings/installPath"), settings.installPath);
    file.setValue(QStringLiteral("/Settings/isAutoRun"), settings.isAutoRun);
    file.sync();
    if (file.status() != QSettings::NoError)
        qWarning("the settings were not saved to %s (error %d)", qUtf8Printable(path), static_cast<int>(file.status()));
}

void setDefaultWindowRectForSaving(const QRect &rect)
{
    if (!rect.isEmpty())
        defaultRectForSaving() = rect;
}

AppSettings loadWindowSettings()
{
    const AppSettings &stored = loadSettings();
    AppSettings copy;
    if (stored.valid) {
        copy = stored;
    } else {
        copy.isAutoRun = false;
        copy.isMaximized = false;
        copy.downloadTool = QStringLiteral("thunder");
    }
    if (copy.installPath.isEmpty())
        copy.installPath = getVrGamesDir();
    return copy;
}

QRect getWindowRect(const QVector<QRect> &availableAreas, int primary, int minimumWidth)
{
    const AppSettings &settings = loadSettings();
    const QRect wanted = settings.valid && !settings.windowRect.isEmpty()
                             ? settings.windowRect
                             : getDefaultWindowRect(availableAreas, primary, minimumWidth);
    return placeOnScreens(wanted, availableAreas, primary, minimumWidth);
}

QRect getDefaultWindowRect(const QVector<QRect> &availableAreas, int primary, int minimumWidth)
{
    const QRect area = primaryArea(availableAreas, primary);
    return getDefaultWindowRect(area.size(), minimumWidth).translated(area.topLeft());
}

QRect getDefaultWindowRect(const QSize &available, int minimumWidth)
{
    const int screenWidth = qMin(available.width(), kMaxScreenWidth);
    const int height = qMin(available.height(), kMaxScreenHeight);
    const int width = qMin(qMax(screenWidth - 160, minimumWidth), available.width());
    const int left = width > screenWidth - 160 ? (available.width() - width) / 2 : 80;
    return QRect(left, 50, width, height - 100);
}

bool setAutoRun(bool on)
{
    return platform().setAutoRun(on, QCoreApplication::applicationName(),
                                 QCoreApplication::applicationFilePath());
}
