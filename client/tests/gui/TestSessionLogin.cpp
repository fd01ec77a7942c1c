#include "core/AppFolders.h"
#include "gui/AvatorForm.h"
#include "gui/NetworkPicture.h"
#include "gui/web/WebActivityForm.h"
#include "gui/web/WebExchangeForm.h"
#include "gui/web/WebGameForm.h"
#include "gui/web/WebPushForm.h"
#include "tests/LogCapture.h"
#include "tests/PeakMemory.h"
#include "tests/gui/StartedClient.h"
#include "tests/gui/WebTestMain.h"

#include <QImage>
#include <QLabel>
#include <QScopeGuard>
#include <QSemaphore>
#include <QUrlQuery>
#include <QtTest>

// The logged-in user on the main window: the login applied, the avatar
// picture, the user's resources and the online time, the logout and the exit.
class TestSessionLogin : public QObject
{
    Q_OBJECT

private:
    StoreServer server;
    QScopedPointer<OrbelaDialog> window;

    QString avatarUrl(const QString &query) const { return server.baseUrl() + "/avatar?uid=10001" + query; }

    int onlineTimePosts(const QString &uid) const
    {
        return server.requestsWith(QStringLiteral("/api/CurrentOnlineLength"), QStringLiteral("uid"), uid);
    }

    int userResourceRequests(const QString &uid) const
    {
        int count = 0;
        for (const QJsonObject &request : server.requests(QStringLiteral("/api/getUserResource")))
            count += QUrlQuery(request.value("query").toString()).queryItemValue("uid") == uid;
        return count;
    }

    void logIn()
    {
        window->downloadAvator(QStringLiteral("10001"), QStringLiteral("测试玩家"), avatarUrl(QString()));
        window->callLoginCallback();
        WAIT_VERIFY(window->onlineSession().onlineSeconds() >= 0, 10000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(server.start(), qPrintable(server.error()));
        QVERIFY(prepareStartedClient(server));
    }

    void init()
    {
        forgetClientState();
        QVERIFY(server.clearFaults());
        server.clearLog();
        QDir(getUserDataDir() + QStringLiteral("10001")).removeRecursively();
        window.reset(startClient());
    }

    void cleanup() { window.reset(); }

    // The name shows at once; the picture is saved whether the address
    // redirects to it or answers with it.
    void avatarIsSaved_data()
    {
        QTest::addColumn<QString>("query");
        QTest::newRow("redirected") << "";
        QTest::newRow("direct") << "&direct=1";
    }

    void avatarIsSaved()
    {
        QFETCH(QString, query);
        const QString file = avatarFilePath(QStringLiteral("10001"), QStringLiteral("测试玩家"));
        QVERIFY(file.startsWith(getUserDataDir() + QStringLiteral("10001/")));
        window->downloadAvator(QStringLiteral("10001"), QStringLiteral("测试玩家"), avatarUrl(query));
        QCOMPARE(AvatorForm::instance()->findChild<QLabel *>("lb_user_name")->text(), QStringLiteral("测试玩家"));
        WAIT_VERIFY(QFile::exists(file), 10000);
        const QImage saved(file);
        QCOMPARE(saved.size(), QSize(48, 48));
        // The panel shows the picture, cut round: the centre has the avatar's gold.
        WAIT_VERIFY(QColor(AvatorForm::instance()->composedAvatar().pixel(31, 31)).red() > 150, 5000);
    }

    // A picture that is too large, declares too many pixels or does not
    // decode is never shown or saved: the default stays, with one log line.
    void hostileAvatarKeepsTheDefault_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("logLine");
        const QString refused = QStringLiteral("^\\[Mivo\\] the picture of the avatar is not shown: ");
        QTest::newRow("declared 30000x30000") << "/download/pics/huge.png" << refused + "it declares 30000x30000";
        QTest::newRow("truncated") << "/download/pics/truncated.png" << refused;
        QTest::newRow("not a picture") << "/download/pics/not-a-picture.png" << refused;
        QTest::newRow("file over 16 MiB") << "" << "is over 16777216 bytes: given up$";
        QTest::newRow("file over 16 MiB, no length") << "chunked" << "is over 16777216 bytes: given up$";
        QTest::newRow("gzip bomb") << "gzip-bomb" << "is encoded \\(gzip\\): given up$";
        const QString notDecoded = refused + "it is no PNG, JPEG, GIF or BMP picture$";
        QTest::newRow("ICO holding a 16000x16000 PNG, named .png") << "/download/pics/icon-bomb.png" << notDecoded;
        QTest::newRow("TIFF") << "/download/pics/picture.tiff" << notDecoded;
        QTest::newRow("SVG") << "/download/pics/picture.svg" << notDecoded;
        QTest::newRow("GIF frame past its screen")
            << "/download/pics/frame-past-screen.gif" << refused + "a frame of 5000x5000 pixels lies outside its 16x16 screen$";
    }

    void hostileAvatarKeepsTheDefault()
    {
        QFETCH(QString, picture);
        QFETCH(QString, logLine);
        const QString route = QStringLiteral("/download/pics/avatar.png");
        if (picture.startsWith(QLatin1Char('/'))) {
            QVERIFY(server.setFault(route, QStringLiteral("answer:") + picture));
        } else if (picture == QLatin1String("gzip-bomb")) {
            QVERIFY(server.setFault(route, picture));
        } else {
            // The real picture and then 17 MiB more, delivered as picture says.
            QFile small(server.filePath(route));
            QVERIFY(small.open(QIODevice::ReadOnly));
            QVERIFY(server.setAnswer(route, "big.png", small.readAll() + QByteArray(17 * 1024 * 1024, '\0'), picture));
        }
        LogCapture log;
        window->downloadAvator(QStringLiteral("10001"), QStringLiteral("测试玩家"), avatarUrl(QString()));
        const QImage defaultAvatar = AvatorForm::instance()->composedAvatar();
        WAIT_VERIFY(LogCapture::count(QRegularExpression(logLine)) == 1, 10000);
        QTest::qWait(200);
        QCOMPARE(LogCapture::count(QRegularExpression(QStringLiteral("avatar|picture"))), 1);
        QCOMPARE(server.requests(route).size(), 1);
        QVERIFY(!QFile::exists(avatarFilePath(QStringLiteral("10001"), QStringLiteral("测试玩家"))));
        QCOMPARE(AvatorForm::instance()->composedAvatar(), defaultAvatar);
        QCOMPARE(server.requests(route).first().value("accept_encoding").toString(), QStringLiteral("identity"));
        QVERIFY2(peakResidentMiB() < kBoundedPeakMiB, qPrintable(QString::number(peakResidentMiB())));
    }

    // A picture still decoding when the user logs in again is dropped: it is
    // neither saved nor shown for the newer login.
    void avatarDecodedAfterANewerLoginIsDropped()
    {
        const int watchersBefore = window->findChildren<QFutureWatcherBase *>().size();
        // Both picture threads held, so the decode waits for the test.
        QSemaphore gate;
        for (int i = 0; i < 2; ++i)
            QtConcurrent::run(&NetworkPicture::threads(), [&gate]() { gate.acquire(); });
        // A check failing before the release must not leave the threads held for good.
        const auto releaseOnReturn = qScopeGuard([&gate]() { gate.release(2 - gate.available()); });
        window->downloadAvator(QStringLiteral("10001"), QStringLiteral("测试玩家"), avatarUrl(QString()));
        const QImage defaultAvatar = AvatorForm::instance()->composedAvatar();
        WAIT_VERIFY(window->findChildren<QFutureWatcherBase *>().size() == watchersBefore + 1, 10000);
        window->downloadAvator(QStringLiteral("10001"), QStringLiteral("新的名字"), QString());
        gate.release(2);
        WAIT_VERIFY(window->findChildren<QFutureWatcherBase *>().size() == watchersBefore, 10000);
        QVERIFY(NetworkPicture::threads().waitForDone(5000));
        QTest::qWait(100);
        QVERIFY(!QFile::exists(avatarFilePath(QStringLiteral("10001"), QStringLiteral("测试玩家"))));
        QVERIFY(!QFile::exists(avatarFilePath(QStringLiteral("10001"), QStringLiteral("新的名字"))));
        QCOMPARE(AvatorForm::instance()->composedAvatar(), defaultAvatar);
        QCOMPARE(AvatorForm::instance()->findChild<QLabel *>("lb_user_name")->text(), QStringLiteral("新的名字"));
    }

    // An avatar host that never answers is given up while the client goes on.
    void silentAvatarHostIsGivenUp()
    {
        QVERIFY(server.setFault(QStringLiteral("/avatar"), QStringLiteral("no-answer")));
        LogCapture log;
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&ticks]() { ++ticks; });
        ticker.start(100);
        QElapsedTimer clock;
        clock.start();
        window->downloadAvator(QStringLiteral("10001"), QStringLiteral("测试玩家"), avatarUrl(QString()));
        QVERIFY(clock.elapsed() < 1000);
        // The resources still come.
        WAIT_VERIFY(window->onlineSession().onlineSeconds() >= 0, 10000);
        QCOMPARE(server.requests(QStringLiteral("/avatar")).size(), 1);
        // Given up after 5 s, with its log line.
        WAIT_VERIFY(LogCapture::count(QRegularExpression(QStringLiteral("/avatar took over 5000 ms: given up$"))) == 1,
                    8000);
        QVERIFY2(clock.elapsed() < 6000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!QFile::exists(avatarFilePath(QStringLiteral("10001"), QStringLiteral("测试玩家"))));
        // The client's own timers went on meanwhile.
        QVERIFY(ticks >= 40);
    }

    // Counting starts with the user's resources; the balances show.
    void resourcesStartTheCounting()
    {
        QCOMPARE(window->onlineSession().onlineSeconds(), -1);
        logIn();
        QCOMPARE(userResourceRequests(QStringLiteral("10001")), 1);
        QCOMPARE(AvatorForm::instance()->findChild<QLabel *>("lb_wanbi")->text(), QStringLiteral("玩币：520"));
        QCOMPARE(AvatorForm::instance()->findChild<QLabel *>("lb_wanpiao")->text(), QStringLiteral("玩票：30"));
        QCOMPARE(window->userCentralUrl(), server.baseUrl() + QStringLiteral("/client/user?uid=10001"));
    }

    // Logging out tells the four pages, posts the online time once with the
    // user's id, and nothing more after it.
    void logoutPostsTheOnlineTimeOnce()
    {
        const std::initializer_list<WebFormBase *> pages{WebGameForm::instance(), WebActivityForm::instance(),
                                                         WebExchangeForm::instance(), WebPushForm::instance()};
        for (WebFormBase *page : pages)
            QVERIFY(waitForPage(page, QStringLiteral("/client/")));
        // The login reloads the store page; the logout goes to the new document.
        QSignalSpy storeReloaded(WebGameForm::instance(), &WebFormBase::sendLoadFinished);
        logIn();
        WAIT_VERIFY(storeReloaded.size() == 1, 10000);
        AvatorForm::instance()->onMenuLogOut();
        QVERIFY(window->getUserId().isEmpty());
        QCOMPARE(window->onlineSession().onlineSeconds(), -1);
        WAIT_COMPARE(onlineTimePosts(QStringLiteral("10001")), 1, 10000);
        // No page sent a "login" link: the callbacks have nothing between their parentheses.
        for (WebFormBase *page : pages)
            WAIT_VERIFY(pageCalls(page->webPage()).contains(QStringLiteral("logout_callback:null")), 10000);
        // The ten-minute tick after the logout: the online total, no online time.
        const int totals = server.requests(QStringLiteral("/client/api/ajaxGetOnlineTotal")).size();
        window->getConcurrentUsers();
        WAIT_COMPARE(server.requests(QStringLiteral("/client/api/ajaxGetOnlineTotal")).size(), totals + 1, 10000);
        QCOMPARE(server.requests(QStringLiteral("/api/CurrentOnlineLength")).size(), 1);
        QVERIFY(!AvatorForm::instance()->isLoggedIn());
    }

    // Resources that arrive after the logout do not start counting again.
    void lateResourcesAfterLogoutAreIgnored()
    {
        QVERIFY(server.setFault(QStringLiteral("/api/getUserResource"), QStringLiteral("delay-headers:1")));
        LogCapture log;
        window->downloadAvator(QStringLiteral("10001"), QStringLiteral("测试玩家"), QString());
        window->logout();
        // The answer comes a second later; the count must stay -1 past it.
        WAIT_VERIFY(!LogCapture::lines().filter(QStringLiteral("[Mivo] resources of a user no longer logged in ignored: 10001")).isEmpty()
                        || window->onlineSession().onlineSeconds() >= 0, 10000);
        QCOMPARE(window->onlineSession().onlineSeconds(), -1);
        QCOMPARE(userResourceRequests(QStringLiteral("10001")), 1);
    }

    void exitWhileLoggedInPostsOnce()
    {
        logIn();
        QSignalSpy quit(window.data(), &OrbelaDialog::quitRequested);
        window->ExitOrbela();
        QVERIFY(quit.wait(10000));
        QCOMPARE(onlineTimePosts(QStringLiteral("10001")), 1);
        QCOMPARE(server.requests(QStringLiteral("/api/CurrentOnlineLength")).size(), 1);
    }

    void exitWhileLoggedOutPostsNone()
    {
        QSignalSpy quit(window.data(), &OrbelaDialog::quitRequested);
        window->ExitOrbela();
        QVERIFY(quit.wait(10000));
        QCOMPARE(server.requests(QStringLiteral("/api/CurrentOnlineLength")).size(), 0);
    }
};

ORBELA_WEB_TEST_MAIN(TestSessionLogin)
#include "TestSessionLogin.moc"
