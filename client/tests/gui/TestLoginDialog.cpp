#include "core/game/LocalDatabase.h"
#include "core/webapi/LoginForm.h"
#include "core/webapi/MessageSigning.h"
#include "core/webapi/ServiceRequest.h"
#include "gui/AvatorForm.h"
#include "gui/account/loginDialog.h"
#include "gui/popups/popupWebDialog.h"
#include "gui/web/WebEnginePage.h"
#include "gui/web/WebEngineView.h"
#include "gui/web/webPopupForm.h"
#include "tests/gui/StartedClient.h"
#include "tests/gui/UrlOpenRecorder.h"
#include "tests/gui/WebTestMain.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

// The login form against the stand-in's forum: checks, the request, its
// answers, the remembered account and the outside accounts' popup.
class TestLoginDialog : public QObject
{
    Q_OBJECT

private:
    StoreServer server;
    QScopedPointer<OrbelaDialog> window;

    loginDialog *openDialog()
    {
        auto *dialog = new loginDialog(window.data());
        dialog->setGeometry(window->bodyWindow()->geometry());
        dialog->show();
        return dialog;
    }

    QLabel *userNameLabel() const { return AvatorForm::instance()->findChild<QLabel *>("lb_user_name"); }

    void logInThroughDialog(loginDialog *dialog, const QString &account, const QString &password)
    {
        dialog->form()->lineEdit_account->setText(account);
        dialog->form()->lineEdit_pwd->setText(password);
        QTest::mouseClick(dialog->form()->loginBtn, Qt::LeftButton);
    }

    // Rows of "vr_user": uid, remember, autoLogin, isLogin, userName, pwd.
    QList<QStringList> userRows() const
    {
        QList<QStringList> rows;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peek"));
            db.setDatabaseName(LocalDatabase::filePath());
            if (db.open()) {
                QSqlQuery query(QStringLiteral("select uid, remember, autoLogin, isLogin, userName, pwd from vr_user"), db);
                while (query.next()) {
                    QStringList row;
                    for (int i = 0; i < 6; ++i)
                        row << query.value(i).toString();
                    rows << row;
                }
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("peek"));
        return rows;
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
        server.clearLog();
        window.reset(startClient());
    }

    void cleanup() { window.reset(); }

    // An empty field shakes and then says why; nothing is sent.
    void emptyFieldsShakeAndExplain_data()
    {
        QTest::addColumn<QString>("account");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("shaken");
        QTest::addColumn<QString>("text");
        QTest::newRow("both empty") << "" << "" << "lineEdit_account" << "用户名不能为空！";
        QTest::newRow("password empty") << "tester" << "" << "lineEdit_pwd" << "密码不能为空！";
        QTest::newRow("account empty") << "" << "x" << "lineEdit_account" << "用户名不能为空！";
    }

    void emptyFieldsShakeAndExplain()
    {
        QFETCH(QString, account);
        QFETCH(QString, password);
        QFETCH(QString, shaken);
        QFETCH(QString, text);
        loginDialog *dialog = openDialog();
        auto *target = dialog->findChild<QLineEdit *>(shaken);
        auto *other = dialog->findChild<QLineEdit *>(shaken == "lineEdit_pwd" ? "lineEdit_account" : "lineEdit_pwd");
        const QPoint origin = target->pos();
        const QPoint otherOrigin = other->pos();
        bool otherMoved = false;
        logInThroughDialog(dialog, account, password);
        QVERIFY(waitUntil([&]() {
            otherMoved = otherMoved || other->pos() != otherOrigin;
            return target->pos() != origin;
        }, 2000));
        WAIT_VERIFY(dialog->form()->lb_error_txt->isVisible(), 5000);
        QCOMPARE(dialog->form()->lb_error_txt->text(), text);
        QCOMPARE(target->pos(), origin);
        QVERIFY(!otherMoved);
        QCOMPARE(other->pos(), otherOrigin);
        // Focusing a field hides the error again.
        target->setFocus();
        dialog->activateWindow();
        QApplication::sendEvent(target, new QFocusEvent(QEvent::FocusIn));
        QVERIFY(!dialog->form()->lb_error_txt->isVisible());
        QVERIFY(server.requests(QStringLiteral("/passport.php")).isEmpty());
    }

    // The texts themselves are TestLoginForm's table; here, that the dialog shows them.
    void failedLoginShowsTheStatusText()
    {
        loginDialog *dialog = openDialog();
        for (int status : {-8, -7, -6, -2, 0, -3}) {
            dialog->form()->lb_error_txt->setText(QStringLiteral("earlier text"));
            dialog->getUserError(status);
            const QString text = loginErrorText(status);
            QCOMPARE(dialog->form()->lb_error_txt->text(), text.isNull() ? QStringLiteral("earlier text") : text);
            QVERIFY(dialog->form()->lb_error_txt->isVisible());
        }
    }

    void wrongPasswordFromTheForum()
    {
        loginDialog *dialog = openDialog();
        logInThroughDialog(dialog, QStringLiteral("tester"), QStringLiteral("wrong"));
        WAIT_VERIFY(dialog->form()->lb_error_txt->isVisible(), 10000);
        QCOMPARE(dialog->form()->lb_error_txt->text(), QStringLiteral("用户名密码有误！"));
        QVERIFY(dialog->isVisible());
        QVERIFY(window->getUserId().isEmpty());
    }

    // A second click while the public address is looked up sends nothing; the
    // button comes back with the answer, an error or no answer.
    void oneLoginAtATime_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("loginFault");
        QTest::newRow("answer") << "orbela123" << "";
        QTest::newRow("error") << "wrong" << "";
        QTest::newRow("no answer") << "orbela123" << "no-answer";
        QTest::newRow("one byte at a time") << "orbela123" << "drip:100";
    }

    void oneLoginAtATime()
    {
        QFETCH(QString, password);
        QFETCH(QString, loginFault);
        QVERIFY(server.setFault(QStringLiteral("/"), QStringLiteral("delay-headers:1")));
        if (!loginFault.isEmpty()) {
            QVERIFY(server.setFault(QStringLiteral("/passport.php"), loginFault));
            ServiceRequest::setDeadline(500);
        }
        loginDialog *dialog = openDialog();
        QPushButton *button = dialog->form()->loginBtn;
        bool secondClickSeen = false;
        QTimer::singleShot(100, button, [&]() {
            secondClickSeen = !button->isEnabled();
            QTest::mouseClick(button, Qt::LeftButton);
        });
        logInThroughDialog(dialog, QStringLiteral("tester"), password);
        QVERIFY(secondClickSeen);
        QVERIFY(!button->isEnabled());
        WAIT_VERIFY(button->isEnabled(), 20000);
        ServiceRequest::setDeadline(20000);
        QVERIFY(server.clearFaults());
        // The forum session page that a login opens is a GET of its own.
        int posts = 0;
        for (const QJsonObject &request : server.requests(QStringLiteral("/passport.php")))
            posts += request.value(QStringLiteral("method")).toString() == QLatin1String("POST");
        QCOMPARE(posts, 1);
        QCOMPARE(window->getUserId().isEmpty(), password != QLatin1String("orbela123") || !loginFault.isEmpty());
        if (password == QLatin1String("wrong"))
            WAIT_VERIFY(dialog->form()->lb_error_txt->isVisible(), 10000);
    }

    // The exact body for a Chinese name and a password with "&" and "=",
    // accepted by the forum; the account is remembered and comes back.
    void loginRemembersTheAccount()
    {
        loginDialog *dialog = openDialog();
        // Nothing remembered yet: both boxes start unchecked.
        QVERIFY(!dialog->form()->rmb_chbox->isChecked());
        QVERIFY(!dialog->form()->auto_chbox->isChecked());
        QTest::mouseClick(dialog->form()->rmb_chbox, Qt::LeftButton, Qt::NoModifier, QPoint(8, 9));
        QVERIFY(dialog->form()->rmb_chbox->isChecked());
        logInThroughDialog(dialog, QStringLiteral("玩家三号"), QStringLiteral("密码&=1"));
        WAIT_COMPARE(window->getUserId(), QStringLiteral("10003"), 10000);
        WAIT_VERIFY(!dialog->isVisible(), 5000);

        const QList<QJsonObject> posts = server.requests(QStringLiteral("/passport.php"));
        QCOMPARE(posts.size(), 1);
        const QString body = posts.first().value("body").toString();
        const QString timestamp = posts.first().value("form").toObject().value("timestamp").toString();
        QCOMPARE(body, QStringLiteral("username=%E7%8E%A9%E5%AE%B6%E4%B8%89%E5%8F%B7&password=%E5%AF%86%E7%A0%81%26%3D1"
                                      "&timestamp=%1&sign=%2&net_ip=127.0.0.1")
                           .arg(timestamp, signWithSalt(timestamp)));
        QCOMPARE(userNameLabel()->text(), QStringLiteral("超级无敌..."));

        QCOMPARE(userRows(), (QList<QStringList>{{"10003", "true", "false", "true", rememberedText("玩家三号"),
                                                  rememberedText("密码&=1")}}));
        loginDialog *later = openDialog();
        QCOMPARE(later->form()->lineEdit_account->text(), QStringLiteral("玩家三号"));
        QCOMPARE(later->form()->lineEdit_pwd->text(), QStringLiteral("密码&=1"));
        QVERIFY(later->form()->rmb_chbox->isChecked());
        QVERIFY(!later->form()->auto_chbox->isChecked());
    }

    void withoutRememberEveryUserIsForgotten()
    {
        {
            LocalDatabase database;
            QVERIFY(database.open());
            database.saveUser("1", "true", "true", "true", rememberedText("old"), rememberedText("pw"));
            database.close();
        }
        loginDialog *dialog = openDialog();
        QCOMPARE(dialog->form()->lineEdit_account->text(), QStringLiteral("old"));
        QTest::mouseClick(dialog->form()->rmb_chbox, Qt::LeftButton, Qt::NoModifier, QPoint(8, 9));
        QVERIFY(!dialog->form()->rmb_chbox->isChecked());
        // Unchecking remember leaves the automatic login on.
        QVERIFY(dialog->form()->auto_chbox->isChecked());
        logInThroughDialog(dialog, QStringLiteral("tester"), QStringLiteral("orbela123"));
        WAIT_COMPARE(window->getUserId(), QStringLiteral("10001"), 10000);
        WAIT_VERIFY(!dialog->isVisible(), 5000);
        QCOMPARE(userRows(), QList<QStringList>());
    }

    void autoLoginChecksRemember()
    {
        loginDialog *dialog = openDialog();
        for (QCheckBox *box : {dialog->form()->rmb_chbox, dialog->form()->auto_chbox}) {
            box->setChecked(false);
        }
        QTest::mouseClick(dialog->form()->auto_chbox, Qt::LeftButton, Qt::NoModifier, QPoint(8, 9));
        QVERIFY(dialog->form()->auto_chbox->isChecked());
        QVERIFY(dialog->form()->rmb_chbox->isChecked());
    }

    // Logged in through the dialog with both boxes checked, a restarted client
    // logs the user in at its start without a click.
    void automaticLoginAfterARestart()
    {
        loginDialog *dialog = openDialog();
        // Checking the automatic login checks both boxes.
        QTest::mouseClick(dialog->form()->auto_chbox, Qt::LeftButton, Qt::NoModifier, QPoint(8, 9));
        QVERIFY(dialog->form()->rmb_chbox->isChecked() && dialog->form()->auto_chbox->isChecked());
        logInThroughDialog(dialog, QStringLiteral("测试用户"), QStringLiteral("mima2024"));
        WAIT_COMPARE(window->getUserId(), QStringLiteral("10002"), 10000);
        WAIT_VERIFY(!dialog->isVisible(), 5000);

        window.reset();
        server.clearLog();
        window.reset(startClient());
        WAIT_COMPARE(server.requests(QStringLiteral("/passport.php")).size(), 1, 10000);
        const QJsonObject post = server.requests(QStringLiteral("/passport.php")).first();
        QCOMPARE(post.value("method").toString(), QStringLiteral("POST"));
        QCOMPARE(post.value("form").toObject().value("username").toString(), QStringLiteral("测试用户"));
        WAIT_COMPARE(window->getUserId(), QStringLiteral("10002"), 10000);
        WAIT_VERIFY(AvatorForm::instance()->isLoggedIn(), 5000);
        QCOMPARE(userNameLabel()->text(), QStringLiteral("小明"));
        QVERIFY(AvatorForm::instance()->findChild<QWidget *>("loginWidget")->isVisible());
        // The forum's web login loaded in the hidden session page.
        webPopupForm *session = loginDialog::forumSessionForm();
        QVERIFY(session && !session->isVisible());
        QVERIFY(waitForPage(session, QStringLiteral("ajaxUserLogin")));
        QCOMPARE(evaluateInPage(session->webPage(), "document.getElementById('session').dataset.state").toString(),
                 QStringLiteral("logged-in"));
    }

    void outsideAccountPopupLogsIn_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("title");
        QTest::newRow("QQ") << "qqBtn" << "qq" << "使用QQ账户登录";
        QTest::newRow("WeChat") << "wxBtn" << "wx" << "使用微信账户登录";
        QTest::newRow("Weibo") << "wbBtn" << "wb" << "使用微博账户登录";
    }

    void outsideAccountPopupLogsIn()
    {
        QFETCH(QString, button);
        QFETCH(QString, type);
        QFETCH(QString, title);
        loginDialog *dialog = openDialog();
        QTest::mouseClick(dialog->findChild<QPushButton *>(button), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        popupWebDialog *popup = popupWebDialog::instance();
        QVERIFY(popup && popup->isVisible());
        QVERIFY(popup->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(popup->windowModality(), Qt::WindowModal);
        QCOMPARE(popup->form()->lb_title->text(), title);
        webPopupForm *form = popup->pageForm();
        QVERIFY(waitForPage(form, QStringLiteral("type=") + type));
        WAIT_VERIFY(!popup->form()->lb_loading->isVisible(), 5000);
        // A newer popup must not be the one that closes.
        popupWebDialog newer(window.data());
        evaluateInPage(form->webPage(), QStringLiteral("document.getElementById('cmd-loginsuccess').click()"));
        WAIT_VERIFY(!popup->isVisible(), 10000);
        QCOMPARE(window->getUserId(), QStringLiteral("10001"));
        QCOMPARE(userNameLabel()->text(), QStringLiteral("测试玩家"));
        WAIT_VERIFY(form->webPage() == nullptr, 5000);
        QVERIFY(popupWebDialog::instance() == &newer);
    }

    void closedOutsideAccountPopupReleasesItsPage_data()
    {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("close button") << false;
        QTest::newRow("Escape") << true;
    }

    void closedOutsideAccountPopupReleasesItsPage()
    {
        QFETCH(bool, byEscape);
        loginDialog *dialog = openDialog();
        QTest::mouseClick(dialog->form()->qqBtn, Qt::LeftButton);
        popupWebDialog *popup = popupWebDialog::instance();
        QVERIFY(popup && popup->isVisible());
        webPopupForm *form = popup->pageForm();
        QVERIFY(waitForPage(form, QStringLiteral("type=qq")));
        QPointer<WebEngineView> view(form->webView());
        QPointer<QWebEnginePage> page(form->webPage());
        // Posted, so the close runs from the event loop as a user's does.
        if (byEscape)
            QCoreApplication::postEvent(popup, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        else
            QMetaObject::invokeMethod(popup->form()->closeBtn, "click", Qt::QueuedConnection);
        WAIT_VERIFY(!popup->isVisible(), 5000);
        QVERIFY(form->webPage() == nullptr && form->webView() == nullptr);
        WAIT_VERIFY(view.isNull() && page.isNull(), 5000);
    }

    void panelLoginButtonDialogGoesOnceClosed()
    {
        QTest::mouseClick(AvatorForm::instance()->form()->loginBtn, Qt::LeftButton);
        QPointer<loginDialog> dialog(loginDialog::instance());
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->geometry(), window->bodyWindow()->geometry());
        // A second press while it is open brings that one forward: one dialog.
        QTest::keyClick(AvatorForm::instance()->form()->loginBtn, Qt::Key_Space);
        QCOMPARE(loginDialog::instance(), dialog.data());
        QCOMPARE(window->findChildren<loginDialog *>().size(), 1);
        // Posted, so the close runs from the event loop as a user's does.
        QMetaObject::invokeMethod(dialog->form()->closeBtn, "click", Qt::QueuedConnection);
        WAIT_VERIFY(dialog.isNull(), 5000);
    }

    void registrationPagesOpenInTheBrowser()
    {
        UrlOpenRecorder recorder;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &recorder, "open");
        loginDialog *dialog = openDialog();
        QTest::mouseClick(dialog->form()->regBtn, Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        loginDialog *second = openDialog();
        QTest::mouseClick(second->form()->get_back_pwd_btn, Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(recorder.opened, (QList<QUrl>{QUrl(server.baseUrl() + "/member.php?mod=register"),
                                               QUrl(server.baseUrl() + "/member.php?mod=lostpasswd")}));
    }
};

ORBELA_WEB_TEST_MAIN(TestLoginDialog)
#include "TestLoginDialog.moc"
