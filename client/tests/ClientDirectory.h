#pragma once
// A private copy of the runnable client directory for tests that start the
// client: the client keeps its data beside itself, and each test gets its own
// runtime folder for the single-instance lock and socket.

#include "core/AppFolders.h"
#include "tests/WaitUntil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

class ClientDirectory
{
public:
    ClientDirectory()
    {
        const QFileInfo binary(QString::fromLocal8Bit(qgetenv("ORBELA_CLIENT_BINARY")));
        ok = binary.exists() && QDir().mkpath(clientPath()) && QDir().mkpath(runtimePath())
             && copyProgramFiles(binary.absoluteDir());
        QFile::setPermissions(runtimePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    bool isReady() const { return ok && root.isValid(); }
    QString clientPath() const { return root.filePath(QStringLiteral("Orbela")); }
    QString runtimePath() const { return root.filePath(QStringLiteral("runtime")); }
    QString program() const { return clientPath() + QStringLiteral("/Orbela"); }
    QString logsPath() const { return clientPath() + QStringLiteral("/UserData/Logs"); }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimePath());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), root.filePath(QStringLiteral("cache")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
        env.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
        // Hosts a test did not point at its stand-in go to a closed loopback
        // port, never to the default address that other runs may serve.
        for (const char *variable :
             {"ORBELA_APP_API_HOST", "ORBELA_OPEN_API_HOST", "ORBELA_FORUM_HOST", "ORBELA_IP_LOOKUP_HOST"}) {
            if (!env.contains(QLatin1String(variable)))
                env.insert(QLatin1String(variable), QStringLiteral("127.0.0.1:9"));
        }
        return env;
    }

    void prepare(QProcess &process) const
    {
        process.setProgram(program());
        process.setProcessEnvironment(environment());
        process.setWorkingDirectory(clientPath());
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }

    // Everything the client logged so far, all days together.
    QByteArray logText() const
    {
        QByteArray text;
        const QDir logs(logsPath());
        for (const QString &name : logs.entryList(QStringList{QStringLiteral("*.log")}, QDir::Files, QDir::Name)) {
            QFile file(logs.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                text += file.readAll();
        }
        return text;
    }

private:
    // The program files only: data that a run from the build tree left behind
    // (UserData, games, downloads) stays out.
    bool copyProgramFiles(const QDir &from) const
    {
        for (const QFileInfo &entry : from.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
            const QString target = clientPath() + QLatin1Char('/') + entry.fileName();
            if (entry.isDir()) {
                if (entry.fileName() == QLatin1String("Tools") && !copyDirectoryFiles(entry.filePath(), target, true))
                    return false;
            } else if (!QFile::copy(entry.filePath(), target)) {
                return false;
            }
        }
        return true;
    }

    QTemporaryDir root;
    bool ok = false;
};
