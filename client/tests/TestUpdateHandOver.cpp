#include "core/UpdateHandOver.h"
#include "tests/FixtureUpdater.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestUpdateHandOver : public QObject
{
    Q_OBJECT

private slots:
    void copyStartsWithVersionAndUrl()
    {
        QTemporaryDir root;
        const QString app = root.filePath(QStringLiteral("Orbela"));
        QVERIFY(QDir().mkpath(app));
        QVERIFY(writeFixtureUpdater(app + QStringLiteral("/Update.exe"), "packaged"));
        QCOMPARE(updaterCopyPath(app), root.filePath(QStringLiteral("Update.exe")));
        QVERIFY(startUpdaterCopy(app, QStringLiteral("1.1.1.82"), QStringLiteral("http://127.0.0.1:1/u.7z?a=1&b")));
        QCOMPARE(fixtureUpdaterRecord(root.path()),
                 (QStringList{"packaged", "1.1.1.82", "http://127.0.0.1:1/u.7z?a=1&b"}));

        removeUpdaterCopy(app);
        QVERIFY(!QFile::exists(updaterCopyPath(app)));
        QVERIFY(QFile::exists(app + QStringLiteral("/Update.exe")));
    }

    void existingCopyIsKeptAndStarted()
    {
        QTemporaryDir root;
        const QString app = root.filePath(QStringLiteral("Orbela"));
        QVERIFY(QDir().mkpath(app));
        QVERIFY(writeFixtureUpdater(app + QStringLiteral("/Update.exe"), "packaged"));
        QVERIFY(writeFixtureUpdater(root.filePath(QStringLiteral("Update.exe")), "earlier"));
        QVERIFY(startUpdaterCopy(app, QStringLiteral("2.0"), QStringLiteral("http://127.0.0.1:1/u.7z")));
        QCOMPARE(fixtureUpdaterRecord(root.path()).value(0), QStringLiteral("earlier"));
    }

    void missingUpdaterReportsFailure()
    {
        QTemporaryDir root;
        const QString app = root.filePath(QStringLiteral("Orbela"));
        QVERIFY(QDir().mkpath(app));
        QVERIFY(!startUpdaterCopy(app, QStringLiteral("2.0"), QStringLiteral("http://127.0.0.1:1/u.7z")));
        QVERIFY(!QFile::exists(updaterCopyPath(app)));
    }
};

QTEST_GUILESS_MAIN(TestUpdateHandOver)
#include "TestUpdateHandOver.moc"
