#pragma once
// The store stand-in for the client's Qt tests: a thin Qt face over the
// process helper of the stand-in's own tests. Starting it points the client's
// four hosts at it.

#include "StoreServerProcess.h"

#include <QByteArray>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QUrlQuery>

#include <string>
#include <vector>

class StoreServer
{
public:
    explicit StoreServer(const QStringList &arguments = {})
        : process(toStd(arguments))
    {
    }

    bool start()
    {
        if (!process.start())
            return false;
        for (const char *variable :
             {"ORBELA_APP_API_HOST", "ORBELA_OPEN_API_HOST", "ORBELA_FORUM_HOST", "ORBELA_IP_LOOKUP_HOST"})
            qputenv(variable, host().toUtf8());
        return true;
    }
    QString error() const { return QString::fromStdString(process.error()); }
    QString host() const { return QString::fromStdString(process.host()); }
    QString baseUrl() const { return QString::fromStdString(process.baseUrl()); }
    QString dataDir() const { return QString::fromStdString(process.dataDir()); }

    // Every logged request so far, oldest first.
    QList<QJsonObject> requests() const
    {
        QList<QJsonObject> entries;
        QFile log(QString::fromStdString(process.logPath()));
        if (!log.open(QIODevice::ReadOnly))
            return entries;
        for (const QByteArray &line : log.readAll().split('\n')) {
            if (!line.trimmed().isEmpty())
                entries.append(QJsonDocument::fromJson(line).object());
        }
        return entries;
    }
    QList<QJsonObject> requestsTo(const QString &path) const
    {
        QList<QJsonObject> matching;
        for (const QJsonObject &entry : requests()) {
            if (entry.value(QStringLiteral("path")).toString() == path)
                matching.append(entry);
        }
        return matching;
    }
    void clearLog() const { process.clearLog(); }

    // Control routes: faults by route and the version offer.
    bool setFault(const QString &route, const QString &mode) const
    {
        return control(QStringLiteral("/__control/fault"), {{"route", route}, {"mode", mode}});
    }
    bool clearFaults() const { return control(QStringLiteral("/__control/fault/clear"), {}); }
    bool setUpdate(const QString &mode, const QString &version = {}, const QString &url = {},
                   const QString &note = {}) const
    {
        QList<QPair<QString, QString>> query{{"mode", mode}};
        if (!version.isEmpty())
            query.append({"version", version});
        if (!url.isEmpty())
            query.append({"url", url});
        if (!note.isEmpty())
            query.append({"note", note});
        return control(QStringLiteral("/__control/update"), query);
    }
    QJsonObject catalogueGame(const QString &gameId) const
    {
        const JsonValue game = process.game(gameId.toStdString());
        return QJsonDocument::fromJson(QByteArray::fromStdString(game.dump())).object();
    }

private:
    static std::vector<std::string> toStd(const QStringList &list)
    {
        std::vector<std::string> out;
        for (const QString &item : list)
            out.push_back(item.toStdString());
        return out;
    }

    bool control(const QString &path, const QList<QPair<QString, QString>> &items) const
    {
        QUrl url(baseUrl() + path);
        QUrlQuery query;
        for (const auto &item : items)
            query.addQueryItem(item.first, QString::fromLatin1(QUrl::toPercentEncoding(item.second)));
        url.setQuery(query);
        QNetworkAccessManager manager;
        QNetworkRequest request(url);
        request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
        QNetworkReply *reply = manager.post(request, QByteArray());
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        const bool ok = reply->error() == QNetworkReply::NoError;
        delete reply;
        return ok;
    }

    StoreServerProcess process;
};
