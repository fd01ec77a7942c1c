#pragma once
// The client's lasting state in "UserData/Orbela.db": the remembered account
// (table "vr_user") and every game the client has started to download (table
// "vr_game2"). Open, run a few operations, close: the open begins a
// transaction and the close commits it. GUI thread only.

#include <QList>
#include <QSqlDatabase>
#include <QString>

class VRAppInfo;

class LocalDatabase
{
public:
    LocalDatabase();
    // Releases the handle only: an object that was not closed commits nothing.
    ~LocalDatabase();

    // False only when the file cannot be opened.
    bool open();
    void close();

    bool hasLegacyGameTable();
    // New records (platform 0) the caller owns; empty when the select fails.
    QList<VRAppInfo *> loadLegacyGames();
    bool dropLegacyGameTable();
    // Copies every game of the older table "vr_game" into "vr_game2" and drops it.
    bool migrateLegacyGames();

    // New records the caller owns; empty when the select fails.
    QList<VRAppInfo *> loadGames();
    // A new record the caller owns, or null when the game is unknown or the select fails.
    VRAppInfo *loadGame(const QString &gameId);
    bool saveGame(VRAppInfo *info);
    // Removes the one game with this id.
    bool deleteGame(const QString &gameId);

    bool saveUser(const QString &uid, const QString &remember, const QString &autoLogin, const QString &isLogin,
                  const QString &userName, const QString &pwd);
    bool deleteUsers();
    // The last row's name and password; arguments untouched when there is no row.
    bool getUser(QString &userName, QString &pwd);
    // These two look at the first row only.
    bool isAutoLogin();
    bool isRemember();
    bool setLoggedOut();
    bool setAutoLogin(bool on);
    bool setRemember(bool on);

    // A stored state: 1 to 9 as they are, anything else 0 (downloading).
    static int toDownloadStatus(int stored);
    // Full path of the database file.
    static QString filePath();

private:
    bool userFlag(const char *column);

    QSqlDatabase db;
    bool opened = false;
};
