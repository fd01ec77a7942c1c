// Start-up time of the client against a bare program of web views: from the
// process start to the store page's "load finished", both loading the same
// pages from the same store stand-in. Alternating runs, best of five each.
// The client starts without Settings.ini, so its start-up requests run too.

#include "core/AppSettings.h"

#include "StoreServerProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <limits>

namespace {
// Milliseconds until what the child said (read by output) holds marker; -1
// when it never did.
qint64 timeUntil(QProcess &child, const QByteArray &marker, const std::function<QByteArray()> &output,
                 int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    child.start();
    QByteArray seen;
    while (clock.elapsed() < timeoutMs) {
        if (!child.waitForReadyRead(5) && child.state() == QProcess::NotRunning)
            break;
        seen = output();
        if (seen.contains(marker)) {
            const qint64 elapsed = clock.elapsed();
            child.kill();
            child.waitForFinished(10000);
            return elapsed;
        }
    }
    child.kill();
    child.waitForFinished(10000);
    std::fprintf(stderr, "no \"%s\" within %d ms:\n%s\n", marker.constData(), timeoutMs, seen.right(2000).constData());
    return -1;
}

// The client writes its log lines to its daily log file.
QByteArray logText(const QString &clientDir)
{
    QByteArray text;
    const QDir logs(clientDir + QStringLiteral("/UserData/Logs"));
    for (const QString &name : logs.entryList(QStringList{QStringLiteral("*.log")}, QDir::Files)) {
        QFile file(logs.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            text += file.readAll();
    }
    return text;
}

bool copyClient(const QString &from, const QString &to)
{
    QDir().mkpath(to + QStringLiteral("/Tools"));
    for (const QString &name : {QStringLiteral("Orbela"), QStringLiteral("libxldl.so"), QStringLiteral("Tools/7z")}) {
        if (QFile::exists(from + QLatin1Char('/') + name)
            && !QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name))
            return false;
    }
    return true;
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString bin = QCoreApplication::applicationDirPath();
    const QString clientDir = QFileInfo(bin + QStringLiteral("/../Orbela")).absoluteFilePath();
    QTemporaryDir work;
    if (!work.isValid())
        return 2;

    StoreServerProcess server;
    server.setWorkFolderParent(work.path().toStdString());
    if (!server.start()) {
        std::fprintf(stderr, "storeserver did not start: %s\n", server.error().c_str());
        return 2;
    }
    const QString host = QString::fromStdString(server.host());

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *variable :
         {"ORBELA_APP_API_HOST", "ORBELA_OPEN_API_HOST", "ORBELA_FORUM_HOST", "ORBELA_IP_LOOKUP_HOST"})
        env.insert(QLatin1String(variable), host);
    env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    if (!env.contains(QStringLiteral("DISPLAY")) && !env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));

    // The client's body on the default screen of the offscreen platform, which
    // is narrower than the title bar needs, so the body takes its whole width.
    const QRect body = getDefaultWindowRect(QSize(800, 600), std::numeric_limits<int>::max());
    const QString base = QStringLiteral("http://") + host;
    const QStringList pages = {base + QStringLiteral("/client/index"), base + QStringLiteral("/client/activity"),
                               base + QStringLiteral("/client/exchange"), base + QStringLiteral("/client/index"),
                               base + QStringLiteral("/client/task")};

    qint64 bestClient = std::numeric_limits<qint64>::max();
    qint64 bestBare = std::numeric_limits<qint64>::max();
    for (int round = 1; round <= 5; ++round) {
        const QString copy = work.filePath(QStringLiteral("client-%1/Orbela").arg(round));
        const QString runtime = work.filePath(QStringLiteral("runtime-%1").arg(round));
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        if (!copyClient(clientDir, copy)) {
            std::fprintf(stderr, "cannot copy the client from %s\n", qPrintable(clientDir));
            return 2;
        }
        QProcessEnvironment clientEnv = env;
        clientEnv.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
        clientEnv.insert(QStringLiteral("XDG_CACHE_HOME"), work.filePath(QStringLiteral("cache")));
        QProcess client;
        client.setProgram(copy + QStringLiteral("/Orbela"));
        client.setWorkingDirectory(copy);
        client.setProcessEnvironment(clientEnv);
        client.setProcessChannelMode(QProcess::MergedChannels);
        const qint64 clientMs =
            timeUntil(client, "WebGameForm load finished", [&copy]() { return logText(copy); }, 60000);

        QProcess bare;
        bare.setProgram(bin + QStringLiteral("/startup-bare"));
        bare.setArguments(QStringList{QString::number(body.width()), QString::number(body.height())} + pages);
        bare.setProcessEnvironment(env);
        bare.setProcessChannelMode(QProcess::MergedChannels);
        QByteArray bareOutput;
        const qint64 bareMs = timeUntil(
            bare, "store page loaded", [&bare, &bareOutput]() { return bareOutput += bare.readAll(); }, 60000);
        if (clientMs < 0 || bareMs < 0)
            return 1;
        std::printf("round %d: client %lld ms, bare %lld ms\n", round, clientMs, bareMs);
        std::fflush(stdout);
        bestClient = std::min(bestClient, clientMs);
        bestBare = std::min(bestBare, bareMs);
    }
    std::printf("client_ms=%lld\nbare_ms=%lld\nstartup_ratio=%.2f\n", bestClient, bestBare,
                double(bestClient) / double(bestBare));
    return 0;
}
