#pragma once

#include <QMap>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>

class QNetworkReply;
class VRAppInfo;

// One signed GET of the store's web API: made for one request type, sent once,
// answered by one typed signal, and released after its answer.
class QuaNetworkRequest : public QObject
{
    Q_OBJECT

public:
    enum Type {
        DeviceList = 0,
        Version = 1,
        VersionMessage = 2,
        OnlineTotal = 3,
        UserResource = 4,
        GameData = 6,
        GameState = 7,
    };

    explicit QuaNetworkRequest(int requestType, QObject *parent = nullptr);

    // Types 0 to 2: signed with the client's version text.
    void sendVersionRequest();
    // Types 3, 4, 6 and 7.
    void sendRequest(const QString &userId, const QString &gameId, const QString &gameStatus);

    // The URL a request of this type goes to (for the log and the tests).
    static QString buildUrl(int requestType, const QString &sign, const QString &timestamp, const QString &userId,
                            const QString &gameId, const QString &gameStatus, const QString &publicIp);

signals:
    void sendDeviceInfo(QMap<int, QString> devices);
    void sendGameUpdateStatus(QMap<int, QString> states);
    void sendUpdateInfo(QString version, QString note, QString url, bool forced);
    void sendNoNeedUpdateOrbela();
    void sendVersionInfo(QString url);
    void sendOnlineInfo(int onlineTotal);
    void sendUserInfo(int onlineLength, QString coins, QString tickets, QString coinUrl, QString ticketUrl,
                      QString homeUrl);
    void sendGameUpdateInfo(VRAppInfo *record);
    // The request ended without a usable answer (network error, time-out,
    // no JSON object, or a status other than 1).
    void sendNoAnswer();

public slots:
    void getRequestInfoDone();

private:
    void send(const QString &url);
    void handleAnswer(const QJsonObject &answer, const QMap<int, QString> &numbered);

    QNetworkAccessManager manager;
    int requestType;
};
