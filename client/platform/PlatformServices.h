#pragma once
// The client's only operating-system seam. Everything that differs between
// Windows and other systems is asked of this interface; the rest of the
// client never tests which system it runs on.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class QTextCodec;
class QObject;
class QWindow;

class PlatformServices
{
public:
    virtual ~PlatformServices() = default;

    // Single instance. acquireInstanceLock() is called first thing in main; it
    // returns false when another instance of the client already runs.
    virtual bool acquireInstanceLock() = 0;
    // Asks the running instance to come to the front (its hand-over message).
    virtual void notifyRunningInstance() = 0;
    // Listens for hand-over requests of later starts; handler runs on the GUI thread.
    virtual bool listenForHandOver(QObject *owner, std::function<void()> handler) = 0;

    // Interprets a native window message of the title bar.
    enum class NativeMessage { Other, HandOver, WindowPosChanging, SystemCommand, Activate };
    virtual NativeMessage classifyNativeEvent(const QByteArray &eventType, void *message,
                                              unsigned *systemCommand) const = 0;
    // Brings a top-level window to the front as the system allows.
    virtual void switchToWindow(QWindow *window) = 0;
    // Puts a window directly below another in the stacking order.
    virtual void placeBelow(QWindow *window, QWindow *above) = 0;

    // Autostart with the user's session.
    virtual bool setAutoRun(bool on, const QString &appName, const QString &programPath) = 0;
    virtual bool isWindowsVersion62() const = 0;

    // Removes a folder tree (the caller has already refused unsafe paths).
    virtual bool removeDirectoryTree(const QString &absolutePath) = 0;
    // Shows a folder in the system's file manager.
    virtual void openFolder(const QString &absolutePath) = 0;
    // Starts a program that outlives the client (the updater hand-over).
    virtual bool startDetachedProgram(const QString &program, const QStringList &arguments) = 0;

    // File name of the download engine library inside the application folder.
    virtual QString downloadEngineFileName() const = 0;
    // File name of the extractor inside "Tools".
    virtual QString extractorFileName() const = 0;
    // The local 8-bit encoding of texts written to logs and consoles.
    virtual QTextCodec *localCodec() const = 0;
};

// The implementation for the system the client was built for.
PlatformServices &platform();
