#include "core/webapi/QuaNetworkPost.h"

#include "core/webapi/AnswerSizeLimit.h"

#include <QDebug>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QUrl>

namespace {
const int kPostTimeoutMs = 20000;
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

void QuaNetworkPost::setLoginApplier(LoginApplier applier)
{
    loginApplier() = std::move(applier);
}

void QuaNetworkPost::post(const QString &url, const QByteArray &body)
{
    QNetworkRequest request(QUrl(url, QUrl::TolerantMode));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    request.setHeader(QNetworkRequest::ContentLengthHeader, body.size());
    request.setTransferTimeout(kPostTimeoutMs);
    lastReply = manager->post(request, body);
    limitAnswerSize(lastReply);
}

void QuaNetworkPost::replyFinished(QNetworkReply *reply)
{
    qDebug() << "post answer HTTP status:" << reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError) {
        if (!answerOverLimit(reply)) // which said it once
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
