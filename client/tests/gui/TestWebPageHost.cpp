// The store pages in their forms, against the real store stand-in on loopback.

#include "tests/LogCapture.h"
#include "tests/StoreServer.h"
#include "gui/web/WebEnginePage.h"
#include "gui/web/WebEngineView.h"
#include "gui/web/WebGameForm.h"
#include "gui/web/WebPushForm.h"
#include "tests/gui/PageEvaluation.h"
#include "tests/gui/UrlOpenRecorder.h"
#include "tests/gui/WebTestMain.h"
#include "gui/web/webUserCentralForm.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QUrl>

namespace {
// The handlers themselves are the forms'; this records what reached them.
template <class Form>
class Recording : public Form
{
public:
    QList<QUrl> urls;
    QList<bool> answers;
    bool OnLinkClicked(const QUrl &url) override
    {
        const bool answer = Form::OnLinkClicked(url);
        urls << url;
        answers << answer;
        return answer;
    }
};
using RecordingGameForm = Recording<WebGameForm>;
using RecordingPushForm = Recording<WebPushForm>;

QJsonObject jsonObject(const QString &text)
{
    return QJsonDocument::fromJson(text.toUtf8()).object();
}
} // namespace

class TestWebPageHost : public QObject
{
    Q_OBJECT

private:
    StoreServer server;
    QScopedPointer<RecordingGameForm> form;
    UrlOpenRecorder browser;

    QString storeUrl(const QString &path) const { return server.baseUrl() + path; }
    WebEnginePage *page() const { return form->webPage(); }

    // Marks the document, so that a navigation (a new document) shows.
    void markDocument() { evaluateInPage(page(), QStringLiteral("window.stayedHere = 42")); }
    bool documentStayed() const { return evaluateInPage(page(), QStringLiteral("window.stayedHere")).toInt() == 42; }

    QPoint centreOf(const QString &elementId) const
    {
        const QVariantList box = evaluateInPage(page(), QStringLiteral("(function(){var r=document.getElementById('%1')"
                                                                  ".getBoundingClientRect();return [r.left+r.width/2,"
                                                                  "r.top+r.height/2];})()")
                                                       .arg(elementId))
                                     .toList();
        return box.size() == 2 ? QPoint(box[0].toInt(), box[1].toInt()) : QPoint(-1, -1);
    }

    // The page's script, standing for the store's own JavaScript.
    void runPageScript(const QString &script) { evaluateInPage(page(), script); }

private slots:
    void initTestCase()
    {
        QVERIFY2(server.start(), qPrintable(server.error()));
        qputenv("ORBELA_APP_API_HOST", server.host().toUtf8());
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &browser, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("mivo"), &browser, "open");
    }

    void cleanupTestCase()
    {
        for (const char *scheme : {"http", "https", "mivo"})
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }

    void init()
    {
        browser.opened.clear();
        form.reset(new RecordingGameForm);
        QSignalSpy loaded(form.data(), &WebGameForm::sendLoadFinished);
        form->resize(1000, 700);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.data()));
        QVERIFY(loaded.wait(20000));
        QCOMPARE(loaded.first().first().toBool(), true);
    }

    void cleanup() { form.reset(); }

    void storePageLoadsFromTheAppApiHost()
    {
        QCOMPARE(page()->url(), QUrl(storeUrl(QStringLiteral("/client/index"))));
        QCOMPARE(page()->title(), QStringLiteral("游戏商城"));
        QCOMPARE(page()->backgroundColor(), QColor(Qt::transparent));
        QCOMPARE(form->webView()->geometry(), form->rect());
        QVERIFY(page()->browserDelegate() == form.data());
        // Every request of the page went to the stand-in.
        QVERIFY(!server.requests(QStringLiteral("/client/index")).isEmpty());
    }

    void mivoNavigationReachesTheHandler_data()
    {
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("command");
        // In the scripts, %1 is the id of the page's link whose address is used.
        QTest::newRow("mouse click on a link") << "" << "download-1001" << "download";
        QTest::newRow("script click on a link") << "document.getElementById('%1').click()" << "download-1002"
                                                << "download";
        QTest::newRow("script sets location") << "location.href = document.getElementById('%1').getAttribute('href')"
                                              << "launch-1003" << "launch";
        QTest::newRow("form submission")
            << "var f = document.createElement('form'); f.method = 'get';"
               "f.action = document.getElementById('%1').getAttribute('href');"
               "document.body.appendChild(f); f.submit()"
            << "download-1004" << "download";
    }

    // The argument the page put into the link arrives unchanged, the link is
    // refused, and the failed load that follows is no failed page load.
    void mivoNavigationReachesTheHandler()
    {
        QFETCH(QString, way);
        QFETCH(QString, link);
        QFETCH(QString, command);
        markDocument();
        QSignalSpy formLoads(form.data(), &WebGameForm::sendLoadFinished);
        QSignalSpy pageLoads(page(), &QWebEnginePage::loadFinished);

        const QString sentHref =
            evaluateInPage(page(), QStringLiteral("document.getElementById('%1').getAttribute('href')").arg(link)).toString();
        if (way.isEmpty()) {
            const QPoint centre = centreOf(link);
            QVERIFY(form->webView()->rect().contains(centre));
            QTest::mouseClick(form->webView()->focusProxy(), Qt::LeftButton, Qt::NoModifier, centre);
        } else {
            runPageScript(way.arg(link));
        }
        QTRY_COMPARE_WITH_TIMEOUT(form->urls.size(), 1, 10000);

        const QUrl received = form->urls.first();
        QCOMPARE(received.scheme(), QStringLiteral("mivo"));
        QCOMPARE(received.host(), command);
        QCOMPARE(form->answers.first(), false);
        const QJsonObject sent = jsonObject(sentHref.section(QLatin1Char('#'), 1));
        QVERIFY(!sent.isEmpty());
        QCOMPARE(jsonObject(received.fragment()), sent);
        const QJsonObject game = server.game(sent.value(QStringLiteral("gameId")).toString());
        QCOMPARE(jsonObject(received.fragment()).value(QStringLiteral("cnName")).toString(),
                 game.value(QStringLiteral("cnName")).toString());

        QTRY_COMPARE_WITH_TIMEOUT(pageLoads.size(), 1, 10000);
        QCOMPARE(pageLoads.first().first().toBool(), false);
        QVERIFY(formLoads.isEmpty());
        QCOMPARE(page()->url(), QUrl(storeUrl(QStringLiteral("/client/index"))));
        QVERIFY(documentStayed());
        QVERIFY(browser.opened.isEmpty());
    }

    void ordinaryLinkNavigates()
    {
        QSignalSpy formLoads(form.data(), &WebGameForm::sendLoadFinished);
        runPageScript(QStringLiteral("var a = document.createElement('a'); a.id = 'plain'; a.textContent = 'plain';"
                                     "a.href = '/client/activity'; a.style.display = 'block';"
                                     "document.body.insertBefore(a, document.body.firstChild)"));
        QTest::mouseClick(form->webView()->focusProxy(), Qt::LeftButton, Qt::NoModifier, centreOf(QStringLiteral("plain")));
        QVERIFY(formLoads.wait(10000));
        QCOMPARE(formLoads.first().first().toBool(), true);
        QCOMPARE(form->urls, QList<QUrl>{QUrl(storeUrl(QStringLiteral("/client/activity")))});
        QCOMPARE(form->answers, QList<bool>{true});
        QCOMPARE(page()->url(), QUrl(storeUrl(QStringLiteral("/client/activity"))));
    }

    void newWindowLinkGoesToTheSystemBrowser_data()
    {
        QTest::addColumn<QString>("href");
        QTest::addColumn<bool>("toBrowser");
        QTest::newRow("http") << "/client/version" << true;
        QTest::newRow("mivo") << "mivo://openqqurl#x" << false;
    }

    // Only web addresses go to the system browser; a "mivo" link asking for
    // a new window is the form's, like any other.
    void newWindowLinkGoesToTheSystemBrowser()
    {
        QFETCH(QString, href);
        QFETCH(bool, toBrowser);
        markDocument();
        runPageScript(QStringLiteral("var a = document.createElement('a'); a.id = 'away'; a.textContent = 'away';"
                                     "a.href = '%1'; a.target = '_blank'; a.style.display = 'block';"
                                     "document.body.insertBefore(a, document.body.firstChild)")
                          .arg(href));
        const QPoint centre = centreOf(QStringLiteral("away"));
        QWidget *target = form->webView()->focusProxy();
        QMouseEvent move(QEvent::MouseMove, centre, target->mapToGlobal(centre), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        QTRY_VERIFY_WITH_TIMEOUT(!page()->linkUnderPointer().isEmpty(), 5000);
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, centre);

        if (toBrowser) {
            QTRY_COMPARE_WITH_TIMEOUT(browser.opened.size(), 1, 10000);
            QCOMPARE(browser.opened.first(), QUrl(storeUrl(href)));
            QVERIFY(form->urls.isEmpty());
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(form->urls.size(), 1, 10000);
            QCOMPARE(form->urls.first().host(), QStringLiteral("openqqurl"));
            QTest::qWait(200);
            QVERIFY(browser.opened.isEmpty());
        }
        QVERIFY(documentStayed());
        QCOMPARE(page()->url(), QUrl(storeUrl(QStringLiteral("/client/index"))));
    }

    // With the pointer on no link, a script's window request opens nothing.
    void windowRequestOffLinksOpensNothing()
    {
        markDocument();
        QVERIFY(page()->linkUnderPointer().isEmpty());
        runPageScript(QStringLiteral("window.open('/client/version')"));
        QTest::qWait(300);
        QVERIFY(browser.opened.isEmpty());
        QVERIFY(form->urls.isEmpty());
        QVERIFY(documentStayed());
    }

    void callbackChangesThePage_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("function");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("valueType");
        QTest::newRow("status with a JSON object")
            << "status" << R"({"games":[{"gameId":"1001","state":3}]})"
            << "status_callback" << R"({"games":[{"gameId":"1001","state":3}]})" << "object";
        QTest::newRow("jump with plain text") << "jump" << "看 \"活动\" 页" << "jump_callback"
                                              << "看 \"活动\" 页" << "string";
        QTest::newRow("jump with a JSON string") << "jump" << "\"tab-2\"" << "jump_callback" << "tab-2" << "string";
        QTest::newRow("jump with a number") << "jump" << "7" << "jump_callback" << "7" << "number";
        QTest::newRow("login before any login link") << "login" << "" << "login_callback" << "" << "nothing";
        QTest::newRow("logout before any login link") << "logout" << "" << "logout_callback" << "" << "nothing";
        QTest::newRow("text that tries to leave the call")
            << "jump" << "1); document.title = 'taken'; (" << "jump_callback"
            << "1); document.title = 'taken'; (" << "string";
    }

    void callbackChangesThePage()
    {
        QFETCH(QString, call);
        QFETCH(QString, argument);
        QFETCH(QString, function);
        QFETCH(QString, shown);
        QFETCH(QString, valueType);
        if (call == QLatin1String("status"))
            form->callStatusCallback(argument);
        else if (call == QLatin1String("jump"))
            form->callJumpCallback(argument);
        else if (call == QLatin1String("login"))
            form->callLoginCallback();
        else
            form->callLogoutCallback();

        // The page's callbacks keep each call; a call with nothing between the
        // parentheses is kept with the value null.
        const QString readBack = QStringLiteral("(function(){if (!orbelaCalls.length) return [];"
                                                "var v = orbelaCalls[orbelaCalls.length-1].value;"
                                                "return [orbelaCalls[orbelaCalls.length-1].name,"
                                                "v === null ? 'nothing' : typeof v];})()");
        QTRY_VERIFY_WITH_TIMEOUT(!evaluateInPage(page(), readBack).toList().isEmpty(), 10000);
        const QVariantList last = evaluateInPage(page(), readBack).toList();
        QCOMPARE(last.value(0).toString(), function);
        QCOMPARE(last.value(1).toString(), valueType);
        const QString id = QString(function).replace(QLatin1Char('_'), QLatin1Char('-'));
        QCOMPARE(evaluateInPage(page(), QStringLiteral("document.getElementById('%1').textContent").arg(id)).toString(), shown);
        QCOMPARE(page()->title(), QStringLiteral("游戏商城"));
    }

    // Calls made while the page (re)loads reach the new document, in order,
    // once it has defined the page's functions.
    void callsDuringALoadReachTheNewDocument_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("reload") << "reload";
        QTest::newRow("new address") << "load";
    }

    void callsDuringALoadReachTheNewDocument()
    {
        QFETCH(QString, how);
        markDocument();
        QSignalSpy loaded(form.data(), &WebGameForm::sendLoadFinished);
        if (how == QLatin1String("reload"))
            form->reload();
        else
            form->loadUrl(storeUrl(QStringLiteral("/client/index?deviceId=2")));
        form->callJumpCallback(QStringLiteral("during the load"));
        form->callStatusCallback(QStringLiteral("{\"games\":[]}"));
        QVERIFY(loaded.wait(20000));
        QVERIFY(!documentStayed());
        const QString calls = QStringLiteral("orbelaCalls.map(function(c){return c.name;})");
        QTRY_COMPARE_WITH_TIMEOUT(evaluateInPage(page(), calls).toStringList(),
                                  (QStringList{"jump_callback", "status_callback"}), 10000);
        QCOMPARE(evaluateInPage(page(), QStringLiteral("document.getElementById('jump-callback').textContent")).toString(),
                 QStringLiteral("during the load"));
    }

    // A document without the client's functions (the stand-in's answer to an
    // unknown page, like any error page) is not called: no script error.
    void callsOnAPageWithoutTheFunctionsThrowNothing()
    {
        QSignalSpy loaded(form.data(), &WebGameForm::sendLoadFinished);
        form->loadUrl(storeUrl(QStringLiteral("/client/no-such-page")));
        QVERIFY(loaded.wait(20000));
        QCOMPARE(evaluateInPage(page(), QStringLiteral("typeof status_callback")).toString(), QStringLiteral("undefined"));
        LogCapture log;
        form->callStatusCallback(QStringLiteral("{\"games\":[]}"));
        form->callJumpCallback(QStringLiteral("7"));
        form->callLoginCallback();
        form->callLogoutCallback();
        form->callGameDetail(QStringLiteral("1001"));
        // The page's console reaches the log; a line after the calls shows they all ran.
        page()->runJavaScript(QStringLiteral("console.error('calls done')"));
        QTRY_COMPARE_WITH_TIMEOUT(LogCapture::count(QRegularExpression(QStringLiteral("calls done"))), 1, 10000);
        QCOMPARE(LogCapture::count(QRegularExpression(QStringLiteral("Error|not defined"))), 0);
    }

    void pageHasNoContextMenu()
    {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(50, 50));
        event.ignore();
        QApplication::sendEvent(form->webView(), &event);
        QVERIFY(event.isAccepted());
        QTest::qWait(100);
        for (QWidget *widget : QApplication::topLevelWidgets())
            QVERIFY(!(qobject_cast<QMenu *>(widget) && widget->isVisible()));
    }

    void pushPageFormSubmissionIsALink()
    {
        RecordingPushForm push;
        QSignalSpy loaded(&push, &WebPushForm::sendLoadFinished);
        push.resize(800, 400);
        push.show();
        push.createView(storeUrl(QStringLiteral("/client/task")));
        QVERIFY(loaded.wait(20000));
        push.webPage()->runJavaScript(QStringLiteral("document.getElementById('form-task_expansion').submit()"));
        QTRY_COMPARE_WITH_TIMEOUT(push.urls.size(), 1, 10000);
        QCOMPARE(push.urls.first().host(), QStringLiteral("task_expansion"));
        QCOMPARE(push.answers.first(), false);
        QTest::qWait(300);
        QCOMPARE(loaded.size(), 1);
        QCOMPARE(push.webPage()->url(), QUrl(storeUrl(QStringLiteral("/client/task"))));
    }

    void userCentreKeepsOneViewOnTheLatestUrl()
    {
        webUserCentralForm centre;
        QSignalSpy loaded(&centre, &webUserCentralForm::sendLoadFinished);
        centre.resize(600, 400);
        centre.show();
        QVERIFY(loaded.wait(20000));
        QPointer<WebEngineView> firstView = centre.webView();
        QPointer<WebEnginePage> firstPage = centre.webPage();
        centre.createView(storeUrl(QStringLiteral("/client/user?uid=10001")));
        QTRY_VERIFY_WITH_TIMEOUT(firstView.isNull() && firstPage.isNull(), 5000);
        QCOMPARE(centre.findChildren<QWebEngineView *>().size(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 2, 20000);
        QCOMPARE(centre.webPage()->url(), QUrl(storeUrl(QStringLiteral("/client/user?uid=10001"))));
        QCOMPARE(centre.webView()->geometry(), centre.rect());
        QCOMPARE(webUserCentralForm::instance(), &centre);
    }
};

ORBELA_WEB_TEST_MAIN(TestWebPageHost)
#include "TestWebPageHost.moc"
