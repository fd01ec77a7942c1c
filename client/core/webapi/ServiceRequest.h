#pragma once
// Every request to the store's services (its web API, form posts, the
// public-IP look-up, pictures) goes out through here, so each holds the same
// bounds whatever path sends it:
// - the body is the bytes the server sent: the request asks for no encoding,
//   and an encoded answer is given up, never decoded (a few compressed bytes
//   can inflate to gigabytes before any count sees them);
// - a reply that states or brings more than its bound is given up, counted
//   in the bytes actually received when no length is stated;
// - the whole request has a deadline from sending, whatever arrives meanwhile
//   (a server that sends one byte now and then would hold it forever).
// A reply given up is aborted with one log line and ends as a failed answer.

#include <QtGlobal>

class QByteArray;
class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;

const qint64 kMaxAnswerBytes = 4 * 1024 * 1024;
// The look-ups nothing waits for long: the public IP and the avatar.
const int kQuickLookupMs = 5000;

class ServiceRequest
{
public:
    // deadlineMs 0: the answers' deadline (20 s unless set otherwise).
    static QNetworkReply *get(QNetworkAccessManager &manager, QNetworkRequest request,
                              qint64 maxBytes = kMaxAnswerBytes, int deadlineMs = 0);
    static QNetworkReply *post(QNetworkAccessManager &manager, QNetworkRequest request, const QByteArray &body);

    // Whether the reply was given up here (its one log line is written).
    static bool givenUp(const QNetworkReply *reply);

    // The answers' deadline, for every request sent from now on that takes it.
    static void setDeadline(int milliseconds);
    static int deadline();
};
