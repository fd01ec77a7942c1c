#pragma once

#include "platform/PlatformDesktop.h"

#include <QtGlobal>

#ifdef Q_OS_WIN

// Windows: the title bar's messages (the hand-over 0x401, activation, position
// changes, system commands), SwitchToThisWindow, SetWindowPos and explorer.
class WindowsDesktop : public PlatformDesktop
{
public:
    NativeMessage classifyNativeEvent(const QByteArray &eventType, void *message) const override;
    void switchToWindow(QWindow *window) override;
    void placeBelow(QWindow *window, QWindow *above) override;
    void openFolder(const QString &absolutePath) override;
};

#endif
