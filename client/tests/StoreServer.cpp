#include "tests/StoreServer.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrlQuery>

StoreServer::StoreServer(const QStringList &extraArguments)
    : extra(extraArguments)
{
}

StoreServer::~StoreServer()
{
    stop();
}

QString StoreServer::binary()
{
    return QString::fromLocal8Bit(qgetenv("ORBELA_STORESERVER"));
}

bool StoreServer::start()
{
    if (binary().isEmpty()) {
        problem = QStringLiteral("ORBELA_STORESERVER is not set");
        return false;
    }
    QStringList arguments{QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--data"), dataPath(),
                          QStringLiteral("--log"), work.filePath(QStringLiteral("requests.log"))};
    arguments += extra;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(binary(), arguments);
    if (!process.waitForStarted(10000)) {
        problem = process.errorString();
        return false;
    }
    const QDeadlineTimer deadline(30000);
    QByteArray output;
    while (!deadline.hasExpired()) {
        if (process.canReadLine() || process.waitForReadyRead(200)) {
            output += process.readLine();
            const int at = output.indexOf("listening 127.0.0.1:");
            if (at >= 0 && output.endsWith('\n')) {
                listeningPort = static_cast<quint16>(output.mid(at + 20).trimmed().toUInt());
                return listeningPort != 0;
            }
        }
        if (process.state() == QProcess::NotRunning)
            break;
    }
    problem = QStringLiteral("storeserver did not start listening: ") + QString::fromLocal8Bit(output);
    return false;
}

void StoreServer::stop()
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

QString StoreServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(listeningPort);
}

QUrl StoreServer::url(const QString &path) const
{
    return QUrl(baseUrl() + path);
}

QString StoreServer::dataPath() const
{
    return work.filePath(QStringLiteral("data"));
}

bool StoreServer::post(const QString &pathAndQuery) const
{
    QNetworkAccessManager network;
    QNetworkRequest request(QUrl(baseUrl() + pathAndQuery));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    QNetworkReply *reply = network.post(request, QByteArray());
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    const bool ok = reply->isFinished() && reply->error() == QNetworkReply::NoError;
    delete reply;
    return ok;
}

bool StoreServer::setFault(const QString &route, const QString &mode)
{
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("route"), route);
    query.addQueryItem(QStringLiteral("mode"), mode);
    return post(QStringLiteral("/__control/fault?") + query.toString(QUrl::FullyEncoded));
}

bool StoreServer::clearFaults(const QString &route)
{
    if (route.isEmpty())
        return post(QStringLiteral("/__control/fault/clear"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("route"), route);
    return post(QStringLiteral("/__control/fault/clear?") + query.toString(QUrl::FullyEncoded));
}

QList<QJsonObject> StoreServer::requests(const QString &path) const
{
    QList<QJsonObject> entries;
    QFile log(work.filePath(QStringLiteral("requests.log")));
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
    QFile log(work.filePath(QStringLiteral("requests.log")));
    log.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

QString StoreServer::host() const
{
    return QStringLiteral("127.0.0.1:%1").arg(listeningPort);
}

void StoreServer::serveAllHosts() const
{
    for (const char *variable :
         {"ORBELA_APP_API_HOST", "ORBELA_OPEN_API_HOST", "ORBELA_FORUM_HOST", "ORBELA_IP_LOOKUP_HOST"})
        qputenv(variable, host().toUtf8());
}

bool StoreServer::setUpdate(const QString &mode, const QString &version, const QString &url, const QString &note)
{
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("mode"), mode);
    if (!version.isEmpty())
        query.addQueryItem(QStringLiteral("version"), version);
    if (!url.isEmpty())
        query.addQueryItem(QStringLiteral("url"), QString::fromLatin1(QUrl::toPercentEncoding(url)));
    if (!note.isEmpty())
        query.addQueryItem(QStringLiteral("note"), QString::fromLatin1(QUrl::toPercentEncoding(note)));
    return post(QStringLiteral("/__control/update?") + query.toString(QUrl::FullyEncoded));
}

static QJsonArray catalogueGames(const QString &file)
{
    QFile catalogue(file);
    if (!catalogue.open(QIODevice::ReadOnly))
        return QJsonArray();
    return QJsonDocument::fromJson(catalogue.readAll()).object().value(QStringLiteral("games")).toArray();
}

QJsonObject StoreServer::game(const QString &gameId) const
{
    for (const QJsonValue &value : catalogueGames(work.filePath(QStringLiteral("data/catalogue.json")))) {
        if (value.toObject().value(QStringLiteral("gameId")).toString() == gameId)
            return value.toObject();
    }
    return QJsonObject();
}

QJsonObject StoreServer::gameServing(const QString &path) const
{
    const QJsonArray games = catalogueGames(work.filePath(QStringLiteral("data/catalogue.json")));
    for (const QJsonValue &value : games) {
        const QJsonObject game = value.toObject();
        if (QUrl(game.value(QStringLiteral("exe_dl_path")).toString()).path() == path
            || QUrl(game.value(QStringLiteral("pic_dl_path")).toString()).path() == path)
            return game;
    }
    return QJsonObject();
}

QString StoreServer::md5Of(const QString &path) const
{
    const QString listed = gameServing(path).value(QStringLiteral("md5")).toString();
    if (!listed.isEmpty() && QUrl(gameServing(path).value(QStringLiteral("exe_dl_path")).toString()).path() == path)
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
