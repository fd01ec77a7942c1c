// The whole road in the client against the store stand-in, on each download
// path: a logged-in user clicks a store page's "下载" link, the package is
// verified and unpacked into the game's folder, the row's "开始游戏" runs the
// launcher with its parameters, and the delete button removes folder, row
// and database entry.

#include "core/AppFolders.h"
#include "core/game/LocalDatabase.h"
#include "core/game/VRAppInfo.h"
#include "gui/games/listItem.h"
#include "gui/games/mangerForm.h"
#include "gui/popups/pushWebDialog.h"
#include "gui/web/WebEngineView.h"
#include "gui/web/WebGameForm.h"
#include "tests/ClientDirectory.h"
#include "tests/DownloadTestSupport.h"
#include "tests/GatedExtractor.h"
#include "tests/gui/PopupAnswers.h"
#include "tests/gui/StartedClient.h"
#include "tests/gui/WebTestMain.h"

#include <QJsonDocument>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

namespace {

// A mouse click the page takes as the user's own.
void clickInView(WebEngineView *view, const QPoint &point)
{
    QWidget *target = view->focusProxy() ? view->focusProxy() : view;
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, point, target->mapToGlobal(point), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
}

} // namespace

class TestGameRoadInClient : public QObject
{
    Q_OBJECT

    StoreServer server;
    QScopedPointer<OrbelaDialog> window;

private slots:
    void initTestCase()
    {
        QVERIFY2(server.start(), qPrintable(server.error()));
        QVERIFY(prepareStartedClient(server));
        QFile::remove(getToolsDir() + QStringLiteral("7z"));
        QVERIFY(QFile::link(QStringLiteral("/usr/bin/7z"), getToolsDir() + QStringLiteral("7z")));
    }

    void cleanup() { window.reset(); }

    void downloadLaunchUninstall_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::newRow("engine") << "thunder";
        QTest::newRow("http") << "http";
    }

    void downloadLaunchUninstall()
    {
        QFETCH(QString, tool);
        forgetClientState();
        AppSettings stored = loadSettings();
        stored.downloadTool = tool;
        saveSettings(stored);
        const QString gameFolder = getVrGamesDir() + QStringLiteral("1002");
        QDir(gameFolder).removeRecursively();
        QFile::remove(getZipsDir() + QStringLiteral("1002.zip"));
        server.clearLog();

        window.reset(startClient());
        window->downloadAvator(QStringLiteral("10001"), QStringLiteral("测试玩家"), QString());
        WebGameForm *store = WebGameForm::instance();
        QVERIFY(waitForPage(store, QStringLiteral("/client/")));
        QVERIFY(QTest::qWaitFor([&]() {
            return evaluateInPage(store->webPage(), QStringLiteral("!!document.getElementById('download-1002')")).toBool();
        }, 20000));
        const QVariantList box = evaluateInPage(store->webPage(), QStringLiteral(
            "(function(){var e=document.getElementById('download-1002');e.scrollIntoView();"
            "var r=e.getBoundingClientRect();return [r.left+r.width/2, r.top+r.height/2];})()")).toList();
        QCOMPARE(box.size(), 2);
        clickInView(store->webView(), QPoint(int(box[0].toDouble()), int(box[1].toDouble())));

        // The row shows the game installed.
        mangerForm *manager = mangerForm::instance();
        QVERIFY(QTest::qWaitFor([&]() { return manager->row(QStringLiteral("1002")); }, 20000));
        listItem *row = manager->row(QStringLiteral("1002"));
        QVERIFY(QTest::qWaitFor([&]() { return row->actionButton()->text() == QStringLiteral("开始游戏")
                                                && row->actionButton()->isVisible(); }, 60000));
        QVERIFY(QFileInfo(gameFolder + QStringLiteral("/bin/start.sh")).isExecutable());
        QVERIFY(QTest::qWaitFor([&]() {
            return server.requestsWith(QStringLiteral("/hits"), QStringLiteral("status"), QStringLiteral("download")) == 1;
        }, 20000));

        // "开始游戏" runs the launcher with "-" and the first word, then the second.
        QTest::mouseClick(row->actionButton(), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&]() { return fileBytes(gameFolder + QStringLiteral("/bin/launch-arguments.txt"))
                                                == "[-deep]\n[2]\n"; }, 30000));
        QVERIFY(QTest::qWaitFor([&]() { return server.hitsWithStatus(QStringLiteral("startGame")) == 1; }, 20000));

        // The delete button asks, then removes folder, row and entry.
        QString question;
        answerNextPopup("pup_okBtn", PopupWindowDialog::Information, &question);
        QTest::mouseClick(row->deleteButton(), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&]() { return !manager->row(QStringLiteral("1002")); }, 20000));
        QCOMPARE(question, QStringLiteral("卸载提示\n确定要卸载《深海探险》吗？"));
        QVERIFY(!QFileInfo::exists(gameFolder));
        LocalDatabase database;
        QVERIFY(database.open());
        std::unique_ptr<VRAppInfo> gone(database.loadGame(QStringLiteral("1002")));
        database.close();
        QVERIFY(!gone);
    }

    // The delete button while the game is "安装中" (its extractor under way),
    // then a restart: the game is gone from the database, the folder and the
    // status the store page gets.
    void uninstallWhileInstallingThenRestart()
    {
        forgetClientState();
        const QString gameFolder = getVrGamesDir() + QStringLiteral("1002");
        QDir(gameFolder).removeRecursively();
        QFile::remove(getZipsDir() + QStringLiteral("1002.zip"));
        QTemporaryDir gateFolder;
        std::unique_ptr<GatedExtractor> extractor(new GatedExtractor(gateFolder.path()));
        window.reset(startClient());
        window->downloadAvator(QStringLiteral("10001"), QStringLiteral("测试玩家"), QString());
        window->startDownload(VRAppInfo::fromGameData(server.game(QStringLiteral("1002"))));
        mangerForm *manager = mangerForm::instance();
        QVERIFY(QTest::qWaitFor([&]() { return extractor->started(); }, 60000));
        listItem *row = manager->row(QStringLiteral("1002"));
        QVERIFY(row);
        QCOMPARE(row->stateLabel()->text(), QStringLiteral("安装中"));
        answerNextPopup("pup_okBtn", PopupWindowDialog::Information);
        QTest::mouseClick(row->deleteButton(), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&]() { return !manager->row(QStringLiteral("1002")); }, 20000));
        // The extractor was stopped with the uninstall: it writes nothing more.
        QVERIFY(!QFileInfo::exists(QStringLiteral("/proc/") + extractor->pid()));
        extractor->open();
        extractor.reset();

        // The client ends and starts again (one window at a time: they share the engine).
        window.reset();
        window.reset(startClient());
        WebGameForm *store = WebGameForm::instance();
        QVERIFY(QTest::qWaitFor([&]() { return !pageCalls(store->webPage()).filter("status_callback:").isEmpty(); },
                                30000));
        const QString status = pageCalls(store->webPage()).filter("status_callback:").last();
        LocalDatabase database;
        QVERIFY(database.open());
        std::unique_ptr<VRAppInfo> stored(database.loadGame(QStringLiteral("1002")));
        database.close();
        qInfo("after an uninstall while 安装中 and a restart: database entry %s, folder %s, store page status %s",
              stored ? "present" : "gone", QFileInfo::exists(gameFolder) ? "present" : "gone", qPrintable(status));
        QVERIFY(!stored);
        QVERIFY(!QFileInfo::exists(gameFolder));
        QVERIFY(!status.contains(QLatin1String("1002")));
        QVERIFY(!mangerForm::instance()->row(QStringLiteral("1002")));
    }

    // A store "launch" link for a game whose folder is gone: the page has its
    // answer first, the question comes on the next turn, then the game is forgotten.
    void launchLinkOfAGoneGameAsksAfterTheLink()
    {
        forgetClientState();
        QDir(getVrGamesDir() + QStringLiteral("1001")).removeRecursively();
        // Stored after the start, which would forget it at once.
        window.reset(startClient());
        window->downloadAvator(QStringLiteral("10001"), QStringLiteral("测试玩家"), QString());
        {
            std::unique_ptr<VRAppInfo> game(VRAppInfo::fromGameData(server.game(QStringLiteral("1001"))));
            game->downloadStatus = VRAppInfo::Installed;
            game->localSize = 1;
            LocalDatabase database;
            QVERIFY(database.open());
            QVERIFY(database.saveGame(game.get()));
            database.close();
        }
        QString question;
        answerNextPopup("pup_okBtn", PopupWindowDialog::Information, &question);
        const QJsonObject game = server.game(QStringLiteral("1001"));
        const QString link = QStringLiteral("mivo://launch#")
                             + QString::fromUtf8(QJsonDocument(game).toJson(QJsonDocument::Compact));
        QVERIFY(!WebGameForm::instance()->OnLinkClicked(QUrl(link)));
        QVERIFY(question.isEmpty());
        QVERIFY(QTest::qWaitFor([&]() { return !question.isEmpty(); }, 20000));
        QCOMPARE(question, QStringLiteral("提示信息\n《星际漫步》已被人为删除，请重新下载！"));
        LocalDatabase database;
        QVERIFY(database.open());
        std::unique_ptr<VRAppInfo> gone(database.loadGame(QStringLiteral("1001")));
        database.close();
        QVERIFY(!gone);
    }

    // Hostile links reach the real road now: nothing is downloaded, started or
    // written outside the client's folders.
    void hostileLinksDoNothing()
    {
        forgetClientState();
        window.reset(startClient());
        window->downloadAvator(QStringLiteral("10001"), QStringLiteral("测试玩家"), QString());
        server.clearLog();
        const QString games = getVrGamesDir();
        const QStringList before = QDir(games).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        const QString base = server.baseUrl();
        const QString game = QStringLiteral("\"platform\":\"0\",\"md5\":\"0123456789abcdef0123456789abcdef\","
                                            "\"cnName\":\"坏\",\"enName\":\"Bad\",\"version\":\"1\","
                                            "\"exe_dl_path\":\"%1/download/games/small-game.zip\"").arg(base);
        const QStringList links{
            QStringLiteral("mivo://download#{\"gameId\":\"../../etc\",%1}").arg(game),
            QStringLiteral("mivo://download#{\"gameId\":\"1\",\"launcher\":\"../../bin/sh\",%1}").arg(game),
            QStringLiteral("mivo://launch#{\"gameId\":\"1\",\"launcher\":\"/bin/sh\",%1}").arg(game),
            QStringLiteral("mivo://download#{\"gameId\":\"1\",%1}")
                .arg(QString(game).replace(QStringLiteral("\"坏\""), QStringLiteral("\"../x\""))),
            QStringLiteral("mivo://launch#{\"gameId\":\"1001\",%1}").arg(game),
            QStringLiteral("mivo://download#[1,2]"),
            QStringLiteral("mivo://launch#{gameId:1}"),
        };
        for (const QString &link : links)
            QVERIFY(!WebGameForm::instance()->OnLinkClicked(QUrl(link)));
        QTest::qWait(1000);
        QCOMPARE(server.requests(QStringLiteral("/download/games/small-game.zip")).size(), 0);
        QCOMPARE(server.hitsWithStatus(QStringLiteral("startGame")), 0);
        QCOMPARE(QDir(games).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QVERIFY(!mangerForm::instance()->row(QStringLiteral("1")));
    }

    // A picture of the manager with a row in each state, for people to look at.
    void managerScreenshot()
    {
        forgetClientState();
        window.reset(startClient());
        window->switchToManager();
        mangerForm *manager = mangerForm::instance();
        struct Row {
            const char *id, *cn, *en;
            int state;
        };
        const Row rows[] = {{"2001", "深海探险", "Deep Sea", VRAppInfo::Installed},
                            {"2002", "方块节拍", "Cube Beat", VRAppInfo::InstallFailed},
                            {"2003", "云端漫游", "Cloud Roam", VRAppInfo::DownloadFailed},
                            {"2004", "巨型基准", "Benchmark Giant", VRAppInfo::Paused},
                            {"2005", "星际漫步", "Star Walk", VRAppInfo::Downloading}};
        for (const Row &row : rows) {
            auto *info = new VRAppInfo;
            info->setParent(window.data());
            info->gameId = QLatin1String(row.id);
            info->cnName = QString::fromUtf8(row.cn);
            info->enName = QLatin1String(row.en);
            info->localSize = 1536;
            info->downloadStatus = row.state;
            manager->addItem(info);
            if (row.state == VRAppInfo::Downloading)
                info->notifyUpdateDownloadProgress(qint64(600) * 1048576, qint64(1536) * 1048576);
            if (row.state == VRAppInfo::Paused)
                manager->row(info->gameId)->progress()->setValue(35);
        }
        window->foldPushPanel();
        QVERIFY(QTest::qWaitFor([&]() { return window->pushPanelWindow()->width() == 46; }, 5000));
        QDir().mkpath(QStringLiteral(ORBELA_SCREENSHOT_DIR));
        const QString file = QStringLiteral(ORBELA_SCREENSHOT_DIR "/manager.png");
        QVERIFY(window->bodyWindow()->grab().save(file));
        qInfo("manager picture: %s", qPrintable(file));
    }
};

ORBELA_WEB_TEST_MAIN(TestGameRoadInClient)
#include "TestGameRoadInClient.moc"
