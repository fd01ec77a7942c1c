#include "core/webapi/QuaNetworkPost.h"

#include <QDebug>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QUrl>

namespace {
int postTimeoutMs = 20000;
QuaNetworkPost::LoginApplier &loginApplier()
{
    static QuaNetworkPost::LoginApplier applier;
    return applier;
}
} // namespace

QuaNetworkPost::QuaNetworkPost(QObject *parent, Answer answer)
    : QObject(parent)
    , manager(new QNetworkAccessManager(this))
    , answerKind(answer)
{
    connect(manager, &QNetworkAccessManager::finished, this, &QuaNetworkPost::replyFinished);
}

void QuaNetworkPost::setReplyTimeout(int milliseconds)
{
    postTimeoutMs = milliseconds;
}

void QuaNetworkPost::setLoginApplier(LoginApplier applier)
{
    loginApplier() = std::move(applier);
}

void QuaNetworkPost::post(const QString &url, const QByteArray &body)
{
    QNetworkRequest request(QUrl(url, QUrl::TolerantMode));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    request.setHeader(QNetworkRequest::ContentLengthHeader, body.size());
    request.setTransferTimeout(postTimeoutMs);
    lastReply = manager->post(request, body);
}

void QuaNetworkPost::replyFinished(QNetworkReply *reply)
{
    qDebug() << "post answer HTTP status:" << reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError) {
        qDebug().noquote() << QStringLiteral("replyFinished:  [%1]: %2").arg(int(reply->error())).arg(reply->errorString());
    } else {
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(reply->readAll(), &parseError);
        if (parseError.error != QJsonParseError::NoError)
            qDebug().nospace() << "json error:" << int(parseError.error);
        else if (!document.isObject())
            qDebug() << "json data is not object!";
        else if (answerKind == Answer::Login)
            readLoginAnswer(document.object());
    }
    if (reply == lastReply)
        lastReply = nullptr;
    reply->deleteLater();
    emit answered();
    // Made for one post: its work is done.
    deleteLater();
}

void QuaNetworkPost::readLoginAnswer(const QJsonObject &answer)
{
    const int status = answer.value(QStringLiteral("status")).toInt();
    if (status != 1) {
        emit sendUserError(status);
        qDebug().nospace() << "login status error: " << status;
        return;
    }
    const QJsonObject user = answer.value(QStringLiteral("user")).toObject();
    const QString uid = user.value(QStringLiteral("uid")).toString();
    if (uid.isEmpty())
        return;
    const QString nickname = user.value(QStringLiteral("nickname")).toString();
    const QString avatar = user.value(QStringLiteral("avatar")).toString();
    if (loginApplier())
        loginApplier()(uid, nickname, avatar);
    emit sendUserInfo(uid, nickname, avatar);
}

void QuaNetworkPost::onUpLoadError(QNetworkReply::NetworkError errorCode)
{
    qDebug().nospace() << "upLoadError  errorCode: " << int(errorCode);
}

void QuaNetworkPost::onUploadProgress(qlonglong bytesSent, qlonglong butesTotal)
{
    qDebug().nospace() << "upload:" << bytesSent << "/" << butesTotal;
}
