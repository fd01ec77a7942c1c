#pragma once
// Waiting for a condition while the test's own events run.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>

// Waits for predicate in a real event loop; false when the time ran out.
// QTest's waits sleep between rounds of events, and the web engine, which
// runs its tasks on this thread, then needs seconds for a page.
template <class Predicate>
bool waitUntil(Predicate predicate, int timeoutMs = 10000)
{
    if (predicate())
        return true;
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    bool met = false;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&]() {
        met = predicate();
        if (met || clock.elapsed() > timeoutMs)
            loop.quit();
    });
    poll.start(20);
    loop.exec();
    return met;
}
