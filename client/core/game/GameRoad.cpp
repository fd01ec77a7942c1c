#include "core/game/GameRoad.h"

#include "core/AppFolders.h"
#include "core/AppSettings.h"
#include "core/PageLinks.h"
#include "core/download/DownloadManager.h"
#include "core/game/LocalDatabase.h"
#include "core/game/StoredGames.h"
#include "core/game/VRAppInfo.h"
#include "core/jobs/MyThread.h"
#include "core/jobs/VarifyMD5.h"
#include "core/webapi/QuaNetworkRequest.h"
#include "core/webapi/StatisticsHits.h"
#include "platform/PlatformServices.h"

#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThreadPool>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace {

// Replaces an earlier record of the same game, so one game has one record in a list.
void putFirstOfGame(QList<VRAppInfo *> &list, VRAppInfo *info, bool append)
{
    for (int i = list.size() - 1; i >= 0; --i) {
        if (list[i] != info && list[i]->gameId == info->gameId)
            list.removeAt(i);
    }
    if (!list.contains(info)) {
        if (append)
            list.append(info);
        else
            list.prepend(info);
    }
}

// One open, write and commit of the database for a single game.
void storeGame(VRAppInfo *info)
{
    LocalDatabase database;
    if (database.open()) {
        database.saveGame(info);
        database.close();
    }
}

void forgetStoredGame(const QString &gameId)
{
    LocalDatabase database;
    if (database.open()) {
        database.deleteGame(gameId);
        database.close();
    }
}

} // namespace

GameRoad::GameRoad(GameRoadHost &host, AppSettings &settings, QObject *parent)
    : QObject(parent)
    , host(host)
    , settings(settings)
{
}

GameRoad::~GameRoad() = default;

QString GameRoad::packageFolder(const VRAppInfo &info)
{
    switch (info.platform) {
    case 1: return getAndroidAppsDir();
    case 2: return getIosAppsDir();
    default: return getZipsDir();
    }
}

QString GameRoad::packageFileName(const VRAppInfo &info)
{
    if (!VRAppInfo::isValidGameId(info.gameId))
        return QString();
    switch (info.platform) {
    case 1:
    case 2: {
        // The Chinese name names the package; it must stay a plain file name.
        const QString &name = info.cnName;
        if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
            || name.contains(QLatin1String("..")))
            return QString();
        return name + (info.platform == 1 ? QStringLiteral(".apk") : QStringLiteral(".ipa"));
    }
    default:
        return info.gameId + QStringLiteral(".zip");
    }
}

QString GameRoad::packagePath(const VRAppInfo &info)
{
    const QString name = packageFileName(info);
    return name.isEmpty() ? QString() : packageFolder(info) + name;
}

QString GameRoad::picturePath(const VRAppInfo &info)
{
    return VRAppInfo::isValidMd5(info.md5) ? getCachesDir() + info.md5 : QString();
}

bool GameRoad::isMobilePackage(const QString &path)
{
    return path.endsWith(QLatin1String("apk")) || path.endsWith(QLatin1String("ipa"));
}

QString GameRoad::gameFolder(const QString &gameId) const
{
    return settings.installPath + gameId + QLatin1Char('/');
}

bool GameRoad::isInstalled(const QString &gameId) const
{
    return VRAppInfo::isValidGameId(gameId) && QFileInfo(settings.installPath + gameId).isDir();
}

void GameRoad::adopt(VRAppInfo *info)
{
    if (info->parent() != this)
        info->setParent(this);
}

VRAppInfo *GameRoad::shownRecord(const QString &gameId) const
{
    for (VRAppInfo *info : shown) {
        if (info->gameId == gameId)
            return info;
    }
    return nullptr;
}

void GameRoad::showRow(VRAppInfo *info)
{
    adopt(info);
    putFirstOfGame(shown, info, false);
    host.addManagerRow(info, rowsAtBottom);
}

VRAppInfo *GameRoad::findByTask(int taskId) const
{
    for (VRAppInfo *info : gameList) {
        if (info->downloadTaskId == taskId)
            return info;
    }
    return nullptr;
}

int GameRoad::addPackageTask(VRAppInfo *info)
{
    if (!downloads)
        return 0;
    const int id = downloads->AddTask(QUrl(info->serverAppSource), packageFileName(*info), packageFolder(*info),
                                      settings.downloadTool != QLatin1String("http"));
    if (id != 0)
        packageTasks[info] = id;
    return id;
}

void GameRoad::routeStoredGames(const QList<VRAppInfo *> &games)
{
    QElapsedTimer slice;
    slice.start();
    LocalDatabase forgotten;
    bool forgottenOpen = false;
    int next = games.size();
    rowsAtBottom = true;
    while (next > 0 && (next == games.size() || slice.elapsed() < kRouteSliceMs)) {
        VRAppInfo *game = games.at(--next);
        adopt(game);
        const bool packageExists = QFileInfo::exists(pcPackagePath(game->gameId));
        switch (stepForStoredGame(*game, isInstalled(game->gameId), packageExists)) {
        case StoredGameStep::Download:
            startDownload(game);
            break;
        case StoredGameStep::Install:
            // Shown while it unpacks, so a failure can be retried.
            showRow(game);
            installGame(game);
            break;
        case StoredGameStep::Forget:
            if (!forgottenOpen)
                forgottenOpen = forgotten.open();
            forgotten.deleteGame(game->gameId);
            delete game;
            break;
        case StoredGameStep::ShowRow:
            showRow(game);
            break;
        }
    }
    rowsAtBottom = false;
    if (forgottenOpen)
        forgotten.close();
    if (next > 0) {
        const QList<VRAppInfo *> rest = games.mid(0, next);
        QTimer::singleShot(0, this, [this, rest]() { routeStoredGames(rest); });
    }
}

void GameRoad::startDownload(VRAppInfo *info)
{
    adopt(info);
    const QString package = packagePath(*info);
    if (package.isEmpty()) {
        qInfo("[Mivo] no safe package path for game %s", qUtf8Printable(info->gameId));
        return;
    }
    if (removalsWaiting.contains(package)) {
        // The package before it is still open in its MD5 job: this download
        // starts once that file is gone, never from it.
        startsWaiting.insert(package, info);
        return;
    }
    if (stalePackages.contains(package)) {
        // What a removal left is never taken as this download, nor resumed.
        QFile::remove(package + QStringLiteral(".tmp"));
        removeLeftPackage(package);
    }
    info->downloadStatus = VRAppInfo::Downloading;

    const QString picture = picturePath(*info);
    if (!picture.isEmpty() && QFileInfo::exists(picture)) {
        info->notifyPicDownloadFinished();
    } else if (!picture.isEmpty() && downloads) {
        info->picTaskId = downloads->AddTask(QUrl(info->serverPicSource), info->md5, getCachesDir(),
                                             settings.downloadTool != QLatin1String("http"));
        if (info->picTaskId != 0)
            putFirstOfGame(gameList, info, true);
    }

    // The package is always read from where it is downloaded to.
    info->localSource = package;
    if (QFileInfo::exists(package) && !stalePackages.contains(package)) {
        sizeKnown.insert(info);
        if (isMobilePackage(package)) {
            info->downloadStatus = VRAppInfo::Installed;
            info->notifyAppInstallFinished();
            saveGame(info);
        } else {
            info->downloadStatus = VRAppInfo::Downloaded;
            showRow(info);
            info->notifyDownloadFinished();
            saveGame(info);
            installGame(info);
        }
    } else {
        info->downloadTaskId = addPackageTask(info);
        putFirstOfGame(gameList, info, true);
        storeGame(info);
        showRow(info);
        if (info->downloadTaskId == 0) {
            qInfo("[Mivo] the package download of game %s could not start", qUtf8Printable(info->gameId));
            info->notifyAppDownloadFail();
        }
    }
    host.showManager();
}

void GameRoad::taskProgress(int taskId, qint64 received, qint64 total)
{
    const qint64 hundredth = total / 100;
    qDebug("[Mivo] id=%d rate:%d%%", taskId, hundredth == 0 ? 0 : int(received / hundredth));
    for (VRAppInfo *info : gameList) {
        if (info->downloadTaskId == taskId) {
            if (total > 0)
                sizeKnown.insert(info);
            info->notifyUpdateDownloadProgress(received, total);
        }
    }
}

void GameRoad::taskError(int taskId, const QString &message, int code)
{
    if (code == DownloadManager::kEngineNoSize) {
        if (VRAppInfo *info = findByTask(taskId)) {
            settings.downloadTool = QStringLiteral("http");
            saveSettings(settings);
            uninstallGame(info);
            startDownload(info);
        }
    }
    qDebug("[Mivo] %s", qUtf8Printable(message));
    if (VRAppInfo *info = findByTask(taskId)) {
        saveGame(info);
        info->notifyAppDownloadFail();
        info->downloadTaskId = 0;
    }
}

void GameRoad::taskFinished(int taskId)
{
    qDebug("[Mivo] download:%d finashed!", taskId);
    for (VRAppInfo *info : gameList) {
        if (info->downloadTaskId == taskId) {
            info->downloadTaskId = 0;
            sizeKnown.insert(info);
            // The download manager put the new file in place of any left one.
            stalePackages.remove(info->localSource);
            // The package itself tells its size: a resumed download may have
            // reported no progress with the whole file's total.
            info->localSize = int(QFileInfo(info->localSource).size() / 1048576);
            saveGame(info);
            qDebug("[Mivo] VR Downloaded %d", taskId);
            startMd5Check(info);
            return;
        }
        if (info->picTaskId == taskId) {
            info->picTaskId = 0;
            info->notifyPicDownloadFinished();
            qDebug("[Mivo] pic download suss !");
            return;
        }
    }
}

void GameRoad::startMd5Check(VRAppInfo *info)
{
    auto *job = new VarifyMD5(info->localSource, info);
    const Md5Check check{job->stopFlag(), info->localSource};
    md5Checks.insert(info, check);
    const quint32 road = roadOf(info);
    connect(
        job, &VarifyMD5::VarifyResult, this,
        [this, road, check](const QString &md5, void *handle) {
            md5CheckEnded(check.stop, check.file);
            if (isSameRoad(static_cast<VRAppInfo *>(handle), road))
                verified(md5, handle);
        },
        Qt::QueuedConnection);
    connect(
        job, &VarifyMD5::VarifyStopped, this, [this, check]() { md5CheckEnded(check.stop, check.file); },
        Qt::QueuedConnection);
    emit md5CheckStarting(job);
    QThreadPool::globalInstance()->start(job, 0);
}

void GameRoad::md5CheckEnded(const std::shared_ptr<std::atomic_bool> &stopFlag, const QString &file)
{
    for (auto it = md5Checks.begin(); it != md5Checks.end(); ++it) {
        if (it->stop == stopFlag) {
            md5Checks.erase(it);
            break;
        }
    }
    const auto waiting = removalsWaiting.find(file);
    if (waiting == removalsWaiting.end() || waiting.value() != stopFlag)
        return;
    removalsWaiting.erase(waiting);
    removeLeftPackage(file);
    if (const QPointer<VRAppInfo> start = startsWaiting.take(file))
        startDownload(start);
}

void GameRoad::removePackage(const VRAppInfo *info, const QString &path)
{
    const auto check = md5Checks.constFind(info);
    if (check != md5Checks.constEnd() && check->file == path)
        removalsWaiting.insert(path, check->stop);
    else
        removeLeftPackage(path);
}

void GameRoad::removeLeftPackage(const QString &path)
{
    if (QFile::remove(path) || !QFileInfo::exists(path)) {
        stalePackages.remove(path);
        return;
    }
    if (!stalePackages.contains(path))
        qWarning("[Mivo] the package %s cannot be removed; its next download starts anew", qUtf8Printable(path));
    stalePackages.insert(path);
}

void GameRoad::verified(const QString &md5, void *handle)
{
    auto *info = static_cast<VRAppInfo *>(handle);
    // Only a record this road still holds is touched.
    if (!gameList.contains(info))
        return;
    qDebug().noquote() << "-------------------->md5_1 :" << md5.toUpper() << "\tmd5_2:" << info->md5;
    if (info->md5.compare(md5, Qt::CaseInsensitive) != 0) {
        qDebug("[Mivo] Md5 varify fail");
        removeLeftPackage(info->localSource);
        forgetStoredGame(info->gameId);
        info->notifyAppDownloadFail();
        saveGame(info);
        return;
    }
    qDebug("[Mivo] Md5 varify pass!");
    if (isMobilePackage(info->localSource)) {
        info->notifyAppInstallFinished();
        saveGame(info);
    } else {
        info->notifyDownloadFinished();
        installGame(info);
    }
}

void GameRoad::installGame(VRAppInfo *info)
{
    qDebug("[Mivo] now to install!");
    if (!VRAppInfo::isValidGameId(info->gameId) || settings.installPath.isEmpty()) {
        qInfo("[Mivo] no games folder for game %s", qUtf8Printable(info->gameId));
        info->notifyAppInstallFail();
        return;
    }
    QDir().mkdir(settings.installPath);
    const QString folder = gameFolder(info->gameId);
    QDir().mkdir(folder);
    qDebug().noquote() << "install path:" << folder;
    if (info->localSource.isEmpty())
        info->localSource = packagePath(*info);
    if (QFileInfo(info->localSource).size() > 0)
        sizeKnown.insert(info);
    info->notifyAppInstalling();
    saveGame(info);

    // One extractor per game: a reinstall replaces one still running.
    stopExtractor(info);
    auto *runner = new MyThread(nullptr, info, getToolsDir() + platform().extractorFileName(),
                                {QStringLiteral("x"), info->localSource, QStringLiteral("-y"),
                                 QStringLiteral("-o") + folder});
    extractors.insert(info, runner);
    auto unpackedOk = std::make_shared<bool>(false);
    const quint32 road = roadOf(info);
    connect(runner, &MyThread::sendUnZipResault, this, [this, unpackedOk, road](bool ok, VRAppInfo *record) {
        *unpackedOk = ok;
        if (isSameRoad(record, road))
            unpacked(ok, record);
    });
    // The runner ends an unpacking with a child state (8 or 9); the record
    // keeps what the unpacking came to, so the row's buttons go on working.
    connect(runner, &MyThread::sendLaunchResault, this, [this, unpackedOk, road](VRAppInfo *record) {
        if (record && isSameRoad(record, road)
            && (record->downloadStatus == VRAppInfo::ChildEnded
                || record->downloadStatus == VRAppInfo::ChildCrashed))
            record->downloadStatus = *unpackedOk ? VRAppInfo::Installed : VRAppInfo::InstallFailed;
    });
    runner->start();
}

void GameRoad::unpacked(bool ok, VRAppInfo *info)
{
    if (ok)
        info->notifyAppInstallFinished();
    else
        info->notifyAppInstallFail();
    saveGame(info);
}

void GameRoad::toggleDownload(VRAppInfo *info)
{
    if (info->downloadStatus == VRAppInfo::Downloading) {
        info->notifyDownloadPause();
        if (downloads && info->downloadTaskId != 0)
            downloads->StopTask(info->downloadTaskId, false, false);
        return;
    }
    // A download resumed after a restart must still be shown and verified.
    adopt(info);
    putFirstOfGame(gameList, info, true);
    info->localSource = packagePath(*info);
    info->notifyDownloadResume();
    info->downloadTaskId = addPackageTask(info);
    if (info->downloadTaskId == 0) {
        qInfo("[Mivo] the package download of game %s could not start", qUtf8Printable(info->gameId));
        info->notifyAppDownloadFail();
    }
}

void GameRoad::saveGame(VRAppInfo *info)
{
    if (info->localSize == 0 && !sizeKnown.contains(info))
        return;
    storeGame(info);
}

QByteArray GameRoad::localGamesStatusJson() const
{
    QJsonObject status;
    LocalDatabase database;
    if (database.open()) {
        const QList<VRAppInfo *> games = database.loadGames();
        database.close();
        for (const VRAppInfo *game : games) {
            status.insert(game->gameId,
                          QStringLiteral("%1|%2|%3").arg(game->downloadStatus).arg(game->version, game->md5));
        }
        qDeleteAll(games);
    }
    return QJsonDocument(status).toJson(QJsonDocument::Indented);
}

void GameRoad::requestGameUpdateStatus()
{
    auto *request = new QuaNetworkRequest(QuaNetworkRequest::GameState);
    connect(request, &QuaNetworkRequest::sendGameUpdateStatus, this, &GameRoad::gameUpdateStatus);
    request->sendRequest(host.loggedInUserId(), QString(), QString::fromUtf8(localGamesStatusJson()));
}

void GameRoad::gameUpdateStatus(const QMap<int, QString> &states)
{
    const quint32 answer = ++stateAnswers;
    if (!states.isEmpty())
        handOnGameStates(states, states.firstKey(), answer);
}

void GameRoad::handOnGameStates(const QMap<int, QString> &states, int fromKey, quint32 answer)
{
    // An older answer's slices never overwrite what a newer one said.
    if (answer != stateAnswers)
        return;
    QElapsedTimer slice;
    slice.start();
    auto it = states.lowerBound(fromKey);
    for (int done = 0; it != states.constEnd() && (done == 0 || slice.elapsed() < kRouteSliceMs); ++it, ++done) {
        qDebug() << it.key() << it.value();
        const QStringList parts = it.value().split(QLatin1Char('|'));
        const int update = parts.value(0).toInt();
        const int bought = parts.value(1).toInt();
        emit sendGameNeed2Update(it.key(), update);
        emit sendGameNeed2Buy(it.key(), bought);
    }
    if (it != states.constEnd()) {
        const int next = it.key();
        QTimer::singleShot(0, this, [this, states, next, answer]() { handOnGameStates(states, next, answer); });
    }
}

void GameRoad::launchGame(VRAppInfo *info)
{
    // A record from a page is the road's to free; a row's record stays.
    std::unique_ptr<VRAppInfo> pageRecord(shown.contains(info) ? nullptr : info);
    const QString gameId = info->gameId;
    if (!VRAppInfo::isValidGameId(gameId)) {
        emit launchRefused(gameId, QStringLiteral("no valid game id"));
        return;
    }
    // A second click or link while the store is being asked starts nothing more.
    if (isLaunchPending(gameId)) {
        qInfo("[Mivo] the launch of game %s already waits for the store", qUtf8Printable(gameId));
        emit launchRefused(gameId, QStringLiteral("launch pending"));
        return;
    }
    std::unique_ptr<VRAppInfo> stored;
    {
        LocalDatabase database;
        if (database.open()) {
            stored.reset(database.loadGame(gameId));
            database.close();
        }
    }
    if (!stored) {
        qInfo("[Mivo] game %s is not stored; nothing to launch", qUtf8Printable(gameId));
        emit launchRefused(gameId, QStringLiteral("not stored"));
        return;
    }
    if (!VRAppInfo::isInstalledState(stored->downloadStatus)) {
        // Still on its way: the manager shows where it is.
        host.showManager();
        emit launchRefused(gameId, QStringLiteral("not installed"));
        return;
    }
    if (!VRAppInfo::isMobilePlatform(stored->platform) && !isInstalled(gameId)) {
        host.askUser(QString(), QStringLiteral("《%1》已被人为删除，请重新下载！").arg(stored->cnName), 1);
        forgetStoredGame(gameId);
        host.removeManagerRow(gameId);
        if (VRAppInfo *row = shownRecord(gameId))
            shown.removeAll(row);
        emit launchRefused(gameId, QStringLiteral("folder gone"));
        return;
    }
    endPendingLaunch();
    currentGame = std::move(stored);
    auto *request = new QuaNetworkRequest(QuaNetworkRequest::GameData);
    launchRequest = request;
    connect(request, &QuaNetworkRequest::sendGameUpdateInfo, this, &GameRoad::gameUpdateInfo);
    // The request ends with its answer, its failure or its time limit, and
    // frees itself then: a launch that got no answer may be asked again.
    connect(request, &QObject::destroyed, this, [this]() { endPendingLaunch(); });
    request->sendRequest(host.loggedInUserId(), gameId, QString());
}

bool GameRoad::isLaunchPending(const QString &gameId) const
{
    return currentGame && currentGame->gameId == gameId;
}

void GameRoad::endPendingLaunch()
{
    if (launchRequest)
        launchRequest->disconnect(this);
    launchRequest.clear();
    currentGame.reset();
}

void GameRoad::gameUpdateInfo(VRAppInfo *server)
{
    std::unique_ptr<VRAppInfo> answer(server);
    const QString gameId = server->gameId;
    if (!currentGame || currentGame->gameId != gameId) {
        qInfo("[Mivo] game data for %s answers no pending launch", qUtf8Printable(gameId));
        emit launchRefused(gameId, QStringLiteral("answer for another game"));
        return;
    }
    // An answer is used once.
    const std::unique_ptr<VRAppInfo> stored = std::move(currentGame);
    endPendingLaunch();
    if (server->version.isEmpty()) {
        qInfo("[Mivo] the store names no version for game %s", qUtf8Printable(gameId));
        emit launchRefused(gameId, QStringLiteral("no store version"));
        return;
    }
    VRAppInfo *row = shownRecord(gameId);
    if (!row) {
        qInfo("[Mivo] game %s has no row; nothing to launch", qUtf8Printable(gameId));
        emit launchRefused(gameId, QStringLiteral("no row"));
        return;
    }
    if (server->version == stored->version) {
        qDebug().noquote() << "The game " << server->enName << "does not need to be updated!";
        if (host.loggedInUserId().isEmpty()) {
            host.showLoginDialog();
            return;
        }
        if (VRAppInfo::isMobilePlatform(stored->platform)) {
            host.openFolder(QDir::toNativeSeparators(packageFolder(*stored)));
            return;
        }
        // The row's own record is started, so the row shows the launch.
        row->launcher = stored->launcher;
        row->launchParameter = stored->launchParameter;
        startGame(row);
        return;
    }
    qDebug().noquote() << "The game " << server->enName << " needs to be updated!";
    const QString refusal = gameRecordRefusal(*server);
    if (!refusal.isEmpty()) {
        qInfo("[Mivo] the store's record of game %s is refused: %s", qUtf8Printable(gameId), qUtf8Printable(refusal));
        return;
    }
    uninstallGame(row);
    startDownload(answer.release());
}

QStringList GameRoad::launchArguments(const QString &parameter)
{
    if (parameter.isEmpty())
        return {};
    const QStringList parts = parameter.split(QLatin1Char(' '));
    QStringList arguments{QStringLiteral("-") + parts.at(0)};
    if (parts.size() > 1)
        arguments << parts.at(1);
    return arguments;
}

QString GameRoad::launcherPath(const VRAppInfo &info) const
{
    const QString folder = settings.installPath + info.gameId;
    const QString program = QStringLiteral("%1/%2/%3").arg(settings.installPath, info.gameId, info.launcher);
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    const QString canonicalProgram = QFileInfo(program).canonicalFilePath();
    if (!VRAppInfo::isValidGameId(info.gameId) || info.launcher.isEmpty() || canonicalFolder.isEmpty()
        || canonicalProgram.isEmpty() || !canonicalProgram.startsWith(canonicalFolder + QLatin1Char('/')))
        return QString();
    return program;
}

void GameRoad::startGame(VRAppInfo *info)
{
    const QString program = launcherPath(*info);
    if (program.isEmpty()) {
        qInfo("[Mivo] the launcher of game %s is not a file inside its folder", qUtf8Printable(info->gameId));
        info->notifyAppLaunchFail();
        return;
    }
    host.hideWindows();
    qDebug().noquote() << "start path:" << program;
    auto *runner = new MyThread(nullptr, info, program, launchArguments(info->launchParameter), MyThread::Launch);
    connect(runner, &MyThread::sendLaunchResault, this, &GameRoad::launchResult);
    runner->start();
    postHits(QStringLiteral("startGame"), info->deviceId, host.loggedInUserId(), info->gameId);
}

void GameRoad::launchResult(VRAppInfo *info)
{
    if (!info)
        return;
    switch (info->downloadStatus) {
    case VRAppInfo::ChildWroteOutput:
        qDebug("------------>start game!");
        info->notifyAppLaunchStart();
        break;
    case VRAppInfo::ChildEnded:
        qDebug("------------>close game!");
        info->notifyAppLaunchFinished();
        break;
    case VRAppInfo::ChildCrashed:
        qDebug("------------>start failed!");
        // The game stays installed: the user may start it again.
        info->downloadStatus = VRAppInfo::Installed;
        info->notifyAppLaunchFail();
        host.showWindows();
        break;
    default:
        break;
    }
}

void GameRoad::confirmUninstall(VRAppInfo *info)
{
    QString name = info->cnName;
    if (name.size() > 11)
        name = name.left(11) + QStringLiteral("...");
    if (host.askUser(QStringLiteral("卸载提示"), QStringLiteral("确定要卸载《%1》吗？").arg(name), 0))
        uninstallGame(info);
}

bool GameRoad::isSameRoad(const VRAppInfo *info, quint32 road) const
{
    return info && roads.value(info) == road;
}

void GameRoad::stopExtractor(const VRAppInfo *info)
{
    if (QPointer<MyThread> runner = extractors.take(info))
        runner->stopChild();
}

void GameRoad::uninstallGame(VRAppInfo *info)
{
    // Whatever the old road still has running reports to nobody, and the
    // extractor writes nothing more into the folder removed below.
    ++roads[info];
    stopExtractor(info);
    // Its MD5 job stops at its next read; the package goes once the job has closed it.
    const auto check = md5Checks.constFind(info);
    if (check != md5Checks.constEnd())
        *check->stop = true;
    gameList.removeAll(info);
    sizeKnown.remove(info);
    const int state = info->downloadStatus;
    const int task = info->downloadTaskId != 0 ? info->downloadTaskId : packageTasks.value(info);
    // A download on its way, paused or failed leaves neither its task nor its partial file.
    if (downloads && task != 0
        && (state == VRAppInfo::Downloading || state == VRAppInfo::Paused || state == VRAppInfo::DownloadFailed))
        downloads->StopTask(task, true, true);
    packageTasks.remove(info);
    info->downloadTaskId = 0;

    if (VRAppInfo::isMobilePlatform(info->platform)) {
        if (isSameOrInsideFolder(info->localSource, getAndroidAppsDir())
            || isSameOrInsideFolder(info->localSource, getIosAppsDir()))
            removePackage(info, info->localSource);
    } else if (!VRAppInfo::isValidGameId(info->gameId) || settings.installPath.isEmpty()) {
        qInfo("delete failed!");
    } else {
        const QString folder = settings.installPath + info->gameId;
        deleteDirectory(folder);
        qDebug().noquote() << "------------>remove path:" << folder;
        // An update must download the new package, not unpack the old one.
        removePackage(info, pcPackagePath(info->gameId));
    }
    if (VRAppInfo::isValidGameId(info->gameId))
        forgetStoredGame(info->gameId);
    host.removeManagerRow(info->gameId);
    shown.removeAll(info);
    info->notifyAppUninstallFinished();
}
