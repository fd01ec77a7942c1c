// The game road without windows: real downloads from the store stand-in on
// both paths (the engine library and the client's own HTTP path), the real
// MD5 job, the real extractor in "Tools", the real database, launches of the
// fixture launchers, and removal.

#include "core/AppFolders.h"
#include "core/AppSettings.h"
#include "core/download/DownloadManager.h"
#include "core/download/XLDLImpl.h"
#include "core/game/GameRoad.h"
#include "core/game/LocalDatabase.h"
#include "core/game/VRAppInfo.h"
#include "core/jobs/VarifyMD5.h"
#include "core/webapi/ServiceRequest.h"
#include "tests/ClientDirectory.h"
#include "tests/DownloadTestSupport.h"
#include "tests/GatedExtractor.h"
#include "tests/OpenFiles.h"
#include "tests/StoreServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QSemaphore>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <functional>
#include <memory>

namespace {

const int kWait = 60000;

// The windows' side of the road, recorded.
class RecordingHost : public GameRoadHost
{
public:
    void addManagerRow(VRAppInfo *info, bool atBottom) override
    {
        rows.removeAll(info->gameId);
        if (atBottom)
            rows.append(info->gameId);
        else
            rows.prepend(info->gameId);
        if (!withRow.contains(info)) {
            withRow.insert(info);
            writeStatesAsRowDoes(info);
        }
    }
    void removeManagerRow(const QString &gameId) override { rows.removeAll(gameId); }
    void showManager() override { ++managerShown; }
    int askUser(const QString &title, const QString &text, int) override
    {
        questions << title + QLatin1Char('|') + text;
        return answer;
    }
    void showLoginDialog() override { ++loginShown; }
    void hideWindows() override
    {
        windowsHidden = true;
        ++hideCount;
    }
    void showWindows() override { windowsHidden = false; }
    void openFolder(const QString &folder) override { openedFolders << folder; }
    QString loggedInUserId() override { return userId; }

    QStringList rows;
    QStringList questions;
    QStringList openedFolders;
    int answer = 1;
    int managerShown = 0;
    int loginShown = 0;
    bool windowsHidden = false;
    // Each game start hides the windows once.
    int hideCount = 0;
    QString userId = QStringLiteral("10001");
    QSet<VRAppInfo *> withRow;

private:
    // A game's row writes these states on its record's signals.
    static void writeStatesAsRowDoes(VRAppInfo *info)
    {
        const QList<QPair<void (VRAppInfo::*)(VRAppInfo *), int>> states{
            {&VRAppInfo::DownloadResume, VRAppInfo::Downloading},
            {&VRAppInfo::DownloadPause, VRAppInfo::Paused},
            {&VRAppInfo::DownloadFinished, VRAppInfo::Downloaded},
            {&VRAppInfo::AppDownloadFail, VRAppInfo::DownloadFailed},
            {&VRAppInfo::AppInstallFinished, VRAppInfo::Installed},
            {&VRAppInfo::AppInstallFail, VRAppInfo::InstallFailed},
        };
        for (const auto &state : states) {
            const int value = state.second;
            QObject::connect(info, state.first, info, [value](VRAppInfo *record) { record->downloadStatus = value; });
        }
    }
};

// The road reports to itself as the main window does.
class RoadDelegate : public NetWorkDelegate
{
public:
    GameRoad *road = nullptr;
    void OnTaskProgress(int id, qint64 received, qint64 total) override { road->taskProgress(id, received, total); }
    bool OnTaskError(int id, const QString &message, int code) override
    {
        road->taskError(id, message, code);
        return false;
    }
    void OnTaskEvent(int) override {}
    void OnTaskFinished(int id) override
    {
        road->taskFinished(id);
        if (afterFinished)
            afterFinished();
    }
    // Runs once the road has taken a finished task in.
    std::function<void()> afterFinished;
};


// Puts a store of its own in the slot for one test and gives the slot its old
// store back at the end, however the test ends.
class StoreSwap
{
public:
    explicit StoreSwap(std::unique_ptr<StoreServer> &storeSlot)
        : slot(storeSlot), kept(std::move(storeSlot))
    {
        slot.reset(new StoreServer);
    }
    ~StoreSwap()
    {
        slot = std::move(kept);
        slot->serveAllHosts();
    }

private:
    std::unique_ptr<StoreServer> &slot;
    std::unique_ptr<StoreServer> kept;
};

// Holds a package's MD5 job after its first read, the package open, until
// released; released at the end of the scope whatever happened, so the pool
// never waits for a job held forever.
class Md5Gate
{
public:
    ~Md5Gate() { gate.release(1000); }
    // Attached to the road's next MD5 job only, which checks package.
    void holdNextCheck(GameRoad *road, const QString &package)
    {
        QObject::connect(road, &GameRoad::md5CheckStarting, &context, [this, package](VarifyMD5 *job) {
            if (attached)
                return;
            attached = true;
            int reads = 0;
            job->setReadObserver([this, reads](qint64 total) mutable {
                bytesRead = total;
                if (++reads == 1) {
                    held.release();
                    gate.acquire();
                }
            });
            // Heard on the pool thread once the job has let go of the package:
            // by then nothing holds it open, and nothing has removed it yet.
            QObject::connect(job, &VarifyMD5::VarifyStopped, [this, package](void *) {
                closedBeforeRemoval = !isOpenInThisProcess(package) && QFileInfo::exists(package);
                stopped = true;
            });
        });
    }
    // The job read once and waits, its file open.
    bool waitUntilHeld(int timeoutMs) { return waitUntil([this]() { return held.tryAcquire(); }, timeoutMs); }
    void release() { gate.release(); }

    std::atomic<qint64> bytesRead{0};
    std::atomic<bool> stopped{false};
    std::atomic<bool> closedBeforeRemoval{false};

private:
    QObject context;
    bool attached = false;
    QSemaphore held;
    QSemaphore gate;
};

int storedState(const QString &gameId)
{
    LocalDatabase database;
    if (!database.open())
        return -2;
    std::unique_ptr<VRAppInfo> game(database.loadGame(gameId));
    database.close();
    return game ? game->downloadStatus : -1;
}

} // namespace

class TestGameRoad : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void downloadVerifyUnpack_data();
    void downloadVerifyUnpack();
    void failedPackages_data();
    void failedPackages();
    void packageAlreadyOnDisk();
    void mobilePackages_data();
    void mobilePackages();
    void sizelessPackageSwitchesToHttp();
    void pauseAndResumeWithRange();
    void retryAfterFailure();
    void twoGamesResumeTheirOwnFiles();
    void reinstallAfterFailedUnpack();
    void uninstallByState_data();
    void uninstallByState();
    void downloadAfterRemovalDuringMd5Check_data();
    void downloadAfterRemovalDuringMd5Check();
    void launchArguments_data();
    void launchArguments();
    void launchRunsLauncher();
    void launchOncePerClick_data();
    void launchOncePerClick();
    void launchDecisions();
    void launcherOutsideFolderIsRefused();
    void launcherThatCannotStart();
    void launchUpdatesToPublishedVersion();
    void statusJsonAndFlags();
    void newerGameStatesReplaceOlder();
    void startUpRouting();

private:
    VRAppInfo *catalogueRecord(const QString &gameId);
    VRAppInfo *installedGame(const QString &gameId);
    bool waitForState(VRAppInfo *info, int state, int timeoutMs = kWait);

    std::unique_ptr<StoreServer> server;
    std::unique_ptr<QTemporaryDir> root;
    AppSettings settings;
    RecordingHost host;
    RoadDelegate delegate;
    std::unique_ptr<DownloadManager> downloads;
    std::unique_ptr<GameRoad> road;
};

void TestGameRoad::initTestCase()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    const QString library = XLDLImpl::defaultLibraryPath();
    QFile::remove(library);
    QVERIFY(QFile::copy(QString::fromLocal8Bit(qgetenv("ORBELA_ENGINE_LIBRARY")), library));
    // The extractor as the client folder has it.
    QFile::remove(getToolsDir() + QStringLiteral("7z"));
    QVERIFY(QFile::link(QStringLiteral("/usr/bin/7z"), getToolsDir() + QStringLiteral("7z")));
    QVERIFY(QDir(appDir + QStringLiteral("/download")).removeRecursively());
    server.reset(new StoreServer);
    QVERIFY2(server->start(), qPrintable(server->error()));
    server->serveAllHosts();
}

void TestGameRoad::init()
{
    // The folders are made once per process: empty them, keep them.
    for (const QString &folder : {getZipsDir(), getAndroidAppsDir(), getIosAppsDir(), getCachesDir()}) {
        for (const QString &name : QDir(folder).entryList(QDir::Files))
            QVERIFY(QFile::remove(folder + name));
    }
    QFile::remove(LocalDatabase::filePath());
    QFile::remove(DownloadManager::taskListPath());
    root.reset(new QTemporaryDir);
    QVERIFY(root->isValid());
    settings = AppSettings();
    settings.installPath = root->filePath(QStringLiteral("VRGames/"));
    settings.downloadTool = QStringLiteral("http");
    host = RecordingHost();
    road.reset(new GameRoad(host, settings));
    delegate.road = road.get();
    downloads.reset(new DownloadManager(&delegate));
    road->setDownloadManager(downloads.get());
    QVERIFY(server->clearFaults());
    server->clearLog();
}

void TestGameRoad::cleanup()
{
    downloads->Shutdown();
    // Unpacking and MD5 jobs report to the road: let them end first.
    QThreadPool::globalInstance()->waitForDone();
    QTest::qWait(200);
    road.reset();
    downloads.reset();
}

VRAppInfo *TestGameRoad::catalogueRecord(const QString &gameId)
{
    return VRAppInfo::fromGameData(server->game(gameId));
}

bool TestGameRoad::waitForState(VRAppInfo *info, int state, int timeoutMs)
{
    return waitUntil([&]() { return info->downloadStatus == state; }, timeoutMs);
}

VRAppInfo *TestGameRoad::installedGame(const QString &gameId)
{
    VRAppInfo *info = catalogueRecord(gameId);
    road->startDownload(info);
    if (!waitForState(info, VRAppInfo::Installed))
        return nullptr;
    return info;
}

void TestGameRoad::downloadVerifyUnpack_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("gameId");
    QTest::addColumn<QString>("launcher");
    QTest::addColumn<bool>("resumed");
    QTest::newRow("http, under 1 MiB") << "http" << "1001" << "launch.sh" << false;
    QTest::newRow("http, over 1 MiB") << "http" << "1002" << "bin/start.sh" << false;
    QTest::newRow("engine, under 1 MiB") << "thunder" << "1001" << "launch.sh" << false;
    QTest::newRow("engine, over 1 MiB") << "thunder" << "1002" << "bin/start.sh" << false;
    QTest::newRow("http, over 1 MiB, resumed") << "http" << "1002" << "bin/start.sh" << true;
}

void TestGameRoad::downloadVerifyUnpack()
{
    QFETCH(QString, tool);
    QFETCH(QString, gameId);
    QFETCH(QString, launcher);
    QFETCH(bool, resumed);
    settings.downloadTool = tool;
    VRAppInfo *info = catalogueRecord(gameId);
    const QString package = QUrl(info->serverAppSource).path();
    if (resumed)
        QVERIFY(server->setFault(package, QStringLiteral("slow:300000")));
    QSignalSpy verified(info, &VRAppInfo::DownloadFinished);
    QSignalSpy progress(info, &VRAppInfo::UpdateDownloadProgress);
    road->startDownload(info);
    QCOMPARE(host.rows, QStringList{gameId});
    QVERIFY(host.managerShown > 0);
    // Written when the download starts, size unknown or not.
    QCOMPARE(storedState(gameId), int(VRAppInfo::Downloading));
    if (resumed) {
        QVERIFY(waitUntil([&]() { return progress.count() > 0; }, kWait));
        road->toggleDownload(info);
        QVERIFY(server->clearFaults());
        road->toggleDownload(info);
    }
    QVERIFY2(waitForState(info, VRAppInfo::Installed), qPrintable(QString::number(info->downloadStatus)));
    QCOMPARE(verified.count(), 1);
    QVERIFY(QFileInfo(settings.installPath + gameId + QLatin1Char('/') + launcher).isExecutable());
    QCOMPARE(storedState(gameId), int(VRAppInfo::Installed));
    QVERIFY(QFileInfo::exists(getCachesDir() + info->md5));
    QCOMPARE(server->requests(package).size() > 0, true);
    // The stored size is the package's, in whole MiB, however it came.
    LocalDatabase database;
    QVERIFY(database.open());
    std::unique_ptr<VRAppInfo> stored(database.loadGame(gameId));
    database.close();
    QVERIFY(stored);
    QCOMPARE(stored->localSize, int(QFileInfo(server->filePath(package)).size() / 1048576));
}

void TestGameRoad::failedPackages_data()
{
    QTest::addColumn<QString>("package");
    QTest::addColumn<bool>("rightMd5");
    QTest::addColumn<int>("endState");
    QTest::newRow("wrong MD5") << "/download/games/small-game.zip" << false << int(VRAppInfo::DownloadFailed);
    QTest::newRow("corrupt zip") << "/download/games/corrupt-game.zip" << true << int(VRAppInfo::InstallFailed);
    // The extractor asks for a password and reads the end of its input.
    QTest::newRow("password-protected zip") << "/download/games/locked-game.zip" << true
                                            << int(VRAppInfo::InstallFailed);
}

void TestGameRoad::failedPackages()
{
    QFETCH(QString, package);
    QFETCH(bool, rightMd5);
    QFETCH(int, endState);
    if (package.contains(QLatin1String("locked")) && !QFileInfo::exists(server->filePath(package))) {
        QTemporaryDir content;
        QFile file(content.filePath(QStringLiteral("launch.sh")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nexit 0\n");
        file.close();
        QCOMPARE(QProcess::execute(QStringLiteral("/usr/bin/7z"),
                                   {QStringLiteral("a"), QStringLiteral("-tzip"), QStringLiteral("-psecret"),
                                    QStringLiteral("-bso0"), server->filePath(package), file.fileName()}),
                 0);
    }
    VRAppInfo *info = catalogueRecord(QStringLiteral("1001"));
    info->gameId = QStringLiteral("1101");
    info->serverAppSource = server->url(package).toString();
    info->md5 = rightMd5 ? VarifyMD5::digestOfFile(server->filePath(package)) : QString(32, QLatin1Char('0'));
    QSignalSpy failedDownload(info, &VRAppInfo::AppDownloadFail);
    QSignalSpy failedInstall(info, &VRAppInfo::AppInstallFail);
    road->startDownload(info);
    QVERIFY(waitUntil([&]() { return failedDownload.count() + failedInstall.count() > 0; }, kWait));
    QTest::qWait(300); // the runner's own end report comes after the result
    QCOMPARE(info->downloadStatus, endState);
    if (!rightMd5) {
        QVERIFY(!QFileInfo::exists(getZipsDir() + QStringLiteral("1101.zip")));
        QCOMPARE(failedInstall.count(), 0);
    } else {
        QCOMPARE(storedState(QStringLiteral("1101")), int(VRAppInfo::InstallFailed));
    }
}

void TestGameRoad::packageAlreadyOnDisk()
{
    const QString package = QStringLiteral("/download/games/small-game.zip");
    QVERIFY(QFile::copy(server->filePath(package), getZipsDir() + QStringLiteral("1001.zip")));
    VRAppInfo *info = catalogueRecord(QStringLiteral("1001"));
    road->startDownload(info);
    QCOMPARE(host.rows, QStringList{QStringLiteral("1001")});
    QVERIFY(waitForState(info, VRAppInfo::Installed));
    QVERIFY(server->requests(package).isEmpty());
    QVERIFY(QFileInfo::exists(settings.installPath + QStringLiteral("1001/launch.sh")));

    // A package climbing out of its folder leaves nothing outside it.
    VRAppInfo *escaping = catalogueRecord(QStringLiteral("1001"));
    escaping->gameId = QStringLiteral("1102");
    const QString escapingPackage = QStringLiteral("/download/games/escaping-game.zip");
    escaping->serverAppSource = server->url(escapingPackage).toString();
    escaping->md5 = VarifyMD5::digestOfFile(server->filePath(escapingPackage));
    QSignalSpy ended(escaping, &VRAppInfo::AppInstallFinished);
    QSignalSpy failed(escaping, &VRAppInfo::AppInstallFail);
    road->startDownload(escaping);
    QVERIFY(waitUntil([&]() { return ended.count() + failed.count() > 0; }, kWait));
    QVERIFY(!QFileInfo::exists(settings.installPath + QStringLiteral("escaped.txt")));
    QVERIFY(!QFileInfo::exists(root->filePath(QStringLiteral("escaped.txt"))));
    QVERIFY(!QFileInfo::exists(root->filePath(QStringLiteral("escaped-deeper.txt"))));
}

void TestGameRoad::mobilePackages_data()
{
    QTest::addColumn<QString>("gameId");
    QTest::addColumn<QString>("folder");
    QTest::newRow("apk") << "1003" << "Apps/Android/";
    QTest::newRow("ipa") << "1004" << "Apps/iOS/";
}

void TestGameRoad::mobilePackages()
{
    QFETCH(QString, gameId);
    QFETCH(QString, folder);
    VRAppInfo *info = catalogueRecord(gameId);
    road->startDownload(info);
    QVERIFY(waitForState(info, VRAppInfo::Installed));
    const QString package = QCoreApplication::applicationDirPath() + QLatin1Char('/') + folder + info->cnName
                            + (folder.contains(QLatin1String("Android")) ? ".apk" : ".ipa");
    QVERIFY2(QFileInfo::exists(package), qPrintable(package));
    QCOMPARE(storedState(gameId), int(VRAppInfo::Installed));
    QVERIFY(!QFileInfo::exists(settings.installPath + gameId));

    // Already on disk: installed at once, no new row.
    host.rows.clear();
    VRAppInfo *again = catalogueRecord(gameId);
    road->startDownload(again);
    QCOMPARE(again->downloadStatus, int(VRAppInfo::Installed));
    QVERIFY(host.rows.isEmpty());
}

void TestGameRoad::sizelessPackageSwitchesToHttp()
{
    settings.downloadTool = QStringLiteral("thunder");
    const QString package = QStringLiteral("/download/games/large-game.zip");
    QVERIFY(server->setFault(package, QStringLiteral("chunked:65536")));
    VRAppInfo *info = catalogueRecord(QStringLiteral("1002"));
    road->startDownload(info);
    QVERIFY(waitUntil([&]() { return settings.downloadTool == QLatin1String("http"); }, kWait));
    QCOMPARE(loadSettings().downloadTool, QStringLiteral("http"));
    // The record never saw a window (as on a first start): saved with the default rectangle.
    QVERIFY(!loadSettings().windowRect.isEmpty());
    QVERIFY(server->clearFaults());
    QVERIFY2(waitForState(info, VRAppInfo::Installed), qPrintable(QString::number(info->downloadStatus)));
    QVERIFY(QFileInfo::exists(settings.installPath + QStringLiteral("1002/bin/start.sh")));
}

void TestGameRoad::pauseAndResumeWithRange()
{
    const QString package = QStringLiteral("/download/games/large-game.zip");
    QVERIFY(server->setFault(package, QStringLiteral("slow:400000")));
    VRAppInfo *info = catalogueRecord(QStringLiteral("1002"));
    QSignalSpy progress(info, &VRAppInfo::UpdateDownloadProgress);
    road->startDownload(info);
    QVERIFY(waitUntil([&]() { return progress.count() > 0 && progress.last().at(1).toLongLong() > 100000; }, kWait));
    road->toggleDownload(info);
    QCOMPARE(info->downloadStatus, int(VRAppInfo::Paused));
    QTest::qWait(300);
    const QString partial = getZipsDir() + QStringLiteral("1002.zip.tmp");
    const qint64 kept = QFileInfo(partial).size();
    QVERIFY(kept > 0);
    QVERIFY(server->clearFaults());
    road->toggleDownload(info);
    QCOMPARE(info->downloadStatus, int(VRAppInfo::Downloading));
    QVERIFY(waitForState(info, VRAppInfo::Installed));
    const QList<QJsonObject> requests = server->requests(package);
    QVERIFY(requests.size() >= 2);
    QVERIFY2(requests.last().value(QStringLiteral("range")).toString().startsWith(QStringLiteral("bytes=")),
             qPrintable(QJsonDocument(requests.last()).toJson()));
    QVERIFY(requests.last().value(QStringLiteral("range")).toString() != QStringLiteral("bytes=0-"));
}

void TestGameRoad::retryAfterFailure()
{
    const QString package = QStringLiteral("/download/games/small-game.zip");
    QVERIFY(server->setFault(package, QStringLiteral("404")));
    VRAppInfo *info = catalogueRecord(QStringLiteral("1001"));
    road->startDownload(info);
    QVERIFY(waitForState(info, VRAppInfo::DownloadFailed));
    QCOMPARE(info->downloadTaskId, 0);
    QVERIFY(server->clearFaults());
    road->toggleDownload(info);
    QCOMPARE(info->downloadStatus, int(VRAppInfo::Downloading));
    QVERIFY(waitForState(info, VRAppInfo::Installed));
}

void TestGameRoad::twoGamesResumeTheirOwnFiles()
{
    const QString large = QStringLiteral("/download/games/large-game.zip");
    QVERIFY(server->setFault(large, QStringLiteral("slow:300000")));
    VRAppInfo *first = catalogueRecord(QStringLiteral("1002"));
    road->startDownload(first);
    road->toggleDownload(first);
    VRAppInfo *second = catalogueRecord(QStringLiteral("1001"));
    road->startDownload(second);
    QVERIFY(waitForState(second, VRAppInfo::Installed));
    QVERIFY(server->clearFaults());
    road->toggleDownload(first);
    QVERIFY(waitForState(first, VRAppInfo::Installed));
    QVERIFY(QFileInfo::exists(settings.installPath + QStringLiteral("1002/bin/start.sh")));
    QVERIFY(!QFileInfo::exists(getZipsDir() + QStringLiteral("1001.zip.tmp")));
}

void TestGameRoad::reinstallAfterFailedUnpack()
{
    // A package that fails to unpack, then is replaced by a good one and unpacked again.
    const QString corrupt = server->filePath(QStringLiteral("/download/games/corrupt-game.zip"));
    QVERIFY(QFile::copy(corrupt, getZipsDir() + QStringLiteral("1001.zip")));
    VRAppInfo *info = catalogueRecord(QStringLiteral("1001"));
    road->startDownload(info);
    QVERIFY(waitForState(info, VRAppInfo::InstallFailed));
    QTest::qWait(300);
    QCOMPARE(info->downloadStatus, int(VRAppInfo::InstallFailed));
    QFile::remove(getZipsDir() + QStringLiteral("1001.zip"));
    QVERIFY(QFile::copy(server->filePath(QStringLiteral("/download/games/small-game.zip")),
                        getZipsDir() + QStringLiteral("1001.zip")));
    road->installGame(info);
    QVERIFY(waitForState(info, VRAppInfo::Installed));
    QVERIFY(QFileInfo::exists(settings.installPath + QStringLiteral("1001/launch.sh")));
}

void TestGameRoad::uninstallByState_data()
{
    QTest::addColumn<QString>("gameId");
    QTest::addColumn<int>("state");
    // The MD5 job is held between two reads, the package open, when the removal comes.
    QTest::addColumn<bool>("md5Held");
    QTest::newRow("downloading") << "1002" << int(VRAppInfo::Downloading) << false;
    QTest::newRow("paused") << "1002" << int(VRAppInfo::Paused) << false;
    QTest::newRow("failed") << "1002" << int(VRAppInfo::DownloadFailed) << false;
    QTest::newRow("installed") << "1001" << int(VRAppInfo::Installed) << false;
    QTest::newRow("mobile") << "1003" << int(VRAppInfo::Installed) << false;
    // "安装中": the package is in and its MD5 job runs, or its extractor runs;
    // their results come after the uninstall.
    QTest::newRow("MD5 job running") << "1002" << int(VRAppInfo::Downloaded) << false;
    QTest::newRow("MD5 job reading the package") << "1002" << int(VRAppInfo::Downloaded) << true;
    QTest::newRow("extractor running") << "1002" << int(VRAppInfo::Installing) << false;
}

void TestGameRoad::uninstallByState()
{
    QFETCH(QString, gameId);
    QFETCH(int, state);
    QFETCH(bool, md5Held);
    // Sentinels in and above the client folder must stay.
    const QString appDir = QCoreApplication::applicationDirPath();
    QFile sentinel(appDir + QStringLiteral("/sentinel.txt"));
    QVERIFY(sentinel.open(QIODevice::WriteOnly));
    sentinel.close();
    QFile outside(root->filePath(QStringLiteral("sentinel.txt")));
    QVERIFY(outside.open(QIODevice::WriteOnly));
    outside.close();

    const QString package = QStringLiteral("/download/games/large-game.zip");
    const bool downloading = state == VRAppInfo::Downloading || state == VRAppInfo::Paused;
    if (downloading || state == VRAppInfo::DownloadFailed)
        QVERIFY(server->setFault(package, state == VRAppInfo::DownloadFailed ? QStringLiteral("cut:200000")
                                                                             : QStringLiteral("slow:200000")));
    const bool lateResults = state == VRAppInfo::Downloaded || state == VRAppInfo::Installing;
    std::unique_ptr<GatedExtractor> extractor;
    if (state == VRAppInfo::Installing)
        extractor.reset(new GatedExtractor(root->path()));
    VRAppInfo *info = catalogueRecord(gameId);
    QSignalSpy progress(info, &VRAppInfo::UpdateDownloadProgress);
    QSignalSpy verified(info, &VRAppInfo::DownloadFinished);
    QSignalSpy unpacking(info, &VRAppInfo::AppInstalling);
    QSignalSpy unpacked(info, &VRAppInfo::AppInstallFinished);
    QSignalSpy unpackFailed(info, &VRAppInfo::AppInstallFail);
    bool uninstalled = false;
    const QString zip = getZipsDir() + gameId + QStringLiteral(".zip");
    Md5Gate md5Gate;
    if (md5Held) {
        md5Gate.holdNextCheck(road.get(), zip);
    } else if (state == VRAppInfo::Downloaded) {
        // Uninstalled as soon as the package is in, while its MD5 job runs.
        delegate.afterFinished = [&]() {
            if (!uninstalled && QFileInfo::exists(zip)) {
                uninstalled = true;
                road->confirmUninstall(info);
            }
        };
    }
    road->startDownload(info);
    if (state == VRAppInfo::Installed) {
        QVERIFY(waitForState(info, VRAppInfo::Installed));
    } else if (md5Held) {
        QVERIFY(md5Gate.waitUntilHeld(kWait));
        QVERIFY(isOpenInThisProcess(zip));
    } else if (state == VRAppInfo::Downloaded) {
        QVERIFY(waitUntil([&]() { return uninstalled; }, kWait));
        delegate.afterFinished = nullptr;
        QCOMPARE(verified.count(), 0);
    } else if (state == VRAppInfo::Installing) {
        QVERIFY(waitUntil([&]() { return extractor->started(); }, kWait));
        QCOMPARE(verified.count(), 1);
    } else if (state == VRAppInfo::DownloadFailed) {
        QVERIFY(waitForState(info, VRAppInfo::DownloadFailed));
    } else {
        QVERIFY(waitUntil([&]() { return progress.count() > 0; }, kWait));
        if (state == VRAppInfo::Paused)
            road->toggleDownload(info);
    }
    const QString partial = getZipsDir() + gameId + QStringLiteral(".zip.tmp");
    const QString localSource = info->localSource;
    host.answer = 1;
    if (!uninstalled)
        road->confirmUninstall(info);
    if (md5Held) {
        // The removal waits for the job, which still holds the package open.
        QVERIFY(QFileInfo::exists(zip));
        md5Gate.release();
    }
    if (lateResults) {
        if (extractor) {
            // Stopped, not left to write into the folder.
            QVERIFY(!QFileInfo::exists(QStringLiteral("/proc/") + extractor->pid()));
            extractor->open();
        }
        // The MD5 job's result, and whatever the runner still had to say.
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QCOMPARE(verified.count(), state == VRAppInfo::Installing ? 1 : 0);
        QCOMPARE(unpacking.count(), state == VRAppInfo::Installing ? 1 : 0);
        if (md5Held) {
            // It stopped at the read after the removal, and let go of the
            // package before the package was removed.
            QVERIFY(md5Gate.stopped);
            QVERIFY(md5Gate.closedBeforeRemoval);
            QCOMPARE(md5Gate.bytesRead.load(), VarifyMD5::kReadChunkBytes);
            QVERIFY(md5Gate.bytesRead.load() < QFileInfo(server->filePath(package)).size());
        }
        QCOMPARE(unpacked.count() + unpackFailed.count(), 0);
        // As the next start finds it: a new road over the same database and folders.
        RecordingHost restartedHost;
        GameRoad restarted(restartedHost, settings);
        LocalDatabase database;
        QVERIFY(database.open());
        const QList<VRAppInfo *> stored = database.loadGames();
        database.close();
        restarted.routeStoredGames(stored);
        QVERIFY(!restartedHost.rows.contains(gameId));
        const bool listed = QJsonDocument::fromJson(restarted.localGamesStatusJson()).object().contains(gameId);
        qInfo("uninstalled while 安装中 (%s), then read back as at a restart: database entry %s, folder %s, "
              "store page status %s",
              QTest::currentDataTag(), storedState(gameId) == -1 ? "gone" : "present",
              QFileInfo::exists(settings.installPath + gameId) ? "present" : "gone", listed ? "listed" : "not listed");
        QVERIFY(!listed);
    }
    QCOMPARE(host.questions.size(), 1);
    QVERIFY(host.questions.first().startsWith(QStringLiteral("卸载提示|确定要卸载《")));
    QVERIFY(!host.rows.contains(gameId));
    QCOMPARE(storedState(gameId), -1);
    QVERIFY(!QFileInfo::exists(settings.installPath + gameId));
    QVERIFY(!QFileInfo::exists(partial));
    QVERIFY(!QFileInfo::exists(localSource));
    QVERIFY(!QFileInfo::exists(zip));
    QVERIFY(QFileInfo::exists(appDir + QStringLiteral("/sentinel.txt")));
    QVERIFY(QFileInfo::exists(root->filePath(QStringLiteral("sentinel.txt"))));
    QVERIFY(QFileInfo::exists(getToolsDir() + QStringLiteral("7z")));
}

void TestGameRoad::downloadAfterRemovalDuringMd5Check_data()
{
    QTest::addColumn<bool>("packageStays");
    QTest::newRow("package removed once its job closed it") << false;
    // Something else holds the package's name: a folder no removal deletes.
    QTest::newRow("package cannot be removed") << true;
}

void TestGameRoad::downloadAfterRemovalDuringMd5Check()
{
    QFETCH(bool, packageStays);
    const QString gameId = QStringLiteral("1002");
    const QString package = QStringLiteral("/download/games/large-game.zip");
    const QString zip = getZipsDir() + gameId + QStringLiteral(".zip");
    Md5Gate md5Gate;
    md5Gate.holdNextCheck(road.get(), zip);
    VRAppInfo *first = catalogueRecord(gameId);
    road->startDownload(first);
    QVERIFY(md5Gate.waitUntilHeld(kWait));
    if (packageStays) {
        // The job reads on through the file it has open.
        QVERIFY(QFile::rename(zip, root->filePath(QStringLiteral("moved.zip"))));
        QVERIFY(QDir().mkpath(zip + QStringLiteral("/busy")));
        QTest::ignoreMessage(QtWarningMsg,
                             qPrintable(QStringLiteral("[Mivo] the package %1 cannot be removed; its next "
                                                       "download starts anew").arg(zip)));
    }
    server->clearLog();
    road->uninstallGame(first);
    // Asked for again at once, as an update does: nothing starts while the
    // old package is open in its job, and nothing is taken from it.
    VRAppInfo *second = catalogueRecord(gameId);
    QSignalSpy verified(second, &VRAppInfo::DownloadFinished);
    QSignalSpy installed(second, &VRAppInfo::AppInstallFinished);
    road->startDownload(second);
    QCOMPARE(verified.count(), 0);
    QVERIFY(server->requests(package).isEmpty());
    md5Gate.release();
    if (packageStays) {
        // The new file cannot take the package's name: the download fails
        // rather than install what the removal left.
        QVERIFY(waitForState(second, VRAppInfo::DownloadFailed));
        QCOMPARE(installed.count(), 0);
        QVERIFY(!server->requests(package).isEmpty());
        // Once the name is free, a retry puts the new file there.
        QVERIFY(QDir(zip).removeRecursively());
        road->toggleDownload(second);
    }
    QVERIFY(waitForState(second, VRAppInfo::Installed));
    QVERIFY(md5Gate.stopped);
    QCOMPARE(verified.count(), 1);
    QVERIFY(!server->requests(package).isEmpty());
    QCOMPARE(VarifyMD5::digestOfFile(zip), server->md5Of(package));
    QVERIFY(QFileInfo(settings.installPath + gameId + QStringLiteral("/bin/start.sh")).isExecutable());
}

void TestGameRoad::launchArguments_data()
{
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("empty") << "" << QStringList();
    QTest::newRow("one word") << "vr" << QStringList{"-vr"};
    QTest::newRow("two words") << "vr fullscreen" << QStringList{"-vr", "fullscreen"};
    QTest::newRow("three words") << "vr fullscreen extra" << QStringList{"-vr", "fullscreen"};
    QTest::newRow("two blanks") << "vr  fullscreen" << QStringList{"-vr", ""};
}

void TestGameRoad::launchArguments()
{
    QFETCH(QString, parameter);
    QFETCH(QStringList, arguments);
    QCOMPARE(GameRoad::launchArguments(parameter), arguments);
}

void TestGameRoad::launchRunsLauncher()
{
    VRAppInfo *info = installedGame(QStringLiteral("1001"));
    QVERIFY(info);
    QSignalSpy finished(info, &VRAppInfo::AppLaunchFinished);
    const int hitsBefore = server->hitsWithStatus(QStringLiteral("startGame"));
    road->launchGame(info);
    QVERIFY(waitUntil([&]() { return finished.count() == 1; }, kWait));
    QVERIFY(host.windowsHidden);
    // The stored launch parameter is "vr fullscreen".
    QCOMPARE(fileBytes(settings.installPath + QStringLiteral("1001/launch-arguments.txt")),
             QByteArray("[-vr]\n[fullscreen]\n"));
    QVERIFY(waitUntil([&]() { return server->hitsWithStatus(QStringLiteral("startGame")) == hitsBefore + 1; }, kWait));
}

void TestGameRoad::launchOncePerClick_data()
{
    QTest::addColumn<QString>("second");
    // How the store answers the launch's question ("" as usual).
    QTest::addColumn<QString>("fault");
    QTest::newRow("two requests") << "request" << "";
    QTest::newRow("two answers") << "answer" << "";
    QTest::newRow("no answer") << "none" << "no-answer";
    QTest::newRow("one byte at a time") << "none" << "drip:100";
}

void TestGameRoad::launchOncePerClick()
{
    QFETCH(QString, second);
    QFETCH(QString, fault);
    VRAppInfo *info = installedGame(QStringLiteral("1001"));
    QVERIFY(info);
    QSignalSpy finished(info, &VRAppInfo::AppLaunchFinished);
    QSignalSpy refused(road.get(), &GameRoad::launchRefused);
    const QString gameData = QStringLiteral("/client/api/ajaxGetGame");
    if (!fault.isEmpty()) {
        QVERIFY(server->setFault(gameData, fault));
        ServiceRequest::setDeadline(500);
    }
    road->launchGame(info);
    QVERIFY(road->isLaunchPending(QStringLiteral("1001")));
    if (second == QLatin1String("request")) {
        road->launchGame(info);
        QCOMPARE(refused.count(), 1);
        QCOMPARE(refused.first().at(1).toString(), QStringLiteral("launch pending"));
        QVERIFY(waitUntil([&]() { return finished.count() == 1; }, kWait));
    } else if (second == QLatin1String("answer")) {
        road->gameUpdateInfo(catalogueRecord(QStringLiteral("1001")));
        road->gameUpdateInfo(catalogueRecord(QStringLiteral("1001")));
        QCOMPARE(refused.count(), 1);
        QVERIFY(waitUntil([&]() { return finished.count() == 1; }, kWait));
    } else {
        // No whole answer by the deadline ends the launch; nothing starts.
        QVERIFY(waitUntil([&]() { return !road->isLaunchPending(QStringLiteral("1001")); }, kWait));
        ServiceRequest::setDeadline(20000);
        QVERIFY(server->clearFaults());
        QCOMPARE(host.hideCount, 0);
    }
    QCOMPARE(host.hideCount, second == QLatin1String("none") ? 0 : 1);
    QVERIFY(waitUntil([&]() { return !road->isLaunchPending(QStringLiteral("1001")); }, kWait));

    // The launch has ended: the game starts again.
    const int hidden = host.hideCount;
    road->launchGame(info);
    QVERIFY(waitUntil([&]() { return host.hideCount == hidden + 1; }, kWait));
    QVERIFY(waitUntil([&]() { return finished.count() == hidden + 1; }, kWait));
    QVERIFY(waitUntil([&]() { return server->hitsWithStatus(QStringLiteral("startGame")) == hidden + 1; }, kWait));
}

void TestGameRoad::launchDecisions()
{
    VRAppInfo *info = installedGame(QStringLiteral("1001"));
    QVERIFY(info);
    QSignalSpy refused(road.get(), &GameRoad::launchRefused);

    // Logged out: the login dialog, no child.
    host.userId.clear();
    road->launchGame(info);
    QVERIFY(waitUntil([&]() { return host.loginShown == 1; }, kWait));
    QVERIFY(!host.windowsHidden);
    QVERIFY(!QFileInfo::exists(settings.installPath + QStringLiteral("1001/launch-arguments.txt")));

    // An answer for another game starts and removes nothing.
    host.userId = QStringLiteral("10001");
    VRAppInfo *other = catalogueRecord(QStringLiteral("1002"));
    other->version = QStringLiteral("9.9.9");
    road->gameUpdateInfo(other);
    QCOMPARE(refused.count(), 1);
    QVERIFY(QFileInfo::exists(settings.installPath + QStringLiteral("1001")));

    // A mobile package opens its folder; no start, no hit.
    VRAppInfo *mobile = installedGame(QStringLiteral("1003"));
    QVERIFY(mobile);
    road->showRow(mobile);
    const int hitsBefore = server->hitsWithStatus(QStringLiteral("startGame"));
    road->launchGame(mobile);
    QVERIFY(waitUntil([&]() { return host.openedFolders.size() == 1; }, kWait));
    QVERIFY(QDir::fromNativeSeparators(host.openedFolders.first()).endsWith(QStringLiteral("/Apps/Android/")));
    QCOMPARE(server->hitsWithStatus(QStringLiteral("startGame")), hitsBefore);

    // A game not yet installed only shows the manager.
    const int shown = host.managerShown;
    LocalDatabase database;
    QVERIFY(database.open());
    info->downloadStatus = VRAppInfo::Paused;
    database.saveGame(info);
    database.close();
    road->launchGame(info);
    QCOMPARE(host.managerShown, shown + 1);
    info->downloadStatus = VRAppInfo::Installed;
    QVERIFY(database.open());
    database.saveGame(info);
    database.close();

    // The folder gone: the question, then the game is forgotten.
    QVERIFY(QDir(settings.installPath + QStringLiteral("1001")).removeRecursively());
    road->launchGame(info);
    QCOMPARE(host.questions.last(), QStringLiteral("|《星际漫步》已被人为删除，请重新下载！"));
    QCOMPARE(storedState(QStringLiteral("1001")), -1);
    QVERIFY(!host.rows.contains(QStringLiteral("1001")));
}

void TestGameRoad::launcherOutsideFolderIsRefused()
{
    VRAppInfo *info = installedGame(QStringLiteral("1001"));
    QVERIFY(info);
    QFile outside(root->filePath(QStringLiteral("outside.sh")));
    QVERIFY(outside.open(QIODevice::WriteOnly));
    outside.write("#!/bin/sh\ntouch \"$0.ran\"\n");
    outside.close();
    outside.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // A link inside the folder that points out of it.
    QVERIFY(QFile::link(outside.fileName(), settings.installPath + QStringLiteral("1001/escape.sh")));
    QSignalSpy failed(info, &VRAppInfo::AppLaunchFail);
    info->launcher = QStringLiteral("escape.sh");
    road->startGame(info);
    info->launcher = QStringLiteral("../../outside.sh");
    road->startGame(info);
    QCOMPARE(failed.count(), 2);
    QVERIFY(!host.windowsHidden);
    QTest::qWait(200);
    QVERIFY(!QFileInfo::exists(outside.fileName() + QStringLiteral(".ran")));
}

void TestGameRoad::launcherThatCannotStart()
{
    VRAppInfo *info = installedGame(QStringLiteral("1001"));
    QVERIFY(info);
    QFile launcher(settings.installPath + QStringLiteral("1001/launch.sh"));
    QVERIFY(launcher.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QSignalSpy failed(info, &VRAppInfo::AppLaunchFail);
    road->startGame(info);
    QVERIFY(waitUntil([&]() { return failed.count() == 1; }, kWait));
    QVERIFY(!host.windowsHidden);
    QCOMPARE(info->downloadStatus, int(VRAppInfo::Installed));
}

void TestGameRoad::launchUpdatesToPublishedVersion()
{
    // Publishing changes the catalogue for good: a store of its own.
    StoreSwap swap(server);
    QVERIFY2(server->start(), qPrintable(server->error()));
    server->serveAllHosts();
    const QString gameId = QStringLiteral("1001");
    VRAppInfo *old = installedGame(gameId);
    QVERIFY(old);
    const QString folder = settings.installPath + gameId;
    const QString marker = folder + QStringLiteral("/version.txt");
    QVERIFY(!QFileInfo::exists(marker));
    QFile leftOver(folder + QStringLiteral("/left-by-old-version.txt"));
    QVERIFY(leftOver.open(QIODevice::WriteOnly));
    leftOver.close();

    QVERIFY(server->publishVersion(gameId));
    const QJsonObject published = server->game(gameId);
    QCOMPARE(published.value(QStringLiteral("version")).toString(), QStringLiteral("1.0.1"));
    const QString newPackage = QUrl(published.value(QStringLiteral("exe_dl_path")).toString()).path();

    // Seen at the moment the old installation goes, before the new download adds its row.
    bool folderGone = false;
    bool rowGone = false;
    bool entryGone = false;
    connect(old, &VRAppInfo::AppUninstallFinished, old, [&]() {
        folderGone = !QFileInfo::exists(folder);
        rowGone = !host.rows.contains(gameId);
        entryGone = storedState(gameId) == -1;
    });
    road->launchGame(old);
    QVERIFY(waitUntil(
        [&]() {
            VRAppInfo *row = road->shownRecord(gameId);
            return row && row != old && row->downloadStatus == VRAppInfo::Installed;
        },
        kWait));
    QVERIFY(folderGone);
    QVERIFY(rowGone);
    QVERIFY(entryGone);

    VRAppInfo *row = road->shownRecord(gameId);
    QCOMPARE(row->version, QStringLiteral("1.0.1"));
    QCOMPARE(row->md5, published.value(QStringLiteral("md5")).toString());
    QCOMPARE(host.rows, QStringList{gameId});
    QCOMPARE(fileBytes(marker), QByteArray("Star Walk 1.0.1\n"));
    QVERIFY(QFileInfo(folder + QStringLiteral("/launch.sh")).isExecutable());
    QVERIFY(!QFileInfo::exists(leftOver.fileName()));
    QVERIFY(!server->requests(newPackage).isEmpty());
    LocalDatabase database;
    QVERIFY(database.open());
    std::unique_ptr<VRAppInfo> stored(database.loadGame(gameId));
    database.close();
    QVERIFY(stored);
    QCOMPARE(stored->version, QStringLiteral("1.0.1"));
    QCOMPARE(stored->downloadStatus, int(VRAppInfo::Installed));
    // An update is no start.
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/launch-arguments.txt")));
    QCOMPARE(server->hitsWithStatus(QStringLiteral("startGame")), 0);
}

void TestGameRoad::statusJsonAndFlags()
{
    QCOMPARE(QJsonDocument::fromJson(road->localGamesStatusJson()).object(), QJsonObject());
    VRAppInfo *info = installedGame(QStringLiteral("1001"));
    QVERIFY(info);
    const QJsonObject status = QJsonDocument::fromJson(road->localGamesStatusJson()).object();
    QCOMPARE(status.value(QStringLiteral("1001")).toString(), QStringLiteral("5|1.0.0|") + info->md5);

    QSignalSpy update(road.get(), &GameRoad::sendGameNeed2Update);
    QSignalSpy buy(road.get(), &GameRoad::sendGameNeed2Buy);
    road->gameUpdateStatus({{12, QStringLiteral("1")}, {7, QStringLiteral("1|0")}});
    QCOMPARE(update.count(), 2);
    QCOMPARE(update.at(0), (QList<QVariant>{7, 1}));
    QCOMPARE(buy.at(0), (QList<QVariant>{7, 0}));
    QCOMPARE(update.at(1), (QList<QVariant>{12, 1}));
    QCOMPARE(buy.at(1), (QList<QVariant>{12, 0}));

    // A long list is handed on in slices between turns of the event loop:
    // every game once, in ascending order, the last well after the call.
    update.clear();
    buy.clear();
    QMap<int, QString> many;
    for (int key = 1; key <= 100000; ++key)
        many.insert(key, QStringLiteral("1|0"));
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    road->gameUpdateStatus(many);
    QVERIFY(waitUntil([&]() { return update.count() == many.size(); }, kWait));
    QLoggingCategory::setFilterRules(QString());
    QCOMPARE(buy.count(), many.size());
    for (int i = 0; i < update.count(); i += 997)
        QCOMPARE(update.at(i), (QList<QVariant>{i + 1, 1}));
    QCOMPARE(update.last(), (QList<QVariant>{100000, 1}));

    // Against the stand-in: the installed game is current and bought.
    update.clear();
    road->requestGameUpdateStatus();
    QVERIFY(waitUntil([&]() { return update.count() == 1; }, kWait));
    QCOMPARE(update.at(0), (QList<QVariant>{1001, 0}));
}

void TestGameRoad::newerGameStatesReplaceOlder()
{
    // Two answers long enough to be handed on in several slices each: the
    // older one says "update, not bought", the newer "current, bought".
    const int games = 30000;
    QMap<int, QString> older;
    QMap<int, QString> newer;
    for (int key = 1; key <= games; ++key) {
        older.insert(key, QStringLiteral("1|0"));
        newer.insert(key, QStringLiteral("0|1"));
    }
    QVector<int> update(games + 1, -1);
    QVector<int> buy(games + 1, -1);
    int olderAfterNewer = 0;
    bool newerCame = false;
    int handedOn = 0;
    QObject listener;
    connect(road.get(), &GameRoad::sendGameNeed2Update, &listener, [&](int key, int flag) {
        update[key] = flag;
        if (newerCame && flag == 1)
            ++olderAfterNewer;
        ++handedOn;
    });
    connect(road.get(), &GameRoad::sendGameNeed2Buy, &listener, [&](int key, int flag) { buy[key] = flag; });
    // Heard as a manager of 100 rows hears it: each row compares the key with its own game.
    std::vector<std::unique_ptr<QObject>> rows;
    int rowMatches = 0;
    for (int row = 1; row <= 100; ++row) {
        rows.emplace_back(new QObject);
        const QString gameId = QString::number(row * 97);
        for (auto flagSignal : {&GameRoad::sendGameNeed2Update, &GameRoad::sendGameNeed2Buy}) {
            connect(road.get(), flagSignal, rows.back().get(), [&rowMatches, gameId](int key, int) {
                if (QString::number(key) == gameId)
                    ++rowMatches;
            });
        }
    }
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    road->gameUpdateStatus(older);
    // The older answer is on its way: its first slice is handed on, the rest is due.
    const int olderHandedOn = handedOn;
    qInfo("the first slice handed on %d of %d games", olderHandedOn, games);
    QVERIFY(olderHandedOn > 0 && olderHandedOn < games);
    newerCame = true;
    road->gameUpdateStatus(newer);
    // The older answer's next slice was due before the newer one's: it comes to nothing.
    QVERIFY(waitUntil([&]() { return update[games] == 0; }, kWait));
    QCoreApplication::processEvents();
    QLoggingCategory::setFilterRules(QString());
    QCOMPARE(olderAfterNewer, 0);
    QCOMPARE(handedOn, olderHandedOn + games);
    QCOMPARE(update.count(0), games);
    QCOMPARE(buy.count(1), games);
    // Every row heard its game from the newer answer, and from the older one only in its first slice.
    QCOMPARE(rowMatches, 2 * 100 + 2 * qMin(100, olderHandedOn / 97));
}

void TestGameRoad::startUpRouting()
{
    struct Stored {
        const char *id;
        int platform;
        int state;
        bool folder;
        bool package;
        // What the start-up does: "row", "download", "install" or "forget".
        const char *step;
    };
    const Stored table[] = {
        {"3001", 0, VRAppInfo::Downloading, false, false, "download"},
        {"3002", 0, VRAppInfo::Paused, false, false, "forget"},
        {"3003", 0, VRAppInfo::Downloaded, false, true, "install"},
        {"3004", 0, VRAppInfo::Downloaded, false, false, "download"},
        {"3005", 0, VRAppInfo::DownloadFailed, false, false, "forget"},
        {"3006", 0, VRAppInfo::Installed, true, false, "row"},
        {"3007", 0, VRAppInfo::Installed, false, false, "forget"},
        {"3008", 1, VRAppInfo::Installed, false, false, "row"},
        {"3009", 2, VRAppInfo::Paused, false, false, "row"},
        // An unknown platform is a PC game: its folder decides.
        {"3010", 3, VRAppInfo::Installed, true, false, "row"},
        {"3011", 3, VRAppInfo::Installed, false, false, "forget"},
    };
    const QString small = QStringLiteral("/download/games/small-game.zip");
    QList<VRAppInfo *> games;
    LocalDatabase database;
    QVERIFY(database.open());
    for (const Stored &entry : table) {
        VRAppInfo *game = catalogueRecord(QStringLiteral("1001"));
        game->gameId = QLatin1String(entry.id);
        game->cnName = QStringLiteral("游戏") + game->gameId;
        game->platform = entry.platform;
        game->downloadStatus = entry.state;
        game->localSize = 1;
        if (entry.folder)
            QVERIFY(QDir().mkpath(settings.installPath + game->gameId));
        if (entry.package)
            QVERIFY(QFile::copy(server->filePath(small), getZipsDir() + game->gameId + QStringLiteral(".zip")));
        QVERIFY(database.saveGame(game));
        delete game;
    }
    games = database.loadGames();
    database.close();
    QCOMPARE(games.size(), int(sizeof table / sizeof *table));
    road->routeStoredGames(games);
    QVERIFY(waitUntil([&]() { return storedState(QStringLiteral("3003")) == VRAppInfo::Installed; }, kWait));
    for (const Stored &entry : table) {
        const QString id = QLatin1String(entry.id);
        const QByteArray step(entry.step);
        QCOMPARE(host.rows.contains(id), step != "forget");
        QCOMPARE(storedState(id) == -1, step == "forget");
    }
    QVERIFY(QFileInfo::exists(settings.installPath + QStringLiteral("3003/launch.sh")));
    QVERIFY(waitUntil([&]() { return !server->requests(QUrl(road->shownRecord("3001")->serverAppSource).path()).isEmpty(); },
                      kWait));
    // A downloaded package that is gone is downloaded again.
    QVERIFY(waitForState(road->shownRecord(QStringLiteral("3004")), VRAppInfo::Installed));
    // The game stored with platform 3 is uninstalled as the PC game it is read as.
    QVERIFY(QFile::copy(server->filePath(small), getZipsDir() + QStringLiteral("3010.zip")));
    road->uninstallGame(road->shownRecord(QStringLiteral("3010")));
    QVERIFY(!QFileInfo::exists(settings.installPath + QStringLiteral("3010")));
    QVERIFY(!QFileInfo::exists(getZipsDir() + QStringLiteral("3010.zip")));
    QCOMPARE(storedState(QStringLiteral("3010")), -1);
}

QTEST_GUILESS_MAIN(TestGameRoad)
#include "TestGameRoad.moc"
