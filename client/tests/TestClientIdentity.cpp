#include "core/webapi/ClientIdentity.h"
#include "tests/PeakMemory.h"
#include "tests/StoreServer.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QtTest>

Q_DECLARE_METATYPE(QList<NetworkInterfaceFacts>)

class TestClientIdentity : public QObject
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

    void lookupPageShapes_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("ip");
        QTest::newRow("four lines") << "a<br/>b<br/>c<br/>ip=1.2.3.4<br/>" << "1.2.3.4";
        QTest::newRow("blanks and line breaks anywhere") << "a <br/>\r\nb<br/> c<br/>ip = 1.2.\n3.4 <br/>" << "1.2.3.4";
        QTest::newRow("more = signs") << "a<br/>b<br/>c<br/>x=5.6.7.8=y" << "5.6.7.8";
        QTest::newRow("three pieces") << "a<br/>b<br/>ip=1.2.3.4" << "";
        QTest::newRow("empty page") << "" << "";
        QTest::newRow("fourth piece without =") << "a<br/>b<br/>c<br/>1.2.3.4" << "";
    }

    void lookupPageShapes()
    {
        QFETCH(QString, page);
        QFETCH(QString, ip);
        QCOMPARE(publicIpFromLookupPage(page), ip);
    }

    void publicIpFromTheRealPage()
    {
        QVERIFY(server.clearFaults());
        QCOMPARE(getPublicIp(), QStringLiteral("127.0.0.1"));
    }

    void pageOfTheWrongShapeGivesNothing_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("redirected") << "redirect:/client/index";
        QTest::newRow("gzip bomb") << "gzip-bomb";
    }

    void pageOfTheWrongShapeGivesNothing()
    {
        QFETCH(QString, fault);
        QVERIFY(server.setFault("/", fault));
        QCOMPARE(getPublicIp(), QString());
        QVERIFY(server.clearFaults());
        QCOMPARE(server.requests("/").last().value("accept_encoding").toString(), QStringLiteral("identity"));
        QVERIFY2(peakResidentMiB() < kBoundedPeakMiB, qPrintable(QString::number(peakResidentMiB())));
    }

    void lookupThatNeverAnswersGivesUpWhileTheThreadRuns()
    {
        QVERIFY(server.setFault("/", "no-answer"));
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
        timer.start(100);
        QElapsedTimer took;
        took.start();
        const QString ip = getPublicIp();
        const qint64 elapsed = took.elapsed();
        QVERIFY(server.clearFaults());
        QCOMPARE(ip, QString());
        QVERIFY2(elapsed < 6000, qPrintable(QString::number(elapsed)));
        QVERIFY2(ticks >= 20, qPrintable(QString::number(ticks))); // the timer kept ticking inside the wait
    }

    void hardwareAddressChoice_data()
    {
        QTest::addColumn<QList<NetworkInterfaceFacts>>("interfaces");
        QTest::addColumn<QString>("address");
        const NetworkInterfaceFacts ethernet{true, false, "eth0", "00:1A:2B:3C:4D:5E"};
        const NetworkInterfaceFacts loopback{true, true, "lo", "00:00:00:00:00:00"};
        const NetworkInterfaceFacts vmware{true, false, "vmware network adapter", "00:50:56:C0:00:01"};
        const NetworkInterfaceFacts down{false, false, "wlan0", "AA:BB:CC:DD:EE:FF"};
        const NetworkInterfaceFacts wireless{true, false, "wlan1", "11:22:33:44:55:66"};
        QTest::newRow("one, then loopback and VMware") << QList<NetworkInterfaceFacts>{ethernet, loopback, vmware}
                                                        << "00:1A:2B:3C:4D:5E";
        QTest::newRow("interface that is down") << QList<NetworkInterfaceFacts>{ethernet, down} << "00:1A:2B:3C:4D:5E";
        QTest::newRow("last qualifying wins") << QList<NetworkInterfaceFacts>{ethernet, wireless}
                                              << "11:22:33:44:55:66";
        QTest::newRow("none qualifies") << QList<NetworkInterfaceFacts>{loopback, vmware} << "00:00:00:00:00:00";
    }

    void hardwareAddressChoice()
    {
        QFETCH(QList<NetworkInterfaceFacts>, interfaces);
        QFETCH(QString, address);
        QCOMPARE(macAddressFrom(interfaces), address);
    }

    void hardwareAddressOfThisMachineHasTheShape()
    {
        const QRegularExpression shape(QStringLiteral("^([0-9A-F]{2}:){5}[0-9A-F]{2}$"));
        QVERIFY2(shape.match(getLocalMacAddress()).hasMatch(), qPrintable(getLocalMacAddress()));
    }
};

QTEST_GUILESS_MAIN(TestClientIdentity)
#include "TestClientIdentity.moc"
