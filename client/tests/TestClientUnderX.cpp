#include "tests/ClientDirectory.h"
#include "tests/StoreServer.h"
#include "tests/XScreen.h"

#include <QImage>
#include <QJsonObject>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
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

    // Clicks the title bar's close button and answers "确定". A click that lands
    // while another window of the client still takes the pointer is lost, so
    // it is clicked again until the question shows.
    static bool closeAndConfirm(const QRect &titleBar)
    {
        const QPoint closeButton = titleBar.topLeft() + QPoint(titleBar.width() - 48 + 17, 20 + 17);
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (!clickOnScreen(closeButton))
                return false;
            if (waitUntil([] { return !findXWindow(QStringLiteral("Orbela弹出窗口")).isEmpty(); }, 10000))
                return answerPopup(QPoint(245 + 45, 215 + 16));
        }
        return false;
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
        QVERIFY(closeAndConfirm(titleBar));
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

    // Logged in through the real dialog with both boxes checked, a client
    // started again logs the user in by itself: the stand-in sees the login
    // post at start and the title bar shows the user's avatar and resources.
    void loginDialogThenAutomaticLoginAfterARestart()
    {
        server.clearLog();
        ClientDirectory dir;
        QVERIFY(dir.isReady());
        storeSettings(dir);
        QProcess client;
        start(dir, client);
        QVERIFY2(waitUntil([&] { return server.hitsWithStatus("startOrbela") == 1; }, 60000), "no services");
        // A remembered account (without automatic login) fills the dialog's fields.
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("seed"));
            db.setDatabaseName(dir.clientPath() + QStringLiteral("/UserData/Orbela.db"));
            QVERIFY(db.open());
            QSqlQuery insert(db);
            QVERIFY2(insert.prepare(QStringLiteral("insert into vr_user values (?,?,?,?,?,?)")),
                     qPrintable(insert.lastError().text()));
            for (const QString &value : {QStringLiteral("10001"), QStringLiteral("true"), QStringLiteral("false"),
                                         QStringLiteral("false"), QString::fromLatin1(QByteArray("tester").toBase64()),
                                         QString::fromLatin1(QByteArray("orbela123").toBase64())})
                insert.addBindValue(value);
            QVERIFY(insert.exec());
        }
        QSqlDatabase::removeDatabase(QStringLiteral("seed"));
        const QRect titleBar = findXWindow(QStringLiteral("Orbela游戏平台"));
        QVERIFY(clickOnScreen(titleBar.topLeft() + QPoint(77 + 5 + 17, 40 + 15))); // the panel's "登录"
        QRect dialog;
        QVERIFY(waitUntil([&] { return !(dialog = findXWindow(QStringLiteral("Dialog"))).isEmpty(); }, 30000));
        QCOMPARE(dialog, bodyRect);
        const QPoint panel(dialog.x() + (dialog.width() - 332) / 2, dialog.y() + (dialog.height() - 438) / 2);
        QTest::qWait(300); // the dialog maps before it draws
        QVERIFY(clickOnScreen(panel + QPoint(160 + 8, 225 + 9))); // "自动登录" checks both boxes
        QVERIFY(clickOnScreen(panel + QPoint(20 + 145, 260 + 20))); // "登 录"
        // Logged in: the user's resources are asked for.
        QVERIFY2(waitUntil([&] { return server.requests(QStringLiteral("/api/getUserResource")).size() == 1; }, 30000),
                 "no login");
        QCOMPARE(server.requests(QStringLiteral("/passport.php")).first().value("method").toString(), QStringLiteral("POST"));
        QVERIFY(closeAndConfirm(titleBar));
        QVERIFY(client.waitForFinished(30000));

        server.clearLog();
        QProcess again;
        start(dir, again);
        QVERIFY2(waitUntil([&] { return server.requests(QStringLiteral("/api/getUserResource")).size() == 1; }, 60000),
                 "no automatic login");
        const QList<QJsonObject> posts = server.requests(QStringLiteral("/passport.php"));
        QVERIFY(!posts.isEmpty());
        QCOMPARE(posts.first().value("method").toString(), QStringLiteral("POST"));
        QCOMPARE(posts.first().value("form").toObject().value("username").toString(), QStringLiteral("tester"));
        // The avatar's centre turns from the default grey to the user's gold picture.
        const QString shot = dir.clientPath() + QStringLiteral("/screen.png");
        const QPoint avatarCentre = titleBar.topLeft() + QPoint(12 + 31, 7 + 31);
        QVERIFY2(waitUntil([&] {
                     QProcess::execute(QStringLiteral("/usr/bin/import"), {"-window", "root", shot});
                     const QColor centre = QImage(shot).pixelColor(avatarCentre);
                     return centre.red() > 200 && centre.blue() < 180;
                 }, 30000),
                 "the title bar does not show the user's avatar");
        QVERIFY(dir.logText().contains("get CurrentOnlineLength:"));
        again.kill();
        again.waitForFinished(10000);
    }
};

QTEST_GUILESS_MAIN(TestClientUnderX)
#include "TestClientUnderX.moc"
