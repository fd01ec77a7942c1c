// The body window: its five pages, and how it stays under the title bar.
// Runs on an X server (Xvfb), where window stacking is real.

#include "core/AppSettings.h"
#include "gui/BackgroundDialog.h"
#include "gui/OrbelaDialog.h"
#include "tests/gui/PopupAnswers.h"
#include "tests/StoreServer.h"
#include "gui/web/WebActivityForm.h"
#include "gui/web/WebEnginePage.h"
#include "gui/web/WebEngineView.h"
#include "gui/web/WebExchangeForm.h"
#include "gui/web/WebGameForm.h"
#include "tests/gui/WebTestMain.h"
#include "gui/web/webUserCentralForm.h"

#include <QFile>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>

namespace {
// The client's top-level windows as the X server stacks them, topmost first.
QList<WId> stackingTopFirst()
{
    QProcess query;
    query.start(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-children")});
    if (!query.waitForFinished(10000))
        return {};
    QList<WId> order;
    const QRegularExpression child(QStringLiteral("^\\s+(0x[0-9a-f]+) "));
    for (const QString &line : QString::fromLocal8Bit(query.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = child.match(line);
        if (match.hasMatch())
            order << WId(match.captured(1).toULongLong(nullptr, 16));
    }
    return order;
}

int onlyVisiblePage(const BackgroundDialog *body)
{
    int shown = -1;
    for (int i = 0; i < 5; ++i) {
        if (body->page(i)->isVisible()) {
            if (shown != -1)
                return -2;
            shown = i;
        }
    }
    return shown;
}
} // namespace

class TestBackgroundDialog : public QObject
{
    Q_OBJECT

private:
    StoreServer server;
    QScopedPointer<OrbelaDialog> titleBar;

    BackgroundDialog *body() const { return titleBar->bodyWindow(); }

    // The title bar lies over the body's top 74 pixels, at the same corner and width.
    void verifyTitleBarCoversBody()
    {
        const QRect b = body()->geometry();
        QTRY_COMPARE(titleBar->geometry(), QRect(b.x(), b.y(), b.width(), OrbelaDialog::kTitleBarHeight));
        for (int i = 0; i < 5; ++i)
            QCOMPARE(body()->page(i)->geometry(), QRect(QPoint(0, 0), b.size()));
    }

    bool titleBarIsDirectlyAboveBody() const
    {
        const QList<WId> order = stackingTopFirst();
        const int top = order.indexOf(titleBar->winId());
        const int under = order.indexOf(body()->winId());
        return top >= 0 && under == top + 1;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(QGuiApplication::platformName() == QLatin1String("xcb"), "run this test under Xvfb");
        QVERIFY2(server.start(), qPrintable(server.error()));
        server.serveAllHosts();
        // The window alone: no update check, no services.
        OrbelaDialog::setStartUpChecksEnabled(false);
    }

    void init()
    {
        QFile::remove(settingsFilePath());
        titleBar.reset(new OrbelaDialog(nullptr));
        body()->setGeometry(60, 40, 1196, 700);
        titleBar->setGeometry(60, 40, 1196, OrbelaDialog::kTitleBarHeight);
        titleBar->show();
        QVERIFY(QTest::qWaitForWindowExposed(titleBar.data()));
        QVERIFY(QTest::qWaitForWindowExposed(body()));
    }

    void cleanup() { titleBar.reset(); }

    void holdsTheFivePagesInOrder()
    {
        QCOMPARE(body()->objectName(), QStringLiteral("BackgroundDialog"));
        QCOMPARE(BackgroundDialog::instance(), body());
        QVERIFY(body()->windowFlags().testFlag(Qt::Tool));
        QVERIFY(body()->windowFlags().testFlag(Qt::FramelessWindowHint));
        // The title bar deletes the body; nothing else may.
        QVERIFY(!body()->testAttribute(Qt::WA_DeleteOnClose));
        const QStringList names = {QStringLiteral("mangerWidget"), QStringLiteral("webGameWidget"),
                                   QStringLiteral("webActivityWidget"), QStringLiteral("webExchangeWidget"),
                                   QStringLiteral("webUserCentralWidget")};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(body()->page(i)->objectName(), names[i]);
            QCOMPARE(body()->page(i)->parentWidget(), body());
        }
        QCOMPARE(body()->page(1), WebGameForm::instance());
        QCOMPARE(body()->page(2), WebActivityForm::instance());
        QCOMPARE(body()->page(3), WebExchangeForm::instance());
        QCOMPARE(body()->page(4), webUserCentralForm::instance());
    }

    void storePageIsTheOnlyOneShownAfterLoading()
    {
        QCOMPARE(onlyVisiblePage(body()), 1);
        // Whatever the other pages do while they load.
        const QStringList titles = {QStringLiteral("游戏商城"), QStringLiteral("精彩活动"), QStringLiteral("兑换中心"),
                                    QStringLiteral("游戏商城")};
        for (int i = 1; i < 5; ++i) {
            auto *web = static_cast<WebFormBase *>(body()->page(i));
            QTRY_COMPARE_WITH_TIMEOUT(web->webView()->title(), titles[i - 1], 20000);
        }
        QCOMPARE(onlyVisiblePage(body()), 1);
    }

    void pageSwitchShowsOnePage_data()
    {
        QTest::addColumn<int>("page");
        for (int i = 0; i < 5; ++i)
            QTest::newRow(qPrintable(QStringLiteral("page %1").arg(i))) << i;
    }

    void pageSwitchShowsOnePage()
    {
        QFETCH(int, page);
        const std::function<void()> switches[5] = {
            [this]() { body()->showManagerPage(); },  [this]() { body()->showGamePage(); },
            [this]() { body()->showActivityPage(); }, [this]() { body()->showExchangePage(); },
            [this]() { body()->showUserCentralPage(); }};
        switches[page]();
        QCOMPARE(onlyVisiblePage(body()), page);
        switches[page]();
        QCOMPARE(onlyVisiblePage(body()), page);
    }

    void pagesFollowAnEmptiedAndRestoredBody()
    {
        body()->resize(0, 0);
        QTRY_COMPARE(body()->page(1)->size(), QSize(0, 0));
        body()->resize(1300, 800);
        for (int i = 0; i < 5; ++i)
            QTRY_COMPARE(body()->page(i)->geometry(), QRect(0, 0, 1300, 800));
        // The forms' views and background pictures follow too (a hidden page
        // gets its resize when it is shown).
        const std::function<void()> shows[4] = {
            [this]() { body()->showGamePage(); }, [this]() { body()->showActivityPage(); },
            [this]() { body()->showExchangePage(); }, [this]() { body()->showUserCentralPage(); }};
        for (int i = 1; i < 5; ++i) {
            shows[i - 1]();
            auto *form = static_cast<WebFormBase *>(body()->page(i));
            QCOMPARE(form->webView()->geometry(), QRect(0, 0, 1300, 800));
            QCOMPARE(form->findChild<QWidget *>(QStringLiteral("backgroundWidget"))->size(), QSize(1300, 800));
        }
    }

    void movesAndResizesWithTheTitleBar_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("drag") << "drag";
        QTest::newRow("maximise") << "maximise";
        QTest::newRow("maximise and restore") << "maximise and restore";
        QTest::newRow("minimise and restore") << "minimise and restore";
        QTest::newRow("hide and show") << "hide and show";
    }

    void movesAndResizesWithTheTitleBar()
    {
        QFETCH(QString, action);
        const QRect before = body()->geometry();
        if (action == QLatin1String("drag")) {
            const QPoint grab(1000, 10);
            QTest::mousePress(titleBar.data(), Qt::LeftButton, Qt::NoModifier, grab);
            QMouseEvent move(QEvent::MouseMove, grab, titleBar->mapToGlobal(grab) + QPoint(35, 50), Qt::NoButton,
                             Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(titleBar.data(), &move);
            QTest::mouseRelease(titleBar.data(), Qt::LeftButton, Qt::NoModifier, grab);
            QTRY_COMPARE(body()->pos(), before.topLeft() + QPoint(35, 50));
        } else if (action.startsWith(QLatin1String("maximise"))) {
            titleBar->findChild<QPushButton *>(QStringLiteral("maxBtn"))->click();
            QTRY_COMPARE(body()->geometry(), QGuiApplication::primaryScreen()->availableGeometry());
            if (action.endsWith(QLatin1String("restore"))) {
                verifyTitleBarCoversBody();
                titleBar->findChild<QPushButton *>(QStringLiteral("maxBtn"))->click();
                QTRY_COMPARE(body()->geometry(), before);
            }
        } else if (action.startsWith(QLatin1String("minimise"))) {
            titleBar->findChild<QPushButton *>(QStringLiteral("minBtn"))->click();
            QTRY_COMPARE(body()->size(), QSize(0, 0));
            titleBar->setWindowState(titleBar->windowState() & ~Qt::WindowMinimized);
            titleBar->show();
            QTRY_COMPARE(body()->geometry(), before);
        } else {
            titleBar->HideOrbela();
            // A bare X server has no tray: the hide minimises instead.
            if (titleBar->tray()->isVisible())
                QTRY_VERIFY(!body()->isVisible());
            else
                QTRY_COMPARE(body()->size(), QSize(0, 0));
            titleBar->ShowOrbela();
            QVERIFY(QTest::qWaitForWindowExposed(body()));
            QTRY_COMPARE(body()->geometry(), before);
        }
        verifyTitleBarCoversBody();
    }

    void pageLoadProgressShowsInTheTitleBar_data()
    {
        QTest::addColumn<int>("page");
        QTest::newRow("store") << 1;
        QTest::newRow("activity") << 2;
        QTest::newRow("exchange") << 3;
        QTest::newRow("user centre") << 4;
    }

    void pageLoadProgressShowsInTheTitleBar()
    {
        QFETCH(int, page);
        auto *form = static_cast<WebTabForm *>(body()->page(page));
        auto *bar = titleBar->findChild<QProgressBar *>(QStringLiteral("progressBar"));
        emit form->sendLoadProcess(40);
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->value(), 40);
        emit form->sendLoadProcess(100);
        QVERIFY(bar->isHidden());
    }

    void userCentreTabLoadsTheGivenPage()
    {
        const QString home = server.baseUrl() + QStringLiteral("/client/user?uid=10001");
        QSignalSpy loaded(webUserCentralForm::instance(), &webUserCentralForm::sendLoadFinished);
        titleBar->switchToUserCentral(home);
        QCOMPARE(onlyVisiblePage(body()), 4);
        QTRY_VERIFY_WITH_TIMEOUT(!loaded.isEmpty() && loaded.last().first().toBool(), 20000);
        QCOMPARE(webUserCentralForm::instance()->webPage()->url(), QUrl(home));
        QCOMPARE(webUserCentralForm::instance()->webView()->geometry(), QRect(QPoint(0, 0), body()->size()));
    }

    // Clicking into a page activates the body; the title bar must stay on top.
    void activatingTheBodyKeepsTheTitleBarAbove()
    {
        body()->raise();
        QTRY_VERIFY(stackingTopFirst().indexOf(body()->winId()) < stackingTopFirst().indexOf(titleBar->winId()));
        body()->activateWindow();
        QTRY_VERIFY(body()->isActiveWindow());
        QTRY_VERIFY(titleBarIsDirectlyAboveBody());

        // Clicking a tab activates both; the order holds.
        QTest::mouseClick(titleBar->findChild<QWidget *>(QStringLiteral("activityRadioBtn")), Qt::LeftButton);
        QTRY_COMPARE(onlyVisiblePage(body()), 2);
        QTRY_VERIFY(titleBarIsDirectlyAboveBody());
    }

    // Escape on the body reaches the dialog's rejection, which must neither
    // hide nor delete the body under the title bar.
    void escapeKeepsTheBody()
    {
        QPointer<BackgroundDialog> kept = body();
        titleBar->switchToManager();
        QTest::keyClick(body()->page(0), Qt::Key_Escape);
        body()->reject();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!kept.isNull());
        QVERIFY(kept->isVisible());
        titleBar->switchToActivity();
        QCOMPARE(onlyVisiblePage(body()), 2);
    }

    // A close request that reaches the body directly must not destroy it under
    // the title bar: it becomes the client's exit.
    void closeRequestKeepsTheBody()
    {
        QPointer<BackgroundDialog> kept = body();
        answerNextPopup("pup_okBtn");
        QCloseEvent close;
        QApplication::sendEvent(body(), &close);
        QVERIFY(!close.isAccepted());
        // It asks the exit question; confirmed, the exit hides both windows and saves the window state.
        QTRY_VERIFY(!titleBar->isVisible());
        QVERIFY(!kept.isNull());
        QVERIFY(!kept->isVisible());
        QCOMPARE(BackgroundDialog::instance(), kept.data());
        QVERIFY(QFile::exists(settingsFilePath()));
    }
};

ORBELA_WEB_TEST_MAIN(TestBackgroundDialog)
#include "TestBackgroundDialog.moc"
