#pragma once

#include "platform/PlatformServices.h"

#include <QtGlobal>

#ifdef Q_OS_WIN

// Windows: the named mutex "Orbela.exe", the title bar's window message 0x401,
// the Run key of the registry and the batch file that removes game folders.
class WindowsPlatform : public PlatformServices
{
public:
    // The title bar's hand-over message (WM_USER + 1); WindowsDesktop decodes it.
    static const unsigned kHandOverMessage = 0x401;

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
};

#endif
