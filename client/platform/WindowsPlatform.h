#pragma once

#include "platform/PlatformServices.h"

#include <QtGlobal>

#ifdef Q_OS_WIN

// Windows: the named mutex "Orbela.exe", the title bar's window message 0x401,
// the Run key of the registry and the batch file that removes game folders.
class WindowsPlatform : public PlatformServices
{
public:
    bool acquireInstanceLock() override;
    void notifyRunningInstance() override;
    bool listenForHandOver(QObject *owner, std::function<void()> handler) override;
    NativeMessage classifyNativeEvent(const QByteArray &eventType, void *message,
                                      unsigned *systemCommand) const override;
    void switchToWindow(QWindow *window) override;
    void placeBelow(QWindow *window, QWindow *above) override;
    bool setAutoRun(bool on, const QString &appName, const QString &programPath) override;
    bool isWindowsVersion62() const override;
    bool removeDirectoryTree(const QString &absolutePath) override;
    void openFolder(const QString &absolutePath) override;
    bool startDetachedProgram(const QString &program, const QStringList &arguments) override;
    QString downloadEngineFileName() const override;
    QString extractorFileName() const override;
    QTextCodec *localCodec() const override;
};

#endif
