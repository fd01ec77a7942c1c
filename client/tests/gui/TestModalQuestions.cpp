// The client's questions on an X server: while one is open it takes the
// keyboard and blocks every window behind it, so a key or a click sent there
// changes nothing and asks nothing again; Escape answers 取消 and Return the
// focused button, once.

#include "core/AppFolders.h"
#include "core/game/VRAppInfo.h"
#include "gui/BackgroundDialog.h"
#include "gui/games/listItem.h"
#include "gui/games/mangerForm.h"
#include "gui/popups/PopupWindowDialog.h"
#include "tests/XScreen.h"
#include "tests/gui/StartedClient.h"
#include "tests/gui/WebTestMain.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include <functional>

namespace {

// The removals the game road logs, one line each.
QtMessageHandler previousHandler = nullptr;
int removalLines = 0;

void countRemovals(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1String("------------>remove path:")))
        ++removalLines;
    if (previousHandler)
        previousHandler(type, context, message);
}

QList<PopupWindowDialog *> shownQuestions()
{
    QList<PopupWindowDialog *> shown;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *popup = qobject_cast<PopupWindowDialog *>(widget);
        if (popup && popup->isVisible() && popup->pageKindShown() == PopupWindowDialog::Information)
            shown << popup;
    }
    return shown;
}

QPoint centreOnScreen(QWidget *widget)
{
    return widget->mapToGlobal(widget->rect().center());
}

} // namespace

class TestModalQuestions : public QObject
{
    Q_OBJECT

    StoreServer server;
    QScopedPointer<OrbelaDialog> window;
    // Every question that showed, and those past the first, which are
    // answered 取消 at once so a stacked question cannot hold the test.
    QList<QPointer<PopupWindowDialog>> questions;
    QTimer watcher;

    void watchQuestions()
    {
        for (PopupWindowDialog *shown : shownQuestions()) {
            if (questions.contains(shown))
                continue;
            questions << shown;
            if (questions.size() > 1)
                QTimer::singleShot(0, shown, [shown]() { shown->reject(); });
        }
    }

    // Sends the key to whatever has the keyboard; true when that answered the
    // first question. One still open is then closed, so the test goes on.
    bool answerWithKey(const char *keySymbol)
    {
        pressKeyOnScreen(keySymbol);
        const bool answered
            = QTest::qWaitFor([this]() { return !questions.first() || !questions.first()->isVisible(); }, 5000);
        if (!answered && questions.first())
            questions.first()->reject();
        return answered;
    }

    // Runs steps once, inside the question's own loop, as soon as it shows.
    void whileOpen(const std::function<void()> &steps)
    {
        auto *poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [this, poll, steps]() {
            if (questions.isEmpty() || !questions.first() || !questions.first()->isVisible())
                return;
            poll->stop();
            poll->deleteLater();
            // Mapped and given the keyboard, however long a loaded machine takes.
            QPointer<PopupWindowDialog> question = questions.first();
            QTest::qWaitFor(
                [question]() { return question && QGuiApplication::focusWindow() == question->windowHandle(); },
                5000);
            QTest::qWait(100);
            steps();
        });
        poll->start(20);
    }

    int visiblePage() const
    {
        for (int i = 0; i < 5; ++i)
            if (window->bodyWindow()->page(i)->isVisible())
                return i;
        return -1;
    }

    // An installed game's row on the manager page.
    listItem *addInstalledRow()
    {
        auto *info = new VRAppInfo;
        info->setParent(window.data());
        info->gameId = QStringLiteral("3001");
        info->cnName = QStringLiteral("星际漫步");
        info->enName = QStringLiteral("Star Walk");
        info->localSize = 1;
        info->downloadStatus = VRAppInfo::Installed;
        QDir().mkpath(getVrGamesDir() + info->gameId);
        mangerForm::instance()->addItem(info);
        return mangerForm::instance()->row(info->gameId);
    }

    // Waits until the question asked has gone and nothing asks again.
    bool answered()
    {
        return waitUntil([this]() { return !questions.isEmpty() && shownQuestions().isEmpty(); }, 20000)
               && !QTest::qWaitFor([]() { return !shownQuestions().isEmpty(); }, 500);
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(server.start(), qPrintable(server.error()));
        QVERIFY(prepareStartedClient(server));
        previousHandler = qInstallMessageHandler(countRemovals);
        connect(&watcher, &QTimer::timeout, this, &TestModalQuestions::watchQuestions);
        watcher.start(10);
    }

    void init()
    {
        forgetClientState();
        QDir(getVrGamesDir() + QStringLiteral("3001")).removeRecursively();
        window.reset(startClient());
        window->switchToManager();
        questions.clear();
        removalLines = 0;
    }

    void cleanup() { window.reset(); }

    void inputBehindAQuestionChangesNothing_data()
    {
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answerKey");
        QTest::addColumn<int>("removals");
        QTest::newRow("remove, Escape") << "remove" << "Escape" << 0;
        QTest::newRow("remove, Return on 确定") << "remove" << "Return" << 1;
        QTest::newRow("exit, Escape") << "exit" << "Escape" << 0;
        QTest::newRow("one-button notice, Escape") << "notice" << "Escape" << 0;
        QTest::newRow("one-button notice, Return") << "notice" << "Return" << 0;
    }

    void inputBehindAQuestionChangesNothing()
    {
        QFETCH(QString, question);
        QFETCH(QString, answerKey);
        QFETCH(int, removals);
        listItem *row = addInstalledRow();
        QVERIFY(row);
        QTRY_VERIFY_WITH_TIMEOUT(row->deleteButton()->isVisible(), 5000);
        QWindow *titleBar = window->windowHandle();
        QWindow *body = window->bodyWindow()->windowHandle();
        const QPoint removeButton = centreOnScreen(row->deleteButton());
        const QPoint tab = centreOnScreen(window->findChild<QRadioButton *>(QStringLiteral("activityRadioBtn")));
        const QPoint closeButton = centreOnScreen(window->findChild<QPushButton *>(QStringLiteral("closeBtn")));
        const int page = visiblePage();
        const QRect bodyRect = window->bodyWindow()->geometry();

        bool tookKeyboard = false, answeredByKey = false;
        int questionsWhileOpen = -1, pageWhileOpen = -1, removalsWhileOpen = -1;
        int result = -1;
        whileOpen([&]() {
            tookKeyboard = QGuiApplication::focusWindow() == questions.first()->windowHandle();
            // Keys the window system hands to the windows behind, then
            // clicks on the × that asked, a tab and the close button.
            for (QWindow *behind : {titleBar, body}) {
                for (Qt::Key key : {Qt::Key_Return, Qt::Key_Space, Qt::Key_Enter}) {
                    QTest::keyClick(behind, key);
                    QTest::qWait(100);
                }
            }
            for (const QPoint &point : {removeButton, tab, closeButton}) {
                clickOnScreen(point);
                QTest::qWait(300);
            }
            questionsWhileOpen = questions.size();
            pageWhileOpen = visiblePage();
            removalsWhileOpen = removalLines;
            answeredByKey = answerWithKey(answerKey.toLatin1().constData());
        });
        if (question == QLatin1String("remove")) {
            QVERIFY(clickOnScreen(removeButton));
        } else if (question == QLatin1String("exit")) {
            QVERIFY(clickOnScreen(closeButton));
        } else {
            QTimer::singleShot(0, window.data(), [this, &result]() {
                result = window->askUser(QString(), QStringLiteral("无法启动游戏"), 1);
            });
        }
        QVERIFY2(answered(), "the question was not answered");
        qInfo("while open: %d question(s), page %d then %d, %d removal(s), keyboard on the question: %s; "
              "%s answered it: %s; in all %d question(s), %d removal(s)",
              questionsWhileOpen, page, pageWhileOpen, removalsWhileOpen, tookKeyboard ? "yes" : "no",
              qPrintable(answerKey), answeredByKey ? "yes" : "no", questions.size(), removalLines);

        QCOMPARE(questionsWhileOpen, 1);
        QCOMPARE(pageWhileOpen, page);
        QCOMPARE(removalsWhileOpen, 0);
        QVERIFY2(tookKeyboard, "the question did not take the keyboard");
        QVERIFY2(answeredByKey, "the key did not answer the question");
        QCOMPARE(questions.size(), 1);
        QCOMPARE(removalLines, removals);
        QVERIFY(window->isVisible());
        QCOMPARE(window->bodyWindow()->geometry(), bodyRect);
        QCOMPARE(visiblePage(), page);
        QCOMPARE(bool(mangerForm::instance()->row(QStringLiteral("3001"))), removals == 0);
        if (question == QLatin1String("notice"))
            QCOMPARE(result, answerKey == QLatin1String("Return") ? 1 : 0);
    }

    // Two clicks on × sent before the client reads the first: one question.
    void twoQueuedClicksAskOnce()
    {
        listItem *row = addInstalledRow();
        QVERIFY(row);
        QTRY_VERIFY_WITH_TIMEOUT(row->deleteButton()->isVisible(), 5000);
        int questionsWhileOpen = -1;
        whileOpen([&]() {
            QTest::qWait(500);
            questionsWhileOpen = questions.size();
            answerWithKey("Escape");
        });
        QVERIFY(clickOnScreen(centreOnScreen(row->deleteButton()), 2));
        QVERIFY2(answered(), "the question was not answered");
        QCOMPARE(questionsWhileOpen, 1);
        QCOMPARE(questions.size(), 1);
        QCOMPARE(removalLines, 0);
    }
};

ORBELA_WEB_TEST_MAIN(TestModalQuestions)
#include "TestModalQuestions.moc"
