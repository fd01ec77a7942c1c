#pragma once
// The client's operating-system seam for its logic (no QtGui): everything
// that differs between Windows and other systems outside the windows is asked
// of this interface; PlatformDesktop holds what only windows need. The rest of
// the client never tests which system it runs on.

#include <QString>
#include <QStringList>

#include <functional>

class QTextCodec;
class QObject;

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

    // Autostart with the user's session.
    virtual bool setAutoRun(bool on, const QString &appName, const QString &programPath) = 0;
    virtual bool isWindowsVersion62() const = 0;

    // Removes a folder tree (the caller has already refused unsafe paths);
    // temporaryFolder (ending with "/") may hold a helper script.
    virtual bool removeDirectoryTree(const QString &absolutePath, const QString &temporaryFolder) = 0;
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
