#pragma once
// The logged-in user as the worker thread sees it: the user id, the online
// seconds it counts and the day of the last start event. The GUI thread sets
// the user; the worker thread ticks and posts. Safe to use from both.

#include <QAtomicInt>
#include <QByteArray>
#include <QDate>
#include <QMutex>
#include <QString>

#include <functional>

class QuaNetworkPost;

class OnlineSession
{
public:
    using Clock = std::function<QDate()>;

    // Without a clock the session reads today's date.
    explicit OnlineSession(Clock clock = Clock());

    void setUserId(const QString &uid);
    QString userId() const;
    // -1: nobody logged in, or the user's resources have not arrived yet.
    void setOnlineSeconds(int seconds);
    int onlineSeconds() const;

    // The services have started and posted their start event today.
    void markStartDay();
    int startDay() const;

    // The 1-second tick: posts "startOrbela" at the first tick of a new day and
    // counts one second while counting. Returns whether it posted.
    bool tick();
    // Posts the online time; nothing (null) while the time is not counted.
    QuaNetworkPost *postOnlineLength();

    static QByteArray onlineLengthBody(const QString &uid, const QString &timestamp, int seconds);
    // A date as the number yyMMdd.
    static int dayNumber(const QDate &date);

private:
    int today() const;

    Clock clock;
    mutable QMutex userLock;
    QString uid;
    QAtomicInt seconds{-1};
    QAtomicInt lastStartDay{0};
};
