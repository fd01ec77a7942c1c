#include "core/webapi/ServiceRequest.h"

#include <QAtomicInt>
#include <QByteArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace {

const char kGivenUp[] = "orbelaServiceGivenUp";
const qint64 kNetworkBlockBytes = 128 * 1024;
// Requests are sent from the window thread and the worker thread.
QAtomicInt answersDeadlineMs(20000);

void giveUp(QNetworkReply *reply, const char *why)
{
    if (ServiceRequest::givenUp(reply) || reply->isFinished())
        return;
    reply->setProperty(kGivenUp, true);
    qWarning("[Mivo] the answer of %s %s: given up", qUtf8Printable(reply->url().toString(QUrl::RemoveQuery)), why);
    reply->abort();
}

void giveUpIfOver(QNetworkReply *reply, qint64 size, qint64 limit)
{
    if (size > limit)
        giveUp(reply, qPrintable(QStringLiteral("is over %1 bytes").arg(limit)));
}

QNetworkRequest unencoded(QNetworkRequest request)
{
    // Set by hand, so the access manager neither asks for gzip nor decodes.
    request.setRawHeader("Accept-Encoding", "identity");
    return request;
}

QNetworkReply *watch(QNetworkReply *reply, qint64 limit, int deadlineMs)
{
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, limit] {
        const QByteArray encoding = reply->rawHeader("Content-Encoding").trimmed();
        if (!encoding.isEmpty() && encoding.compare("identity", Qt::CaseInsensitive) != 0) {
            giveUp(reply, qPrintable(QStringLiteral("is encoded (%1)").arg(QString::fromLatin1(encoding.left(40)))));
            return;
        }
        const QVariant stated = reply->header(QNetworkRequest::ContentLengthHeader);
        if (stated.isValid())
            giveUpIfOver(reply, stated.toLongLong(), limit);
    });
    // The body is read once it is whole, so what is buffered is what came.
    // A buffer just over the bound holds back the rest: the network thread
    // reads no further than that, however fast the server sends. It hands
    // the body on in blocks (up to 128 KiB without a stated length) and stops
    // short of a block that would pass the buffer, so one block more makes
    // sure it stops past the bound, never below it waiting to be read.
    reply->setReadBufferSize(limit + 1 + kNetworkBlockBytes);
    QObject::connect(reply, &QNetworkReply::readyRead, reply,
                     [reply, limit] { giveUpIfOver(reply, reply->bytesAvailable(), limit); });
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, [reply, deadlineMs] {
        giveUp(reply, qPrintable(QStringLiteral("took over %1 ms").arg(deadlineMs)));
    });
    deadline->start(deadlineMs);
    return reply;
}

} // namespace

QNetworkReply *ServiceRequest::get(QNetworkAccessManager &manager, QNetworkRequest request, qint64 maxBytes,
                                   int deadlineMs)
{
    return watch(manager.get(unencoded(request)), maxBytes, deadlineMs > 0 ? deadlineMs : deadline());
}

QNetworkReply *ServiceRequest::post(QNetworkAccessManager &manager, QNetworkRequest request, const QByteArray &body)
{
    return watch(manager.post(unencoded(request), body), kMaxAnswerBytes, deadline());
}

bool ServiceRequest::givenUp(const QNetworkReply *reply)
{
    return reply->property(kGivenUp).toBool();
}

void ServiceRequest::setDeadline(int milliseconds)
{
    answersDeadlineMs.storeRelaxed(milliseconds);
}

int ServiceRequest::deadline()
{
    return answersDeadlineMs.loadRelaxed();
}
