#include "core/WindowPlacement.h"

#include <QtTest>

// The body's rectangles through the title bar's buttons in any order: a body
// that comes back is where it was last shown, and that is what is saved.
class TestWindowPlacement : public QObject
{
    Q_OBJECT

private:
    const QRect start{100, 60, 1380, 760};
    const QRect area{0, 0, 1920, 1080};

    // What the title bar does to the body for each step.
    static void apply(WindowPlacement &placement, QRect &body, const QString &step, const QRect &area)
    {
        if (step == QLatin1String("minimise") || step == QLatin1String("hide")) {
            placement.stash(body);
            body.setSize(QSize(0, 0));
        } else if (step == QLatin1String("maximise button")) {
            body = placement.toggleMaximized(body, area);
        } else if (step == QLatin1String("show")) {
            if (placement.isStashed())
                body = placement.unstash(area);
        } else if (step == QLatin1String("drag")) {
            if (!placement.isStashed() && !placement.isMaximized())
                body.translate(30, 20);
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    }

private slots:
    void sequences_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QRect>("body");
        QTest::addColumn<QRect>("saved");
        QTest::addColumn<bool>("maximized");
        const QRect dragged = start.translated(30, 20);
        const QRect empty(start.topLeft(), QSize(0, 0));
        QTest::newRow("minimise, show") << QStringList{"minimise", "show"} << start << start << false;
        QTest::newRow("minimise, maximise, restore")
            << QStringList{"minimise", "maximise button", "maximise button"} << start << start << false;
        QTest::newRow("hide twice, show") << QStringList{"hide", "hide", "show"} << start << start << false;
        QTest::newRow("maximise, hide, show")
            << QStringList{"maximise button", "hide", "show"} << area << area << true;
        QTest::newRow("maximise, minimise, restore")
            << QStringList{"maximise button", "minimise", "maximise button"} << start << start << false;
        QTest::newRow("drag, minimise, maximise, restore")
            << QStringList{"drag", "minimise", "maximise button", "maximise button"} << dragged << dragged << false;
        QTest::newRow("maximise, drag, restore")
            << QStringList{"maximise button", "drag", "maximise button"} << start << start << false;
        QTest::newRow("hidden: the rectangle before the hide is saved") << QStringList{"hide"} << empty << start
                                                                       << false;
        QTest::newRow("hidden while maximised") << QStringList{"maximise button", "hide", "hide"}
                                                << QRect(area.topLeft(), QSize(0, 0)) << area << true;
        QTest::newRow("show with nothing hidden keeps the place")
            << QStringList{"drag", "show"} << dragged << dragged << false;
    }

    void sequences()
    {
        QFETCH(QStringList, steps);
        QFETCH(QRect, body);
        QFETCH(QRect, saved);
        QFETCH(bool, maximized);
        WindowPlacement placement(start, false);
        QRect current = start;
        for (const QString &step : steps)
            apply(placement, current, step, area);
        QCOMPARE(current, body);
        QCOMPARE(placement.lastShownRect(current), saved);
        QCOMPARE(placement.isMaximized(), maximized);
    }

    // Started maximised, the restore goes to the normal rectangle given.
    void startedMaximised()
    {
        WindowPlacement placement(start, true);
        QCOMPARE(placement.toggleMaximized(area, area), start);
        QVERIFY(!placement.isMaximized());
    }
};

QTEST_GUILESS_MAIN(TestWindowPlacement)
#include "TestWindowPlacement.moc"
