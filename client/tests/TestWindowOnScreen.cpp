#include "core/TitleBarLayout.h"
#include "core/WindowOnScreen.h"

#include <QtTest>

// A stored body rectangle on the screens there are now: the title-bar row
// always lies on one screen's available area, and a maximised body covers
// the area of the screen its normal rectangle is on.
class TestWindowOnScreen : public QObject
{
    Q_OBJECT

private slots:
    void placement_data()
    {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QVector<QRect>>("screens");
        QTest::addColumn<int>("primary");
        QTest::addColumn<QRect>("normal");
        QTest::addColumn<QRect>("maximised");

        const QVector<QRect> small{QRect(0, 0, 1366, 768)};
        const QVector<QRect> full{QRect(0, 0, 1920, 1040)};
        const QVector<QRect> twoScreens{QRect(0, 0, 1920, 1040), QRect(1920, 0, 1920, 1040)};
        QTest::newRow("x 1700 on 1366x768")
            << QRect(1700, 50, 1760, 980) << small << 0 << QRect(0, 0, 1366, 768) << small[0];
        QTest::newRow("y 2000") << QRect(80, 2000, 1348, 668) << small << 0 << QRect(18, 100, 1348, 668)
                                << small[0];
        QTest::newRow("negative x and y")
            << QRect(-300, -120, 1400, 800) << full << 0 << QRect(0, 0, 1400, 800) << full[0];
        QTest::newRow("title bar above the screen, body on it")
            << QRect(100, -40, 1400, 800) << full << 0 << QRect(100, 0, 1400, 800) << full[0];
        QTest::newRow("spanning two screens")
            << QRect(1500, 100, 1400, 800) << twoScreens << 0 << QRect(520, 100, 1400, 800) << twoScreens[0];
        QTest::newRow("good rectangle on the second screen")
            << QRect(2000, 100, 1400, 800) << twoScreens << 0 << QRect(2000, 100, 1400, 800) << twoScreens[1];
        QTest::newRow("good rectangle left as it is")
            << QRect(100, 60, 1380, 760) << full << 0 << QRect(100, 60, 1380, 760) << full[0];
        QTest::newRow("good but narrow: widened in place")
            << QRect(10, 20, 1206, 700) << full << 0 << QRect(10, 20, 1348, 700) << full[0];
        QTest::newRow("1280-wide screen, narrower than the minimum")
            << QRect(500, 100, 1400, 700) << QVector<QRect>{QRect(0, 0, 1280, 720)} << 0
            << QRect(0, 20, 1280, 700) << QRect(0, 0, 1280, 720);
        QTest::newRow("off screen goes to the primary one, not the first")
            << QRect(5000, 100, 1400, 800) << twoScreens << 1 << QRect(2440, 100, 1400, 800) << twoScreens[1];
        // A panel along the top: the available area starts lower.
        QTest::newRow("the available area's origin included")
            << QRect(1700, 0, 1760, 980) << QVector<QRect>{QRect(0, 27, 1366, 741)} << 0
            << QRect(0, 27, 1366, 741) << QRect(0, 27, 1366, 741);
        QTest::newRow("maximised: 0,0 1280x720 stored on 1366x768")
            << QRect(0, 0, 1280, 720) << small << 0 << QRect(0, 0, 1348, 720) << small[0];
        QTest::newRow("maximised: saved on a 1920x1080 screen")
            << QRect(0, 0, 1920, 1080) << small << 0 << QRect(0, 0, 1366, 768) << small[0];
    }

    void placement()
    {
        QFETCH(QRect, stored);
        QFETCH(QVector<QRect>, screens);
        QFETCH(int, primary);
        QFETCH(QRect, normal);
        QFETCH(QRect, maximised);
        const QRect placed = placeOnScreens(stored, screens, primary, 1348);
        QCOMPARE(placed, normal);
        const int holding = screenHoldingTitleBar(placed, screens);
        QVERIFY2(holding >= 0, "the title bar lies on no screen");
        QVERIFY(screens[holding].contains(QRect(placed.topLeft(), QSize(placed.width(), TitleBarLayout::kHeight))));
        QCOMPARE(maximizedArea(placed, screens, primary), maximised);
        // Placed once, a rectangle stays where it is.
        QCOMPARE(placeOnScreens(placed, screens, primary, 1348), placed);
    }

    void noScreenMeansA1920x1080One()
    {
        QCOMPARE(primaryArea({}, 0), QRect(0, 0, 1920, 1080));
        QCOMPARE(placeOnScreens(QRect(3000, 50, 1400, 800), {}, 0, 1348), QRect(520, 50, 1400, 800));
    }
};

QTEST_GUILESS_MAIN(TestWindowOnScreen)
#include "TestWindowOnScreen.moc"
