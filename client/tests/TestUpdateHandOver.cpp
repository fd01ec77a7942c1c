#include "core/UpdateHandOver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestUpdateHandOver : public QObject
{
    Q_OBJECT

private:
    // An "Update.exe" that records who it is and its arguments beside itself.
    static bool writeUpdater(const QString &path, const QString &who)
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write("#!/bin/sh\nprintf '%s\\n' \"" + who.toUtf8() + "\" \"$@\" > \"$(dirname \"$0\")/updater-ran.tmp\"\n"
                   "mv \"$(dirname \"$0\")/updater-ran.tmp\" \"$(dirname \"$0\")/updater-ran.txt\"\n");
        file.close();
        return file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }

    static QStringList waitForRecord(const QString &folder)
    {
        QFile record(folder + QStringLiteral("/updater-ran.txt"));
        QDeadlineTimer deadline(10000);
        while (!record.exists() && !deadline.hasExpired())
            QTest::qWait(20);
        if (!record.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(record.readAll()).split('\n', Qt::SkipEmptyParts);
    }

private slots:
    void copyStartsWithVersionAndUrl()
    {
        QTemporaryDir root;
        const QString app = root.filePath(QStringLiteral("Orbela"));
        QVERIFY(QDir().mkpath(app));
        QVERIFY(writeUpdater(app + QStringLiteral("/Update.exe"), QStringLiteral("packaged")));
        QCOMPARE(updaterCopyPath(app), root.filePath(QStringLiteral("Update.exe")));
        QVERIFY(startUpdaterCopy(app, QStringLiteral("1.1.1.82"), QStringLiteral("http://127.0.0.1:1/u.7z?a=1&b")));
        QCOMPARE(waitForRecord(root.path()),
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
        QVERIFY(writeUpdater(app + QStringLiteral("/Update.exe"), QStringLiteral("packaged")));
        QVERIFY(writeUpdater(root.filePath(QStringLiteral("Update.exe")), QStringLiteral("earlier")));
        QVERIFY(startUpdaterCopy(app, QStringLiteral("2.0"), QStringLiteral("http://127.0.0.1:1/u.7z")));
        QCOMPARE(waitForRecord(root.path()).value(0), QStringLiteral("earlier"));
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
