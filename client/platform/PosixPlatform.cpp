#include "platform/PosixPlatform.h"

#ifndef Q_OS_WIN

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextCodec>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const char kInstanceName[] = "Orbela.exe";
const int kHandOverWaitMs = 1000;
}

PosixPlatform::PosixPlatform() = default;
PosixPlatform::~PosixPlatform() = default;

QString PosixPlatform::runtimeDirectory()
{
    const QString fromEnvironment = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    // A folder under the shared temporary folder is used only when it is
    // really ours: another user could have made it first to answer hand-overs.
    const QString shared = QDir::tempPath() + QStringLiteral("/orbela-%1").arg(getuid());
    if (isPrivateFolder(shared))
        return shared;
    const QString home = QDir::homePath() + QStringLiteral("/.orbela-runtime");
    isPrivateFolder(home);
    return home;
}

bool PosixPlatform::isPrivateFolder(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    if (mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info;
    if (lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid())
        return false;
    if ((info.st_mode & 0077) != 0 && chmod(native.constData(), 0700) != 0)
        return false;
    return true;
}

QString PosixPlatform::lockFilePath()
{
    return runtimeDirectory() + QLatin1Char('/') + QLatin1String(kInstanceName) + QLatin1String(".lock");
}

QString PosixPlatform::socketPath()
{
    return runtimeDirectory() + QLatin1Char('/') + QLatin1String(kInstanceName) + QLatin1String(".sock");
}

bool PosixPlatform::acquireInstanceLock()
{
    if (lock && lock->isLocked())
        return true;
    lock = std::make_unique<QLockFile>(lockFilePath());
    // Only a dead owner makes the lock stale, never its age: the client runs for days.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return true;
    // Only a lock held by a running instance means that one runs. A lock that
    // cannot be made at all (no usable runtime folder) must not keep the
    // client from starting, as a mutex that cannot be created does not on
    // Windows.
    return lock->error() != QLockFile::LockFailedError;
}

void PosixPlatform::notifyRunningInstance()
{
    // The running instance listens only once its title bar exists; before that
    // nothing is sent, as with a window that cannot be found yet.
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(kHandOverWaitMs))
        return;
    socket.write("0x401\n");
    socket.waitForBytesWritten(kHandOverWaitMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kHandOverWaitMs);
}

bool PosixPlatform::listenForHandOver(QObject *owner, std::function<void()> handler)
{
    if (server)
        return true;
    server = new QLocalServer(owner);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the instance lock, so a socket file left behind is stale.
    QLocalServer::removeServer(socketPath());
    if (!server->listen(socketPath()))
        return false;
    QObject::connect(server, &QLocalServer::newConnection, owner, [this, handler]() {
        while (QLocalSocket *client = server->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            QObject::connect(client, &QLocalSocket::readyRead, client, [client, handler]() {
                if (client->readAll().isEmpty())
                    return;
                handler();
            });
            if (client->bytesAvailable() > 0)
                emit client->readyRead();
        }
    });
    return true;
}

bool PosixPlatform::setAutoRun(bool on, const QString &appName, const QString &programPath)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                           + QLatin1String("/autostart");
    const QString file = folder + QLatin1Char('/') + appName + QLatin1String(".desktop");
    if (!on)
        return !QFile::exists(file) || QFile::remove(file);
    if (!QDir().mkpath(folder))
        return false;
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    out.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2\nX-GNOME-Autostart-enabled=true\n")
                  .arg(appName, desktopExecValue(programPath))
                  .toUtf8());
    return out.commit();
}

QString PosixPlatform::desktopExecValue(const QString &program)
{
    // The program as one quoted argument: inside the quotes the double quote,
    // backtick, dollar and backslash take a backslash; then the value's own
    // escaping doubles every backslash, and "%" is doubled as no field code.
    QString argument;
    for (const QChar c : program) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            argument += QLatin1Char('\\');
        argument += c;
    }
    argument.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    argument.replace(QLatin1Char('%'), QLatin1String("%%"));
    return QLatin1Char('"') + argument + QLatin1Char('"');
}

bool PosixPlatform::isWindowsVersion62() const
{
    return false;
}

bool PosixPlatform::removeDirectoryTree(const QString &absolutePath, const QString &)
{
    QDir(absolutePath).removeRecursively();
    return !QFileInfo::exists(absolutePath);
}

bool PosixPlatform::startDetachedProgram(const QString &program, const QStringList &arguments)
{
    const QFileInfo info(program);
    if (!info.exists())
        return false;
    if (info.isExecutable())
        return QProcess::startDetached(program, arguments);
    // A Windows program (the updater) runs through Wine where it is installed.
    const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    if (wine.isEmpty())
        return false;
    return QProcess::startDetached(wine, QStringList{program} + arguments);
}

QString PosixPlatform::downloadEngineFileName() const
{
    return QStringLiteral("libxldl.so");
}

QString PosixPlatform::extractorFileName() const
{
    return QStringLiteral("7z");
}

QTextCodec *PosixPlatform::localCodec() const
{
    return QTextCodec::codecForName("UTF-8");
}

#endif
