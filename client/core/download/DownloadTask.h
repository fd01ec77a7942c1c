#pragma once

#include <QBasicTimer>
#include <QFile>
#include <QString>
#include <QUrl>
#include <QtGlobal>

// One download of the download manager, HTTP or engine.
struct DownloadTask {
    int id = 0;
    // HTTP: bytes already in the temporary file when the current request started.
    qint64 resumeOffset = 0;
    QUrl url;
    QString name;
    QString dir;
    // HTTP: the temporary file, the target path followed by ".tmp".
    QFile file;
    // Engine: polls that found the task waiting for its answer.
    int pendingTicks = 0;
    // Engine: polls that found it downloading with a total size of 0.
    int zeroSizeTicks = 0;
    // The running QNetworkReply* of an HTTP task, or the engine's task handle.
    void *handle = nullptr;
    // The delegate's last answer to an error report.
    bool dropOnError = false;
    // 0 HTTP task, 1 engine task.
    int engine = 0;
    // HTTP: the answer's status has been checked against the request (range or not).
    bool answerChecked = false;
    // HTTP: the checked answer carries the file (or its rest).
    bool answerAccepted = false;
    // HTTP: the whole file's size the current answer states, where its body
    // ends in the temporary file; -1 where it states none.
    qint64 fileTotal = -1;
    // HTTP: the whole file's size as an earlier answer stated it; -1 unknown.
    qint64 knownTotal = -1;
    // HTTP: the current request asked for a byte range from resumeOffset.
    bool rangeRequested = false;
    // HTTP: a failure found by the manager (write, rename, answer) was reported.
    bool failureReported = false;
    // HTTP: runs out when the answer's headers or its next body bytes are late.
    QBasicTimer answerTimer;
    // HTTP: the current answer's headers are complete.
    bool headersIn = false;
};
