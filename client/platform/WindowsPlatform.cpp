#include "platform/WindowsPlatform.h"

#ifdef Q_OS_WIN

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTextCodec>

#include <windows.h>

namespace {
const wchar_t kMutexName[] = L"Orbela.exe";
const char kTitleBarTitle[] = "Orbela游戏平台";
const char kRunKey[] = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
}

bool WindowsPlatform::acquireInstanceLock()
{
    // The handle of the first instance stays open for the life of the process.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        if (mutex)
            CloseHandle(mutex);
        return false;
    }
    return true;
}

void WindowsPlatform::notifyRunningInstance()
{
    const QByteArray title = localCodec()->fromUnicode(QString::fromUtf8(kTitleBarTitle));
    if (HWND window = FindWindowA(nullptr, title.constData()))
        SendMessageW(window, kHandOverMessage, 0, 0);
}

bool WindowsPlatform::listenForHandOver(QObject *, std::function<void()>)
{
    // The title bar receives 0x401 itself through its native event handler.
    return true;
}

bool WindowsPlatform::setAutoRun(bool on, const QString &appName, const QString &programPath)
{
    QSettings run(QString::fromLatin1(kRunKey), QSettings::NativeFormat);
    if (on)
        run.setValue(appName, QString(programPath).replace(QLatin1Char('/'), QLatin1Char('\\')));
    else
        run.remove(appName);
    run.sync();
    return run.status() == QSettings::NoError;
}

bool WindowsPlatform::isWindowsVersion62() const
{
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW *>(&info)))
        return false;
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion == 6
           && info.dwMinorVersion == 2;
}

bool WindowsPlatform::removeDirectoryTree(const QString &absolutePath, const QString &temporaryFolder)
{
    const QString batch = temporaryFolder + QStringLiteral("rm.bat");
    if (!QFile::exists(batch)) {
        QFile file(batch);
        if (file.open(QIODevice::WriteOnly))
            file.write("rmdir /s /q %1");
    }
    QProcess process;
    process.start(batch, QStringList{QDir::toNativeSeparators(absolutePath)});
    process.waitForFinished(30000);
    return !QFileInfo::exists(absolutePath);
}

bool WindowsPlatform::startDetachedProgram(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(program, arguments);
}

QString WindowsPlatform::downloadEngineFileName() const
{
    return QStringLiteral("xldl.dll");
}

QString WindowsPlatform::extractorFileName() const
{
    return QStringLiteral("7z");
}

QTextCodec *WindowsPlatform::localCodec() const
{
    return QTextCodec::codecForName("GBK");
}

#endif
