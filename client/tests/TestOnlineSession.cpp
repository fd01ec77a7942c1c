#include "core/OnlineSession.h"
#include "core/webapi/MessageSigning.h"
#include "tests/StoreServer.h"

#include <QThread>
#include <QtTest>

class TestOnlineSession : public QObject
{
    Q_OBJECT

private:
    StoreServer server;

private slots:
    void initTestCase()
    {
        QVERIFY2(server.start(), qPrintable(server.error()));
        server.serveAllHosts();
    }

    void init()
    {
        server.clearLog();
    }

    void startEventOncePerNewDay()
    {
        QDate today(2026, 12, 10);
        OnlineSession session([&today]() { return today; });
        session.setUserId(QStringLiteral("42"));
        session.markStartDay();
        QCOMPARE(session.startDay(), 261210);
        QVERIFY(!session.tick());
        QVERIFY(!session.tick());
        today = today.addDays(1); // past midnight
        QVERIFY(session.tick());
        QVERIFY(!session.tick());
        QCOMPARE(session.startDay(), 261211);
        QTRY_COMPARE_WITH_TIMEOUT(server.hitsWithStatus("startOrbela"), 1, 10000);
        const QJsonObject form = server.requests("/hits").first().value("form").toObject();
        QCOMPARE(form.value("user_id").toString(), QStringLiteral("42"));
        QCOMPARE(form.value("device_id").toString(), QString());
    }

    void countsOnlyWhileCounting()
    {
        const QDate day(2026, 12, 10);
        OnlineSession session([day]() { return day; });
        session.markStartDay();
        QCOMPARE(session.onlineSeconds(), -1);
        session.tick();
        QCOMPARE(session.onlineSeconds(), -1);
        session.setOnlineSeconds(0);
        for (int i = 0; i < 3; ++i)
            session.tick();
        QCOMPARE(session.onlineSeconds(), 3);
    }

    void logoutDuringTicksStaysLoggedOut()
    {
        const QDate day(2026, 12, 10);
        OnlineSession session([day]() { return day; });
        session.markStartDay();
        session.setOnlineSeconds(0);
        QThread *worker = QThread::create([&session]() {
            for (int i = 0; i < 200000; ++i)
                session.tick();
        });
        worker->start();
        while (session.onlineSeconds() < 1000)
            QThread::yieldCurrentThread();
        session.setOnlineSeconds(-1);
        worker->wait();
        delete worker;
        QCOMPARE(session.onlineSeconds(), -1);
    }

    void onlineTimeGoesOutOnlyWhileCounting()
    {
        OnlineSession session;
        session.setUserId(QStringLiteral("42"));
        QCOMPARE(session.postOnlineLength(), nullptr);
        session.setOnlineSeconds(75);
        QVERIFY(session.postOnlineLength());
        QTRY_COMPARE_WITH_TIMEOUT(server.requests("/api/CurrentOnlineLength").size(), 1, 10000);
        const QString body = server.requests("/api/CurrentOnlineLength").first().value("body").toString();
        const QStringList fields = body.split('&');
        QCOMPARE(fields.size(), 5); // the body ends with "&"
        QCOMPARE(fields.at(0), QStringLiteral("uid=42"));
        QVERIFY(fields.at(1).startsWith("timestamp="));
        const QString timestamp = fields.at(1).mid(10);
        QCOMPARE(fields.at(2), "sign=" + signWithSalt(timestamp + "42"));
        QCOMPARE(fields.at(3), QStringLiteral("CurrentOnlineLength=75"));
        QCOMPARE(fields.at(4), QString());
        QCOMPARE(server.requests("/hits").size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestOnlineSession)
#include "TestOnlineSession.moc"
