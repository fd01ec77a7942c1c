#include "core/OnlineSession.h"

#include "core/webapi/MessageSigning.h"
#include "core/webapi/QuaNetworkPost.h"
#include "core/ServiceHosts.h"
#include "core/webapi/StatisticsHits.h"

#include <QDebug>
#include <QMutexLocker>

OnlineSession::OnlineSession(Clock clockFunction)
    : clock(std::move(clockFunction))
{
}

void OnlineSession::setUserId(const QString &id)
{
    QMutexLocker locker(&userLock);
    uid = id;
}

QString OnlineSession::userId() const
{
    QMutexLocker locker(&userLock);
    return uid;
}

void OnlineSession::setOnlineSeconds(int value)
{
    seconds.storeRelease(value);
}

int OnlineSession::onlineSeconds() const
{
    return seconds.loadAcquire();
}

int OnlineSession::dayNumber(const QDate &date)
{
    return date.toString(QStringLiteral("yyMMdd")).toInt();
}

int OnlineSession::today() const
{
    return dayNumber(clock ? clock() : QDate::currentDate());
}

void OnlineSession::markStartDay()
{
    lastStartDay.storeRelease(today());
}

int OnlineSession::startDay() const
{
    return lastStartDay.loadAcquire();
}

bool OnlineSession::tick()
{
    const int day = today();
    bool posted = false;
    if (lastStartDay.loadAcquire() < day) {
        postHits(QStringLiteral("startOrbela"), QString(), userId(), QString());
        lastStartDay.storeRelease(day);
        posted = true;
    }
    // Count only from 0 up: a logout (-1) between the read and the write must win.
    for (int value = seconds.loadAcquire(); value >= 0; value = seconds.loadAcquire()) {
        if (seconds.testAndSetOrdered(value, value + 1))
            break;
    }
    return posted;
}

QByteArray OnlineSession::onlineLengthBody(const QString &id, const QString &timestamp, int count)
{
    QByteArray body;
    body += "uid=" + encodeValue(id) + '&';
    body += "timestamp=" + encodeValue(timestamp) + '&';
    body += "sign=" + encodeValue(signWithSalt(timestamp + id)) + '&';
    body += "CurrentOnlineLength=" + QByteArray::number(count) + '&';
    return body;
}

QuaNetworkPost *OnlineSession::postOnlineLength()
{
    const int count = onlineSeconds();
    if (count < 0)
        return nullptr;
    const QByteArray body = onlineLengthBody(userId(), timestampText(), count);
    qDebug().noquote() << "OnlineLength post:" << QString::fromUtf8(body);
    auto *post = new QuaNetworkPost(nullptr);
    post->post(QStringLiteral("http://%1/api/%2").arg(openApiHost(), QStringLiteral("CurrentOnlineLength")), body);
    return post;
}
