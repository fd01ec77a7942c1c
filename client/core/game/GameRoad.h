#pragma once
// A game's road from the download link to play and removal: the picture and
// package downloads, the MD5 check, the unpacking, the pause and resume, the
// game's database row, the launch check against the store, the start and the
// uninstall. The main window keeps the operations' names as thin calls into
// this class and answers what only windows can do through GameRoadHost.
// GUI thread only.

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <memory>

class DownloadManager;
class MyThread;
class QuaNetworkRequest;
class VarifyMD5;
class VRAppInfo;
struct AppSettings;

class GameRoadHost
{
public:
    virtual ~GameRoadHost() = default;
    // Adds the game's row to the local games manager (replacing one of the
    // same game), at the top or, while stored games are being listed, at the bottom.
    virtual void addManagerRow(VRAppInfo *info, bool atBottom) = 0;
    virtual void removeManagerRow(const QString &gameId) = 0;
    virtual void showManager() = 0;
    // The client's own popup; non-zero when the user confirmed.
    virtual int askUser(const QString &title, const QString &text, int style) = 0;
    virtual void showLoginDialog() = 0;
    virtual void hideWindows() = 0;
    virtual void showWindows() = 0;
    virtual void openFolder(const QString &folder) = 0;
    virtual QString loggedInUserId() = 0;
};

class GameRoad : public QObject
{
    Q_OBJECT

public:
    GameRoad(GameRoadHost &host, AppSettings &settings, QObject *parent = nullptr);
    ~GameRoad() override;

    void setDownloadManager(DownloadManager *manager) { downloads = manager; }

    // Paths of a game's files; empty when the record cannot name a safe path.
    static QString packagePath(const VRAppInfo &info);
    static QString packageFolder(const VRAppInfo &info);
    static QString packageFileName(const VRAppInfo &info);
    static QString picturePath(const VRAppInfo &info);
    static bool isMobilePackage(const QString &path);
    QString gameFolder(const QString &gameId) const;

    // The road owns the records it is given.
    void adopt(VRAppInfo *info);
    // The record shown for a game id, or null.
    VRAppInfo *shownRecord(const QString &gameId) const;
    // Shows the game's row; the record is the road's from here on.
    void showRow(VRAppInfo *info);

    // The start-up's stored games, each handed on by its state: downloads go
    // on, downloaded packages are unpacked, PC games whose folder is gone are
    // forgotten, the rest get their rows. Games are handed on for a slice of
    // time per event-loop turn, so thousands of them never hold the loop; the
    // records are the road's.
    void routeStoredGames(const QList<VRAppInfo *> &games);
    static const int kRouteSliceMs = 40;

    void startDownload(VRAppInfo *info);
    void taskProgress(int taskId, qint64 received, qint64 total);
    void taskError(int taskId, const QString &message, int code);
    void taskFinished(int taskId);
    void verified(const QString &md5, void *handle);
    void installGame(VRAppInfo *info);
    void unpacked(bool ok, VRAppInfo *info);
    void toggleDownload(VRAppInfo *info);
    void saveGame(VRAppInfo *info);

    QByteArray localGamesStatusJson() const;
    void requestGameUpdateStatus();
    // Hands each game's state on; a long list in slices of time per event-loop
    // turn. A newer answer replaces one still being handed on: the older
    // answer's remaining games are dropped.
    void gameUpdateStatus(const QMap<int, QString> &states);

    void launchGame(VRAppInfo *info);
    void gameUpdateInfo(VRAppInfo *server);
    void startGame(VRAppInfo *info);
    void launchResult(VRAppInfo *info);
    void confirmUninstall(VRAppInfo *info);
    void uninstallGame(VRAppInfo *info);
    bool isInstalled(const QString &gameId) const;
    // Whether a launch of the game waits for the store's answer.
    bool isLaunchPending(const QString &gameId) const;

    // "-" + the first word and the second word of a launch parameter.
    static QStringList launchArguments(const QString &parameter);

signals:
    void sendGameNeed2Update(int gameKey, int flag);
    void sendGameNeed2Buy(int gameKey, int flag);
    // For tests and diagnostics: a step of the road that ends it quietly.
    void launchRefused(const QString &gameId, const QString &reason);
    // For tests and diagnostics: a package's MD5 job, just before it is started.
    void md5CheckStarting(VarifyMD5 *job);

private:
    // One slice of the game-state answer numbered answer, from the first game
    // number at or after fromKey; nothing once a newer answer came.
    void handOnGameStates(const QMap<int, QString> &states, int fromKey, quint32 answer);
    void startMd5Check(VRAppInfo *info);
    // The MD5 job stopped by stopFlag has closed file (with a result or
    // stopped); a removal waiting for it runs now, then a download waiting for that.
    void md5CheckEnded(const std::shared_ptr<std::atomic_bool> &stopFlag, const QString &file);
    // Removes a package the road is done with, now or, while its MD5 job still
    // reads it, once the job has closed it.
    void removePackage(const VRAppInfo *info, const QString &path);
    // Removes a package now; one that stays is logged and never taken as downloaded.
    void removeLeftPackage(const QString &path);
    VRAppInfo *findByTask(int taskId) const;
    int addPackageTask(VRAppInfo *info);
    // The start program when it lies inside the game's folder, else empty.
    QString launcherPath(const VRAppInfo &info) const;
    // Counts the record's roads: an uninstall starts a new one, and a late
    // result of the old road (MD5, unpacking) is dropped.
    quint32 roadOf(const VRAppInfo *info) const { return roads.value(info); }
    bool isSameRoad(const VRAppInfo *info, quint32 road) const;
    void stopExtractor(const VRAppInfo *info);
    void endPendingLaunch();

    GameRoadHost &host;
    AppSettings &settings;
    DownloadManager *downloads = nullptr;
    QList<VRAppInfo *> gameList;
    QList<VRAppInfo *> shown;
    // The last package task of each record, kept after a failure cleared its id.
    QHash<const VRAppInfo *, int> packageTasks;
    // Records whose package size in bytes is known (it may be under 1 MiB).
    QSet<const VRAppInfo *> sizeKnown;
    // Stored games are listed last first, each row below the others: the same
    // order as rows added on top, without moving every row at each new one.
    bool rowsAtBottom = false;
    QHash<const VRAppInfo *, quint32> roads;
    // The extractor unpacking each record's package.
    QHash<const VRAppInfo *, QPointer<MyThread>> extractors;
    // The stored record of the game whose launch waits for the store's answer;
    // null when none waits. The answer is used once.
    std::unique_ptr<VRAppInfo> currentGame;
    QPointer<QuaNetworkRequest> launchRequest;
    // Counts the game-state answers; only the last one is handed on.
    quint32 stateAnswers = 0;
    // The MD5 job checking each record's package: its stop flag and its file.
    struct Md5Check {
        std::shared_ptr<std::atomic_bool> stop;
        QString file;
    };
    QHash<const VRAppInfo *, Md5Check> md5Checks;
    // Packages whose removal waits for the MD5 job (its stop flag) that still
    // has them open: a file open without delete sharing cannot be removed.
    QHash<QString, std::shared_ptr<std::atomic_bool>> removalsWaiting;
    // Downloads asked for while the package they would write was still
    // waiting to be removed; each starts once it is gone.
    QHash<QString, QPointer<VRAppInfo>> startsWaiting;
    // Packages a removal could not delete: a download starts anew over them.
    QSet<QString> stalePackages;
};
