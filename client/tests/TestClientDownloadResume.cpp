// The client program killed in the middle of a game's download on the engine
// path and started again: the download goes on from where it stopped with a
// range request, and the game ends verified and installed.

#include "core/AppSettings.h"
#include "core/game/LocalDatabase.h"
#include "core/game/VRAppInfo.h"
#include "tests/ClientDirectory.h"
#include "tests/StoreServer.h"

#include <QDirIterator>
#include <QtTest>

#include <memory>

class TestClientDownloadResume : public QObject
{
    Q_OBJECT

    StoreServer server;

    // The largest file in the packages folder whose name starts with the package's.
    static qint64 partialBytes(const QString &zips, const QString &name)
    {
        qint64 largest = 0;
        for (const QFileInfo &file : QDir(zips).entryInfoList({name + QLatin1Char('*')}, QDir::Files))
            largest = qMax(largest, file.size());
        return largest;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(server.start(), qPrintable(server.error()));
        server.serveAllHosts();
        QVERIFY(server.setUpdate(QStringLiteral("none")));
    }

    void killedMidDownloadResumesWithRange()
    {
        ClientDirectory dir;
        QVERIFY(dir.isReady());
        const QString package = QStringLiteral("/download/games/large-game.zip");
        QVERIFY(server.setFault(package, QStringLiteral("slow:150000")));

        // Settings and a database that remembers the download, written here and
        // copied into the client's folder.
        AppSettings settings;
        settings.deviceId = QStringLiteral("1");
        settings.deviceName = QStringLiteral("Vive");
        settings.downloadTool = QStringLiteral("thunder");
        settings.installPath = dir.clientPath() + QStringLiteral("/VRGames/");
        settings.windowRect = QRect(40, 30, 1196, 700);
        QFile::remove(settingsFilePath());
        saveSettings(settings);
        QFile::remove(LocalDatabase::filePath());
        {
            std::unique_ptr<VRAppInfo> game(VRAppInfo::fromGameData(server.game(QStringLiteral("1002"))));
            game->downloadStatus = VRAppInfo::Downloading;
            LocalDatabase database;
            QVERIFY(database.open());
            QVERIFY(database.saveGame(game.get()));
            database.close();
        }
        const QString userData = dir.clientPath() + QStringLiteral("/UserData/");
        QVERIFY(QDir().mkpath(userData));
        QVERIFY(QFile::copy(settingsFilePath(), userData + QStringLiteral("Settings.ini")));
        QVERIFY(QFile::copy(LocalDatabase::filePath(), userData + QStringLiteral("Orbela.db")));

        const QString zips = dir.clientPath() + QStringLiteral("/zips");
        QProcess client;
        dir.prepare(client);
        client.start();
        QVERIFY(waitUntil([&] { return partialBytes(zips, QStringLiteral("1002.zip")) > 400000; }, 60000));
        client.kill(); // SIGKILL: nothing is saved on the way out
        QVERIFY(client.waitForFinished(10000));
        const qint64 kept = partialBytes(zips, QStringLiteral("1002.zip"));
        QVERIFY(!QFileInfo::exists(zips + QStringLiteral("/1002.zip")));

        QVERIFY(server.clearFaults());
        server.clearLog();
        // Only what the second run logs counts.
        const int firstRunLog = dir.logText().size();
        auto secondRunLog = [&] { return dir.logText().mid(firstRunLog); };
        QProcess again;
        dir.prepare(again);
        again.start();
        // The game's row, restored at start, says it is downloading.
        const QByteArray downloadingRow = QStringLiteral("[Row] 1002 state: 下载中").toUtf8();
        QVERIFY(waitUntil([&] { return secondRunLog().contains(downloadingRow); }, 60000));
        QVERIFY(waitUntil([&] { return secondRunLog().contains("[Mivo] Md5 varify pass!"); }, 90000));
        QVERIFY(waitUntil([&] { return secondRunLog().contains("Install finished!"); }, 60000));
        const QByteArray log = secondRunLog();
        QVERIFY(log.indexOf(downloadingRow) < log.indexOf("[Mivo] Md5 varify pass!"));
        QVERIFY(QFileInfo(settings.installPath + QStringLiteral("1002/bin/start.sh")).isExecutable());
        // The restart asked only for the rest.
        bool resumed = false;
        for (const QJsonObject &request : server.requests(package)) {
            const QString range = request.value(QStringLiteral("range")).toString();
            resumed = resumed || (range.startsWith(QStringLiteral("bytes=")) && range != QStringLiteral("bytes=0-"));
        }
        QVERIFY2(resumed, qPrintable(QString::number(kept)));
        again.kill();
        again.waitForFinished(10000);
    }
};

QTEST_GUILESS_MAIN(TestClientDownloadResume)
#include "TestClientDownloadResume.moc"
