#pragma once
// The client's record of one game: what the store says about it, where its
// package lives, its running download tasks and its state on the road from
// download to play. Each stage of that road is announced through a signal;
// the game's manager row listens and writes most states.

#include <QObject>
#include <QString>

#include <array>

class QJsonObject;
class VRAppInfo;

// One stored field of a game: its column in the table "vr_game2", its key in
// the store's JSON (null when the store does not send it) and its member,
// either a text or a number. gameFields() lists them in column order; the
// JSON readers and the database's row reader and save go through that one
// list, so a new field is one line there.
struct GameField
{
    const char *column;
    const char *jsonKey;
    QString VRAppInfo::*text;
    int VRAppInfo::*number;
};

class VRAppInfo : public QObject
{
    Q_OBJECT

public:
    // Values of downloadStatus.
    enum DownloadState {
        Downloading = 0,
        Paused = 1,
        Downloaded = 2,
        DownloadFailed = 3,
        Installing = 4,
        Installed = 5,
        InstallFailed = 6,
        ChildWroteOutput = 7,
        ChildEnded = 8,
        ChildCrashed = 9,
    };

    VRAppInfo();

    // A record from the JSON argument of a page's "download" or "launch" link:
    // "platform" is a text holding a decimal number. The caller owns the record.
    static VRAppInfo *fromPageLink(const QJsonObject &object);
    // A record from the "data" object of a game-data reply: "platform" is a
    // JSON number. The caller owns the record.
    static VRAppInfo *fromGameData(const QJsonObject &object);

    // A game id from outside is a non-empty string of digits (it names a
    // folder and a package file); an MD5 digest is 32 hexadecimal characters.
    static bool isValidGameId(const QString &gameId);
    static bool isValidMd5(const QString &md5);
    // Unpacked and ready to start: Installed, or a game that ran and ended.
    static bool isInstalledState(int state);
    // 0 a PC game, 1 an Android package, 2 an iOS package; no other value is taken in.
    static bool isKnownPlatform(int platform) { return platform >= 0 && platform <= 2; }
    static bool isMobilePlatform(int platform) { return platform == 1 || platform == 2; }

    void notifyUpdateDownloadProgress(qlonglong downloaded, qlonglong total);
    void notifyDownloadResume();
    void notifyDownloadPause();
    void notifyDownloadFinished();
    void notifyAppDownloadFail();
    void notifyPicDownloadFinished();
    void notifyAppInstalling();
    void notifyAppInstallFinished();
    void notifyAppInstallFail();
    void notifyAppLaunchStart();
    void notifyAppLaunchFinished();
    void notifyAppLaunchFail();
    void notifyAppUninstallFinished();

    QString deviceId;
    int platform = 0; // 1 Android package, 2 iOS package, otherwise a PC game
    QString gameId;
    QString cnName;
    QString enName;
    QString version;
    int localSize = 0; // whole MiB; 0 while unknown
    QString md5;
    QString serverAppSource;
    QString serverPicSource;
    QString localSource;
    QString launcher;
    QString launchParameter;
    int downloadTaskId = 0;
    int picTaskId = 0;
    int downloadStatus = Downloading;

    // The fields a game keeps in the database, in the table's column order.
    static const std::array<GameField, 14> &gameFields();

signals:
    void UpdateDownloadProgress(VRAppInfo *info, qlonglong downloaded, qlonglong total);
    void DownloadResume(VRAppInfo *info);
    void DownloadPause(VRAppInfo *info);
    void DownloadFinished(VRAppInfo *info);
    void AppDownloadFail(VRAppInfo *info);
    void PicDownloadFinished(VRAppInfo *info);
    void AppInstalling(VRAppInfo *info);
    void AppInstallFinished(VRAppInfo *info);
    void AppInstallFail(VRAppInfo *info);
    void AppLaunchStart(VRAppInfo *info);
    void AppLaunchFinished(VRAppInfo *info);
    void AppLaunchFail(VRAppInfo *info);
    void AppUninstallFinished(VRAppInfo *info);
    void AppNeedUpdate(VRAppInfo *info);
};
