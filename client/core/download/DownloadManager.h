#pragma once

#include "core/download/DownloadTask.h"
#include "core/download/NetWorkDelegate.h"

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QSslError>
#include <QUrl>

class XLDL;
class QTimerEvent;

// Downloads files with its own resumable HTTP downloader or through the
// download engine, keeps its tasks in "temp.xml" and reports through a
// NetWorkDelegate. GUI thread only.
class DownloadManager : public QObject
{
    Q_OBJECT

public:
    // Codes reported to NetWorkDelegate::OnTaskError besides the network
    // library's own: engine findings are the engine's code plus 1000.
    enum ErrorCode {
        kEngineCodeBase = 1000,
        kEnginePendingTooLong = 1068, // the engine never got the answer's headers
        kEngineNoSize = 64250,        // the engine downloads without a known size
        kWriteFailed = 1013,          // the temporary file cannot be written (as the engine's 13)
        kRenameFailed = 1014,         // the finished file cannot take its name (as the engine's 14)
        kEngineTaskRefused = 1016,    // the engine refused to create the task (as the engine's 16)
        kRangeRefused = 1018,         // a 206 that does not fit the request or the file (as the engine's 18)
        kBadAnswer = 1019,            // unreadable numbers in the headers, or a body that does not end
                                      // where they said (as the engine's 19)
    };

    explicit DownloadManager(NetWorkDelegate *delegate);
    ~DownloadManager() override;

    // Starts (or continues) a download of url into dir/name; returns the task
    // id, the running task's own id when it already runs, 0 without a delegate,
    // for a name that is no plain file name, a folder with ".." in it or an
    // address that is not http or https.
    int AddTask(const QUrl &url, const QString &name, const QString &dir, bool useEngine);
    void StopTask(int taskId, bool remove, bool deleteTemp);
    void StopAllTasks(bool remove, bool deleteTemp);
    // Stops every task (keeping it listed) and releases the engine.
    void Shutdown();

    // The task list file, "temp.xml" in the temporary folder.
    static QString taskListPath();

    // The HTTP path's time limits: complete answer headers within headersMs
    // of the request, then never bodyMs without a byte of the body. Either
    // ends the task with QNetworkReply::TimeoutError, its partial file kept.
    void setTimeLimits(int headersMs, int bodyMs);
    static const int kHeadersTimeLimitMs = 30000;
    static const int kBodyTimeLimitMs = 60000;

public slots:
    void OnDownloadFinished(QNetworkReply *reply);
    void OnSslErrors(const QList<QSslError> &errors);
    void OnDownloadError(QNetworkReply::NetworkError code);
    void OnUpdateDownloadProgress(qint64 downloaded, qint64 total);
    void OnReadyRead();

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    int StartHttpTask(const QUrl &url, const QString &name, const QString &dir);
    int StartXlTask(const QUrl &url, const QString &name, const QString &dir);
    void HandleXlError(DownloadTask *task, int code);
    DownloadTask *FindTaskByUrl(const QUrl &url, const QString &name, const QString &folder) const;
    void LoadTasks();
    void SaveTasks();

    DownloadTask *findTaskById(int id) const;
    DownloadTask *findTaskByReply(QObject *reply) const;
    DownloadTask *newTask(const QUrl &url, const QString &name, const QString &folder, int engine);
    void removeTask(DownloadTask *task);
    bool isRunning(DownloadTask *task) const;
    void forgetEngineTask(DownloadTask *task);

    void sendRequest(DownloadTask *task);
    bool checkAnswer(DownloadTask *task, QNetworkReply *reply);
    int drainReply(DownloadTask *task, QNetworkReply *reply);
    QString failureText(DownloadTask *task, int code);
    void abandonReply(DownloadTask *task);
    void finishHttpTask(DownloadTask *task);
    void failNow(DownloadTask *task, const QString &message, int code);
    void reportError(int taskId, const QString &message, int code);
    void reportErrorLater(int taskId, const QString &message, int code);
    void deleteEngineTempFile(DownloadTask *task);
    void awaitAnswer(DownloadTask *task, bool headersIn);
    void answerTimedOut(DownloadTask *task);

    NetWorkDelegate *delegate = nullptr;
    XLDL *engine = nullptr;
    QNetworkAccessManager network;
    QList<DownloadTask *> tasks;
    quint32 lastId = 0;
    int pollTimerId = 0;
    QByteArray readBuffer;
    int headersTimeLimitMs = kHeadersTimeLimitMs;
    int bodyTimeLimitMs = kBodyTimeLimitMs;
};
