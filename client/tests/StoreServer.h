#pragma once
// The store stand-in for the client's Qt tests: a thin Qt face on the one
// helper every test uses (StoreServerProcess), with the request log and the
// fixture catalogue read as Qt JSON.
//
//   StoreServer server;
//   QVERIFY2(server.start(), qPrintable(server.error()));
//   QUrl url = server.url("/download/games/small-game.zip");
//   server.setFault("/download/games/small-game.zip", "cut:1000");

#include "StoreServerProcess.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

class StoreServer
{
public:
    // Extra arguments go after "--port 0 --data DIR --log FILE".
    explicit StoreServer(const QStringList &extraArguments = {});
    StoreServer(const StoreServer &) = delete;
    StoreServer &operator=(const StoreServer &) = delete;

    // Starts the program and waits (up to 30 s) for its "listening" line.
    bool start();
    void stop();
    QString error() const;

    quint16 port() const;
    // "127.0.0.1:<port>", the form of the client's host settings.
    QString host() const;
    // Points the client's four hosts at this server (through the environment).
    void serveAllHosts() const;
    QString baseUrl() const;
    QUrl url(const QString &path) const;
    QString dataPath() const;

    // Sets or clears faults through the control route; true when accepted.
    bool setFault(const QString &route, const QString &mode) const;
    bool clearFaults(const QString &route = QString()) const;
    // Makes route answer with body (kept as "answers/<name>" in the data folder), delivered
    // the way the fault mode delivery says (e.g. "chunked"; empty: as it is); true when set.
    bool setAnswer(const QString &route, const QString &name, const QByteArray &body,
                   const QString &delivery = QString()) const;
    // The version service's offer: mode "none", "optional" or "forced".
    bool setUpdate(const QString &mode, const QString &version = {}, const QString &url = {},
                   const QString &note = {}) const;
    // A new version of a PC game with a second package ("version.txt" inside);
    // game() reads the new record afterwards.
    bool publishVersion(const QString &gameId, const QString &version = {}) const;

    // Every request logged so far, oldest first; with a path, only those to it.
    QList<QJsonObject> requests(const QString &path = QString()) const;
    // How many requests to path had name=value in their form or query.
    int requestsWith(const QString &path, const QString &name, const QString &value) const;
    // How many statistics events ("/hits") with this status arrived.
    int hitsWithStatus(const QString &status) const;
    void clearLog() const;

    // The fixture catalogue entry of the game whose package or picture lies at
    // path (e.g. "/download/games/small-game.zip"); empty when unknown.
    QJsonObject gameServing(const QString &path) const;
    // The fixture catalogue entry of one game id; empty when unknown.
    QJsonObject game(const QString &gameId) const;
    // MD5 of the file the server serves at path (from the catalogue).
    QString md5Of(const QString &path) const;
    // The file on disk behind path.
    QString filePath(const QString &path) const;

private:
    StoreServerProcess process;
};
