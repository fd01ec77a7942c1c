#include "platform/PosixDesktop.h"

#ifndef Q_OS_WIN

#include <QDesktopServices>
#include <QUrl>
#include <QWindow>

PlatformDesktop::NativeMessage PosixDesktop::classifyNativeEvent(const QByteArray &, void *) const
{
    return NativeMessage::Other;
}

void PosixDesktop::switchToWindow(QWindow *window)
{
    window->raise();
    window->requestActivate();
}

void PosixDesktop::placeBelow(QWindow *, QWindow *above)
{
    // Top-level windows cannot be stacked under each other here; raising the
    // upper one gives the same order.
    above->raise();
}

void PosixDesktop::openFolder(const QString &absolutePath)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(absolutePath));
}

#endif
