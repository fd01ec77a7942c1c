#pragma once
// Looking at and clicking on the real client's windows on an X server (the
// test runs under Xvfb): windows are found by title through xwininfo, clicks
// and keys go through the XTest extension, loaded at run time.

#include <QList>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QString>

#include <dlfcn.h>

#include <initializer_list>

// A top-level window on the X server: its id and its rectangle on the screen.
struct XWindow
{
    QString id;
    QRect rect;
};

// The top-level windows with exactly this title, topmost first, mapped or not.
inline QList<XWindow> findXWindows(const QString &title)
{
    QProcess tree;
    tree.start(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")});
    if (!tree.waitForFinished(10000))
        return {};
    const QString text = QString::fromUtf8(tree.readAllStandardOutput());
    const QRegularExpression line(QStringLiteral("(0x[0-9a-f]+) \"%1\":.*\\s(\\d+)x(\\d+)\\+-?\\d+\\+-?\\d+\\s+\\+(-?\\d+)\\+(-?\\d+)")
                                      .arg(QRegularExpression::escape(title)));
    QList<XWindow> windows;
    QRegularExpressionMatchIterator matches = line.globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        windows << XWindow{match.captured(1), QRect(match.captured(4).toInt(), match.captured(5).toInt(),
                                                    match.captured(2).toInt(), match.captured(3).toInt())};
    }
    return windows;
}

// The window's rectangle on the screen; empty while no window has the title.
inline QRect findXWindow(const QString &title)
{
    const QList<XWindow> windows = findXWindows(title);
    return windows.isEmpty() ? QRect() : windows.first().rect;
}

// The rectangles of the windows with this title that the X server shows
// (mapped, on screen); a window shrunk to nothing or hidden is not among them.
inline QList<QRect> viewableXWindows(const QString &title)
{
    QList<QRect> viewable;
    for (const XWindow &window : findXWindows(title)) {
        QProcess info;
        info.start(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window.id});
        if (info.waitForFinished(10000) && info.readAllStandardOutput().contains("Map State: IsViewable"))
            viewable << window.rect;
    }
    return viewable;
}

// Runs input on a connection to the X server with the XTest extension,
// loaded at run time; false when there is none.
template <class Input>
bool withFakeInput(Input input)
{
    void *x11 = dlopen("libX11.so.6", RTLD_NOW);
    void *xtst = dlopen("libXtst.so.6", RTLD_NOW);
    if (!x11 || !xtst)
        return false;
    using OpenDisplay = void *(*)(const char *);
    using CloseDisplay = int (*)(void *);
    using Sync = int (*)(void *, int);
    auto open = reinterpret_cast<OpenDisplay>(dlsym(x11, "XOpenDisplay"));
    auto close = reinterpret_cast<CloseDisplay>(dlsym(x11, "XCloseDisplay"));
    auto sync = reinterpret_cast<Sync>(dlsym(x11, "XSync"));
    void *display = open && close && sync ? open(nullptr) : nullptr;
    if (!display)
        return false;
    const bool sent = input(display, x11, xtst);
    sync(display, 0);
    close(display);
    return sent;
}

// Runs pointer input given two calls: move the pointer to a point of the
// screen, and press (true) or release (false) the left button.
template <class Input>
bool withFakePointer(Input input)
{
    return withFakeInput([&input](void *display, void *, void *xtst) {
        using FakeMotion = int (*)(void *, int, int, int, unsigned long);
        using FakeButton = int (*)(void *, unsigned, int, unsigned long);
        auto motion = reinterpret_cast<FakeMotion>(dlsym(xtst, "XTestFakeMotionEvent"));
        auto button = reinterpret_cast<FakeButton>(dlsym(xtst, "XTestFakeButtonEvent"));
        if (!motion || !button)
            return false;
        input([&](const QPoint &point) { motion(display, -1, point.x(), point.y(), 0); },
              [&](bool down) { button(display, 1, down ? 1 : 0, 0); });
        return true;
    });
}

// A left click (or clicks in a row, a double click for 2) at a point of the screen.
inline bool clickOnScreen(const QPoint &point, int clicks = 1)
{
    return withFakePointer([&point, clicks](auto moveTo, auto leftButton) {
        moveTo(point);
        for (int click = 0; click < clicks; ++click) {
            leftButton(true);
            leftButton(false);
        }
    });
}

// A left press at one point and its release at another: the widget pressed
// takes the keyboard focus, and nothing is clicked.
inline bool pressAndReleaseElsewhere(const QPoint &press, const QPoint &release)
{
    return withFakePointer([&press, &release](auto moveTo, auto leftButton) {
        moveTo(press);
        leftButton(true);
        moveTo(release);
        leftButton(false);
    });
}

// A press and release of each key named by its X key symbol ("Escape",
// "Return", "space"), all sent before the client reads the first, so each
// goes where the keyboard focus was when they were sent.
inline bool pressKeysOnScreen(std::initializer_list<const char *> keySymbols)
{
    return withFakeInput([keySymbols](void *display, void *x11, void *xtst) {
        using StringToKeysym = unsigned long (*)(const char *);
        using KeysymToKeycode = unsigned char (*)(void *, unsigned long);
        using FakeKey = int (*)(void *, unsigned, int, unsigned long);
        auto toKeysym = reinterpret_cast<StringToKeysym>(dlsym(x11, "XStringToKeysym"));
        auto toKeycode = reinterpret_cast<KeysymToKeycode>(dlsym(x11, "XKeysymToKeycode"));
        auto key = reinterpret_cast<FakeKey>(dlsym(xtst, "XTestFakeKeyEvent"));
        if (!key || !toKeysym || !toKeycode)
            return false;
        for (const char *keySymbol : keySymbols) {
            const unsigned code = toKeycode(display, toKeysym(keySymbol));
            if (code == 0)
                return false;
            key(display, code, 1, 0);
            key(display, code, 0, 0);
        }
        return true;
    });
}

inline bool pressKeyOnScreen(const char *keySymbol)
{
    return pressKeysOnScreen({keySymbol});
}
