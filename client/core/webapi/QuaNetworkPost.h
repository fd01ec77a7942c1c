#pragma once

#include <QNetworkReply>
#include <QObject>
#include <QString>

#include <functional>

class QNetworkAccessManager;

// One HTTP form post. Only a post made as the login reads its answer as a
// login answer; statistics and online-time answers are merely logged.
class QuaNetworkPost : public QObject
{
    Q_OBJECT

public:
    enum class Answer { Ignored, Login };

    explicit QuaNetworkPost(QObject *parent = nullptr, Answer answer = Answer::Ignored);

    void post(const QString &url, const QByteArray &body);

    // What applies a logged-in user (the main window and the login dialog fill it).
    using LoginApplier = std::function<void(const QString &uid, const QString &nickname, const QString &avatar)>;
    static void setLoginApplier(LoginApplier applier);

signals:
    void sendUserInfo(QString uid, QString nickname, QString avatar);
    void sendUserError(int errorCode);
    // The reply has been handled (whatever it said).
    void answered();

public slots:
    void replyFinished(QNetworkReply *reply);
    void onUpLoadError(QNetworkReply::NetworkError errorCode);
    void onUploadProgress(qlonglong bytesSent, qlonglong butesTotal);

private:
    void readLoginAnswer(const QJsonObject &answer);
    // Says the post is answered and releases the object.
    void finish();

    QNetworkAccessManager *manager = nullptr;
    QNetworkReply *lastReply = nullptr;
    Answer answerKind;
};
