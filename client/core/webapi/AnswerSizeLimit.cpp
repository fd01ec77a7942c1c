#include "core/webapi/AnswerSizeLimit.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace {

const char kOverLimit[] = "orbelaAnswerOverLimit";

void giveUpIfOver(QNetworkReply *reply, qint64 size, qint64 limit)
{
    if (size <= limit || answerOverLimit(reply))
        return;
    reply->setProperty(kOverLimit, true);
    qWarning("[Mivo] the answer of %s is over %lld bytes: given up",
             qUtf8Printable(reply->url().toString(QUrl::RemoveQuery)), static_cast<long long>(limit));
    reply->abort();
}

} // namespace

void limitAnswerSize(QNetworkReply *reply, qint64 limit)
{
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, limit] {
        const QVariant stated = reply->header(QNetworkRequest::ContentLengthHeader);
        if (stated.isValid())
            giveUpIfOver(reply, stated.toLongLong(), limit);
    });
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                     [reply, limit](qint64 received, qint64) { giveUpIfOver(reply, received, limit); });
}

bool answerOverLimit(const QNetworkReply *reply)
{
    return reply->property(kOverLimit).toBool();
}
