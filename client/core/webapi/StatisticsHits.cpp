#include "core/webapi/StatisticsHits.h"

#include "core/webapi/ClientIdentity.h"
#include "core/webapi/MessageSigning.h"
#include "core/webapi/QuaNetworkPost.h"
#include "core/ServiceHosts.h"

#include <QDebug>

QByteArray buildHitsBody(const QString &timestamp, const QString &status, const QString &deviceId,
                         const QString &userId, const QString &typeId, const QString &visitorId,
                         const QString &publicIp)
{
    QByteArray body;
    body += "timestamp=" + encodeValue(timestamp) + '&';
    body += "sign=" + encodeValue(signWithSalt(timestamp)) + '&';
    body += "app_id=1002&";
    body += "type_id=" + encodeValue(typeId) + '&';
    body += "status=" + encodeValue(status) + '&';
    body += "visitor_id=" + encodeValue(visitorId) + '&';
    body += "device_id=" + encodeValue(deviceId) + '&';
    body += "user_id=" + encodeValue(userId) + '&';
    body += "net_ip=" + encodeValue(publicIp);
    return body;
}

QuaNetworkPost *postHits(const QString &status, const QString &deviceId, const QString &userId, const QString &typeId)
{
    const QByteArray body = buildHitsBody(timestampText(), status, deviceId, userId, typeId, getLocalMacAddress(),
                                          getPublicIp());
    qDebug().noquote().nospace() << "post:" << QString::fromUtf8(body);
    auto *post = new QuaNetworkPost(nullptr);
    post->post(QStringLiteral("http://%1/hits").arg(appApiHost()), body);
    return post;
}
