#include "platform/WindowsDesktop.h"

#ifdef Q_OS_WIN

#include "platform/WindowsPlatform.h"

#include <QDir>
#include <QProcess>
#include <QStringList>
#include <QWindow>

#include <windows.h>

PlatformDesktop::NativeMessage WindowsDesktop::classifyNativeEvent(const QByteArray &eventType,
                                                                   void *message) const
{
    if (eventType != "windows_generic_MSG" || !message)
        return NativeMessage::Other;
    const MSG *msg = static_cast<const MSG *>(message);
    switch (msg->message) {
    case WindowsPlatform::kHandOverMessage:
        return NativeMessage::HandOver;
    case WM_ACTIVATE:
        return NativeMessage::Activate;
    case WM_WINDOWPOSCHANGING:
        return NativeMessage::WindowPosChanging;
    case WM_SYSCOMMAND:
        return (msg->wParam & 0xFFFF) == SC_CLOSE ? NativeMessage::CloseCommand : NativeMessage::SystemCommand;
    default:
        return NativeMessage::Other;
    }
}

void WindowsDesktop::switchToWindow(QWindow *window)
{
    SwitchToThisWindow(reinterpret_cast<HWND>(window->winId()), TRUE);
}

void WindowsDesktop::placeBelow(QWindow *window, QWindow *above)
{
    const QRect r = window->geometry();
    SetWindowPos(reinterpret_cast<HWND>(window->winId()), reinterpret_cast<HWND>(above->winId()), r.x(), r.y(),
                 r.width(), r.height(), SWP_SHOWWINDOW);
}

void WindowsDesktop::openFolder(const QString &absolutePath)
{
    QProcess::startDetached(QStringLiteral("explorer"), QStringList{QDir::toNativeSeparators(absolutePath)});
}

#endif
