#include "core/game/LocalDatabase.h"
#include "core/game/VRAppInfo.h"
#include "core/webapi/LoginForm.h"
#include "tests/ClientDirectory.h"
#include "tests/ScopedXServer.h"
#include "tests/StoreServer.h"
#include "tests/XScreen.h"

#include <QElapsedTimer>
#include <QImage>
#include <QJsonObject>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

// The real client on an X server, answered with real clicks and keys: the
// exit question and the host look-up failure end the process with code 0,
// the windows survive every sequence of their buttons, and choices last.
class TestClientUnderX : public QObject
{
    Q_OBJECT

private:
    StoreServer server;
    // Wide enough for every title-bar item, so it is used as stored.
    const QRect bodyRect{100, 60, 1380, 760};
    // Points of the title bar, from its top-left corner, at the body's width.
    const QPoint freeTitleArea{1100, 8};
    const QPoint activityTab{611, 37};
    const QPoint localTab{943, 37};
    const QPoint minimiseButton{bodyRect.width() - 128 + 17, 37};
    const QPoint maximiseButton{bodyRect.width() - 88 + 17, 37};
    // The first game row's "开始游戏" in the body: the list's corner, its
    // spacing, the button's centre.
    const QPoint firstRowStartButton{20 + 5 + 270 + 45, 154 + 5 + 100 + 16};
    // In the body: the manager page's own games tab, a radio button that takes
    // the focus and lets Escape through to the body window.
    const QPoint managerGamesTab{20 + 20 + 21, 94 + 10 + 15};

    // The client the window sequences share: each row leaves it where it
    // started, and a row that could not makes the next start a new one.
    QScopedPointer<ClientDirectory> sequenceDir;
    QScopedPointer<QProcess> sequenceClient;
    bool sequenceClientClean = false;

    // A stored device and window rectangle: no device popup, a known place.
    void storeSettings(const ClientDirectory &dir, const QRect &window = QRect(), bool maximised = false) const
    {
        const QRect rect = window.isNull() ? bodyRect : window;
        QDir().mkpath(dir.clientPath() + QStringLiteral("/UserData"));
        QSettings ini(dir.clientPath() + QStringLiteral("/UserData/Settings.ini"), QSettings::IniFormat);
        ini.setValue(QStringLiteral("DeviceInfo/Id"), QStringLiteral("1"));
        ini.setValue(QStringLiteral("DeviceInfo/Name"), QStringLiteral("Vive"));
        ini.setValue(QStringLiteral("WindowLocation/X"), rect.x());
        ini.setValue(QStringLiteral("WindowLocation/Y"), rect.y());
        ini.setValue(QStringLiteral("WindowSize/Width"), rect.width());
        ini.setValue(QStringLiteral("WindowSize/Height"), rect.height());
        ini.setValue(QStringLiteral("WindowState/isMaximized"), maximised);
    }

    // Keeps a picture of the screen among the build's screenshots, to be looked at.
    static void keepScreenshot(const QString &name)
    {
        QDir().mkpath(QStringLiteral(ORBELA_SCREENSHOT_DIR));
        const QString file = QStringLiteral(ORBELA_SCREENSHOT_DIR "/") + name + QStringLiteral(".png");
        screenPicture(file);
        qInfo("screen picture: %s", qPrintable(file));
    }

    // The windows the X server shows: the title bar over the body at bodyAt.
    static bool windowsShownAt(const QRect &bodyAt)
    {
        return waitUntil(
            [&bodyAt] {
                return viewableXWindows(QStringLiteral("Orbela游戏平台"))
                           == QList<QRect>{QRect(bodyAt.topLeft(), QSize(bodyAt.width(), 74))}
                       && viewableXWindows(QStringLiteral("Orbela")) == QList<QRect>{bodyAt};
            },
            10000);
    }

    // A picture of the whole screen, through the file shot.
    static QImage screenPicture(const QString &shot)
    {
        QProcess::execute(QStringLiteral("/usr/bin/import"), {"-window", "root", shot});
        return QImage(shot);
    }

    static QString shownWindows()
    {
        QStringList shown;
        for (const char *title : {"Orbela游戏平台", "Orbela", "Orbela弹出窗口"}) {
            for (const QRect &rect : viewableXWindows(QString::fromUtf8(title)))
                shown << QStringLiteral("%1 %2,%3 %4x%5")
                             .arg(QString::fromUtf8(title))
                             .arg(rect.x())
                             .arg(rect.y())
                             .arg(rect.width())
                             .arg(rect.height());
        }
        return shown.join(QStringLiteral("; "));
    }

    // Starts the client and waits for its services (and what else it
    // asks for at start); false when they did not come.
    bool startAndWait(const ClientDirectory &dir, QProcess &client, const QString &alsoRequested = QString())
    {
        const int starts = server.hitsWithStatus(QStringLiteral("startOrbela"));
        const int requested = alsoRequested.isEmpty() ? 0 : server.requests(alsoRequested).size();
        start(dir, client);
        return waitUntil([&] { return server.hitsWithStatus(QStringLiteral("startOrbela")) == starts + 1; }, 60000)
               && (alsoRequested.isEmpty()
                   || waitUntil([&] { return server.requests(alsoRequested).size() == requested + 1; }, 30000));
    }

    // The stored state of the sequences' client: a device and the window's
    // place, a user logged in automatically, and one installed game whose
    // launcher says a word and ends.
    bool prepareSequenceClient(const ClientDirectory &dir) const
    {
        storeSettings(dir);
        const QJsonObject game = server.game(QStringLiteral("1001"));
        LocalDatabase database;
        QFile::remove(LocalDatabase::filePath());
        if (game.isEmpty() || !database.open())
            return false;
        VRAppInfo info;
        info.gameId = QStringLiteral("1001");
        info.cnName = game.value(QStringLiteral("cnName")).toString();
        info.enName = game.value(QStringLiteral("enName")).toString();
        info.version = game.value(QStringLiteral("version")).toString();
        info.md5 = game.value(QStringLiteral("md5")).toString();
        info.deviceId = QStringLiteral("1");
        info.launcher = QStringLiteral("launch.sh");
        info.launchParameter = QStringLiteral("vr fullscreen");
        info.localSize = 1;
        info.downloadStatus = VRAppInfo::Installed;
        const bool saved = database.saveGame(&info)
                           && database.saveUser(QStringLiteral("10001"), QStringLiteral("true"), QStringLiteral("true"),
                                                QStringLiteral("false"), rememberedText(QStringLiteral("tester")),
                                                rememberedText(QStringLiteral("orbela123")));
        database.close();
        const QString folder = dir.clientPath() + QStringLiteral("/VRGames/1001");
        QFile launcher(folder + QStringLiteral("/launch.sh"));
        return saved && QDir().mkpath(folder)
               && QFile::copy(LocalDatabase::filePath(), dir.clientPath() + QStringLiteral("/UserData/Orbela.db"))
               && launcher.open(QIODevice::WriteOnly) && launcher.write("#!/bin/sh\necho playing\n") > 0
               && launcher.setPermissions(launcher.permissions() | QFileDevice::ExeOwner);
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

    // Sequences of real input on both windows: after each the process runs,
    // both windows are shown, the body under the title bar, where it was.
    void windowSequences_data()
    {
        QTest::addColumn<QString>("sequence");
        for (const char *sequence : {"Escape on the title bar, then a tab", "Escape on the body, then a tab",
                                     "minimise, maximise, restore", "game start, game end, then a tab",
                                     "game double click, one start, then a tab", "minimise, exit, start"})
            QTest::newRow(sequence) << QString::fromLatin1(sequence);
    }

    void windowSequences()
    {
        QFETCH(QString, sequence);
        if (!sequenceClientClean || sequenceClient->state() != QProcess::Running) {
            if (sequenceClient)
                sequenceClient->kill();
            sequenceClient.reset(new QProcess);
            sequenceDir.reset(new ClientDirectory);
            QVERIFY(sequenceDir->isReady());
            QVERIFY(prepareSequenceClient(*sequenceDir));
            QVERIFY2(startAndWait(*sequenceDir, *sequenceClient, QStringLiteral("/api/getUserResource")),
                     "no services or no automatic login");
        }
        sequenceClientClean = false;
        QVERIFY2(windowsShownAt(bodyRect), qPrintable(shownWindows()));
        const QPoint titleBar = bodyRect.topLeft();
        const QPoint body = bodyRect.topLeft();

        if (sequence.startsWith(QLatin1String("Escape"))) {
            if (sequence.contains(QLatin1String("body"))) {
                QVERIFY(clickOnScreen(titleBar + localTab));
                QTest::qWait(300);
                QVERIFY(clickOnScreen(body + managerGamesTab));
            } else {
                QVERIFY(clickOnScreen(titleBar + freeTitleArea));
            }
            QTest::qWait(300);
            QVERIFY(pressKeyOnScreen("Escape"));
            QTest::qWait(300);
            QVERIFY(clickOnScreen(titleBar + activityTab));
        } else if (sequence.startsWith(QLatin1String("minimise, maximise"))) {
            QVERIFY(clickOnScreen(titleBar + minimiseButton));
            QVERIFY2(waitUntil([] { return viewableXWindows(QStringLiteral("Orbela")).isEmpty(); }), "not minimised");
            QVERIFY(clickOnScreen(titleBar + maximiseButton));
            // The whole screen: Xvfb has no panels.
            const QRect screen = QRect(0, 0, 1920, 1080);
            QVERIFY2(windowsShownAt(screen), qPrintable(shownWindows()));
            QVERIFY(clickOnScreen(screen.topLeft() + QPoint(screen.width() - 88 + 17, 37)));
        } else if (sequence.startsWith(QLatin1String("game"))) {
            const QByteArray endsBefore = sequenceDir->logText();
            const int startsBefore = server.hitsWithStatus(QStringLiteral("startGame"));
            const bool doubleClick = sequence.contains(QLatin1String("double"));
            QVERIFY(clickOnScreen(titleBar + localTab));
            QTest::qWait(300);
            QVERIFY(clickOnScreen(body + firstRowStartButton, doubleClick ? 2 : 1));
            QVERIFY2(waitUntil([&] { return server.hitsWithStatus(QStringLiteral("startGame")) == startsBefore + 1; }, 20000),
                     "the game did not start");
            const QByteArray ended("------------>close game!");
            QVERIFY2(waitUntil([&] { return sequenceDir->logText().count(ended) == endsBefore.count(ended) + 1; }, 20000),
                     "the game did not end");
            const QByteArray started("start path:");
            const QByteArray waiting("the launch of game 1001 already waits for the store");
            if (doubleClick) {
                // The second click came while the store was asked, and started nothing.
                QCOMPARE(sequenceDir->logText().count(waiting), endsBefore.count(waiting) + 1);
                QCOMPARE(sequenceDir->logText().count(started), endsBefore.count(started) + 1);
                QCOMPARE(sequenceDir->logText().count(ended), endsBefore.count(ended) + 1);
                QCOMPARE(server.hitsWithStatus(QStringLiteral("startGame")), startsBefore + 1);
                qInfo("a double click on 开始游戏: %d child started, %d ended, %d startGame hit",
                      int(sequenceDir->logText().count(started) - endsBefore.count(started)),
                      int(sequenceDir->logText().count(ended) - endsBefore.count(ended)),
                      server.hitsWithStatus(QStringLiteral("startGame")) - startsBefore);
            }
            // The windows stay out of sight after the game; a tab brings them back.
            QVERIFY(viewableXWindows(QStringLiteral("Orbela")).isEmpty());
            QVERIFY(clickOnScreen(titleBar + activityTab));
        } else {
            QVERIFY(clickOnScreen(titleBar + minimiseButton));
            QVERIFY2(waitUntil([] { return viewableXWindows(QStringLiteral("Orbela")).isEmpty(); }), "not minimised");
            QVERIFY(closeAndConfirm(QRect(titleBar, QSize(bodyRect.width(), 74))));
            QVERIFY(sequenceClient->waitForFinished(30000));
            QCOMPARE(sequenceClient->exitCode(), 0);
            QSettings saved(sequenceDir->clientPath() + QStringLiteral("/UserData/Settings.ini"), QSettings::IniFormat);
            QCOMPARE(QRect(saved.value(QStringLiteral("WindowLocation/X")).toInt(),
                           saved.value(QStringLiteral("WindowLocation/Y")).toInt(),
                           saved.value(QStringLiteral("WindowSize/Width")).toInt(),
                           saved.value(QStringLiteral("WindowSize/Height")).toInt()),
                     bodyRect);
            QVERIFY2(startAndWait(*sequenceDir, *sequenceClient), "no services after the new start");
        }
        const bool shown = windowsShownAt(bodyRect);
        QCOMPARE(sequenceClient->state(), QProcess::Running);
        QVERIFY2(shown, qPrintable(shownWindows()));
        sequenceClientClean = true;
    }

    // A device chosen in the device popup is kept when the client is killed
    // right after: the next start loads its pages and asks nothing.
    void deviceChoiceSurvivesAKill()
    {
        ClientDirectory dir;
        QVERIFY(dir.isReady());
        QProcess client;
        start(dir, client);
        // The second device, "Oculus Rift" (id 2), in the popup's first column,
        // once the device list has come and its radio is drawn on the black page.
        const QRect secondDevice(8 + 20, 34 + 2 * 37, 200, 20);
        QRect popup;
        QVERIFY(waitUntil([&] { return !(popup = findXWindow(QStringLiteral("Orbela弹出窗口"))).isEmpty(); }, 60000));
        const QPoint panel(popup.x() + (popup.width() - 440) / 2, popup.y() + (popup.height() - 258) / 2);
        const QString shot = dir.clientPath() + QStringLiteral("/screen.png");
        QVERIFY2(waitUntil([&] {
                     const QImage radio = screenPicture(shot).copy(secondDevice.translated(panel));
                     for (int y = 0; y < radio.height(); ++y) {
                         for (int x = 0; x < radio.width(); ++x) {
                             if (radio.pixelColor(x, y).lightness() > 100)
                                 return true;
                         }
                     }
                     return false;
                 }, 30000),
                 "no device list");
        QVERIFY(clickOnScreen(panel + secondDevice.center()));
        QVERIFY(answerPopup(QPoint(245 + 45, 215 + 16)));
        const QString index = QStringLiteral("/client/index");
        QVERIFY2(waitUntil([&] { return server.requestsWith(index, QStringLiteral("deviceId"), QStringLiteral("2")) == 1; },
                           30000),
                 "the choice was not applied");
        client.kill();
        QVERIFY(client.waitForFinished(10000));

        QProcess again;
        QVERIFY2(startAndWait(dir, again), "no services after the kill");
        QVERIFY2(waitUntil([&] { return server.requestsWith(index, QStringLiteral("deviceId"), QStringLiteral("2")) == 2; },
                           30000),
                 "the stored device's pages were not loaded");
        // The popup would have been made before the services' start event went out.
        QVERIFY2(findXWindows(QStringLiteral("Orbela弹出窗口")).isEmpty(), qPrintable(shownWindows()));
        again.kill();
        again.waitForFinished(10000);
    }

    // Saved maximised on another desktop and started on a 1366x768 screen:
    // both windows cover the screen's available area (Xvfb has no panels:
    // the whole screen); the restore puts them where the saved rectangle
    // lies on this screen, title bar and all.
    void maximisedStateOnASmallerScreen_data()
    {
        QTest::addColumn<QRect>("saved");
        QTest::addColumn<QRect>("restored");
        QTest::newRow("0,0 1280x720") << QRect(0, 0, 1280, 720) << QRect(0, 0, 1348, 720);
        QTest::newRow("1920 wide at x 1700, y 300") << QRect(1700, 300, 1920, 600) << QRect(0, 168, 1366, 600);
    }

    void maximisedStateOnASmallerScreen()
    {
        QFETCH(QRect, saved);
        QFETCH(QRect, restored);
        ScopedXServer smallScreen(QSize(1366, 768));
        QVERIFY2(smallScreen.isRunning(), "no X server of the test's own");
        ClientDirectory dir;
        QVERIFY(dir.isReady());
        storeSettings(dir, saved, true);
        QProcess client;
        QVERIFY2(startAndWait(dir, client), "no services");
        QElapsedTimer sinceServices;
        sinceServices.start();
        const QRect screen(0, 0, 1366, 768);
        const QString row =
            QString::fromLatin1(QTest::currentDataTag()).replace(QRegularExpression(QStringLiteral("\\W+")), "-");
        const bool maximised = windowsShownAt(screen);
        keepScreenshot(QStringLiteral("maximised-on-1366x768-saved-") + row);
        QVERIFY2(maximised, qPrintable(shownWindows()));
        QVERIFY(clickOnScreen(QPoint(screen.width() - 88 + 17, 37))); // the restore button
        const bool shown = windowsShownAt(restored);
        QTest::qWait(qMax(0, 1100 - int(sinceServices.elapsed()))); // the push panel's slide in has ended
        keepScreenshot(QStringLiteral("restored-on-1366x768-saved-") + row);
        QVERIFY2(shown, qPrintable(shownWindows()));
        client.kill();
        client.waitForFinished(10000);
    }

    void cleanupTestCase()
    {
        if (sequenceClient) {
            sequenceClient->kill();
            sequenceClient->waitForFinished(10000);
        }
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
    // post at start and the title bar shows the user's avatar and resources,
    // and the login's reload of the store page keeps the stored device. The
    // dialog is opened from the keyboard, Return then Space on the panel's
    // login button: one dialog, not two.
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
        // Pressed and let go beside it, the panel's "登录" takes the keyboard without a click.
        const QPoint loginButton = titleBar.topLeft() + QPoint(77 + 5 + 17, 40 + 15);
        QVERIFY(pressAndReleaseElsewhere(loginButton, titleBar.topLeft() + freeTitleArea));
        QTest::qWait(300);
        QVERIFY(pressKeysOnScreen({"Return", "space"}));
        QRect dialog;
        QVERIFY(waitUntil([&] { return !(dialog = findXWindow(QStringLiteral("Dialog"))).isEmpty(); }, 30000));
        QCOMPARE(dialog, bodyRect);
        // A second dialog would come within the same round of events.
        QVERIFY2(!waitUntil([] { return viewableXWindows(QStringLiteral("Dialog")).size() > 1; }, 1000),
                 "a second login dialog opened");
        QCOMPARE(viewableXWindows(QStringLiteral("Dialog")).size(), 1);
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
        // The store page the login reloads is the stored device's: after the
        // login post, every request for it carries the device.
        const auto storeLoadsAfterLogin = [this] {
            QStringList queries;
            bool loggedIn = false;
            for (const QJsonObject &request : server.requests()) {
                const QString path = request.value(QStringLiteral("path")).toString();
                loggedIn = loggedIn || (path == QLatin1String("/passport.php")
                                        && request.value(QStringLiteral("method")).toString() == QLatin1String("POST"));
                if (loggedIn && path == QLatin1String("/client/index"))
                    queries << request.value(QStringLiteral("query")).toString();
            }
            return queries;
        };
        QVERIFY2(waitUntil([&] { return !storeLoadsAfterLogin().isEmpty(); }, 30000), "the store page was not reloaded");
        QTest::qWait(500); // a reload of another page would follow at once
        for (const QString &query : storeLoadsAfterLogin())
            QCOMPARE(query, QStringLiteral("deviceId=1"));
        // The avatar's centre turns from the default grey to the user's gold picture.
        const QString shot = dir.clientPath() + QStringLiteral("/screen.png");
        const QPoint avatarCentre = titleBar.topLeft() + QPoint(12 + 31, 7 + 31);
        QVERIFY2(waitUntil([&] {
                     const QColor centre = screenPicture(shot).pixelColor(avatarCentre);
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
