#pragma once
// What the download tests share: a manager with a recording delegate, and
// checks of files (VarifyMD5::digestOfFile), the task list and the ranges the server received.

#include "core/download/DownloadManager.h"
#include "tests/RecordingDelegate.h"
#include "core/jobs/VarifyMD5.h"

#include <QCryptographicHash>
#include <QDomDocument>
#include <QFile>
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QNetworkReply>
#include <QString>
#include <QStringList>
#include <QtTest>

#include <memory>

// A download manager with its delegate, shut down at the end as the title bar does.
struct RecordedManager {
    RecordingDelegate delegate;
    std::unique_ptr<DownloadManager> manager{new DownloadManager(&delegate)};
    ~RecordedManager() { manager->Shutdown(); }
    DownloadManager *operator->() { return manager.get(); }
};

// A file's whole content ("" when it cannot be read).
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QString md5Hex(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

// The Range header of each logged request ("" where none was sent).
inline QStringList rangesOf(const QList<QJsonObject> &requests)
{
    QStringList ranges;
    for (const QJsonObject &request : requests)
        ranges.append(request.value(QStringLiteral("range")).toString());
    return ranges;
}

// The tasks a "temp.xml" lists: file name -> task element (its attributes).
inline QMap<QString, QDomElement> listedTasks(const QString &taskListPath)
{
    QMap<QString, QDomElement> tasks;
    QFile file(taskListPath);
    QDomDocument document;
    if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file))
        return tasks;
    const QDomElement items = document.documentElement().firstChildElement(QStringLiteral("items"));
    for (QDomElement item = items.firstChildElement(); !item.isNull(); item = item.nextSiblingElement()) {
        const QString name = item.hasAttribute(QStringLiteral("name")) ? item.attribute(QStringLiteral("name"))
                                                                       : item.tagName();
        tasks.insert(name, item);
    }
    return tasks;
}

// Answers that do not add up, each met by a fresh download and by a resume
// after a partial file: what either download path must end with. A code of 0
// means complete, with the target holding the first completeBytes bytes of
// the served file; otherwise the temporary file keeps exactly its first
// partialBytes bytes, and a later honest resume completes the file.
struct AnswerFaultRow {
    QString name;
    QString fault;
    bool resume;
    int engineCode; // the engine's failure code
    int httpCode;   // the code the manager's HTTP path reports
    qint64 partialBytes;
    qint64 completeBytes;
};

// size: the served file's size; cut: the bytes a resume starts from.
inline QList<AnswerFaultRow> answerFaultRows(qint64 size, qint64 cut)
{
    const int noFile = QNetworkReply::UnknownContentError; // an answer that carries no file
    const int closed = QNetworkReply::RemoteHostClosedError;
    const int noTarget = QNetworkReply::ProtocolUnknownError; // how the network library takes a 3xx without Location
    const int range = DownloadManager::kRangeRefused;
    const int bad = DownloadManager::kBadAnswer;
    const QString n = QString::number(cut), s = QString::number(size);
    QList<AnswerFaultRow> rows;
    for (const bool resume : {false, true}) {
        const qint64 kept = resume ? cut : 0;
        auto add = [&](const QString &name, const QString &fault, int engineCode, int httpCode, qint64 partial,
                       qint64 complete) {
            rows.append({name + (resume ? QStringLiteral(", resume") : QStringLiteral(", fresh")), fault, resume,
                         engineCode, httpCode, partial, complete});
        };
        add("honest answer", QString(), 0, 0, 0, size);
        add("chunked, no size", "chunked", 0, 0, 0, size);
        // Labelled gzip: the file is still the bytes the server sent.
        add("encoded body", "encoded", 0, 0, 0, size);
        add("204", "status:204", 204, noFile, kept, 0);
        add("202 with a short body", "status:202", 202, noFile, kept, 0);
        add("150 and no final answer", "status:150", 11, noFile, kept, 0);
        add("302 without Location", "status:302", 302, noTarget, kept, 0);
        add("garbage status line", "garbage-status", 19, closed, kept, 0);
        add("206 for the first 100 bytes of a larger file", "range-lie:0-99/5242880", 18, range, kept, 0);
        add("206 whose end is short of its total", "range-lie:" + n + "-" + QString::number(cut + 99) + "/" + s,
            18, range, kept, 0);
        add("206 whose total is not the file's", "range-lie:" + n + "-" + QString::number(size - 1) + "/"
            + QString::number(size + 1000), 18, range, kept, 0);
        add("Content-Length beyond 64 bits", "length-lie:99999999999999999999", 19, bad, kept, 0);
        if (resume) {
            // The Content-Range is honest: the length disagrees with it.
            add("Content-Length above the body", "length-lie:" + QString::number(size + 1000), 18, range, kept, 0);
            add("Content-Length below the body", "length-lie:100", 18, range, kept, 0);
        } else {
            // The body ends before its stated length: all of it is the file's.
            add("Content-Length above the body", "length-lie:" + QString::number(size + 1000), 11, closed, size, 0);
            // Nothing tells the short statement from the truth: the file is
            // what the answer said, and only its MD5 can show otherwise.
            add("Content-Length below the body", "length-lie:100", 0, 0, 0, 100);
        }
    }
    return rows;
}

// The rows as a QtTest table: fault, resume, code (the path's own), partialBytes, completeBytes.
inline void addAnswerFaultTable(qint64 size, bool engineCodes)
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("resume");
    QTest::addColumn<int>("code");
    QTest::addColumn<qint64>("partialBytes");
    QTest::addColumn<qint64>("completeBytes");
    for (const AnswerFaultRow &row : answerFaultRows(size, size / 2))
        QTest::newRow(qPrintable(row.name)) << row.fault << row.resume << (engineCodes ? row.engineCode : row.httpCode)
                                            << row.partialBytes << row.completeBytes;
}
