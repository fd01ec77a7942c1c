#include "gui/WindowAnimations.h"

#include <QAnimationDriver>
#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <QtTest>

namespace {
// Drives every animation of the process by a clock the test sets.
class ManualClock : public QAnimationDriver
{
public:
    qint64 elapsed() const override { return now; }
    void advanceBy(qint64 ms)
    {
        now += ms;
        advance();
    }

protected:
    // The animation timer counts from each start of its driver.
    void start() override
    {
        now = 0;
        QAnimationDriver::start();
    }

private:
    qint64 now = 0;
};
// Property animations interpolate in whole pixels.
bool near(int actual, qreal expected)
{
    return qAbs(actual - expected) <= 1.0;
}
} // namespace

class TestWindowAnimations : public QObject
{
    Q_OBJECT

private:
    ManualClock *clock = nullptr;
    QScopedPointer<QWidget> widget;

    // Lets the started animation register with the clock.
    void settle()
    {
        for (int round = 0; round < 3; ++round)
            QCoreApplication::processEvents();
    }

private slots:
    void initTestCase()
    {
        clock = new ManualClock;
        clock->install();
    }

    void init()
    {
        widget.reset(new QWidget);
        widget->setWindowFlags(Qt::FramelessWindowHint);
        widget->setGeometry(10, 20, 400, 300);
        widget->show();
        QVERIFY(QTest::qWaitForWindowExposed(widget.data()));
    }

    void cleanup() { widget.reset(); }

    void dropInFallsFromTheTopToTheMiddle()
    {
        const QSize area = QGuiApplication::primaryScreen()->availableGeometry().size();
        const int x = (area.width() - 400) / 2;
        const QRect start(x, 0, 400, 300);
        const QRect end(x, (area.height() - 300) / 2, 400, 300);
        animateWindowDropIn(widget.data());
        settle();
        QCOMPARE(widget->geometry(), start);

        const QEasingCurve curve(QEasingCurve::OutElastic);
        for (int step = 1; step <= 9; ++step) {
            clock->advanceBy(100);
            const qreal y = curve.valueForProgress(step / 10.0) * end.y();
            QVERIFY2(near(widget->y(), y), qPrintable(QStringLiteral("%1 ms: y %2, expected %3")
                                                          .arg(step * 100).arg(widget->y()).arg(y)));
            QCOMPARE(widget->x(), x);
            QCOMPARE(widget->size(), QSize(400, 300));
        }
        clock->advanceBy(100);
        QCOMPARE(widget->geometry(), end);
    }

    void dropInCentresOnTheAvailableArea_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("end");
        // On the offscreen screen's 800 x 600 area; halves round toward zero.
        QTest::newRow("even") << QSize(400, 300) << QPoint(200, 150);
        QTest::newRow("odd") << QSize(401, 301) << QPoint(199, 149);
        QTest::newRow("larger than the area") << QSize(1001, 701) << QPoint(-100, -50);
    }

    void dropInCentresOnTheAvailableArea()
    {
        QFETCH(QSize, size);
        QFETCH(QPoint, end);
        if (QGuiApplication::primaryScreen()->availableGeometry().size() != QSize(800, 600))
            QSKIP("needs the offscreen screen's 800 x 600 area");
        widget->resize(size);
        animateWindowDropIn(widget.data());
        settle();
        QCOMPARE(widget->geometry(), QRect(QPoint(end.x(), 0), size));
        clock->advanceBy(1000);
        QCOMPARE(widget->geometry(), QRect(end, size));
    }

    void moveFollowsItsCurveForOneSecond_data()
    {
        QTest::addColumn<int>("easing");
        QTest::newRow("out bounce") << int(QEasingCurve::OutBounce);
        QTest::newRow("linear") << int(QEasingCurve::Linear);
    }

    void moveFollowsItsCurveForOneSecond()
    {
        QFETCH(int, easing);
        const QEasingCurve curve{QEasingCurve::Type(easing)};
        QWidget child(widget.data());
        child.setGeometry(0, 0, 166, 4);
        child.show();
        animateMove(&child, QPoint(500, 71), curve);
        settle();
        QCOMPARE(child.pos(), QPoint(0, 0));
        clock->advanceBy(250);
        QVERIFY(near(child.x(), curve.valueForProgress(0.25) * 500));
        QVERIFY(near(child.y(), curve.valueForProgress(0.25) * 71));
        clock->advanceBy(700);
        QVERIFY(near(child.x(), curve.valueForProgress(0.95) * 500));
        QVERIFY(child.x() < 500);
        clock->advanceBy(50);
        QCOMPARE(child.pos(), QPoint(500, 71));

        // Stopped: the widget is its own again.
        child.move(3, 4);
        clock->advanceBy(500);
        QCOMPARE(child.pos(), QPoint(3, 4));
    }

    void moveToItsOwnPlaceEndsAfterOneSecond()
    {
        QSignalSpy started(clock, &QAnimationDriver::started);
        QSignalSpy stopped(clock, &QAnimationDriver::stopped);
        const QPoint here = widget->pos();
        animateMove(widget.data(), here, QEasingCurve(QEasingCurve::OutBounce));
        settle();
        for (int ms = 0; ms < 1000; ms += 250) {
            QCOMPARE(widget->pos(), here);
            clock->advanceBy(250);
        }
        QCOMPARE(widget->pos(), here);
        // No animation is left to drive.
        QTRY_COMPARE(stopped.size(), started.size());
    }

    void geometryRunsFromTheGivenRectangle()
    {
        const QRect from(100, 500, 46, 155);
        const QRect to(20, 500, 1102, 155);
        animateGeometry(widget.data(), from, to, QEasingCurve(QEasingCurve::OutBounce));
        settle();
        QCOMPARE(widget->geometry(), from);
        clock->advanceBy(500);
        const qreal p = QEasingCurve(QEasingCurve::OutBounce).valueForProgress(0.5);
        QVERIFY(near(widget->x(), 100 + p * (20 - 100)));
        QVERIFY(near(widget->width(), 46 + p * (1102 - 46)));
        clock->advanceBy(500);
        QCOMPARE(widget->geometry(), to);
    }
};

QTEST_MAIN(TestWindowAnimations)
#include "TestWindowAnimations.moc"
