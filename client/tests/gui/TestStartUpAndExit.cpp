#include "core/AppFolders.h"
#include "core/AppSettings.h"
#include "core/download/DownloadManager.h"
#include "core/game/LocalDatabase.h"
#include "core/game/StoredGames.h"
#include "core/game/VRAppInfo.h"
#include "gui/BackgroundDialog.h"
#include "gui/OrbelaDialog.h"
#include "gui/popups/PopupWindowDialog.h"
#include "gui/popups/pushWebDialog.h"
#include "tests/FixtureUpdater.h"
#include "tests/StoreServer.h"
#include "tests/gui/PopupAnswers.h"
#include "tests/gui/WebTestMain.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QLineEdit>
#include <QMenu>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

// The main window's life against the store stand-in, in this process: its
// menus, tray and popups, the start of its services, the update offer, and
// the orderly exit.
class TestStartUpAndExit : public QObject
{
    Q_OBJECT

private:
    StoreServer server;
    QTemporaryDir scratch;
    QScopedPointer<OrbelaDialog> window;

    QString appDir() const { return QCoreApplication::applicationDirPath(); }
    QString parentUpdater() const { return QDir(appDir() + QStringLiteral("/..")).absoluteFilePath("Update.exe"); }
    // The fixture updater records beside the copy that runs, in the parent folder.
    QString updaterFolder() const { return QFileInfo(parentUpdater()).absolutePath(); }
    QString updaterRecord() const { return updaterFolder() + QStringLiteral("/updater-ran.txt"); }
    QString gamesFolder() const { return scratch.filePath(QStringLiteral("games/VRGames/")); }

    void openWindow()
    {
        window.reset(new OrbelaDialog(nullptr));
        window->bodyWindow()->setGeometry(40, 30, 1196, 700);
        window->setGeometry(40, 30, 1196, OrbelaDialog::kTitleBarHeight);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.data()));
    }

    void storeSettings(const QString &deviceId)
    {
        AppSettings stored;
        stored.deviceId = deviceId;
        stored.deviceName = QStringLiteral("Vive");
        stored.installPath = gamesFolder();
        stored.downloadTool = QStringLiteral("http");
        stored.windowRect = QRect(40, 30, 1196, 700);
        saveSettings(stored);
    }

    int pageLoads(const QString &path, const QString &deviceId) const
    {
        return server.requestsWith(path, QStringLiteral("deviceId"), deviceId);
    }

    QStringList actionTexts(QMenu *menu) const
    {
        QStringList texts;
        for (QAction *action : menu->actions())
            texts << (action->isSeparator() ? QStringLiteral("|") : action->text());
        return texts;
    }


private slots:
    void initTestCase()
    {
        QVERIFY(scratch.isValid());
        QVERIFY2(server.start(), qPrintable(server.error()));
        server.serveAllHosts();
        qputenv("XDG_CONFIG_HOME", scratch.filePath(QStringLiteral("config")).toUtf8());
        const QString engine = appDir() + QStringLiteral("/libxldl.so");
        QFile::remove(engine);
        QVERIFY(QFile::copy(QString::fromLocal8Bit(qgetenv("ORBELA_ENGINE_LIBRARY")), engine));
        OrbelaDialog::setStartUpChecksEnabled(false);
    }

    void init()
    {
        QFile::remove(settingsFilePath());
        QFile::remove(LocalDatabase::filePath());
        QFile::remove(DownloadManager::taskListPath());
        QFile::remove(updaterRecord());
        QVERIFY(server.clearFaults());
        QVERIFY(server.setUpdate(QStringLiteral("none")));
        server.clearLog();
    }

    void cleanup()
    {
        window.reset();
        OrbelaDialog::setStartUpChecksEnabled(false);
        QFile::remove(appDir() + QStringLiteral("/Update.exe"));
        QFile::remove(parentUpdater());
        QFile::remove(updaterRecord());
        qputenv("ORBELA_APP_API_HOST", server.host().toUtf8());
    }

    void trayAndSettingsMenus()
    {
        openWindow();
        QCOMPARE(window->tray()->toolTip(), QStringLiteral("Orbela游戏平台"));
        QCOMPARE(actionTexts(window->tray()->contextMenu()),
                 (QStringList{" 显示大厅 ", "|", " 问题反馈 ", "|", " 版本信息 ", "|", " 退出大厅 "}));

        QPushButton *settingsButton = window->findChild<QPushButton *>(QStringLiteral("setBtn"));
        settingsButton->click();
        QMenu *menu = nullptr;
        for (QMenu *candidate : window->findChildren<QMenu *>()) {
            if (candidate->isVisible())
                menu = candidate;
        }
        QVERIFY(menu);
        QCOMPARE(actionTexts(menu), (QStringList{" 设置 ", "|", " 反馈 ", "|", " 版本信息 "}));
        // It unfolds from the button's lower right corner, its right edge one pixel left of it.
        const QPoint corner = window->mapToGlobal(settingsButton->geometry().bottomRight() + QPoint(1, 1));
        QTRY_COMPARE_WITH_TIMEOUT(menu->geometry().topRight() + QPoint(1, 0), corner + QPoint(-1, 5), 3000);
        menu->close();
    }

    void trayActivation_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<bool>("shows");
        QTest::newRow("click") << int(QSystemTrayIcon::Trigger) << true;
        QTest::newRow("double click") << int(QSystemTrayIcon::DoubleClick) << true;
        QTest::newRow("context menu") << int(QSystemTrayIcon::Context) << false;
        QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick) << false;
    }

    void trayActivation()
    {
        QFETCH(int, reason);
        QFETCH(bool, shows);
        openWindow();
        const QRect before = window->bodyWindow()->geometry();
        // No tray here: the hide minimises, and the windows can come back.
        window->HideOrbela();
        QCOMPARE(window->bodyWindow()->size(), QSize(0, 0));
        window->trayActived(QSystemTrayIcon::ActivationReason(reason));
        QCOMPARE(window->bodyWindow()->geometry(), shows ? before : QRect(before.topLeft(), QSize(0, 0)));
        QCOMPARE(bool(window->windowState() & Qt::WindowMinimized), !shows);
    }

    void popupWhileHiddenShowsTheWindowsFirst()
    {
        openWindow();
        const QRect before = window->bodyWindow()->geometry();
        window->HideOrbela();
        window->showExchangeTips();
        QCOMPARE(window->bodyWindow()->geometry(), before);
        QVERIFY(!(window->windowState() & Qt::WindowMinimized));
        QCOMPARE(window->lastPopup()->geometry(), before);
        QCOMPARE(window->lastPopup()->pageKindShown(), int(PopupWindowDialog::Exchange));
    }

    void deviceChoice_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QString>("buttonText");
        QTest::addColumn<QString>("storedId");
        QTest::newRow("empty id") << "" << "Quest" << false << "Vive" << "7";
        QTest::newRow("same id, no name") << "7" << "" << false << "Vive" << "7";
        QTest::newRow("same id, a name") << "7" << "Vive Pro" << false << "Vive Pro" << "7";
        QTest::newRow("new id, no name") << "9" << "" << true << "Vive" << "9";
        QTest::newRow("new id, a name") << "9" << "Quest" << true << "Quest" << "9";
    }

    void deviceChoice()
    {
        QFETCH(QString, id);
        QFETCH(QString, name);
        QFETCH(bool, loads);
        QFETCH(QString, buttonText);
        QFETCH(QString, storedId);
        storeSettings(QStringLiteral("7"));
        openWindow();
        window->getNoNeedUpdateOrbela();
        QCOMPARE(window->deviceId(), QStringLiteral("7"));
        QTRY_COMPARE_WITH_TIMEOUT(pageLoads("/client/task", "7"), 1, 20000);
        // The start's own store page load must be counted before the choice.
        QTRY_COMPARE_WITH_TIMEOUT(pageLoads("/client/index", "7"), 1, 20000);
        const int storeLoadsBefore = pageLoads("/client/index", id);
        window->getDeviceSelection(id, name);
        QCOMPARE(window->findChild<QPushButton *>(QStringLiteral("deviceBtn"))->text(), buttonText);
        QCOMPARE(window->windowSettings().deviceId, storedId);
        // Saved when chosen: a kill now keeps the choice.
        QCOMPARE(loadSettings().deviceId, storedId);
        if (loads)
            QCOMPARE(loadSettings().deviceName, buttonText);
        if (loads) {
            QTRY_COMPARE_WITH_TIMEOUT(pageLoads("/client/index", id), storeLoadsBefore + 1, 20000);
            QTRY_COMPARE_WITH_TIMEOUT(pageLoads("/client/activity", id), 1, 20000);
            QTRY_COMPARE_WITH_TIMEOUT(pageLoads("/client/task", id), 1, 20000);
        } else {
            QTest::qWait(300);
            QCOMPARE(pageLoads("/client/index", id), storeLoadsBefore);
        }
    }

    void settingsAreSavedWithAutostart()
    {
        openWindow();
        const QString autostart = scratch.filePath(QStringLiteral("config/autostart/"))
                                  + QCoreApplication::applicationName() + QStringLiteral(".desktop");
        window->getSettings(QStringLiteral("/data/games/VRGames/"), QStringLiteral("http"), true);
        QVERIFY(QFile::exists(autostart));
        const AppSettings &saved = loadSettings();
        // A first start: no rectangle was stored, and the default one is saved, not an empty one.
        QCOMPARE(saved.windowRect, getDefaultWindowRect(QGuiApplication::primaryScreen()->availableGeometry().size(),
                                                        window->minimumWindowWidth()));
        QCOMPARE(saved.installPath, QStringLiteral("/data/games/VRGames/"));
        QCOMPARE(saved.downloadTool, QStringLiteral("http"));
        QCOMPARE(saved.isAutoRun, true);
        window->getSettings(QStringLiteral("/data/games/VRGames/"), QStringLiteral("thunder"), false);
        QVERIFY(!QFile::exists(autostart));
        QCOMPARE(loadSettings().isAutoRun, false);
        QCOMPARE(loadSettings().downloadTool, QStringLiteral("thunder"));
    }

    void failedLookUpEndsTheClient()
    {
        // An empty host part fails without asking anybody.
        qputenv("ORBELA_APP_API_HOST", ":8801");
        OrbelaDialog::setStartUpChecksEnabled(true);
        QString shown;
        answerNextPopup("pup_okBtn", PopupWindowDialog::Information, &shown);
        openWindow();
        // No event loop runs here, as before main's exec(): the quit still holds.
        QTRY_VERIFY_WITH_TIMEOUT(window->hasQuit(), 20000);
        QCOMPARE(shown, QStringLiteral("提示信息\nHost Not Found!"));
    }

    void versionCheckWithoutAnswerStartsTheServices()
    {
        storeSettings(QStringLiteral("7"));
        QVERIFY(server.setFault(QStringLiteral("/client/api/ajaxGetVersion"), QStringLiteral("bad-json")));
        openWindow();
        window->startUpdateCheck();
        QTRY_VERIFY_WITH_TIMEOUT(window->servicesStarted(), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(server.hitsWithStatus("startOrbela"), 1, 10000);
    }

    void optionalUpdate_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("accepted") << true;
        QTest::newRow("declined") << false;
    }

    void optionalUpdate()
    {
        QFETCH(bool, accept);
        storeSettings(QStringLiteral("7"));
        QVERIFY(writeFixtureUpdater(appDir() + QStringLiteral("/Update.exe"), "packaged"));
        QVERIFY(server.setUpdate(QStringLiteral("optional"), QStringLiteral("1.1.1.90"),
                                 server.url("/download/orbela-update.7z").toString(), QStringLiteral("修复问题")));
        QString shown;
        answerNextPopup(accept ? "pup_okBtn" : "pup_cancelBtn", PopupWindowDialog::Information, &shown);
        openWindow();
        window->startUpdateCheck();
        if (accept) {
            QCOMPARE(fixtureUpdaterRecord(updaterFolder()),
                     (QStringList{"packaged", "1.1.1.90", server.url("/download/orbela-update.7z").toString()}));
            QVERIFY(window->hasQuit());
            QVERIFY(!window->servicesStarted());
            QVERIFY(QFile::exists(parentUpdater()));
            QCOMPARE(loadSettings().windowRect, window->bodyWindow()->geometry());
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(window->servicesStarted(), 20000);
            QTRY_COMPARE_WITH_TIMEOUT(server.hitsWithStatus("startOrbela"), 1, 10000);
            QVERIFY(!window->hasQuit());
            QVERIFY(!QFile::exists(updaterRecord()));
        }
        QCOMPARE(shown, QStringLiteral("检测到可用的新版本 (1.1.1.90)\n修复问题"));
    }

    void noSettingsOpensTheDevicePopup()
    {
        openWindow();
        window->getNoNeedUpdateOrbela();
        QCOMPARE(window->lastPopup()->pageKindShown(), int(PopupWindowDialog::DeviceSelection));
        QTRY_VERIFY_WITH_TIMEOUT(!server.requests("/client/api/ajaxGetDevices").isEmpty(), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!server.requests("/client/api/ajaxGetOnlineTotal").isEmpty(), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(server.hitsWithStatus("startOrbela"), 1, 10000);
    }

    void onlineTotalWithNobodyLoggedIn()
    {
        openWindow();
        window->getConcurrentUsers();
        auto *field = window->findChild<QLineEdit *>(QStringLiteral("onlinePeople"));
        QTRY_COMPARE_WITH_TIMEOUT(field->text(), QStringLiteral("在线：128 人"), 20000);
        QCOMPARE(window->onlineSession().onlineSeconds(), -1);
        QCOMPARE(server.requests("/api/CurrentOnlineLength").size(), 0);
    }

    void orderlyExit()
    {
        storeSettings(QStringLiteral("7"));
        QVERIFY(QDir().mkpath(gamesFolder() + QStringLiteral("3002")));
        LocalDatabase database;
        QVERIFY(database.open());
        for (const QPair<QString, int> &stored : {qMakePair(QStringLiteral("3001"), 2), qMakePair(QStringLiteral("3002"), 5)}) {
            VRAppInfo game;
            game.gameId = stored.first;
            game.cnName = QStringLiteral("游戏") + stored.first;
            game.downloadStatus = stored.second;
            game.localSize = 1;
            QVERIFY(database.saveGame(&game));
            QFile package(pcPackagePath(game.gameId));
            QVERIFY(package.open(QIODevice::WriteOnly));
        }
        database.close();

        openWindow();
        window->getNoNeedUpdateOrbela();
        const QString path = QStringLiteral("/download/games/small-game.zip");
        QVERIFY(server.setFault(path, QStringLiteral("stall:1000")));
        QVERIFY(window->downloads()->AddTask(server.url(path), QStringLiteral("small-game.zip"), getZipsDir(), false));
        QTRY_VERIFY_WITH_TIMEOUT(!server.requests(path).isEmpty(), 10000);
        server.clearLog();

        answerNextPopup("pup_okBtn");
        window->findChild<QPushButton *>(QStringLiteral("closeBtn"))->click();
        QVERIFY(!window->isVisible());
        QVERIFY(!window->bodyWindow()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(window->hasQuit(), 10000);

        QCOMPARE(server.hitsWithStatus("closeOrbela"), 1);
        const QJsonObject form = server.requests("/hits").first().value("form").toObject();
        QCOMPARE(form.value("app_id").toString(), QStringLiteral("1002"));
        QCOMPARE(form.value("device_id").toString(), QString());
        QCOMPARE(form.value("user_id").toString(), QString());
        QCOMPARE(form.value("type_id").toString(), QString());
        QCOMPARE(form.value("net_ip").toString(), QStringLiteral("127.0.0.1"));
        // Nobody logged in: no online time.
        QCOMPARE(server.requests("/api/CurrentOnlineLength").size(), 0);

        const AppSettings &saved = loadSettings();
        QCOMPARE(saved.isMaximized, false);
        QCOMPARE(saved.windowRect, QRect(40, 30, 1196, 700));
        QCOMPARE(saved.deviceId, QStringLiteral("7"));
        // Not yet unpacked: kept. Installed: gone.
        QVERIFY(QFile::exists(pcPackagePath(QStringLiteral("3001"))));
        QVERIFY(!QFile::exists(pcPackagePath(QStringLiteral("3002"))));

        window.reset(); // the destructor stops the download and lists it
        QFile taskList(DownloadManager::taskListPath());
        QVERIFY(taskList.open(QIODevice::ReadOnly));
        QVERIFY(taskList.readAll().contains(server.url(path).toString().toUtf8()));
        QFile::remove(pcPackagePath(QStringLiteral("3001")));
    }

    // The tray's exit while the windows are hidden saves where the body was
    // last seen, not the empty body.
    void exitWhileHiddenSavesTheLastRectangleInSight_data()
    {
        QTest::addColumn<bool>("maximise");
        QTest::newRow("normal") << false;
        QTest::newRow("maximised") << true;
    }

    void exitWhileHiddenSavesTheLastRectangleInSight()
    {
        QFETCH(bool, maximise);
        openWindow();
        if (maximise)
            window->on_maxBtn_clicked();
        const QRect inSight = window->bodyWindow()->geometry();
        window->HideOrbela();
        QCOMPARE(window->bodyWindow()->size(), QSize(0, 0));
        window->tray()->contextMenu()->actions().last()->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(window->hasQuit(), 10000);
        const AppSettings &saved = loadSettings();
        QCOMPARE(saved.windowRect, inSight);
        QCOMPARE(saved.isMaximized, maximise);
    }

    // Saved maximised with a rectangle of another desktop: both windows come
    // up over this screen's available area, and the restore puts them on the
    // screen, the push panel still along the body's bottom and inside it.
    void storedMaximisedStateComesUpMaximised_data()
    {
        QTest::addColumn<QRect>("saved");
        QTest::newRow("0,0 1280x720, larger than the screen") << QRect(0, 0, 1280, 720);
        // The restore changes the body's height only: the title bar's width stays.
        QTest::newRow("0,0 700x500") << QRect(0, 0, 700, 500);
    }

    void storedMaximisedStateComesUpMaximised()
    {
        QFETCH(QRect, saved);
        AppSettings stored;
        stored.deviceId = QStringLiteral("1");
        stored.windowRect = saved;
        stored.isMaximized = true;
        saveSettings(stored);
        window.reset(new OrbelaDialog(nullptr));
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(window->isMaximizedState());
        QCOMPARE(window->bodyWindow()->geometry(), area);
        QCOMPARE(window->geometry(), QRect(area.topLeft(), QSize(area.width(), OrbelaDialog::kTitleBarHeight)));
        window->show();
        window->getNoNeedUpdateOrbela();
        pushWebDialog *panel = window->pushPanelWindow();
        QTRY_VERIFY_WITH_TIMEOUT(panel->findChildren<QPropertyAnimation *>().isEmpty(), 5000);
        QVERIFY(QRect(QPoint(0, 0), area.size()).contains(panel->geometry()));

        window->findChild<QPushButton *>(QStringLiteral("maxBtn"))->click();
        QVERIFY(!window->isMaximizedState());
        const QRect body = window->bodyWindow()->geometry();
        QVERIFY2(area.contains(QRect(body.topLeft(), QSize(body.width(), OrbelaDialog::kTitleBarHeight))),
                 "the title bar is off the screen");
        QCOMPARE(window->geometry(), QRect(body.topLeft(), QSize(body.width(), OrbelaDialog::kTitleBarHeight)));
        QCOMPARE(panel->geometry().bottom(), body.height() - 1);
        QVERIFY(QRect(QPoint(0, 0), body.size()).contains(panel->geometry()));
    }

    void declinedExitQuestionKeepsTheClient()
    {
        openWindow();
        QString shown;
        answerNextPopup("pup_cancelBtn", PopupWindowDialog::Information, &shown);
        window->findChild<QPushButton *>(QStringLiteral("closeBtn"))->click();
        QCOMPARE(shown, QStringLiteral("提示信息\n确定要退出吗？"));
        QVERIFY(window->isVisible());
        QVERIFY(!window->hasQuit());
        QTest::qWait(300);
        QCOMPARE(server.hitsWithStatus("closeOrbela"), 0);
    }

    void trayExitInsideAQuestion()
    {
        openWindow();
        int answer = -1;
        // The tray's exit is chosen while the exit question waits.
        auto *poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [this, poll]() {
            PopupWindowDialog *question = PopupWindowDialog::instance();
            if (!question || !question->isVisible())
                return;
            poll->deleteLater();
            window->tray()->contextMenu()->actions().last()->trigger();
        });
        poll->start(20);
        QTimer::singleShot(0, this, [this, &answer]() {
            answer = window->showMessage(QString(), QStringLiteral("确定要退出吗？"), QString(), QString(), 0);
        });
        QTRY_VERIFY_WITH_TIMEOUT(answer != -1, 10000);
        QCOMPARE(answer, 0);
        QCOMPARE(PopupWindowDialog::instance(), nullptr);
        QVERIFY(!window->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(window->hasQuit(), 10000);
        QCOMPARE(server.hitsWithStatus("closeOrbela"), 1);
    }
};

ORBELA_WEB_TEST_MAIN(TestStartUpAndExit)
#include "TestStartUpAndExit.moc"
