#include "tests/ClientDirectory.h"
#include "tests/FixtureUpdater.h"
#include "tests/StoreServer.h"

#include <QtTest>

// The real client program against the stand-in: the update hand-over with a
// fixture updater, and the first start of its services.
class TestClientStartUp : public QObject
{
    Q_OBJECT

private:
    StoreServer server;

    static QString parentFolder(const ClientDirectory &dir) { return QFileInfo(dir.clientPath()).absolutePath(); }

    static void stop(QProcess &process)
    {
        process.kill();
        process.waitForFinished(10000);
    }

    QString packageUrl() const { return server.url("/download/orbela-update.7z").toString(); }

private slots:
    void initTestCase()
    {
        QVERIFY2(server.start(), qPrintable(server.error()));
        server.serveAllHosts();
    }

    void init()
    {
        server.clearLog();
        QVERIFY(server.setUpdate(QStringLiteral("none")));
    }

    void forcedUpdateHandsOverAndEnds()
    {
        ClientDirectory dir;
        QVERIFY(dir.isReady());
        QVERIFY(writeFixtureUpdater(dir.clientPath() + QStringLiteral("/Update.exe"), "packaged"));
        QVERIFY(server.setUpdate(QStringLiteral("forced"), QStringLiteral("1.1.1.90"), packageUrl()));
        QProcess client;
        dir.prepare(client);
        client.start();
        QVERIFY(client.waitForFinished(60000));
        QCOMPARE(client.exitStatus(), QProcess::NormalExit);
        QCOMPARE(client.exitCode(), 0);
        QCOMPARE(fixtureUpdaterRecord(parentFolder(dir)), (QStringList{"packaged", "1.1.1.90", packageUrl()}));
        // The services never started.
        QCOMPARE(server.hitsWithStatus("startOrbela"), 0);
        QVERIFY(server.requests("/client/api/ajaxGetDevices").isEmpty());
        QVERIFY(QFile::exists(dir.clientPath() + QStringLiteral("/UserData/Settings.ini")));
    }

    void earlierUpdaterIsUsedThenDeleted()
    {
        ClientDirectory dir;
        QVERIFY(dir.isReady());
        QVERIFY(writeFixtureUpdater(dir.clientPath() + QStringLiteral("/Update.exe"), "packaged"));
        const QString earlier = parentFolder(dir) + QStringLiteral("/Update.exe");
        QVERIFY(server.setUpdate(QStringLiteral("forced"), QStringLiteral("1.1.1.90"), packageUrl()));
        // An earlier updater still running keeps its copy past the client's
        // start-up clean-up: the copy appears while the version answer is late.
        QVERIFY(server.setFault(QStringLiteral("/client/api/ajaxGetVersion"), QStringLiteral("delay-headers:5")));
        QProcess client;
        dir.prepare(client);
        client.start();
        QVERIFY(waitUntil([&] { return dir.logText().contains("look up host ok!"); }, 30000));
        QVERIFY(writeFixtureUpdater(earlier, "earlier"));
        QVERIFY(client.waitForFinished(60000));
        QVERIFY(server.clearFaults());
        QCOMPARE(client.exitCode(), 0);
        QCOMPARE(fixtureUpdaterRecord(parentFolder(dir)).value(0), QStringLiteral("earlier"));

        // The next start removes the copy the hand-over left.
        QVERIFY(server.setUpdate(QStringLiteral("none")));
        QProcess next;
        dir.prepare(next);
        next.start();
        QVERIFY(waitUntil([&] { return !QFile::exists(earlier); }, 30000));
        QVERIFY(QFile::exists(dir.clientPath() + QStringLiteral("/Update.exe")));
        stop(next);
    }

    void updaterThatCannotStartLeavesTheClientRunning()
    {
        ClientDirectory dir;
        QVERIFY(dir.isReady());
        QFile::remove(dir.clientPath() + QStringLiteral("/Update.exe"));
        QVERIFY(server.setUpdate(QStringLiteral("forced"), QStringLiteral("1.1.1.90"), packageUrl()));
        QProcess client;
        dir.prepare(client);
        client.start();
        QVERIFY2(waitUntil([&] { return server.hitsWithStatus("startOrbela") == 1; }, 60000), "the services never started");
        QCOMPARE(client.state(), QProcess::Running);
        QVERIFY(waitUntil([&] { return dir.logText().contains("the updater could not be started"); }, 10000));
        stop(client);
    }

    void firstStartWithoutSettings()
    {
        ClientDirectory dir;
        QVERIFY(dir.isReady());
        QProcess client;
        dir.prepare(client);
        client.start();
        // The device popup asks for the devices; the services post their start and fetch the online total.
        QVERIFY(waitUntil([&] { return !server.requests("/client/api/ajaxGetDevices").isEmpty(); }, 60000));
        QVERIFY(waitUntil([&] { return server.hitsWithStatus("startOrbela") == 1; }, 30000));
        QVERIFY(waitUntil([&] { return !server.requests("/client/api/ajaxGetOnlineTotal").isEmpty(); }, 30000));
        QVERIFY(!server.requests("/client/api/ajaxGetVersionMessage").isEmpty());
        QVERIFY(dir.logText().contains("look up host ok!"));
        stop(client);
    }
};

QTEST_GUILESS_MAIN(TestClientStartUp)
#include "TestClientStartUp.moc"
