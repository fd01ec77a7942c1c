#pragma once
// The client's statistics report to the store's "/hits" endpoint.

#include <QByteArray>
#include <QString>

// The form body of one event, fields in their fixed order.
QByteArray buildHitsBody(const QString &timestamp, const QString &status, const QString &deviceId,
                         const QString &userId, const QString &typeId, const QString &visitorId,
                         const QString &publicIp);
class QuaNetworkPost;

// Posts one event; the answer is ignored. The post object goes once answered.
QuaNetworkPost *postHits(const QString &status, const QString &deviceId, const QString &userId, const QString &typeId);
