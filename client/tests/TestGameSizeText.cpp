// The size and progress texts of a game's row.

#include "core/game/GameSizeText.h"

#include <QtTest>

class TestGameSizeText : public QObject
{
    Q_OBJECT

private slots:
    void trimZeroFractionTable_data();
    void trimZeroFractionTable();
    void sizeTexts_data();
    void sizeTexts();
    void progressTexts_data();
    void progressTexts();
};

void TestGameSizeText::trimZeroFractionTable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");
    QTest::newRow("zero fraction") << "12.00" << "12";
    QTest::newRow("other fraction") << "1.50" << "1.50";
    QTest::newRow("no dot") << "512" << "512";
    QTest::newRow("two dots") << "1.00.5" << "1";
}

void TestGameSizeText::trimZeroFractionTable()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QCOMPARE(trimZeroFraction(text), trimmed);
}

void TestGameSizeText::sizeTexts_data()
{
    QTest::addColumn<int>("mib");
    QTest::addColumn<QString>("newRow");
    QTest::addColumn<QString>("downloaded");
    QTest::addColumn<QString>("failed");
    QTest::newRow("512 MB") << 512 << "512MB" << "512MB" << "512.00MB";
    QTest::newRow("0 MB") << 0 << "0MB" << "0MB" << "0.00MB";
    QTest::newRow("1 GB") << 1024 << "1.00GB" << "1GB" << "1.00GB";
    // Exact division: half a gigabyte shows.
    QTest::newRow("1.5 GB") << 1536 << "1.50GB" << "1.50GB" << "1.50GB";
}

void TestGameSizeText::sizeTexts()
{
    QFETCH(int, mib);
    QFETCH(QString, newRow);
    QFETCH(QString, downloaded);
    QFETCH(QString, failed);
    QCOMPARE(gameSizeText(mib, SizeTextKind::NewRow), newRow);
    QCOMPARE(gameSizeText(mib, SizeTextKind::Downloaded), downloaded);
    QCOMPARE(gameSizeText(mib, SizeTextKind::Failed), failed);
}

void TestGameSizeText::progressTexts_data()
{
    QTest::addColumn<qint64>("received");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("percent");
    QTest::newRow("300 kb of 1 GB") << qint64(307200) << qint64(1073741824) << "300kb/1GB" << 0;
    QTest::newRow("of 1.5 GB") << qint64(307200) << qint64(1610612736) << "300kb/1.50GB" << 0;
    QTest::newRow("half of 10 MB") << qint64(5242880) << qint64(10485760) << "5MB/10MB" << 50;
    QTest::newRow("beyond the total") << qint64(20971520) << qint64(10485760) << "10MB/10MB" << 200;
    QTest::newRow("total unknown") << qint64(4096) << qint64(0) << "4kb/0MB" << 0;
    QTest::newRow("fractional MB") << qint64(1572864) << qint64(3145728) << "1.50MB/3MB" << 50;
}

void TestGameSizeText::progressTexts()
{
    QFETCH(qint64, received);
    QFETCH(qint64, total);
    QFETCH(QString, text);
    QFETCH(int, percent);
    QCOMPARE(downloadProgressText(received, total), text);
    QCOMPARE(downloadProgressPercent(received, total), percent);
}

QTEST_GUILESS_MAIN(TestGameSizeText)
#include "TestGameSizeText.moc"
