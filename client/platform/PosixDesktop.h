#pragma once

#include "platform/PlatformDesktop.h"

#include <QtGlobal>

#ifndef Q_OS_WIN

// Linux and other POSIX systems: no native messages reach the windows, and the
// desktop's URL handlers open folders and addresses.
class PosixDesktop : public PlatformDesktop
{
public:
    NativeMessage classifyNativeEvent(const QByteArray &eventType, void *message) const override;
    void switchToWindow(QWindow *window) override;
    void placeBelow(QWindow *window, QWindow *above) override;
    void openFolder(const QString &absolutePath) override;
};

#endif
