#include "core/game/LocalDatabase.h"
#include "core/game/VRAppInfo.h"
#include "gui/AvatorForm.h"
#include "gui/account/loginDialog.h"
#include "gui/popups/PopupWindowDialog.h"
#include "gui/popups/pushWebDialog.h"
#include "gui/web/WebActivityForm.h"
#include "gui/web/WebEngineView.h"
#include "gui/web/WebExchangeForm.h"
#include "gui/web/WebGameForm.h"
#include "gui/web/WebPushForm.h"
#include "gui/web/webPopupForm.h"
#include "gui/web/webUserCentralForm.h"
#include "tests/LogCapture.h"
#include "tests/gui/PopupAnswers.h"
#include "tests/gui/StartedClient.h"
#include "tests/gui/UrlOpenRecorder.h"
#include "tests/gui/WebTestMain.h"

#include <QDesktopServices>
#include <QPointer>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QFileInfo>
#include <QLabel>
#include <QRadioButton>
#include <QUrlQuery>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>

namespace {

QString jumpCall(const QString &from, const QString &command)
{
    return QStringLiteral("jump_callback:{\"from\":\"%1\",\"command\":\"%2\"}").arg(from, command);
}
} // namespace

// The pages' links in the running client against the stand-in: each form's
// commands clicked on a real page, with what they did; and a corpus of
// hostile links that must all be refused.
class TestPageLinkDispatch : public QObject
{
    Q_OBJECT

private:
    StoreServer server;
    QScopedPointer<OrbelaDialog> window;
    UrlOpenRecorder browser;
    QTemporaryDir scratch;

    QString url(const QString &path) const { return server.baseUrl() + path; }

    WebFormBase *formNamed(const QString &name) const
    {
        if (name == QLatin1String("G"))
            return WebGameForm::instance();
        if (name == QLatin1String("A"))
            return WebActivityForm::instance();
        if (name == QLatin1String("E"))
            return WebExchangeForm::instance();
        if (name == QLatin1String("U"))
            return WebPushForm::instance();
        if (name == QLatin1String("C"))
            return webUserCentralForm::instance();
        PopupWindowDialog *popup = PopupWindowDialog::instance();
        return popup ? popup->findChild<webPopupForm *>(QStringLiteral("webContentWidget")) : nullptr;
    }

    // Shows the form's test page, as a person would see it.
    WebFormBase *showPage(const QString &name)
    {
        if (name == QLatin1String("G")) {
            window->switchToGame();
            WebGameForm::instance()->loadUrl(url("/client/commands?page=index"));
        } else if (name == QLatin1String("A")) {
            window->switchToActivity();
            WebActivityForm::instance()->loadUrl(url("/client/commands?page=activity"));
        } else if (name == QLatin1String("E")) {
            window->switchToExchange();
        } else if (name == QLatin1String("C")) {
            window->switchToUserCentral(url("/client/user?uid=10001"));
        } else if (name == QLatin1String("P")) {
            window->onFeedbackClicked();
        }
        WebFormBase *form = formNamed(name);
        const QString part = name == "G" ? "commands?page=index" : name == "A" ? "commands?page=activity"
                             : name == "E" ? "/client/exchange" : name == "U" ? "/client/task"
                             : name == "C" ? "/client/user" : "/feedback/";
        if (!form || !waitForPage(form, part))
            qWarning("the page of %s did not load", qPrintable(name));
        return form;
    }

    // A real mouse click on the element, scrolled into view. The page may still be (re)loading when it is asked, so its element is
    // looked for until it is there and inside the view.
    bool click(WebFormBase *form, const QString &elementId)
    {
        const QString script = QStringLiteral("(function(){var e=document.getElementById('%1');if(!e)return [];"
                                              "e.scrollIntoView({block:'center'});var r=e.getBoundingClientRect();"
                                              "return [r.left+r.width/2,r.top+r.height/2];})()")
                                   .arg(elementId);
        QElapsedTimer clock;
        clock.start();
        QPoint centre;
        for (;;) {
            const QVariantList box = evaluateInPage(form->webPage(), script).toList();
            if (box.size() == 2) {
                centre = QPoint(box[0].toInt(), box[1].toInt());
                if (form->webView()->focusProxy() && form->webView()->rect().contains(centre))
                    break;
            }
            if (clock.elapsed() > 10000)
                return false;
            waitUntil([]() { return false; }, 100); // lets the page go on loading
        }
        QTest::mouseClick(form->webView()->focusProxy(), Qt::LeftButton, Qt::NoModifier, centre);
        return true;
    }

    QString checkedTab() const
    {
        for (const char *name : {"gameRadioBtn", "activityRadioBtn", "exchangeRadioBtn", "localRadioBtn",
                                 "userCentralRadioButton"}) {
            if (window->findChild<QRadioButton *>(QLatin1String(name))->isChecked())
                return QLatin1String(name);
        }
        return QString();
    }

    int downloadHits() const { return server.requestsWith("/hits", "status", "download"); }
    int visibleLoginDialogs() const
    {
        int count = 0;
        for (QWidget *widget : QApplication::topLevelWidgets())
            count += qobject_cast<loginDialog *>(widget) && widget->isVisible();
        return count;
    }

    // What moves the panel, for a failure that left it part way.
    static QString panelMoves(QWidget *panel)
    {
        QStringList moves;
        for (QPropertyAnimation *move : panel->findChildren<QPropertyAnimation *>()) {
            moves << QStringLiteral("%1 state %2 at %3/%4 ms towards %5 wide")
                         .arg(QString::fromLatin1(move->propertyName()))
                         .arg(move->state())
                         .arg(move->currentTime())
                         .arg(move->duration())
                         .arg(move->endValue().toRect().width());
        }
        return moves.isEmpty() ? QStringLiteral("none") : moves.join(QStringLiteral("; "));
    }

    void logIn()
    {
        window->downloadAvator(QStringLiteral("10001"), QStringLiteral("测试玩家"), QString());
        QVERIFY(waitUntil([this]() { return window->onlineSession().onlineSeconds() >= 0; }, 10000));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(scratch.isValid());
        QVERIFY2(server.start(), qPrintable(server.error()));
        QVERIFY(prepareStartedClient(server));
        QFile::remove(server.dataPath() + QStringLiteral("/links.txt"));
        QVERIFY(QFile::copy(QStringLiteral(HOSTILE_LINKS_FILE), server.dataPath() + QStringLiteral("/links.txt")));
        for (const char *scheme : {"http", "https", "file", "ftp", "mivo", "javascript"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), &browser, "open");
    }

    void cleanupTestCase()
    {
        for (const char *scheme : {"http", "https", "file", "ftp", "mivo", "javascript"})
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }

    void init()
    {
        forgetClientState();
        browser.opened.clear();
        window.reset(startClient());
        for (WebFormBase *form : std::initializer_list<WebFormBase *>{WebExchangeForm::instance(), WebPushForm::instance()})
            QVERIFY(waitForPage(form, QStringLiteral("/client/")));
        // The panel has slid up.
        WAIT_VERIFY(window->pushPanelWindow()->findChildren<QPropertyAnimation *>().isEmpty(), 5000);
        QCOMPARE(window->pushPanelWindow()->height(), 155);
        server.clearLog();
    }

    void cleanup()
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (qobject_cast<loginDialog *>(widget) || qobject_cast<PopupWindowDialog *>(widget))
                widget->close();
        }
        window.reset();
    }

    // (handler x command): a real click on the form's page, and what the client did.
    void linksDoTheirCommand_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("element");
        QTest::addColumn<QString>("effect");
        QTest::addColumn<QString>("expected");
        QTest::newRow("G navigate2activity") << "G" << "cmd-navigate2activity" << "tab+jump:A"
                                             << "activityRadioBtn|" + jumpCall("index", "navigate2activity");
        QTest::newRow("G navigate2game") << "G" << "cmd-navigate2game" << "tab+jump:G"
                                         << "gameRadioBtn|" + jumpCall("index", "navigate2game");
        QTest::newRow("G runexchangejumpcallback") << "G" << "cmd-runexchangejumpcallback" << "tab+jump:E"
                                                   << "gameRadioBtn|" + jumpCall("index", "runexchangejumpcallback");
        QTest::newRow("G installing") << "G" << "cmd-installing" << "tab" << "localRadioBtn";
        QTest::newRow("G login") << "G" << "cmd-login" << "login" << "1";
        QTest::newRow("G user_info_reload") << "G" << "cmd-user_info_reload" << "request" << "/api/getUserResource";
        QTest::newRow("G download") << "G" << "download-1001" << "hit" << "1001 10001";
        QTest::newRow("G navigate2push") << "G" << "cmd-navigate2push" << "push+jump" << "1102|" + jumpCall("index", "navigate2push");
        QTest::newRow("G openqqurl") << "G" << "cmd-openqqurl" << "browser" << "/client/version";
        QTest::newRow("A navigate2exchange") << "A" << "cmd-navigate2exchange" << "tab+jump:E"
                                             << "exchangeRadioBtn|" + jumpCall("activity", "navigate2exchange");
        QTest::newRow("A rungamejumpcallback") << "A" << "cmd-rungamejumpcallback" << "tab+jump:G"
                                               << "activityRadioBtn|" + jumpCall("activity", "rungamejumpcallback");
        QTest::newRow("A download") << "A" << "download-1003" << "hit" << "1003 ";
        QTest::newRow("E navigate2game") << "E" << "cmd-navigate2game" << "tab+jump:G"
                                         << "gameRadioBtn|" + jumpCall("exchange", "navigate2game");
        QTest::newRow("E user_info_reload") << "E" << "cmd-user_info_reload" << "popup" << "5";
        QTest::newRow("E login") << "E" << "cmd-login" << "login" << "1";
        QTest::newRow("U task_flod") << "U" << "cmd-task_flod" << "push" << "46";
        QTest::newRow("U need2getonlinelengthdata") << "U" << "cmd-need2getonlinelengthdata" << "request"
                                                    << "/api/CurrentOnlineLength";
        QTest::newRow("U navigate2activity") << "U" << "cmd-navigate2activity" << "tab+jump:A"
                                             << "activityRadioBtn|" + jumpCall("task", "navigate2activity");
        QTest::newRow("C openqqurl") << "C" << "cmd-openqqurl" << "browser" << "/client/version";
        QTest::newRow("P feedback_close") << "P" << "cmd-feedback_close" << "popup closed" << "";
        QTest::newRow("P feedback_success") << "P" << "cmd-feedback_success" << "popup closed" << "反馈成功，我们会尽快给您回复!";
        // The feedback form goes to the whole link, without its text as a query.
        QTest::newRow("P feedback form") << "P" << "feedback-submit" << "popup closed" << "反馈成功，我们会尽快给您回复!";
    }

    void linksDoTheirCommand()
    {
        QFETCH(QString, form);
        QFETCH(QString, element);
        QFETCH(QString, effect);
        QFETCH(QString, expected);
        logIn();
        QPointer<WebFormBase> page = showPage(form);
        QVERIFY(page);
        QPointer<PopupWindowDialog> popupBefore = PopupWindowDialog::instance();
        // The thank-you message is modal: a timer answers it and keeps its text.
        QString shownMessage;
        if (effect == QLatin1String("popup closed") && !expected.isEmpty())
            answerNextPopup("pup_okBtn", PopupWindowDialog::Information, &shownMessage);
        QVERIFY2(click(page, element), qPrintable(element));

        if (effect.startsWith(QLatin1String("tab"))) {
            const QString tab = expected.section('|', 0, 0);
            WAIT_COMPARE(checkedTab(), tab, 10000);
        }
        if (effect.contains(QLatin1String("jump"))) {
            const QString target = effect.contains(':') ? effect.section(':', 1) : QStringLiteral("U");
            WAIT_VERIFY(pageCalls(formNamed(target)->webPage()).contains(expected.section('|', 1)), 10000);
        }
        if (effect == QLatin1String("login"))
            WAIT_COMPARE(visibleLoginDialogs(), 1, 10000);
        if (effect.startsWith(QLatin1String("push"))) {
            const int width = expected.section('|', 0, 0).toInt();
            if (!waitUntil([&]() { return window->pushPanelWindow()->width() == width; }, 10000))
                qWarning().noquote().nospace() << "the panel (open: " << window->isPushPanelExpanded()
                                                 << ") is moved by: " << panelMoves(window->pushPanelWindow());
            QCOMPARE(window->pushPanelWindow()->width(), width);
        }
        if (effect == QLatin1String("request"))
            WAIT_COMPARE(server.requests(expected).size(), 1, 10000);
        if (effect == QLatin1String("hit")) {
            WAIT_COMPARE(downloadHits(), 1, 10000);
            const QJsonObject hit = server.requests("/hits").last().value("form").toObject();
            QCOMPARE(hit.value("type_id").toString() + ' ' + hit.value("user_id").toString(), expected);
        }
        if (effect == QLatin1String("browser")) {
            WAIT_COMPARE(browser.opened.size(), 1, 10000);
            QCOMPARE(browser.opened.first(), QUrl(url(expected)));
        }
        if (effect == QLatin1String("popup")) {
            WAIT_VERIFY(PopupWindowDialog::instance() && PopupWindowDialog::instance() != popupBefore
                            && PopupWindowDialog::instance()->isVisible(), 10000);
            QCOMPARE(PopupWindowDialog::instance()->pageKindShown(), expected.toInt());
        }
        if (effect == QLatin1String("popup closed")) {
            // A closed popup deletes itself.
            WAIT_VERIFY(!popupBefore || !popupBefore->isVisible(), 10000);
            if (!expected.isEmpty()) {
                WAIT_VERIFY(!shownMessage.isEmpty(), 10000);
                QCOMPARE(shownMessage, QStringLiteral("反馈提示：\n") + expected);
            }
        }
        if (effect != QLatin1String("browser"))
            QVERIFY(browser.opened.isEmpty());
        // Every link was refused: the page stayed where it was.
        QVERIFY(!page || !page->webPage() || page->webPage()->url().scheme() == QLatin1String("http"));
    }

    // A "%" in a value of the link's JSON, as the browser hands the link over:
    // an escape is decoded once, any other "%" stays, and the download goes on.
    void percentInALinkReachesTheRecord_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("received");
        QTest::newRow("alone") << "%" << "%";
        QTest::newRow("one digit") << "%2" << "%2";
        QTest::newRow("escape") << "%25" << "%";
        QTest::newRow("after a number") << "100%" << "100%";
        QTest::newRow("beside an escape") << "100% %E6%98%9F" << "100% 星";
    }

    void percentInALinkReachesTheRecord()
    {
        QFETCH(QString, written);
        QFETCH(QString, received);
        logIn();
        WebFormBase *page = showPage(QStringLiteral("G"));
        QVERIFY(page);
        QJsonObject game = server.game(QStringLiteral("1001"));
        game.insert(QStringLiteral("cnName"), written);
        const QString link = QStringLiteral("mivo://download#")
                             + QString::fromUtf8(QJsonDocument(game).toJson(QJsonDocument::Compact));
        const QByteArray literal = QJsonDocument(QJsonArray{link}).toJson(QJsonDocument::Compact);
        page->webPage()->runJavaScript(QStringLiteral("location.href = %1[0];").arg(QString::fromUtf8(literal)));
        WAIT_COMPARE(downloadHits(), 1, 10000);
        LocalDatabase database;
        QVERIFY(database.open());
        std::unique_ptr<VRAppInfo> stored(database.loadGame(QStringLiteral("1001")));
        database.close();
        QVERIFY(stored);
        QCOMPARE(stored->cnName, received);
    }

    // Logged out, the store's "download" asks for the login and does nothing else.
    void storeDownloadLoggedOutAsksForLogin()
    {
        WebFormBase *page = showPage(QStringLiteral("G"));
        QVERIFY(click(page, QStringLiteral("download-1002")));
        WAIT_COMPARE(visibleLoginDialogs(), 1, 10000);
        QCOMPARE(downloadHits(), 0);
        LocalDatabase database;
        QVERIFY(database.open());
        QCOMPARE(database.loadGames().size(), 0);
        database.close();
    }

    // A "login" link's argument comes back in that page's login callback.
    void loginCallbackCarriesTheLinkArgument()
    {
        WebFormBase *page = showPage(QStringLiteral("A"));
        QVERIFY(click(page, QStringLiteral("cmd-login")));
        WAIT_COMPARE(visibleLoginDialogs(), 1, 10000);
        logIn();
        window->callLoginCallback();
        WAIT_VERIFY(pageCalls(page->webPage()).contains(QStringLiteral("login_callback:{\"page\":\"activity\",\"action\":\"login\"}")),
                    10000);
    }

    // Every hostile link, as a link, a script navigation and a form, is refused
    // with its log line: no action, nothing for the browser, nothing written
    // outside the client's folder.
    void hostileLinksAreRefused()
    {
        const QDir appDir(QCoreApplication::applicationDirPath());
        const QString beside = appDir.absoluteFilePath(QStringLiteral("../orbela-sentinel-beside"));
        const QString above = appDir.absoluteFilePath(QStringLiteral("../../orbela-sentinel-above"));
        for (const QString &sentinel : {beside, above}) {
            QFile file(sentinel);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("sentinel");
        }
        const QStringList escapes{appDir.absoluteFilePath("../../orbela-escape"), appDir.absoluteFilePath("../orbela-escape"),
                                  appDir.absoluteFilePath("../../orbela-escape.sh"), QStringLiteral("/orbela-escape")};
        logIn();
        window->switchToGame();
        WebGameForm *store = WebGameForm::instance();
        store->loadUrl(url("/client/links"));
        QVERIFY(waitForPage(store, QStringLiteral("/client/links")));
        const int links = evaluateInPage(store->webPage(), "document.getElementById('link-count').textContent").toInt();
        QCOMPARE(links, 17);
        server.clearLog();
        const int dialogs = visibleLoginDialogs();
        const LogCapture log;
        int refusals = 0;
        for (int n = 0; n < links; ++n) {
            for (const char *way : {"link", "script", "form"}) {
                // The page's own clicks and submission: some links are far too long to click by position.
                const QString id = QStringLiteral("%1-%2").arg(QLatin1String(way)).arg(n);
                const char *action = QLatin1String(way) == QLatin1String("form") ? "submit" : "click";
                evaluateInPage(store->webPage(),
                               QStringLiteral("document.getElementById('%1').%2()").arg(id, QLatin1String(action)));
                ++refusals;
                QVERIFY2(waitUntil([&]() {
                             return LogCapture::count(QRegularExpression("^\\[Mivo\\] refused ")) >= refusals;
                         }, 10000),
                         qPrintable(id));
                QCOMPARE(LogCapture::count(QRegularExpression("^\\[Mivo\\] refused ")), refusals);
            }
        }
        QCOMPARE(checkedTab(), QStringLiteral("gameRadioBtn"));
        QCOMPARE(visibleLoginDialogs(), dialogs);
        QCOMPARE(downloadHits(), 0);
        QVERIFY(browser.opened.isEmpty());
        QVERIFY(pageCalls(WebGameForm::instance()->webPage()).filter("jump_callback").isEmpty());
        for (const QString &sentinel : {beside, above}) {
            QFile file(sentinel);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("sentinel"));
            file.close();
            file.remove();
        }
        for (const QString &escape : escapes)
            QVERIFY2(!QFileInfo::exists(escape), qPrintable(escape));
    }

    // The open panel takes the width of the state the window enters and stays
    // where the unfold puts it, (BW - W + 46) / 2, but never wider than the
    // body; a folded one keeps its strip at the body's right edge.
    void pushPanelFollowsTheWindowState()
    {
        pushWebDialog *panel = window->pushPanelWindow();
        const QRect unfolded = panel->geometry();
        const QRect normal = window->bodyWindow()->geometry();
        QCOMPARE(unfolded, QRect((normal.width() - 1102 + 46) / 2, normal.height() - 155, 1102, 155));
        auto *maximise = window->findChild<QPushButton *>(QStringLiteral("maxBtn"));
        maximise->click();
        const QRect body = window->bodyWindow()->geometry();
        // This screen is narrower than the maximised width, 1642: the panel takes the body's.
        QVERIFY(body.width() < 1642);
        WAIT_COMPARE(panel->geometry(), QRect(0, body.height() - 155, body.width(), 155), 5000);
        maximise->click();
        WAIT_COMPARE(panel->width(), 1102, 5000);
        QCOMPARE(panel->geometry(), unfolded);
        window->foldPushPanel();
        WAIT_VERIFY(panel->findChildren<QPropertyAnimation *>().isEmpty(), 5000);
        QCOMPARE(panel->width(), 46);
        QVERIFY(!window->isPushPanelExpanded());
        maximise->click();
        const QRect maximised = window->bodyWindow()->geometry();
        WAIT_COMPARE(panel->geometry(), QRect(maximised.width() - 46, maximised.height() - 155, 46, 155), 5000);
        maximise->click();
        window->expandPushPanel();
        WAIT_COMPARE(panel->geometry(), unfolded, 5000);
        QVERIFY(window->isPushPanelExpanded());
    }

    // Script text in a jump argument is a plain string for the target page.
    void scriptInAJumpArgumentStaysText()
    {
        WebFormBase *page = showPage(QStringLiteral("A"));
        const QString title = page->webPage()->title();
        page->webPage()->runJavaScript(QStringLiteral("location.href = \"mivo://navigate2game#1);document.title='pwned';(\""));
        WebGameForm *store = WebGameForm::instance();
        WAIT_VERIFY(pageCalls(store->webPage()).contains(QStringLiteral("jump_callback:1);document.title='pwned';(")),
                    10000);
        QCOMPARE(evaluateInPage(store->webPage(), "typeof orbelaCalls[orbelaCalls.length-1].value").toString(),
                 QStringLiteral("string"));
        QVERIFY(store->webPage()->title() != QLatin1String("pwned"));
        QCOMPARE(page->webPage()->title(), title);
    }
};

ORBELA_WEB_TEST_MAIN(TestPageLinkDispatch)
#include "TestPageLinkDispatch.moc"
