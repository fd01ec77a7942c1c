#pragma once
// Looking at and clicking on the real client's windows on an X server (the
// test runs under Xvfb): windows are found by title through xwininfo, clicks
// go through the XTest extension, loaded at run time.

#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QString>

#include <dlfcn.h>

// The window's rectangle on the screen; empty while no window has the title.
inline QRect findXWindow(const QString &title)
{
    QProcess tree;
    tree.start(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")});
    if (!tree.waitForFinished(10000))
        return {};
    const QString text = QString::fromUtf8(tree.readAllStandardOutput());
    const QRegularExpression line(QStringLiteral("\"%1\":.*\\s(\\d+)x(\\d+)\\+-?\\d+\\+-?\\d+\\s+\\+(-?\\d+)\\+(-?\\d+)")
                                      .arg(QRegularExpression::escape(title)));
    const QRegularExpressionMatch match = line.match(text);
    if (!match.hasMatch())
        return {};
    return QRect(match.captured(3).toInt(), match.captured(4).toInt(), match.captured(1).toInt(),
                 match.captured(2).toInt());
}

// A left click at a point of the screen.
inline bool clickOnScreen(const QPoint &point)
{
    void *x11 = dlopen("libX11.so.6", RTLD_NOW);
    void *xtst = dlopen("libXtst.so.6", RTLD_NOW);
    if (!x11 || !xtst)
        return false;
    using OpenDisplay = void *(*)(const char *);
    using CloseDisplay = int (*)(void *);
    using Sync = int (*)(void *, int);
    using FakeMotion = int (*)(void *, int, int, int, unsigned long);
    using FakeButton = int (*)(void *, unsigned, int, unsigned long);
    auto open = reinterpret_cast<OpenDisplay>(dlsym(x11, "XOpenDisplay"));
    auto close = reinterpret_cast<CloseDisplay>(dlsym(x11, "XCloseDisplay"));
    auto sync = reinterpret_cast<Sync>(dlsym(x11, "XSync"));
    auto motion = reinterpret_cast<FakeMotion>(dlsym(xtst, "XTestFakeMotionEvent"));
    auto button = reinterpret_cast<FakeButton>(dlsym(xtst, "XTestFakeButtonEvent"));
    void *display = open && close && sync && motion && button ? open(nullptr) : nullptr;
    if (!display)
        return false;
    motion(display, -1, point.x(), point.y(), 0);
    button(display, 1, 1, 0);
    button(display, 1, 0, 0);
    sync(display, 0);
    close(display);
    return true;
}
