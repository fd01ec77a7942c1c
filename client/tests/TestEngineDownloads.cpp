// The download manager's engine path: the real engine library, loaded through
// the binding from the test's application folder, against the store stand-in.

#include "tests/DownloadTestSupport.h"
#include "tests/StoreServer.h"
#include "core/download/EngineTaskParams.h"
#include "core/download/XLDLImpl.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <memory>

namespace {

const QString kSmall = QStringLiteral("/download/games/small-game.zip");
const QString kLarge = QStringLiteral("/download/games/large-game.zip");
const int kWait = 30000;

} // namespace

class TestEngineDownloads : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void normalDownload();
    void resumeAfterStop();
    void existingTargetIsReplaced();
    void headersTooSlowReports1068();
    void unknownSizeReports64250();
    void failedTaskIsReportedOnceAndStopped();
    void refusedTaskIsReportedAtOnce();
    void answersThatDoNotAddUp_data();
    void answersThatDoNotAddUp();

private:
    std::unique_ptr<StoreServer> server;
    std::unique_ptr<QTemporaryDir> folder;
    QString target(const QString &name) const { return folder->filePath(name); }
};

void TestEngineDownloads::initTestCase()
{
    // The engine is loaded from the application folder, as in the client.
    const QString library = XLDLImpl::defaultLibraryPath();
    QFile::remove(library);
    QVERIFY(QFile::copy(QString::fromLocal8Bit(qgetenv("ORBELA_ENGINE_LIBRARY")), library));
    QVERIFY(QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/download")).removeRecursively());
    server.reset(new StoreServer);
    QVERIFY2(server->start(), qPrintable(server->error()));
}

void TestEngineDownloads::init()
{
    QFile::remove(DownloadManager::taskListPath());
    folder.reset(new QTemporaryDir);
    QVERIFY(folder->isValid());
    QVERIFY(server->clearFaults());
    server->clearLog();
}

void TestEngineDownloads::normalDownload()
{
    QVERIFY(server->setFault(kLarge, QStringLiteral("slow:800000")));
    RecordedManager m;
    const QString name = QStringLiteral("1002.zip");
    QStringList listedWhenFinished{QStringLiteral("unset")};
    m.delegate.onFinished = [&](int) { listedWhenFinished = listedTasks(DownloadManager::taskListPath()).keys(); };
    const int id = m->AddTask(server->url(kLarge), name, folder->path(), true);
    QCOMPARE(id, 1);
    QCOMPARE(listedTasks(DownloadManager::taskListPath()).value(name).attribute(QStringLiteral("engine")),
             QStringLiteral("1"));
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.finished, QList<int>{id}, kWait);

    QVERIFY(m.delegate.errors.isEmpty());
    QCOMPARE(VarifyMD5::digestOfFile(target(name)), server->md5Of(kLarge));
    QCOMPARE(listedWhenFinished, QStringList());
    const qint64 size = QFileInfo(target(name)).size();
    QVERIFY(m.delegate.progress.size() >= 2);
    qint64 previous = 0;
    for (const auto &report : m.delegate.progress) {
        QCOMPARE(report.total, size);
        QVERIFY(report.received >= previous);
        previous = report.received;
    }
}

void TestEngineDownloads::resumeAfterStop()
{
    QVERIFY(server->setFault(kLarge, QStringLiteral("slow:400000")));
    RecordedManager m;
    const QString name = QStringLiteral("large.zip");
    const int id = m->AddTask(server->url(kLarge), name, folder->path(), true);
    QTRY_VERIFY_WITH_TIMEOUT(m.delegate.lastReceived(id) > 300000, kWait);
    m->StopTask(id, false, false);
    QTest::qWait(1500);
    QVERIFY(m.delegate.errors.isEmpty());
    QVERIFY(m.delegate.finished.isEmpty());
    QVERIFY(!QFileInfo::exists(target(name)));

    QVERIFY(server->clearFaults());
    QCOMPARE(m->AddTask(server->url(kLarge), name, folder->path(), true), id);
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.finished, QList<int>{id}, kWait);
    QVERIFY(m.delegate.errors.isEmpty());
    QCOMPARE(VarifyMD5::digestOfFile(target(name)), server->md5Of(kLarge));
    const QStringList ranges = rangesOf(server->requests(kLarge));
    QCOMPARE(ranges.size(), 2);
    QVERIFY(ranges.first().isEmpty());
    QVERIFY2(ranges.last().startsWith(QStringLiteral("bytes=")) && ranges.last() != QStringLiteral("bytes=0-"),
             qPrintable(ranges.last()));
}

void TestEngineDownloads::existingTargetIsReplaced()
{
    const QString name = QStringLiteral("small.zip");
    QFile old(target(name));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(1000000, 'x'));
    old.close();
    RecordedManager m;
    const int id = m->AddTask(server->url(kSmall), name, folder->path(), true);
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.finished, QList<int>{id}, kWait);
    QCOMPARE(VarifyMD5::digestOfFile(target(name)), server->md5Of(kSmall));
}

void TestEngineDownloads::headersTooSlowReports1068()
{
    QVERIFY(server->setFault(kSmall, QStringLiteral("delay-headers:20")));
    RecordedManager m;
    const int id = m->AddTask(server->url(kSmall), QStringLiteral("small.zip"), folder->path(), true);
    QElapsedTimer clock;
    clock.start();
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.errors.size(), 1, kWait);
    // The sixth poll, about six seconds after the start.
    QVERIFY2(clock.elapsed() > 4500, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(m.delegate.errors.first().id, id);
    QCOMPARE(m.delegate.errors.first().code, int(DownloadManager::kEnginePendingTooLong));
    QVERIFY(m.delegate.errors.first().message.isEmpty());
    QVERIFY(m.delegate.progress.isEmpty());
    m->StopTask(id, true, true);
    QVERIFY(!listedTasks(DownloadManager::taskListPath()).contains(QStringLiteral("small.zip")));
}

void TestEngineDownloads::unknownSizeReports64250()
{
    // No Content-Length, and slow enough to last past the eleventh poll.
    QVERIFY(server->setFault(kLarge, QStringLiteral("chunked:100000")));
    RecordedManager m;
    const int id = m->AddTask(server->url(kLarge), QStringLiteral("large.zip"), folder->path(), true);
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.errors.size(), 1, kWait);
    QCOMPARE(m.delegate.errors.first().id, id);
    QCOMPARE(m.delegate.errors.first().code, int(DownloadManager::kEngineNoSize));
    // Progress with a total of 0 on every downloading poll before it.
    QVERIFY(m.delegate.progress.size() >= 9);
    for (const auto &report : m.delegate.progress)
        QCOMPARE(report.total, qint64(0));
    QVERIFY(m.delegate.progress.last().received > 0);
    m->StopTask(id, true, true);
}

void TestEngineDownloads::failedTaskIsReportedOnceAndStopped()
{
    QVERIFY(server->setFault(kSmall, QStringLiteral("404")));
    RecordedManager m;
    const QString name = QStringLiteral("small.zip");
    const int id = m->AddTask(server->url(kSmall), name, folder->path(), true);
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.errors.size(), 1, kWait);
    QCOMPARE(m.delegate.errors.first().code, 1404);
    QTest::qWait(2500);
    QCOMPARE(m.delegate.errors.size(), 1);
    QVERIFY(listedTasks(DownloadManager::taskListPath()).contains(name));

    // Asked again, the stopped task runs again under its id.
    QVERIFY(server->clearFaults());
    QCOMPARE(m->AddTask(server->url(kSmall), name, folder->path(), true), id);
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.finished, QList<int>{id}, kWait);
    QCOMPARE(VarifyMD5::digestOfFile(target(name)), server->md5Of(kSmall));
}

void TestEngineDownloads::refusedTaskIsReportedAtOnce()
{
    // A file name longer than the engine's field: the engine cannot take the task.
    const QString name = QString(600, QLatin1Char('n'));
    RecordedManager m;
    int reportedBeforeReturn = -1;
    m.delegate.onError = [&](int, int) {
        if (reportedBeforeReturn < 0)
            reportedBeforeReturn = 0;
    };
    const int id = m->AddTask(server->url(kSmall), name, folder->path(), true);
    QVERIFY(id > 0);
    QCOMPARE(reportedBeforeReturn, -1); // the caller knows the id before it hears of the failure
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.errors.size(), 1, 2000);
    QCOMPARE(m.delegate.errors.first().id, id);
    QCOMPARE(m.delegate.errors.first().code, int(DownloadManager::kEngineTaskRefused));
    QVERIFY(server->requests(kSmall).isEmpty());
}

namespace {

XlTaskInfo queryEngineTask(XLDL *engine, XlTaskHandle task)
{
    XlTaskInfo info;
    std::memset(&info, 0, sizeof info);
    info.state = XL_STATE_PAUSED;
    engine->QueryTaskInfoEx(task, &info);
    return info;
}

// One engine download as the manager runs it (its own start record, create,
// query, start, query), polled until it completes or fails; the handle is
// deleted afterwards as the manager does before it starts the URL again.
XlTaskInfo runEngineTask(XLDL *engine, const QUrl &url, const QString &name, const QString &folder)
{
    const std::unique_ptr<XlTaskParams> params = engineStartParams(url.toString(QUrl::FullyEncoded), name, folder);
    XlTaskHandle task = engine->CreateTask(params.get());
    queryEngineTask(engine, task);
    engine->StartTask(task);
    XlTaskInfo info = queryEngineTask(engine, task);
    QElapsedTimer clock;
    clock.start();
    while (info.state != XL_STATE_COMPLETE && info.state != XL_STATE_ERROR && clock.elapsed() < kWait) {
        QThread::msleep(5);
        info = queryEngineTask(engine, task);
    }
    engine->DeleteTask(task);
    return info;
}

} // namespace

void TestEngineDownloads::answersThatDoNotAddUp_data()
{
    addAnswerFaultTable(QFileInfo(server->filePath(kSmall)).size(), true);
}

// The engine through the binding: an answer that does not add up is an error
// with its code that leaves the partial file as it was (nothing past its end),
// and "complete" always means the whole stated file.
void TestEngineDownloads::answersThatDoNotAddUp()
{
    QFETCH(QString, fault);
    QFETCH(bool, resume);
    QFETCH(int, code);
    QFETCH(qint64, partialBytes);
    QFETCH(qint64, completeBytes);
    const QByteArray served = fileBytes(server->filePath(kSmall));
    const QString name = QStringLiteral("game.zip");
    const QString temp = target(name) + QStringLiteral(".xltd");
    std::unique_ptr<XLDL> engine(XLDL::instance());
    QVERIFY(engine->Init());

    if (resume) {
        QVERIFY(server->setFault(kSmall, QStringLiteral("cut:%1").arg(served.size() / 2)));
        const XlTaskInfo cut = runEngineTask(engine.get(), server->url(kSmall), name, folder->path());
        QCOMPARE(cut.state, XL_STATE_ERROR);
        QCOMPARE(fileBytes(temp), served.left(served.size() / 2));
        QVERIFY(server->clearFaults());
    }
    if (!fault.isEmpty())
        QVERIFY(server->setFault(kSmall, fault));
    const XlTaskInfo info = runEngineTask(engine.get(), server->url(kSmall), name, folder->path());
    if (code == 0) {
        QCOMPARE(info.state, XL_STATE_COMPLETE);
        QCOMPARE(info.totalSize, completeBytes);
        QCOMPARE(info.downloadedSize, completeBytes);
        QCOMPARE(md5Hex(fileBytes(target(name))), md5Hex(served.left(completeBytes)));
    } else {
        QCOMPARE(info.state, XL_STATE_ERROR);
        QCOMPARE(info.failCode, code);
        QVERIFY(info.totalSize == 0 || info.downloadedSize <= info.totalSize);
        QVERIFY(!QFileInfo::exists(target(name)));
        QCOMPARE(fileBytes(temp), served.left(partialBytes));

        // What was kept serves the next honest resume.
        QVERIFY(server->clearFaults());
        const XlTaskInfo honest = runEngineTask(engine.get(), server->url(kSmall), name, folder->path());
        QCOMPARE(honest.state, XL_STATE_COMPLETE);
        QCOMPARE(md5Hex(fileBytes(target(name))), server->md5Of(kSmall));
    }
    engine->UnInit();
}

QTEST_GUILESS_MAIN(TestEngineDownloads)
#include "TestEngineDownloads.moc"
