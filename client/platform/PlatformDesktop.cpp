#include "platform/PlatformDesktop.h"

#include "platform/PosixDesktop.h"
#include "platform/WindowsDesktop.h"

#include <QDesktopServices>
#include <QUrl>
#include <QtGlobal>

PlatformDesktop &desktopPlatform()
{
#ifdef Q_OS_WIN
    static WindowsDesktop instance;
#else
    static PosixDesktop instance;
#endif
    return instance;
}

bool PlatformDesktop::openAddress(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}
