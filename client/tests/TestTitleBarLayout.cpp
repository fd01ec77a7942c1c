#include "core/TitleBarLayout.h"

#include <QtTest>

// The title bar's items at any width the window can take: they never
// overlap, every one lies inside the window, and the online count gives way
// first when the window is narrower than all of them need.
class TestTitleBarLayout : public QObject
{
    Q_OBJECT

private:
    // The designed sizes of the title bar's items, in the layout's order.
    const QVector<QSize> designed{{210, 75}, {6, 74},  {120, 34}, {166, 75}, {166, 75}, {166, 75}, {166, 75},
                                  {34, 34},  {34, 34}, {34, 34},  {6, 74},   {18, 17},  {120, 20}};

private slots:
    void widths()
    {
        const TitleBarLayout layout(designed);
        QCOMPARE(layout.fullWidth(), 1348);
        QCOMPARE(layout.narrowestWidth(), 1210);
    }

    void itemsApartAndInside_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("online");
        QTest::newRow("narrowest") << 1210 << false;
        QTest::newRow("1280") << 1280 << false;
        QTest::newRow("one short of the full width") << 1347 << false;
        QTest::newRow("full width") << 1348 << true;
        QTest::newRow("1366") << 1366 << true;
        QTest::newRow("1760") << 1760 << true;
    }

    void itemsApartAndInside()
    {
        QFETCH(int, width);
        QFETCH(bool, online);
        const TitleBarLayout layout(designed);
        QCOMPARE(layout.showsOnlineField(width), online);
        QList<QRect> shown;
        for (int i = 0; i < TitleBarLayout::ItemCount; ++i) {
            const auto item = TitleBarLayout::Item(i);
            if (item == TitleBarLayout::OnlineField && !online)
                continue;
            const QRect rect = layout.place(item, width);
            QCOMPARE(rect.size(), designed[i]);
            QVERIFY2(rect.left() >= 0 && rect.right() < width && rect.top() >= 0 && rect.top() < TitleBarLayout::kHeight,
                     qPrintable(QStringLiteral("item %1 outside the window").arg(i)));
            for (int j = 0; j < shown.size(); ++j)
                QVERIFY2(!rect.intersects(shown[j]), qPrintable(QStringLiteral("items %1 and %2 overlap").arg(j).arg(i)));
            shown << rect;
        }
    }

    // Below the full width the online count is the one that would overlap.
    void onlineCountIsWhatWouldOverlap()
    {
        const TitleBarLayout layout(designed);
        const int width = layout.fullWidth() - 1;
        QVERIFY(layout.place(TitleBarLayout::OnlineField, width).intersects(layout.place(TitleBarLayout::LocalTab, width)));
    }
};

QTEST_GUILESS_MAIN(TestTitleBarLayout)
#include "TestTitleBarLayout.moc"
