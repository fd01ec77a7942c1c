#include "core/jobs/MyThread.h"
#include "core/game/VRAppInfo.h"

#include <QTemporaryDir>
#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <sys/types.h>

namespace {

const int kInitialState = VRAppInfo::Installed;

struct RunLog
{
    QStringList events; // "unzip:<ok>@<state>" and "launch:<state>", in order of arrival
    Qt::HANDLE reportThread = nullptr;
    bool differentThreads = false;
};

// Starts a runner the way the main window does and waits until it has freed itself.
void runToTheEnd(RunLog &log, VRAppInfo *info, const QString &program, const QStringList &arguments,
                 MyThread::Purpose purpose, int unpackLimitMs = 0)
{
    auto *runner = new MyThread(nullptr, info, program, arguments, purpose);
    if (unpackLimitMs > 0)
        runner->setUnpackTimeLimit(unpackLimitMs);
    QObject::connect(runner, &MyThread::sendUnZipResault, [&log](bool ok, VRAppInfo *record) {
        log.events << QStringLiteral("unzip:%1@%2").arg(ok).arg(record->downloadStatus);
        log.differentThreads |= QThread::currentThread() != qApp->thread();
    });
    QObject::connect(runner, &MyThread::sendLaunchResault, [&log](VRAppInfo *record) {
        log.events << QStringLiteral("launch:%1").arg(record->downloadStatus);
        log.differentThreads |= QThread::currentThread() != qApp->thread();
    });
    QPointer<MyThread> alive(runner);
    runner->start();
    QTRY_VERIFY_WITH_TIMEOUT(alive.isNull(), 20000);
}

QString child()
{
    return QStringLiteral(SCRIPTED_CHILD_PATH);
}

// Several "launch:7" in a row count as one entry, since how many notifications
// the output makes depends on timing.
QStringList collapseRepeats(const QStringList &events, int *outputReports)
{
    QStringList collapsed;
    *outputReports = 0;
    for (const QString &event : events) {
        if (event == QLatin1String("launch:7")) {
            ++*outputReports;
            if (!collapsed.isEmpty() && collapsed.last() == event)
                continue;
        }
        collapsed << event;
    }
    return collapsed;
}

} // namespace

class TestMyThread : public QObject
{
    Q_OBJECT

private slots:
    void reportsFollowTheChild_data()
    {
        QTest::addColumn<int>("purpose");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<int>("minimumOutputReports");
        QTest::addColumn<int>("finalState");

        const int unpack = MyThread::Unpack;
        const int launch = MyThread::Launch;
        QTest::newRow("unpack printing, exit 0") << unpack << QStringList{"--lines", "3", "--exit", "0"}
                                                 << QStringList{"launch:7", "unzip:1@7", "launch:8"} << 2 << 8;
        QTest::newRow("unpack silent, exit 0") << unpack << QStringList{"--exit", "0"}
                                               << QStringList{"unzip:1@5", "launch:8"} << 0 << 8;
        QTest::newRow("unpack exit 2 fails") << unpack << QStringList{"--lines", "1", "--exit", "2"}
                                             << QStringList{"launch:7", "unzip:0@7", "launch:8"} << 1 << 8;
        QTest::newRow("unpack crash") << unpack << QStringList{"--lines", "1", "--abort"}
                                      << QStringList{"launch:7", "unzip:0@7", "launch:9"} << 1 << 9;
        QTest::newRow("launch printing, exit 2") << launch << QStringList{"--lines", "3", "--exit", "2"}
                                                 << QStringList{"launch:7", "unzip:1@7", "launch:8"} << 2 << 8;
        QTest::newRow("launch crash") << launch << QStringList{"--abort"}
                                      << QStringList{"unzip:0@5", "launch:9"} << 0 << 9;
        QTest::newRow("launch has no time limit") << launch << QStringList{"--sleep", "1500", "--exit", "0"}
                                                  << QStringList{"unzip:1@5", "launch:8"} << 0 << 8;
    }

    void reportsFollowTheChild()
    {
        QFETCH(int, purpose);
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, events);
        QFETCH(int, minimumOutputReports);
        QFETCH(int, finalState);

        VRAppInfo info;
        info.downloadStatus = kInitialState;
        // A short unpack limit shows that a launch does not use it.
        RunLog log;
        runToTheEnd(log, &info, child(), arguments, MyThread::Purpose(purpose), 1000);
        int outputReports = 0;
        QCOMPARE(collapseRepeats(log.events, &outputReports), events);
        QVERIFY2(outputReports >= minimumOutputReports, qPrintable(log.events.join(' ')));
        QCOMPARE(info.downloadStatus, finalState);
        QVERIFY(!log.differentThreads);
    }

    void programThatCannotStartFails_data()
    {
        QTest::addColumn<int>("purpose");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<int>("finalState");
        const QString missing = QCoreApplication::applicationDirPath() + "/no-such-program";
        const QString notExecutable = QCoreApplication::applicationDirPath() + "/not-executable";
        QTest::newRow("unpack, missing") << int(MyThread::Unpack) << missing << QStringList{"unzip:0@5"}
                                         << kInitialState;
        QTest::newRow("unpack, not executable") << int(MyThread::Unpack) << notExecutable
                                                << QStringList{"unzip:0@5"} << kInitialState;
        QTest::newRow("launch, missing") << int(MyThread::Launch) << missing
                                         << QStringList{"unzip:0@5", "launch:9"} << 9;
    }

    void programThatCannotStartFails()
    {
        QFETCH(int, purpose);
        QFETCH(QString, program);
        QFETCH(QStringList, events);
        QFETCH(int, finalState);
        QFile plain(QCoreApplication::applicationDirPath() + "/not-executable");
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.write("#!/bin/sh\nexit 0\n");
        plain.close();
        QVERIFY(plain.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));

        VRAppInfo info;
        info.downloadStatus = kInitialState;
        QTest::ignoreMessage(QtWarningMsg, "this process can not be called!");
        QTest::ignoreMessage(QtWarningMsg, "time out (default 1h).");
        RunLog log;
        runToTheEnd(log, &info, program, {}, MyThread::Purpose(purpose));
        QCOMPARE(log.events, events);
        QCOMPARE(info.downloadStatus, finalState);
    }

    void unpackBeyondItsLimitFailsOnceAndEndsTheChild()
    {
        VRAppInfo info;
        info.downloadStatus = kInitialState;
        QTest::ignoreMessage(QtWarningMsg, "time out (default 1h).");
        QTemporaryDir folder;
        const QString pidFile = folder.filePath(QStringLiteral("child.pid"));
        RunLog log;
        runToTheEnd(log, &info, child(), {"--pidfile", pidFile, "--sleep", "600000"}, MyThread::Unpack, 2000);
        QCOMPARE(log.events, QStringList{"unzip:0@5"});
        QCOMPARE(info.downloadStatus, kInitialState);
        // The child was ended (and reaped), not waited for.
        QFile written(pidFile);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const pid_t pid = static_cast<pid_t>(written.readAll().trimmed().toLong());
        QVERIFY(pid > 0);
        errno = 0;
        QCOMPARE(::kill(pid, 0), -1);
        QCOMPARE(errno, ESRCH);
    }

    void standardErrorIsLogged()
    {
        VRAppInfo info;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^2\\.return Error:.*磁盘已满")));
        RunLog log;
        runToTheEnd(log, &info, child(), {"--stderr", "磁盘已满", "--exit", "0"}, MyThread::Unpack);
        QCOMPARE(log.events, (QStringList{"unzip:1@0", "launch:8"}));
    }

    void unpackIsTheDefaultPurpose()
    {
        VRAppInfo info;
        auto *runner = new MyThread(nullptr, &info, child(), {"--exit", "3"});
        bool result = true;
        connect(runner, &MyThread::sendUnZipResault, [&result](bool ok, VRAppInfo *) { result = ok; });
        QPointer<MyThread> alive(runner);
        runner->start();
        QTRY_VERIFY_WITH_TIMEOUT(alive.isNull(), 20000);
        QVERIFY(!result);
        QCOMPARE(info.downloadStatus, 8);
    }
};

QTEST_GUILESS_MAIN(TestMyThread)
#include "TestMyThread.moc"
