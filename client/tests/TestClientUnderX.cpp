#include "tests/ClientDirectory.h"
#include "tests/StoreServer.h"
#include "tests/XScreen.h"

#include <QSettings>
#include <QtTest>

// The real client on an X server, answered with real clicks: the exit
// question and the host look-up failure end the process with code 0.
class TestClientUnderX : public QObject
{
    Q_OBJECT

private:
    StoreServer server;
    const QRect bodyRect{100, 60, 1280, 760};

    // A stored device and window rectangle: no device popup, a known place.
    void storeSettings(const ClientDirectory &dir) const
    {
        QDir().mkpath(dir.clientPath() + QStringLiteral("/UserData"));
        QSettings ini(dir.clientPath() + QStringLiteral("/UserData/Settings.ini"), QSettings::IniFormat);
        ini.setValue(QStringLiteral("DeviceInfo/Id"), QStringLiteral("1"));
        ini.setValue(QStringLiteral("DeviceInfo/Name"), QStringLiteral("Vive"));
        ini.setValue(QStringLiteral("WindowLocation/X"), bodyRect.x());
        ini.setValue(QStringLiteral("WindowLocation/Y"), bodyRect.y());
        ini.setValue(QStringLiteral("WindowSize/Width"), bodyRect.width());
        ini.setValue(QStringLiteral("WindowSize/Height"), bodyRect.height());
    }

    static void start(const ClientDirectory &dir, QProcess &client, const QString &appApiHost = QString())
    {
        dir.prepare(client);
        QProcessEnvironment env = client.processEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        if (!appApiHost.isEmpty())
            env.insert(QStringLiteral("ORBELA_APP_API_HOST"), appApiHost);
        client.setProcessEnvironment(env);
        client.start();
    }

    // Clicks the button at (x, y) of the centred panel of the popup on screen.
    static bool answerPopup(QPoint buttonInPanel)
    {
        QRect popup;
        if (!waitUntil([&] { return !(popup = findXWindow(QStringLiteral("Orbela弹出窗口"))).isEmpty(); }, 30000))
            return false;
        const QPoint panel(popup.x() + (popup.width() - 440) / 2, popup.y() + (popup.height() - 258) / 2);
        QTest::qWait(300); // the popup maps before it draws
        return clickOnScreen(panel + buttonInPanel);
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(qEnvironmentVariableIsSet("DISPLAY"), "run this test under Xvfb");
        QVERIFY2(server.start(), qPrintable(server.error()));
        server.serveAllHosts();
    }

    void exitQuestionConfirmedEndsWithZero()
    {
        ClientDirectory dir;
        QVERIFY(dir.isReady());
        storeSettings(dir);
        QProcess client;
        start(dir, client);
        QVERIFY2(waitUntil([&] { return server.hitsWithStatus("startOrbela") == 1; }, 60000), "no services");
        const QRect titleBar = findXWindow(QStringLiteral("Orbela游戏平台"));
        QCOMPARE(titleBar, QRect(bodyRect.topLeft(), QSize(bodyRect.width(), 74)));
        QVERIFY(clickOnScreen(titleBar.topLeft() + QPoint(titleBar.width() - 48 + 17, 20 + 17))); // close button
        QVERIFY(answerPopup(QPoint(245 + 45, 215 + 16))); // "确定"
        QVERIFY(client.waitForFinished(30000));
        QCOMPARE(client.exitStatus(), QProcess::NormalExit);
        QCOMPARE(client.exitCode(), 0);
        QCOMPARE(server.hitsWithStatus("closeOrbela"), 1);
    }

    void confirmedLookUpFailureEndsWithZero()
    {
        ClientDirectory dir;
        QVERIFY(dir.isReady());
        storeSettings(dir);
        QProcess client;
        // An empty host part fails without a query leaving the machine.
        start(dir, client, QStringLiteral(":8801"));
        QVERIFY(answerPopup(QPoint(340 + 45, 215 + 16))); // the one button, at the right
        QVERIFY(client.waitForFinished(30000));
        QCOMPARE(client.exitCode(), 0);
        QVERIFY(!dir.logText().contains("look up host ok!"));
    }
};

QTEST_GUILESS_MAIN(TestClientUnderX)
#include "TestClientUnderX.moc"
