#include "tests/ClientDirectory.h"

#include <QElapsedTimer>
#include <QtTest>

#include <csignal>

class TestSingleInstance : public QObject
{
    Q_OBJECT

private:
    static bool startedListening(const ClientDirectory &dir)
    {
        return waitUntil([&] { return QFile::exists(dir.runtimePath() + "/Orbela.exe.sock"); }, 30000);
    }
    static void stop(QProcess &process)
    {
        process.kill();
        process.waitForFinished(5000);
    }

private slots:
    void secondStartHandsOverAndExits()
    {
        ClientDirectory dir;
        QVERIFY(dir.isReady());
        QProcess first;
        dir.prepare(first);
        first.start();
        QVERIFY(first.waitForStarted());
        QVERIFY2(startedListening(dir), "the first instance never listened for hand-overs");

        QProcess second;
        dir.prepare(second);
        QElapsedTimer took;
        took.start();
        second.start();
        QVERIFY(second.waitForFinished(10000));
        qInfo("second start ended after %lld ms", took.elapsed());
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);

        const QByteArray handOver = "asked the running client to come forward";
        QVERIFY2(waitUntil([&] { return dir.logText().contains(handOver); }, 10000), dir.logText().constData());
        QCOMPARE(dir.logText().count(handOver), 1);
        QCOMPARE(first.state(), QProcess::Running);
        stop(first);
    }

    void lockOfAKilledInstanceDoesNotBlockTheNextStart()
    {
        ClientDirectory dir;
        QVERIFY(dir.isReady());
        QProcess first;
        dir.prepare(first);
        first.start();
        QVERIFY(startedListening(dir));
        ::kill(first.processId(), SIGKILL);
        QVERIFY(first.waitForFinished(5000));
        QVERIFY(QFile::exists(dir.runtimePath() + "/Orbela.exe.lock"));

        QProcess next;
        dir.prepare(next);
        next.start();
        QVERIFY(next.waitForStarted());
        QTest::qWait(1500);
        QCOMPARE(next.state(), QProcess::Running);
        stop(next);
    }

    void unusableRuntimeFolderDoesNotStopTheClient()
    {
        ClientDirectory dir;
        QVERIFY(dir.isReady());
        // A file where the runtime folder should be: no lock can be made there.
        const QString notAFolder = dir.clientPath() + "/not-a-folder";
        QFile file(notAFolder);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        QProcess client;
        dir.prepare(client);
        QProcessEnvironment env = dir.environment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), notAFolder);
        client.setProcessEnvironment(env);
        client.start();
        QVERIFY(client.waitForStarted());
        QVERIFY2(waitUntil([&] { return dir.logText().contains("load started!"); }, 30000),
                 "the client never came up");
        QCOMPARE(client.state(), QProcess::Running);
        stop(client);
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "TestSingleInstance.moc"
