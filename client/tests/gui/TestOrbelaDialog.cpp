#include "core/AppSettings.h"
#include "gui/BackgroundDialog.h"
#include "gui/OrbelaDialog.h"
#include "tests/gui/WebTestMain.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QtTest>

class TestOrbelaDialog : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<OrbelaDialog> window;

    template <typename T = QWidget>
    T *child(const char *name) const
    {
        T *widget = window->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no widget %s", name);
        return widget;
    }
    BackgroundDialog *body() const { return window->bodyWindow(); }
    void sendMouse(QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, local, window->mapToGlobal(local), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(window.data(), &event);
    }
    void placeWindows(const QRect &bodyRect)
    {
        body()->setGeometry(bodyRect);
        window->setGeometry(bodyRect.x(), bodyRect.y(), bodyRect.width(), OrbelaDialog::kTitleBarHeight);
    }

private slots:
    void initTestCase()
    {
        // The window alone: no host look-up, no update check, no services.
        OrbelaDialog::setStartUpChecksEnabled(false);
    }

    void init()
    {
        QFile::remove(settingsFilePath());
        window.reset(new OrbelaDialog(nullptr));
        placeWindows(QRect(40, 30, 1196, 700));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.data()));
    }

    void cleanup()
    {
        window.reset();
    }

    void titleAndStartState()
    {
        QCOMPARE(window->windowTitle(), QStringLiteral("Orbela游戏平台"));
        QCOMPARE(child<QPushButton>("deviceBtn")->text(), QStringLiteral("设备选择"));
        QVERIFY(child<QRadioButton>("gameRadioBtn")->isChecked());
        QVERIFY(child<QProgressBar>("progressBar")->isHidden());
        QVERIFY(body()->page(1)->isVisible());
        for (int i : {0, 2, 3, 4})
            QVERIFY(!body()->page(i)->isVisible());
        QCOMPARE(OrbelaDialog::instance(), window.data());
    }

    void layout_data()
    {
        QTest::addColumn<int>("width");
        QTest::newRow("1196") << 1196;
        QTest::newRow("1760") << 1760;
    }

    void layout()
    {
        QFETCH(int, width);
        window->resize(width, OrbelaDialog::kTitleBarHeight);
        const QList<QPair<const char *, QPoint>> expected = {
            {"avatorWidget", {0, 0}},          {"split_left", {210, 0}},
            {"deviceBtn", {242, 20}},          {"gameRadioBtn", {362, 0}},
            {"activityRadioBtn", {528, 0}},    {"exchangeRadioBtn", {694, 0}},
            {"localRadioBtn", {860, 0}},       {"closeBtn", {width - 48, 20}},
            {"maxBtn", {width - 88, 20}},      {"minBtn", {width - 128, 20}},
            {"split_right", {width - 144, 0}}, {"setBtn", {width - 184, 28}},
            {"onlinePeople", {width - 322, 27}},
        };
        for (const auto &item : expected)
            QCOMPARE(child(item.first)->pos(), item.second);
        QCOMPARE(window->dragArea(), QRect(QPoint(860, 0), QPoint(width - 185, 73)));
    }

    // The items layoutTitleBar places never overlap and each lies inside the
    // window, from the width where all fit down to where the online count has
    // given way; the window's default width on a 1366x768 screen is one of them.
    void titleBarItemsApart_data()
    {
        QTest::addColumn<QString>("widthName");
        QTest::newRow("minimum") << "minimum";
        QTest::newRow("1366x768 default") << "1366x768";
        QTest::newRow("1280x720 default") << "1280x720";
        QTest::newRow("1920x1080 default") << "1920x1080";
        QTest::newRow("narrowest") << "1210";
    }

    void titleBarItemsApart()
    {
        QFETCH(QString, widthName);
        const int minimum = window->minimumWindowWidth();
        QCOMPARE(minimum, 1348);
        int width = minimum;
        if (widthName.contains(QLatin1Char('x'))) {
            const QStringList screen = widthName.split(QLatin1Char('x'));
            width = getDefaultWindowRect(QSize(screen[0].toInt(), screen[1].toInt()), minimum).width();
        } else if (widthName != QLatin1String("minimum")) {
            width = widthName.toInt();
        }
        window->resize(width, OrbelaDialog::kTitleBarHeight);
        QCOMPARE(window->width(), width);
        const char *const names[] = {"avatorWidget",     "deviceBtn",    "gameRadioBtn", "activityRadioBtn",
                                     "exchangeRadioBtn", "localRadioBtn", "onlinePeople", "setBtn",
                                     "minBtn",           "maxBtn",        "closeBtn"};
        QList<QPair<QString, QRect>> shown;
        for (const char *name : names) {
            QWidget *item = child(name);
            if (!item->isVisible()) {
                // Only the online count gives way, and only below the minimum.
                QCOMPARE(QByteArray(name), QByteArray("onlinePeople"));
                QVERIFY(width < minimum);
                continue;
            }
            const QRect rect = item->geometry();
            QVERIFY2(rect.left() >= 0 && rect.right() < width && rect.top() >= 0
                         && rect.top() < OrbelaDialog::kTitleBarHeight,
                     name);
            for (const auto &other : shown)
                QVERIFY2(!rect.intersects(other.second), qPrintable(QStringLiteral("%1 overlaps %2").arg(name, other.first)));
            shown << qMakePair(QString::fromLatin1(name), rect);
        }
        QCOMPARE(shown.size(), width < minimum ? 10 : 11);
    }

    void dragMovesBothWindows()
    {
        const QPoint grab(1000, 10); // free title area right of the tabs
        sendMouse(QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
        QMouseEvent move(QEvent::MouseMove, grab, window->mapToGlobal(grab) + QPoint(25, 40), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.data(), &move);
        sendMouse(QEvent::MouseButtonRelease, grab, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(window->pos(), QPoint(65, 70));
        QCOMPARE(body()->pos(), QPoint(65, 70));
        QCOMPARE(body()->size(), QSize(1196, 700));
    }

    void maximiseAndRestoreRoundTrip()
    {
        const QRect before = body()->geometry();
        child<QPushButton>("maxBtn")->click();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(window->isMaximizedState());
        QCOMPARE(body()->geometry(), area);
        QCOMPARE(window->geometry(), QRect(area.x(), area.y(), area.width(), OrbelaDialog::kTitleBarHeight));

        // Dragging while maximised moves nothing.
        sendMouse(QEvent::MouseButtonPress, QPoint(area.width() - 200, 10), Qt::LeftButton, Qt::LeftButton);
        QMouseEvent move(QEvent::MouseMove, QPoint(5, 5), QPoint(300, 300), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(window.data(), &move);
        sendMouse(QEvent::MouseButtonRelease, QPoint(5, 5), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(body()->geometry(), area);

        child<QPushButton>("maxBtn")->click();
        QVERIFY(!window->isMaximizedState());
        QCOMPARE(body()->geometry(), before);
        QCOMPARE(window->geometry(), QRect(before.x(), before.y(), before.width(), OrbelaDialog::kTitleBarHeight));
    }

    void doubleClickTogglesMaximiseOnlyInTheFreeArea()
    {
        QTest::mouseDClick(child("localRadioBtn"), Qt::LeftButton);
        QVERIFY(!window->isMaximizedState());
        sendMouse(QEvent::MouseButtonDblClick, QPoint(1000, 10), Qt::LeftButton, Qt::LeftButton);
        QVERIFY(window->isMaximizedState());
    }

    void minimiseThenRestoreGivesTheBodyBack()
    {
        const QRect before = body()->geometry();
        child<QPushButton>("minBtn")->click();
        QCOMPARE(body()->size(), QSize(0, 0));
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        QCOMPARE(body()->geometry(), before);
    }

    void hideTwiceThenShowKeepsTheRectangle()
    {
        const QRect before = body()->geometry();
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        // Without a tray the hide minimises, so the windows can come back.
        window->HideOrbela();
        window->HideOrbela();
        QCOMPARE(body()->size(), QSize(0, 0));
        QVERIFY(window->windowState() & Qt::WindowMinimized);
        QVERIFY(!window->tray()->isVisible());
        window->ShowOrbela();
        QVERIFY(window->isVisible());
        QVERIFY(!(window->windowState() & Qt::WindowMinimized));
        QCOMPARE(body()->geometry(), before);
    }

    void tabsSwitchPages_data()
    {
        QTest::addColumn<QString>("tab");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("page");
        QTest::newRow("local") << "localRadioBtn" << int(Qt::Key_4) << 0;
        QTest::newRow("store") << "gameRadioBtn" << int(Qt::Key_1) << 1;
        QTest::newRow("activity") << "activityRadioBtn" << int(Qt::Key_2) << 2;
        QTest::newRow("exchange") << "exchangeRadioBtn" << int(Qt::Key_3) << 3;
    }

    void tabsSwitchPages()
    {
        QFETCH(QString, tab);
        QFETCH(int, key);
        QFETCH(int, page);
        auto onlyVisiblePage = [this]() {
            int shown = -1;
            for (int i = 0; i < 5; ++i) {
                if (body()->page(i)->isVisible()) {
                    if (shown != -1)
                        return -2;
                    shown = i;
                }
            }
            return shown;
        };
        QRadioButton *button = window->findChild<QRadioButton *>(tab);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(button->isChecked());
        QCOMPARE(onlyVisiblePage(), page);

        // The keyboard reaches the same page from another one.
        body()->showUserCentralPage();
        QTest::keyClick(window.data(), Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(onlyVisiblePage(), page);

        // The marker slides to the tab's lower edge.
        QLabel *marker = child<QLabel>("lb_titlebar_btn_change");
        QTRY_COMPARE_WITH_TIMEOUT(marker->pos(), QPoint(button->x(), 71), 3000);
    }

    void escapeDoesNotClose()
    {
        QTest::keyClick(window.data(), Qt::Key_Escape);
        QVERIFY(window->isVisible());
        QCOMPARE(window->result(), 0);
    }

    void loadProgressHidesAtHundred()
    {
        QProgressBar *bar = child<QProgressBar>("progressBar");
        window->getLoadProgress(40);
        QVERIFY(bar->isVisible());
        QCOMPARE(bar->value(), 40);
        window->getLoadProgress(100);
        QVERIFY(bar->isHidden());
    }
};

ORBELA_WEB_TEST_MAIN(TestOrbelaDialog)
#include "TestOrbelaDialog.moc"
