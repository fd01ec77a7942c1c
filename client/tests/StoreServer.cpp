#include "tests/StoreServer.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUrlQuery>

#include <string>
#include <vector>

namespace {
std::vector<std::string> toStdStrings(const QStringList &texts)
{
    std::vector<std::string> out;
    for (const QString &text : texts)
        out.push_back(text.toStdString());
    return out;
}

QJsonArray catalogueGames(const QString &file)
{
    QFile catalogue(file);
    if (!catalogue.open(QIODevice::ReadOnly))
        return QJsonArray();
    return QJsonDocument::fromJson(catalogue.readAll()).object().value(QStringLiteral("games")).toArray();
}
}

StoreServer::StoreServer(const QStringList &extraArguments)
    : process(toStdStrings(extraArguments))
{
}

bool StoreServer::start()
{
    return process.start();
}

void StoreServer::stop()
{
    process.stop();
}

QString StoreServer::error() const
{
    return QString::fromStdString(process.error());
}

quint16 StoreServer::port() const
{
    return static_cast<quint16>(process.port());
}

QString StoreServer::host() const
{
    return QString::fromStdString(process.host());
}

QString StoreServer::baseUrl() const
{
    return QString::fromStdString(process.baseUrl());
}

QUrl StoreServer::url(const QString &path) const
{
    return QUrl(baseUrl() + path);
}

QString StoreServer::dataPath() const
{
    return QString::fromStdString(process.dataDir());
}

void StoreServer::serveAllHosts() const
{
    for (const char *variable :
         {"ORBELA_APP_API_HOST", "ORBELA_OPEN_API_HOST", "ORBELA_FORUM_HOST", "ORBELA_IP_LOOKUP_HOST"})
        qputenv(variable, host().toUtf8());
}

bool StoreServer::setFault(const QString &route, const QString &mode) const
{
    return process.setFault(route.toStdString(), mode.toStdString());
}

bool StoreServer::setAnswer(const QString &route, const QString &name, const QByteArray &body,
                            const QString &delivery) const
{
    const QString relative = QStringLiteral("/answers/") + name;
    QFile file(dataPath() + relative);
    if (!QDir().mkpath(dataPath() + QStringLiteral("/answers")) || !file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(body) != body.size())
        return false;
    file.close();
    return setFault(route, QStringLiteral("answer:") + relative + (delivery.isEmpty() ? QString() : QLatin1Char('+') + delivery));
}

bool StoreServer::clearFaults(const QString &route) const
{
    return process.clearFaults(route.toStdString());
}

bool StoreServer::setUpdate(const QString &mode, const QString &version, const QString &url, const QString &note) const
{
    return process.setUpdate(mode.toStdString(), version.toStdString(), url.toStdString(), note.toStdString());
}

bool StoreServer::publishVersion(const QString &gameId, const QString &version) const
{
    return process.publishVersion(gameId.toStdString(), version.toStdString());
}

int StoreServer::requestsWith(const QString &path, const QString &name, const QString &value) const
{
    int count = 0;
    for (const QJsonObject &request : requests(path)) {
        const QJsonValue field = request.value(QStringLiteral("form")).toObject().value(name);
        const QUrlQuery query(request.value(QStringLiteral("query")).toString());
        count += field.isString() ? field.toString() == value
                                  : query.hasQueryItem(name) && query.queryItemValue(name) == value;
    }
    return count;
}

int StoreServer::hitsWithStatus(const QString &status) const
{
    return requestsWith(QStringLiteral("/hits"), QStringLiteral("status"), status);
}

QList<QJsonObject> StoreServer::requests(const QString &path) const
{
    QList<QJsonObject> entries;
    QFile log(QString::fromStdString(process.logPath()));
    if (!log.open(QIODevice::ReadOnly))
        return entries;
    for (const QByteArray &line : log.readAll().split('\n')) {
        const QJsonObject entry = QJsonDocument::fromJson(line).object();
        if (!entry.isEmpty() && (path.isEmpty() || entry.value(QStringLiteral("path")).toString() == path))
            entries.append(entry);
    }
    return entries;
}

void StoreServer::clearLog() const
{
    process.clearLog();
}

QJsonObject StoreServer::game(const QString &gameId) const
{
    for (const QJsonValue &value : catalogueGames(dataPath() + QStringLiteral("/catalogue.json"))) {
        if (value.toObject().value(QStringLiteral("gameId")).toString() == gameId)
            return value.toObject();
    }
    return QJsonObject();
}

QJsonObject StoreServer::gameServing(const QString &path) const
{
    for (const QJsonValue &value : catalogueGames(dataPath() + QStringLiteral("/catalogue.json"))) {
        const QJsonObject game = value.toObject();
        if (QUrl(game.value(QStringLiteral("exe_dl_path")).toString()).path() == path
            || QUrl(game.value(QStringLiteral("pic_dl_path")).toString()).path() == path)
            return game;
    }
    return QJsonObject();
}

QString StoreServer::md5Of(const QString &path) const
{
    const QJsonObject game = gameServing(path);
    const QString listed = game.value(QStringLiteral("md5")).toString();
    if (!listed.isEmpty() && QUrl(game.value(QStringLiteral("exe_dl_path")).toString()).path() == path)
        return listed;
    QFile file(filePath(path));
    QCryptographicHash hash(QCryptographicHash::Md5);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return QString();
    return QString::fromLatin1(hash.result().toHex());
}

QString StoreServer::filePath(const QString &path) const
{
    return dataPath() + path;
}
