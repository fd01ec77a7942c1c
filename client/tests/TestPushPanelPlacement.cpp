#include "core/PushPanelPlacement.h"

#include <QtTest>

// The unfolded push panel takes the state's width where the body is wide
// enough, and is never wider than the body nor past its edges.
class TestPushPanelPlacement : public QObject
{
    Q_OBJECT

private slots:
    void unfolded_data()
    {
        QTest::addColumn<QSize>("body");
        QTest::addColumn<bool>("maximized");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("normal 1348x668") << QSize(1348, 668) << false << QRect(146, 513, 1102, 155);
        QTest::newRow("normal 1760x940") << QSize(1760, 940) << false << QRect(352, 785, 1102, 155);
        QTest::newRow("maximised 1920x1080") << QSize(1920, 1080) << true << QRect(162, 925, 1642, 155);
        QTest::newRow("maximised 1366x768") << QSize(1366, 768) << true << QRect(0, 613, 1366, 155);
        QTest::newRow("maximised 1280x720") << QSize(1280, 720) << true << QRect(0, 565, 1280, 155);
        QTest::newRow("maximised 1664 wide: flush right") << QSize(1664, 900) << true << QRect(22, 745, 1642, 155);
        QTest::newRow("normal 1024x600") << QSize(1024, 600) << false << QRect(0, 445, 1024, 155);
    }

    void unfolded()
    {
        QFETCH(QSize, body);
        QFETCH(bool, maximized);
        QFETCH(QRect, expected);
        const QRect panel = unfoldedPushPanelRect(body, 155, maximized);
        QCOMPARE(panel, expected);
        QVERIFY(QRect(QPoint(0, 0), body).contains(panel));
    }

    void folded()
    {
        QCOMPARE(foldedPushPanelRect(QSize(1366, 768), 155), QRect(1320, 613, 46, 155));
    }
};

QTEST_GUILESS_MAIN(TestPushPanelPlacement)
#include "TestPushPanelPlacement.moc"
