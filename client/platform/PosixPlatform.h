#pragma once

#include "platform/PlatformServices.h"

#include <QtGlobal>

#ifndef Q_OS_WIN

#include <QPointer>

#include <memory>

class QLocalServer;
class QLockFile;

// Linux and other POSIX systems: a lock file and a local socket under the
// user's runtime folder stand in for the named mutex and the window message.
class PosixPlatform : public PlatformServices
{
public:
    PosixPlatform();
    ~PosixPlatform() override;

    bool acquireInstanceLock() override;
    void notifyRunningInstance() override;
    bool listenForHandOver(QObject *owner, std::function<void()> handler) override;
    bool setAutoRun(bool on, const QString &appName, const QString &programPath) override;
    bool isWindowsVersion62() const override;
    bool removeDirectoryTree(const QString &absolutePath, const QString &temporaryFolder) override;
    bool startDetachedProgram(const QString &program, const QStringList &arguments) override;
    QString downloadEngineFileName() const override;
    QString extractorFileName() const override;
    QTextCodec *localCodec() const override;

    // $XDG_RUNTIME_DIR, or a private per-user folder under the temporary folder.
    static QString runtimeDirectory();
    static QString lockFilePath();
    static QString socketPath();
    // The Exec= value of a desktop entry that starts this one program.
    static QString desktopExecValue(const QString &program);

private:
    // Makes the folder (mode 0700) when missing; true when it is a real folder
    // owned by this user and closed to others.
    static bool isPrivateFolder(const QString &path);

    std::unique_ptr<QLockFile> lock;
    QPointer<QLocalServer> server;
};

#endif
