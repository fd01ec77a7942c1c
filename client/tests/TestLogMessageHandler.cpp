#include "core/AppFolders.h"
#include "core/LogMessageHandler.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <QtTest>

class TestLogMessageHandler : public QObject
{
    Q_OBJECT

private:
    static QString todaysLog()
    {
        return getLogsDir() + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".log");
    }
    static QByteArray readLog()
    {
        QFile file(todaysLog());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void log(QtMsgType type, const QString &text)
    {
        logMessageHandler(type, QMessageLogContext(), text);
    }

private slots:
    void init()
    {
        QFile::remove(todaysLog());
    }

    void lineFormat_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expectedTail");
        QTest::newRow("debug") << int(QtDebugMsg) << "[Mivo] hello" << " Debug: [Mivo] hello";
        QTest::newRow("warning") << int(QtWarningMsg) << "w" << " Warning: w";
        QTest::newRow("critical") << int(QtCriticalMsg) << "c" << " Critical: c";
        QTest::newRow("fatal") << int(QtFatalMsg) << "f" << " Fatal: f";
        QTest::newRow("info") << int(QtInfoMsg) << "i" << " Info: i";
        QTest::newRow("unknown type: empty word, two blanks") << 7 << "x" << "  x";
        QTest::newRow("placeholders stay") << int(QtDebugMsg) << "%1 %2 100%" << " Debug: %1 %2 100%";
        QTest::newRow("chinese") << int(QtInfoMsg) << QStringLiteral("设备选择") << QStringLiteral(" Info: 设备选择");
    }

    void lineFormat()
    {
        QFETCH(int, type);
        QFETCH(QString, text);
        QFETCH(QString, expectedTail);
        log(QtMsgType(type), text);
        const QByteArray content = readLog();
        QVERIFY2(content.endsWith("\r\n"), content.constData());
        QCOMPARE(content.count('\n'), 1);
        const QString line = QString::fromUtf8(content.left(content.size() - 2));
        const QRegularExpression shape(QStringLiteral("^\\[\\d\\d:\\d\\d:\\d\\d\\]"));
        QVERIFY2(shape.match(line).hasMatch(), qPrintable(line));
        QCOMPARE(line.mid(10), expectedTail);
    }

    void qtMessagesReachTheFileThroughTheInstalledHandler()
    {
        QtMessageHandler previous = qInstallMessageHandler(logMessageHandler);
        qWarning("through qWarning %d", 42);
        qInstallMessageHandler(previous);
        QVERIFY(readLog().contains("Warning: through qWarning 42\r\n"));
    }

    void concurrentWritersGiveWholeLines()
    {
        const int perThread = 300;
        auto writer = [](char tag) {
            return QThread::create([tag]() {
                const QString text = QString(200, QLatin1Char(tag));
                for (int i = 0; i < perThread; ++i)
                    log(QtDebugMsg, text);
            });
        };
        QScopedPointer<QThread> a(writer('a')), b(writer('b'));
        a->start();
        b->start();
        QVERIFY(a->wait(60000));
        QVERIFY(b->wait(60000));
        const QList<QByteArray> lines = readLog().split('\n');
        QCOMPARE(lines.size(), 2 * perThread + 1); // the last split is empty
        int countA = 0, countB = 0;
        for (int i = 0; i < lines.size() - 1; ++i) {
            const QByteArray &line = lines[i];
            QVERIFY(line.endsWith('\r'));
            const QByteArray text = line.mid(18, 200);
            if (text == QByteArray(200, 'a'))
                ++countA;
            else if (text == QByteArray(200, 'b'))
                ++countB;
            else
                QFAIL(line.constData());
        }
        QCOMPARE(countA, perThread);
        QCOMPARE(countB, perThread);
    }

    void deletedLogsFolderComesBack()
    {
        QVERIFY(QDir(getLogsDir()).removeRecursively());
        QVERIFY(!QFile::exists(todaysLog()));
        log(QtInfoMsg, QStringLiteral("after removal"));
        QVERIFY(readLog().contains("Info: after removal\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestLogMessageHandler)
#include "TestLogMessageHandler.moc"
