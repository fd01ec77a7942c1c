#include "core/webapi/QuaNetworkPost.h"

#include "core/webapi/ServiceRequest.h"

#include <QDebug>
#include <QFutureWatcher>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

namespace {
struct ParsedPost {
    QJsonDocument document;
    QJsonParseError error{};
};

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
    lastReply = ServiceRequest::post(*manager, request, body);
}

void QuaNetworkPost::replyFinished(QNetworkReply *reply)
{
    qDebug() << "post answer HTTP status:" << reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply == lastReply)
        lastReply = nullptr;
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError) {
        if (!ServiceRequest::givenUp(reply)) // which said why once
            qDebug().noquote() << QStringLiteral("replyFinished:  [%1]: %2").arg(int(reply->error())).arg(reply->errorString());
        finish();
        return;
    }
    // Parsed beside this thread: an answer near its bound takes longer to
    // parse than the windows may wait. A watcher the object owns: an object
    // gone before the parse ends hears nothing.
    auto *parse = new QFutureWatcher<ParsedPost>(this);
    connect(parse, &QFutureWatcherBase::finished, this, [this, parse] {
        const ParsedPost parsed = parse->result();
        if (parsed.error.error != QJsonParseError::NoError)
            qDebug().nospace() << "json error:" << int(parsed.error.error);
        else if (!parsed.document.isObject())
            qDebug() << "json data is not object!";
        else if (answerKind == Answer::Login)
            readLoginAnswer(parsed.document.object());
        finish();
    });
    parse->setFuture(QtConcurrent::run([body = reply->readAll()] {
        ParsedPost parsed;
        parsed.document = QJsonDocument::fromJson(body, &parsed.error);
        return parsed;
    }));
}

void QuaNetworkPost::finish()
{
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
