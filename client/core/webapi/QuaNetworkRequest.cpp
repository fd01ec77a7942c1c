#include "core/webapi/QuaNetworkRequest.h"

#include "core/AppFolders.h"
#include "core/webapi/ClientIdentity.h"
#include "core/webapi/MessageSigning.h"
#include "core/webapi/ServiceRequest.h"
#include "core/ServiceHosts.h"
#include "core/game/VRAppInfo.h"

#include <QDebug>
#include <QJsonDocument>
#include <QJsonObject>
#include <QFutureWatcher>
#include <QNetworkReply>
#include <QtConcurrent/QtConcurrentRun>
#include <QUrl>

namespace {
const char *methodName(int type)
{
    switch (type) {
    case QuaNetworkRequest::DeviceList:
        return "ajaxGetDevices";
    case QuaNetworkRequest::Version:
        return "ajaxGetVersion";
    case QuaNetworkRequest::VersionMessage:
        return "ajaxGetVersionMessage";
    case QuaNetworkRequest::OnlineTotal:
        return "ajaxGetOnlineTotal";
    case QuaNetworkRequest::UserResource:
        return "getUserResource";
    case QuaNetworkRequest::GameData:
        return "ajaxGetGame";
    case QuaNetworkRequest::GameState:
        return "ajaxGetGameState";
    default:
        return "";
    }
}

// Keys read as base-10 numbers, in ascending order of the key texts.
QMap<int, QString> numberedTexts(const QJsonObject &data)
{
    QMap<int, QString> map;
    // One walk: looking each key up again costs a search per key.
    for (auto it = data.constBegin(); it != data.constEnd(); ++it)
        map.insert(it.key().toInt(nullptr, 10), it.value().toString());
    return map;
}
struct ParsedAnswer {
    bool isObject = false;
    QJsonObject answer;
    // Types 0 and 7: "data" as numbered texts (read with status 1 only).
    QMap<int, QString> numbered;
};

ParsedAnswer parseAnswer(const QByteArray &body, int type)
{
    ParsedAnswer parsed;
    const QJsonDocument document = QJsonDocument::fromJson(body);
    parsed.isObject = document.isObject();
    parsed.answer = document.object();
    if ((type == QuaNetworkRequest::DeviceList || type == QuaNetworkRequest::GameState)
        && parsed.answer.value(QStringLiteral("status")).toInt() == 1)
        parsed.numbered = numberedTexts(parsed.answer.value(QStringLiteral("data")).toObject());
    return parsed;
}

} // namespace

QuaNetworkRequest::QuaNetworkRequest(int type, QObject *parent)
    : QObject(parent)
    , requestType(type)
{
}

QString QuaNetworkRequest::buildUrl(int type, const QString &sign, const QString &timestamp, const QString &userId,
                                    const QString &gameId, const QString &gameStatus, const QString &publicIp)
{
    const QString host = type == UserResource ? openApiHost() : appApiHost();
    const QString method = QLatin1String(methodName(type));
    auto value = [](const QString &text) { return QString::fromLatin1(encodeValue(text)); };
    // Every value goes in with one arg() call, so a "%1" inside a value stays text.
    switch (type) {
    case DeviceList:
    case Version:
    case VersionMessage:
        return QStringLiteral("http://%1/client/api/%2?version=%3&sign=%4&net_ip=%5")
            .arg(host, method, value(QLatin1String(kClientVersion)), value(sign), value(publicIp));
    case OnlineTotal:
        return QStringLiteral("http://%1/client/api/%2?timestamp=%3&sign=%4&net_ip=%5")
            .arg(host, method, value(timestamp), value(sign), value(publicIp));
    case UserResource:
        return QStringLiteral("http://%1/api/%2?uid=%3&timestamp=%4&sign=%5&net_ip=%6")
            .arg(host, method, value(userId), value(timestamp), value(sign), value(publicIp));
    case GameData:
        return QStringLiteral("http://%1/client/api/%2?game_id=%3&user_id=%4&timestamp=%5&sign=%6&net_ip=%7")
            .arg(host, method, value(gameId), value(userId), value(timestamp), value(sign), value(publicIp));
    case GameState:
        return QStringLiteral("http://%1/client/api/%2?&user_id=%3&timestamp=%4&sign=%5&gamestatus=%6&net_ip=%7")
            .arg(host, method, value(userId), value(timestamp), value(sign), value(gameStatus), value(publicIp));
    default:
        return QString();
    }
}

void QuaNetworkRequest::sendVersionRequest()
{
    const QString sign = signWithSalt(QLatin1String(kClientVersion));
    const QString publicIp = getPublicIp();
    send(buildUrl(requestType, sign, QString(), QString(), QString(), QString(), publicIp));
}

void QuaNetworkRequest::sendRequest(const QString &userId, const QString &gameId, const QString &gameStatus)
{
    const QString timestamp = timestampText();
    const QString sign = signWithSalt(timestamp + gameId + userId);
    const QString publicIp = getPublicIp();
    send(buildUrl(requestType, sign, timestamp, userId, gameId, gameStatus, publicIp));
}

void QuaNetworkRequest::send(const QString &url)
{
    QNetworkReply *reply = ServiceRequest::get(manager, QNetworkRequest(QUrl(url, QUrl::TolerantMode)));
    connect(reply, &QNetworkReply::finished, this, &QuaNetworkRequest::getRequestInfoDone);
}

void QuaNetworkRequest::getRequestInfoDone()
{
    auto *reply = qobject_cast<QNetworkReply *>(sender());
    if (!reply)
        return;
    if (reply->error() != QNetworkReply::NoError) {
        if (!ServiceRequest::givenUp(reply)) // which said why once
            qDebug().noquote() << QStringLiteral("replyFinished:  [%1]: %2").arg(int(reply->error())).arg(reply->errorString());
        emit sendNoAnswer();
        reply->deleteLater();
        deleteLater();
        return;
    }
    // Parsed beside this thread: an answer near its bound takes longer to
    // parse than the windows may wait. The object handles it when it is back.
    const QByteArray body = reply->readAll();
    reply->deleteLater();
    // A watcher the object owns: an object gone before the parse ends hears nothing.
    auto *parse = new QFutureWatcher<ParsedAnswer>(this);
    connect(parse, &QFutureWatcherBase::finished, this, [this, parse] {
        const ParsedAnswer parsed = parse->result();
        if (parsed.isObject)
            handleAnswer(parsed.answer, parsed.numbered);
        else
            emit sendNoAnswer();
        // One request, one answer: the object has done its work.
        deleteLater();
    });
    parse->setFuture(QtConcurrent::run(parseAnswer, body, requestType));
}

void QuaNetworkRequest::handleAnswer(const QJsonObject &answer, const QMap<int, QString> &numbered)
{
    const int status = answer.value(QStringLiteral("status")).toInt();
    if (status != 1) {
        qDebug().noquote() << "Error status:" << status << "msg:" << answer.value(QStringLiteral("msg")).toString()
                           << "debug:" << answer.value(QStringLiteral("debug")).toString();
        emit sendNoAnswer();
        return;
    }
    if (requestType == OnlineTotal)
        emit sendOnlineInfo(answer.value(QStringLiteral("online_total")).toInt());
    if (requestType == VersionMessage)
        emit sendVersionInfo(answer.value(QStringLiteral("url")).toString());

    const QJsonObject data = answer.value(QStringLiteral("data")).toObject();
    switch (requestType) {
    case DeviceList:
        emit sendDeviceInfo(numbered);
        break;
    case GameState:
        emit sendGameUpdateStatus(numbered);
        break;
    case Version: {
        QString version, note, url;
        bool forced = false;
        for (const QString &key : data.keys()) {
            const QJsonValue value = data.value(key);
            if (key == QLatin1String("ve_num"))
                version = value.toString();
            else if (key == QLatin1String("ve_note"))
                note = value.toString();
            else if (key == QLatin1String("ve_url"))
                url = value.toString();
            else if (key == QLatin1String("ve_upgraded"))
                forced = value.isDouble() && value.toDouble() == 1.0;
            qDebug().nospace() << "--------------->isForcesUpdate:" << value.toInt();
        }
        // Without a package address there is nothing to update to.
        if (data.isEmpty() || url.isEmpty())
            emit sendNoNeedUpdateOrbela();
        else
            emit sendUpdateInfo(version, note, url, forced);
        break;
    }
    case GameData: {
        auto *record = VRAppInfo::fromGameData(data);
        // A record without a usable game id would name no folder or package.
        if (!VRAppInfo::isValidGameId(record->gameId)) {
            qDebug() << "[Mivo] game data without a valid gameId";
            delete record;
            break;
        }
        emit sendGameUpdateInfo(record);
        break;
    }
    default:
        break;
    }

    const QJsonObject resource = answer.value(QStringLiteral("resource")).toObject();
    if (requestType == UserResource && !resource.isEmpty()) {
        const int onlineLength = resource.value(QStringLiteral("CurrentOnlineLength")).toInt();
        const int coins = resource.value(QStringLiteral("coins")).toInt();
        const int tickets = resource.value(QStringLiteral("tickets")).toInt();
        emit sendUserInfo(onlineLength, QString::number(coins), QString::number(tickets),
                          resource.value(QStringLiteral("coin_url")).toString(),
                          resource.value(QStringLiteral("ticket_url")).toString(),
                          resource.value(QStringLiteral("home_url")).toString());
    }
}
