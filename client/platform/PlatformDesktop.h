#pragma once
// The operating-system seam for what only windows need: native window
// messages, raising and stacking windows, and handing folders and addresses to
// the desktop. Only the widget library links it.

#include <QByteArray>

class QString;
class QUrl;
class QWindow;

class PlatformDesktop
{
public:
    virtual ~PlatformDesktop() = default;

    // What a native window message of the title bar or the body means to them.
    // CloseCommand is the system command that closes the window (Alt+F4, the
    // system menu); other system commands are SystemCommand.
    enum class NativeMessage { Other, HandOver, WindowPosChanging, SystemCommand, CloseCommand, Activate };
    virtual NativeMessage classifyNativeEvent(const QByteArray &eventType, void *message) const = 0;
    // Brings a top-level window to the front as the system allows.
    virtual void switchToWindow(QWindow *window) = 0;
    // Puts a window directly below another in the stacking order.
    virtual void placeBelow(QWindow *window, QWindow *above) = 0;

    // Shows a folder in the system's file manager.
    virtual void openFolder(const QString &absolutePath) = 0;
    // Opens a web address in the user's default browser (the same call on
    // every system); true when the system took it.
    bool openAddress(const QUrl &url);
};

// The implementation for the system the client was built for.
PlatformDesktop &desktopPlatform();
