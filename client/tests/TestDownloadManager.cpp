// The download manager's own HTTP path against the store stand-in: whole
// downloads, pause and resume with byte ranges, failures, the task list file,
// and a manager process killed in the middle of a download.

#include "tests/DownloadTestSupport.h"
#include "tests/FileSizeLimit.h"
#include "tests/StoreServer.h"

#include <QDir>
#include <QFileInfo>
#include <QNetworkReply>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString kSmall = QStringLiteral("/download/games/small-game.zip");
const QString kLarge = QStringLiteral("/download/games/large-game.zip");
const QString kPicture = QStringLiteral("/download/pics/1001.png");
const int kWait = 30000;
// Time limits for answers that never end (the client's are 30 s and 60 s).
const int kShortLimitMs = 2000;

// download-runner in a client folder of its own, so its "temp.xml" is private.
class RunnerFolder
{
public:
    RunnerFolder()
    {
        const QString runner = QString::fromLocal8Bit(qgetenv("ORBELA_DOWNLOAD_RUNNER"));
        ready = root.isValid() && QFile::copy(runner, program());
    }
    bool ready = false;
    QTemporaryDir root;
    QString program() const { return root.filePath(QStringLiteral("download-runner")); }
    QString taskList() const { return root.filePath(QStringLiteral("UserData/temp/temp.xml")); }
};

// Reads a runner's lines until one starts with prefix; returns it, or "" on timeout or exit.
QString waitForLine(QProcess &process, const QString &prefix, QStringList *seen = nullptr, int timeoutMs = kWait)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        while (process.canReadLine()) {
            const QString line = QString::fromUtf8(process.readLine()).trimmed();
            if (seen)
                seen->append(line);
            if (line.startsWith(prefix))
                return line;
        }
        if (process.state() == QProcess::NotRunning && !process.canReadLine())
            return QString();
        process.waitForReadyRead(100);
    }
    return QString();
}

} // namespace

class TestDownloadManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void completeDownload_data();
    void completeDownload();
    void pauseAndResume_data();
    void pauseAndResume();
    void failedDownloadStaysListedAndContinues_data();
    void failedDownloadStaysListedAndContinues();
    void redirectIsFollowedNotSaved();
    void stopReportsNoError_data();
    void stopReportsNoError();
    void oneUrlTwoTargets();
    void askingAgainForRunningTaskReturnsItsId();
    void taskListSurvivesRestart_data();
    void taskListSurvivesRestart();
    void plainTaskListIsRead();
    void damagedTaskListIsKeptAside();
    void unreadableEntryIsSkipped();
    void taskFileWithoutTaskIsClaimed();
    void failedSaveKeepsTheOldList();
    void rangeBeyondEnd_data();
    void rangeBeyondEnd();
    void failedRenameIsError();
    void fullDiskIsError();
    void killedManagerResumesFromTaskList();
    void withoutDelegateNothingHappens();
    void refusedDownloadStartsNothing_data();
    void refusedDownloadStartsNothing();
    void answersThatDoNotAddUp_data();
    void answersThatDoNotAddUp();

private:
    std::unique_ptr<StoreServer> server;
    std::unique_ptr<QTemporaryDir> folder;
    QString target(const QString &name) const { return folder->filePath(name); }
};

void TestDownloadManager::initTestCase()
{
    server.reset(new StoreServer);
    QVERIFY2(server->start(), qPrintable(server->error()));
}

void TestDownloadManager::init()
{
    QFile::remove(DownloadManager::taskListPath());
    folder.reset(new QTemporaryDir);
    QVERIFY(folder->isValid());
    QVERIFY(server->clearFaults());
    server->clearLog();
}

void TestDownloadManager::cleanupTestCase()
{
    server.reset();
}

void TestDownloadManager::completeDownload_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("package below 1 MiB") << kSmall << "small-game.zip";
    QTest::newRow("package above 1 MiB") << kLarge << "1002.zip";
    QTest::newRow("picture") << kPicture << "1001.png";
}

void TestDownloadManager::completeDownload()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    RecordedManager m;
    QStringList listedWhenFinished{QStringLiteral("unset")};
    m.delegate.onFinished = [&](int) { listedWhenFinished = listedTasks(DownloadManager::taskListPath()).keys(); };

    const int id = m->AddTask(server->url(path), name, folder->path(), false);
    QCOMPARE(id, 1);
    QVERIFY(listedTasks(DownloadManager::taskListPath()).contains(name));
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.finished, QList<int>{id}, kWait);

    QVERIFY(m.delegate.errors.isEmpty());
    QCOMPARE(VarifyMD5::digestOfFile(target(name)), server->md5Of(path));
    QVERIFY(!QFileInfo::exists(target(name) + QStringLiteral(".tmp")));
    QCOMPARE(listedWhenFinished, QStringList());
    const qint64 size = QFileInfo(target(name)).size();
    QVERIFY(!m.delegate.progress.isEmpty());
    QCOMPARE(m.delegate.progress.last().received, size);
    for (const auto &report : m.delegate.progress)
        QCOMPARE(report.total, size);
    QCOMPARE(rangesOf(server->requests(path)), QStringList{QString()});
}

void TestDownloadManager::pauseAndResume_data()
{
    QTest::addColumn<QString>("resumeFault");
    QTest::addColumn<bool>("appends");
    QTest::newRow("server honours the range") << QString() << true;
    QTest::newRow("server ignores the range") << QStringLiteral("ignore-range") << false;
}

void TestDownloadManager::pauseAndResume()
{
    QFETCH(QString, resumeFault);
    QFETCH(bool, appends);
    QVERIFY(server->setFault(kLarge, QStringLiteral("slow:400000")));
    RecordedManager m;
    const int id = m->AddTask(server->url(kLarge), QStringLiteral("large.zip"), folder->path(), false);
    QTRY_VERIFY_WITH_TIMEOUT(m.delegate.lastReceived(id) > 300000, kWait);

    m->StopTask(id, false, false);
    const QString temp = target(QStringLiteral("large.zip.tmp"));
    const qint64 kept = QFileInfo(temp).size();
    QVERIFY(kept > 300000);
    QTest::qWait(300);
    QVERIFY(m.delegate.errors.isEmpty());
    QVERIFY(m.delegate.finished.isEmpty());

    QVERIFY(server->clearFaults());
    if (!resumeFault.isEmpty())
        QVERIFY(server->setFault(kLarge, resumeFault));
    const int progressBefore = m.delegate.progress.size();
    QCOMPARE(m->AddTask(server->url(kLarge), QStringLiteral("large.zip"), folder->path(), false), id);
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.finished, QList<int>{id}, kWait);

    QVERIFY(m.delegate.errors.isEmpty());
    QCOMPARE(VarifyMD5::digestOfFile(target(QStringLiteral("large.zip"))), server->md5Of(kLarge));
    const QStringList ranges = rangesOf(server->requests(kLarge));
    QCOMPARE(ranges.size(), 2);
    QCOMPARE(ranges.at(1), QStringLiteral("bytes=%1-").arg(kept));
    const qint64 size = QFileInfo(target(QStringLiteral("large.zip"))).size();
    // Progress after the resume counts from the bytes kept, or from zero when
    // the server sent the whole file again; the total is the file's size.
    QVERIFY(m.delegate.progress.size() > progressBefore);
    for (int i = progressBefore; i < m.delegate.progress.size(); ++i)
        QCOMPARE(m.delegate.progress.at(i).total, size);
    if (appends)
        QVERIFY(m.delegate.progress.at(progressBefore).received > kept);
}

void TestDownloadManager::failedDownloadStaysListedAndContinues_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("code");
    QTest::addColumn<qint64>("keptBytes");
    QTest::newRow("404") << QStringLiteral("404") << int(QNetworkReply::ContentNotFoundError) << qint64(0);
    QTest::newRow("connection cut mid-body") << QStringLiteral("cut:100000")
                                             << int(QNetworkReply::RemoteHostClosedError) << qint64(100000);
    // The time limits are set short below; the server never ends these answers.
    QTest::newRow("headers that never end") << QStringLiteral("drip-headers:100") << int(QNetworkReply::TimeoutError)
                                            << qint64(0);
    QTest::newRow("body that stops") << QStringLiteral("stall:100000") << int(QNetworkReply::TimeoutError)
                                     << qint64(100000);
}

void TestDownloadManager::failedDownloadStaysListedAndContinues()
{
    QFETCH(QString, fault);
    QFETCH(int, code);
    QFETCH(qint64, keptBytes);
    QVERIFY(server->setFault(kLarge, fault));
    RecordedManager m;
    m->setTimeLimits(kShortLimitMs, kShortLimitMs);
    const QString name = QStringLiteral("large.zip");
    // The failure reaches the client's log, not only the delegate.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^download 1 failed: error %1: ").arg(code)));
    const int id = m->AddTask(server->url(kLarge), name, folder->path(), false);
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.errors.size(), 1, kWait);
    QTest::qWait(200);

    QCOMPARE(m.delegate.errors.size(), 1);
    QCOMPARE(m.delegate.errors.first().id, id);
    QCOMPARE(m.delegate.errors.first().code, code);
    QVERIFY(!m.delegate.errors.first().message.isEmpty());
    QVERIFY(m.delegate.finished.isEmpty());
    QVERIFY(!QFileInfo::exists(target(name)));
    // An error page never lands in the temporary file.
    QCOMPARE(QFileInfo(target(name + QStringLiteral(".tmp"))).size(), keptBytes);
    QCOMPARE(listedTasks(DownloadManager::taskListPath()).value(name).attribute(QStringLiteral("id")).toInt(), id);

    QVERIFY(server->clearFaults());
    QCOMPARE(m->AddTask(server->url(kLarge), name, folder->path(), false), id);
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.finished, QList<int>{id}, kWait);
    QCOMPARE(VarifyMD5::digestOfFile(target(name)), server->md5Of(kLarge));
    QCOMPARE(rangesOf(server->requests(kLarge)).last(), QStringLiteral("bytes=%1-").arg(keptBytes));
}

void TestDownloadManager::redirectIsFollowedNotSaved()
{
    const QString moved = QStringLiteral("/download/games/moved.zip");
    QVERIFY(server->setFault(moved, QStringLiteral("redirect:") + kSmall));
    RecordedManager m;
    const int id = m->AddTask(server->url(moved), QStringLiteral("moved.zip"), folder->path(), false);
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.finished, QList<int>{id}, kWait);
    QVERIFY(m.delegate.errors.isEmpty());
    QCOMPARE(VarifyMD5::digestOfFile(target(QStringLiteral("moved.zip"))), server->md5Of(kSmall));
    QCOMPARE(server->requests(moved).size(), 1);
    QCOMPARE(server->requests(kSmall).size(), 1);
}

void TestDownloadManager::stopReportsNoError_data()
{
    QTest::addColumn<bool>("remove");
    QTest::addColumn<bool>("deleteTemp");
    QTest::newRow("pause keeps task and data") << false << false;
    QTest::newRow("uninstall drops task and data") << true << true;
}

void TestDownloadManager::stopReportsNoError()
{
    QFETCH(bool, remove);
    QFETCH(bool, deleteTemp);
    QVERIFY(server->setFault(kLarge, QStringLiteral("slow:200000")));
    RecordedManager m;
    const QString name = QStringLiteral("large.zip");
    const int id = m->AddTask(server->url(kLarge), name, folder->path(), false);
    QTRY_VERIFY_WITH_TIMEOUT(m.delegate.lastReceived(id) > 0, kWait);
    m->StopTask(id, remove, deleteTemp);
    QTest::qWait(500);

    QVERIFY(m.delegate.errors.isEmpty());
    QVERIFY(m.delegate.finished.isEmpty());
    QCOMPARE(QFileInfo::exists(target(name + QStringLiteral(".tmp"))), !deleteTemp);
    QCOMPARE(listedTasks(DownloadManager::taskListPath()).contains(name), !remove);
    // A stopped task (known or not) stops again without harm.
    m->StopTask(id, false, false);
    m->StopTask(9999, true, true);
    QVERIFY(m.delegate.errors.isEmpty());
}

void TestDownloadManager::oneUrlTwoTargets()
{
    QTemporaryDir other;
    RecordedManager m;
    const QString name = QStringLiteral("small.zip");
    const int first = m->AddTask(server->url(kSmall), name, folder->path(), false);
    const int second = m->AddTask(server->url(kSmall), name, other.path(), false);
    QVERIFY(first != second);
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.finished.size(), 2, kWait);
    QVERIFY(m.delegate.errors.isEmpty());
    QCOMPARE(VarifyMD5::digestOfFile(target(name)), server->md5Of(kSmall));
    QCOMPARE(VarifyMD5::digestOfFile(other.filePath(name)), server->md5Of(kSmall));
    QCOMPARE(server->requests(kSmall).size(), 2);
}

void TestDownloadManager::askingAgainForRunningTaskReturnsItsId()
{
    QVERIFY(server->setFault(kSmall, QStringLiteral("slow:100000")));
    RecordedManager m;
    const QString name = QStringLiteral("small.zip");
    const int id = m->AddTask(server->url(kSmall), name, folder->path(), false);
    QTRY_VERIFY_WITH_TIMEOUT(m.delegate.lastReceived(id) > 0, kWait);
    QCOMPARE(m->AddTask(server->url(kSmall), name, folder->path(), false), id);
    QVERIFY(server->clearFaults());
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.finished, QList<int>{id}, kWait);
    QCOMPARE(server->requests(kSmall).size(), 1);
    QCOMPARE(VarifyMD5::digestOfFile(target(name)), server->md5Of(kSmall));
}

void TestDownloadManager::taskListSurvivesRestart_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain file name") << QStringLiteral("large-game.zip");
    QTest::newRow("name beginning with a digit") << QStringLiteral("1002.zip");
    QTest::newRow("name with a space") << QStringLiteral("deep sea.zip");
}

void TestDownloadManager::taskListSurvivesRestart()
{
    QFETCH(QString, name);
    QVERIFY(server->setFault(kLarge, QStringLiteral("slow:400000")));
    int id = 0;
    qint64 kept = 0;
    {
        RecordedManager m;
        QCOMPARE(m->AddTask(server->url(kSmall), QStringLiteral("done.zip"), folder->path(), false), 1);
        QTRY_COMPARE_WITH_TIMEOUT(m.delegate.finished.size(), 1, kWait);
        id = m->AddTask(server->url(kLarge), name, folder->path(), false);
        QCOMPARE(id, 2);
        QTRY_VERIFY_WITH_TIMEOUT(m.delegate.lastReceived(id) > 100000, kWait);
    } // shut down in the middle: the data received so far is flushed and kept
    kept = QFileInfo(target(name + QStringLiteral(".tmp"))).size();
    QVERIFY(kept > 100000);

    QFile file(DownloadManager::taskListPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY(text.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n    <id value=\"2\"/>\r\n"));
    QCOMPARE(text.count("\n"), text.count("\r\n"));
    const QDomElement listed = listedTasks(DownloadManager::taskListPath()).value(name);
    QCOMPARE(listed.attribute(QStringLiteral("id")).toInt(), id);
    QCOMPARE(listed.attribute(QStringLiteral("url")), server->url(kLarge).toString());
    QCOMPARE(listed.attribute(QStringLiteral("engine")), QStringLiteral("0"));
    QCOMPARE(QDir::cleanPath(listed.attribute(QStringLiteral("path"))), QDir::cleanPath(folder->path()));

    QVERIFY(server->clearFaults());
    RecordedManager again;
    QCOMPARE(again->AddTask(server->url(kLarge), name, folder->path(), false), id);
    QTRY_COMPARE_WITH_TIMEOUT(again.delegate.finished, QList<int>{id}, kWait);
    QCOMPARE(VarifyMD5::digestOfFile(target(name)), server->md5Of(kLarge));
    QCOMPARE(rangesOf(server->requests(kLarge)).last(), QStringLiteral("bytes=%1-").arg(kept));
    // Ids go on from the saved counter.
    QCOMPARE(again->AddTask(server->url(kSmall), QStringLiteral("next.zip"), folder->path(), false), 3);
}

void TestDownloadManager::plainTaskListIsRead()
{
    // A list written with plain element names, as older clients wrote it.
    const QString name = QStringLiteral("large-game.zip");
    QFile list(DownloadManager::taskListPath());
    QVERIFY(list.open(QIODevice::WriteOnly));
    list.write(QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n    <id value=\"41\"/>\r\n"
                              "    <items>\r\n        <%1 url=\"%2\" id=\"40\" engine=\"0\" path=\"%3\"/>\r\n"
                              "    </items>\r\n</root>\r\n")
                   .arg(name, server->url(kLarge).toString(), folder->path())
                   .toUtf8());
    list.close();
    QFile part(target(name + QStringLiteral(".tmp")));
    QVERIFY(part.open(QIODevice::WriteOnly));
    QFile source(server->filePath(kLarge));
    QVERIFY(source.open(QIODevice::ReadOnly));
    part.write(source.read(123456));
    part.close();

    RecordedManager m;
    QCOMPARE(m->AddTask(server->url(kLarge), name, folder->path(), false), 40);
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.finished, QList<int>{40}, kWait);
    QCOMPARE(VarifyMD5::digestOfFile(target(name)), server->md5Of(kLarge));
    QCOMPARE(rangesOf(server->requests(kLarge)), QStringList{QStringLiteral("bytes=123456-")});
    QCOMPARE(m->AddTask(server->url(kSmall), QStringLiteral("next.zip"), folder->path(), false), 42);
}

namespace {
void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), qint64(content.size()));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

void TestDownloadManager::damagedTaskListIsKeptAside()
{
    const QString damaged = DownloadManager::taskListPath() + QStringLiteral(".damaged");
    const QByteArray broken = "<?xml version=\"1.0\"?>\r\n<root>\r\n    <items>\r\n        <task name=\"a.zip\" ";
    writeFile(damaged, "an older copy");
    writeFile(DownloadManager::taskListPath(), broken);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("temp\\.xml does not parse.*copied to .*temp\\.xml\\.damaged")));
    RecordedManager m;
    QCOMPARE(readFile(damaged), broken);
    // The next save writes a new list; the damaged one stays aside.
    QCOMPARE(m->AddTask(server->url(kSmall), QStringLiteral("small.zip"), folder->path(), false), 1);
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.finished, QList<int>{1}, kWait);
    QCOMPARE(readFile(damaged), broken);
    QVERIFY(listedTasks(DownloadManager::taskListPath()).isEmpty());
    QVERIFY(readFile(DownloadManager::taskListPath()).startsWith("<?xml"));
}

void TestDownloadManager::unreadableEntryIsSkipped()
{
    const QString name = QStringLiteral("large-game.zip");
    writeFile(DownloadManager::taskListPath(),
              QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<root>\r\n    <id value=\"41\"/>\r\n"
                             "    <items>\r\n        <task name=\"../escape.zip\" url=\"%2\" id=\"7\" engine=\"0\" path=\"%3\"/>\r\n"
                             "        <%1 url=\"%2\" id=\"40\" engine=\"0\" path=\"%3\"/>\r\n"
                             "    </items>\r\n</root>\r\n")
                  .arg(name, server->url(kLarge).toString(), folder->path())
                  .toUtf8());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("entry at line 5 is skipped")));
    RecordedManager m;
    QCOMPARE(m->AddTask(server->url(kLarge), name, folder->path(), false), 40);
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.finished, QList<int>{40}, kWait);
    QVERIFY(!listedTasks(DownloadManager::taskListPath()).contains(QStringLiteral("../escape.zip")));
}

void TestDownloadManager::taskFileWithoutTaskIsClaimed()
{
    // The list is gone, the bytes received so far are not: a new task for the
    // same target goes on from them instead of truncating them.
    const QString name = QStringLiteral("large-game.zip");
    QFile source(server->filePath(kLarge));
    QVERIFY(source.open(QIODevice::ReadOnly));
    writeFile(target(name + QStringLiteral(".tmp")), source.read(123456));

    RecordedManager m;
    const int id = m->AddTask(server->url(kLarge), name, folder->path(), false);
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.finished, QList<int>{id}, kWait);
    QCOMPARE(VarifyMD5::digestOfFile(target(name)), server->md5Of(kLarge));
    QCOMPARE(rangesOf(server->requests(kLarge)), QStringList{QStringLiteral("bytes=123456-")});
}

void TestDownloadManager::failedSaveKeepsTheOldList()
{
    QVERIFY(server->setFault(kLarge, QStringLiteral("stall")));
    RecordedManager m;
    const int first = m->AddTask(server->url(kLarge), QStringLiteral("first.zip"), folder->path(), false);
    const QByteArray saved = readFile(DownloadManager::taskListPath());
    QVERIFY(listedTasks(DownloadManager::taskListPath()).contains(QStringLiteral("first.zip")));
    {
        FileSizeLimit fullDisk(16);
        QVERIFY(fullDisk.isActive());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("task list .*temp\\.xml was not saved")));
        QCOMPARE(m->AddTask(server->url(kLarge), QStringLiteral("second.zip"), folder->path(), false), first + 1);
    }
    QCOMPARE(readFile(DownloadManager::taskListPath()), saved);
}

void TestDownloadManager::rangeBeyondEnd_data()
{
    QTest::addColumn<qint64>("extraBytes");
    QTest::addColumn<int>("requests");
    QTest::newRow("temporary file complete") << qint64(0) << 1;
    QTest::newRow("temporary file longer than the file") << qint64(100) << 2;
}

void TestDownloadManager::rangeBeyondEnd()
{
    QFETCH(qint64, extraBytes);
    QFETCH(int, requests);
    const QString name = QStringLiteral("small.zip");
    {
        // A paused task whose temporary file holds the whole file (plus junk).
        RecordedManager m;
        QVERIFY(server->setFault(kSmall, QStringLiteral("slow:10000")));
        const int id = m->AddTask(server->url(kSmall), name, folder->path(), false);
        QTRY_VERIFY_WITH_TIMEOUT(m.delegate.lastReceived(id) > 0, kWait);
        m->StopTask(id, false, false);
    }
    QVERIFY(server->clearFaults());
    QFile source(server->filePath(kSmall));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QFile part(target(name + QStringLiteral(".tmp")));
    QVERIFY(part.open(QIODevice::WriteOnly | QIODevice::Truncate));
    part.write(source.readAll() + QByteArray(extraBytes, 'x'));
    part.close();
    server->clearLog();

    RecordedManager m;
    const int id = m->AddTask(server->url(kSmall), name, folder->path(), false);
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.finished, QList<int>{id}, kWait);
    QVERIFY(m.delegate.errors.isEmpty());
    QCOMPARE(VarifyMD5::digestOfFile(target(name)), server->md5Of(kSmall));
    QCOMPARE(server->requests(kSmall).size(), requests);
}

void TestDownloadManager::failedRenameIsError()
{
    const QString name = QStringLiteral("small.zip");
    // A folder in the target's place, with something in it, cannot be replaced by the file.
    QVERIFY(QDir().mkpath(target(name) + QStringLiteral("/inside")));
    RecordedManager m;
    const int id = m->AddTask(server->url(kSmall), name, folder->path(), false);
    QTRY_COMPARE_WITH_TIMEOUT(m.delegate.errors.size(), 1, kWait);
    QCOMPARE(m.delegate.errors.first().id, id);
    QCOMPARE(m.delegate.errors.first().code, int(DownloadManager::kRenameFailed));
    QVERIFY(m.delegate.finished.isEmpty());
    QCOMPARE(VarifyMD5::digestOfFile(target(name + QStringLiteral(".tmp"))), server->md5Of(kSmall));
    QVERIFY(listedTasks(DownloadManager::taskListPath()).contains(name));
}

void TestDownloadManager::fullDiskIsError()
{
    // The target folder is a 256 KiB tmpfs in a mount namespace of the runner's own.
    RunnerFolder runner;
    QVERIFY(runner.ready);
    const QString small = runner.root.filePath(QStringLiteral("small-disk"));
    QVERIFY(QDir().mkpath(small));
    // Whether this machine allows the namespace and the mount is unshare's own
    // answer, asked first: where it is refused, unshare ends at once.
    QProcess probe;
    probe.start(QStringLiteral("unshare"),
                {QStringLiteral("--mount"), QStringLiteral("--map-root-user"), QStringLiteral("sh"), QStringLiteral("-c"),
                 QStringLiteral("mount -t tmpfs -o size=256k tmpfs \"$1\""), QStringLiteral("sh"), small});
    if (!probe.waitForStarted() || !probe.waitForFinished(kWait) || probe.exitStatus() != QProcess::NormalExit
        || probe.exitCode() != 0)
        QSKIP("no mount namespace with a tmpfs here (unshare --mount --map-root-user was refused)");

    QProcess process;
    process.start(QStringLiteral("unshare"),
                  {QStringLiteral("--mount"), QStringLiteral("--map-root-user"), QStringLiteral("sh"),
                   QStringLiteral("-c"), QStringLiteral("mount -t tmpfs -o size=256k tmpfs \"$1\" && exec \"$2\" \"$3\" large.zip \"$1\""),
                   QStringLiteral("sh"), small, runner.program(), server->url(kLarge).toString()});
    QVERIFY(process.waitForStarted());
    QStringList lines;
    const QString error = waitForLine(process, QStringLiteral("error "), &lines);
    QVERIFY(process.state() == QProcess::NotRunning || process.waitForFinished(kWait));
    lines += QString::fromUtf8(process.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY2(!lines.filter(QRegularExpression(QStringLiteral("^task "))).isEmpty(), qPrintable(lines.join(QLatin1Char('|'))));
    QCOMPARE(error.section(QLatin1Char(' '), 2, 2).toInt(), int(DownloadManager::kWriteFailed));
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(lines.filter(QStringLiteral("finished")).isEmpty());
}

void TestDownloadManager::killedManagerResumesFromTaskList()
{
    RunnerFolder runner;
    QVERIFY(runner.ready);
    const QString name = QStringLiteral("1002.zip");
    const QStringList arguments{server->url(kLarge).toString(), name, folder->path()};
    QVERIFY(server->setFault(kLarge, QStringLiteral("slow:400000")));

    QProcess first;
    first.start(runner.program(), arguments);
    const QString task = waitForLine(first, QStringLiteral("task "));
    QVERIFY(!task.isEmpty());
    qint64 received = 0;
    while (received < 500000) {
        const QString line = waitForLine(first, QStringLiteral("progress "));
        QVERIFY2(!line.isEmpty(), "no progress before the kill");
        received = line.section(QLatin1Char(' '), 2, 2).toLongLong();
    }
    first.kill(); // SIGKILL: no shut-down, no flush
    QVERIFY(first.waitForFinished(kWait));
    QCOMPARE(first.exitStatus(), QProcess::CrashExit);

    const qint64 kept = QFileInfo(target(name + QStringLiteral(".tmp"))).size();
    QVERIFY(kept >= 500000);
    QVERIFY(listedTasks(runner.taskList()).contains(name));
    QVERIFY(server->clearFaults());

    QProcess second;
    second.start(runner.program(), arguments);
    QCOMPARE(waitForLine(second, QStringLiteral("task ")), task);
    QVERIFY(!waitForLine(second, QStringLiteral("finished ")).isEmpty());
    QVERIFY(second.waitForFinished(kWait));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(VarifyMD5::digestOfFile(target(name)), server->md5Of(kLarge));
    const QStringList ranges = rangesOf(server->requests(kLarge));
    QCOMPARE(ranges.size(), 2);
    QCOMPARE(ranges.last(), QStringLiteral("bytes=%1-").arg(kept));
    QVERIFY(!listedTasks(runner.taskList()).contains(name));
}

void TestDownloadManager::withoutDelegateNothingHappens()
{
    DownloadManager manager(nullptr);
    QCOMPARE(manager.AddTask(server->url(kSmall), QStringLiteral("small.zip"), folder->path(), false), 0);
    manager.StopTask(1, true, true);
    manager.StopAllTasks(true, true);
    manager.Shutdown();
    QTest::qWait(200);
    QVERIFY(!QFileInfo::exists(DownloadManager::taskListPath()));
    QVERIFY(server->requests(kSmall).isEmpty());
}

void TestDownloadManager::refusedDownloadStartsNothing_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("subfolder");
    QTest::addColumn<bool>("useEngine");
    for (const bool useEngine : {false, true}) {
        const QString path = useEngine ? QStringLiteral(", engine") : QStringLiteral(", HTTP");
        QTest::newRow(qPrintable("file address" + path)) << QStringLiteral("file:///etc/passwd") << "" << useEngine;
        QTest::newRow(qPrintable("ftp address" + path)) << QStringLiteral("ftp://127.0.0.1/small-game.zip") << ""
                                                        << useEngine;
        QTest::newRow(qPrintable("data address" + path)) << QStringLiteral("data:application/zip;base64,UEsDBA==")
                                                         << "" << useEngine;
        QTest::newRow(qPrintable("folder climbing out" + path)) << QString() << "games/../.." << useEngine;
    }
}

// Only web addresses are downloaded, and only into the folder named: any
// other address or a folder with ".." starts no task and sends nothing.
void TestDownloadManager::refusedDownloadStartsNothing()
{
    QFETCH(QString, address);
    QFETCH(QString, subfolder);
    QFETCH(bool, useEngine);
    const QUrl url = address.isEmpty() ? server->url(kSmall) : QUrl(address);
    const QString dir = folder->path() + (subfolder.isEmpty() ? QString() : QLatin1Char('/') + subfolder);
    RecordedManager m;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^download refused: ")));
    QCOMPARE(m->AddTask(url, QStringLiteral("small.zip"), dir, useEngine), 0);
    QTest::qWait(200);
    QVERIFY(m.delegate.errors.isEmpty());
    QVERIFY(listedTasks(DownloadManager::taskListPath()).isEmpty());
    QVERIFY(server->requests(kSmall).isEmpty());
    QVERIFY(QDir(folder->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    QVERIFY(!QFileInfo::exists(QDir::cleanPath(dir + QStringLiteral("/small.zip.tmp"))));
}

void TestDownloadManager::answersThatDoNotAddUp_data()
{
    addAnswerFaultTable(QFileInfo(server->filePath(kSmall)).size(), false);
}

// The manager's own HTTP path: an answer that does not add up is an error with
// its code that leaves the partial file as it was (nothing past its end), and
// "finished" always means the whole stated file.
void TestDownloadManager::answersThatDoNotAddUp()
{
    QFETCH(QString, fault);
    QFETCH(bool, resume);
    QFETCH(int, code);
    QFETCH(qint64, partialBytes);
    QFETCH(qint64, completeBytes);
    const QByteArray served = fileBytes(server->filePath(kSmall));
    const QString name = QStringLiteral("game.zip");
    const QString temp = target(name) + QStringLiteral(".tmp");
    RecordedManager m;

    int id = 0;
    if (resume) {
        QVERIFY(server->setFault(kSmall, QStringLiteral("cut:%1").arg(served.size() / 2)));
        id = m->AddTask(server->url(kSmall), name, folder->path(), false);
        QTRY_COMPARE_WITH_TIMEOUT(m.delegate.errors.size(), 1, kWait);
        QCOMPARE(fileBytes(temp), served.left(served.size() / 2));
        QVERIFY(server->clearFaults());
    }
    if (!fault.isEmpty())
        QVERIFY(server->setFault(kSmall, fault));
    const int errorsBefore = m.delegate.errors.size();
    QCOMPARE(m->AddTask(server->url(kSmall), name, folder->path(), false), resume ? id : 1);
    id = resume ? id : 1;
    QTRY_VERIFY_WITH_TIMEOUT(m.delegate.errors.size() > errorsBefore || !m.delegate.finished.isEmpty(), kWait);
    QTest::qWait(50); // nothing else may follow the outcome
    if (code == 0) {
        QCOMPARE(m.delegate.finished, QList<int>{id});
        QCOMPARE(m.delegate.errors.size(), errorsBefore);
        QCOMPARE(VarifyMD5::digestOfFile(target(name)), md5Hex(served.left(completeBytes)));
        for (const auto &report : m.delegate.progress)
            QVERIFY(report.received <= report.total);
    } else {
        QVERIFY(m.delegate.finished.isEmpty());
        QCOMPARE(m.delegate.errors.size(), errorsBefore + 1);
        QCOMPARE(m.delegate.errors.last().code, code);
        QVERIFY(!QFileInfo::exists(target(name)));
        QCOMPARE(fileBytes(temp), served.left(partialBytes));

        // What was kept serves the next honest resume.
        QVERIFY(server->clearFaults());
        QCOMPARE(m->AddTask(server->url(kSmall), name, folder->path(), false), id);
        QTRY_COMPARE_WITH_TIMEOUT(m.delegate.finished, QList<int>{id}, kWait);
        QCOMPARE(VarifyMD5::digestOfFile(target(name)), server->md5Of(kSmall));
    }
}

QTEST_GUILESS_MAIN(TestDownloadManager)
#include "TestDownloadManager.moc"
