#pragma once
// The MD5 digest of one file, computed on Qt's global thread pool. The result
// comes back through VarifyResult with the handle given at construction,
// which the job never looks at. The job can be stopped between its reads:
// it then closes the file and says so through VarifyStopped instead.

#include <QObject>
#include <QRunnable>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class QCryptographicHash;

class VarifyMD5 : public QObject, public QRunnable
{
    Q_OBJECT

public:
    // Size of the one read buffer the job reuses; also how much it reads at
    // most after it was asked to stop.
    static constexpr qint64 kReadChunkBytes = 1024 * 1024;

    // Shared with whoever may stop the job: it stays valid after the pool
    // has deleted the job, so setting it is safe at any time, from any thread.
    using StopFlag = std::shared_ptr<std::atomic_bool>;

    // The pool deletes the job after its run.
    VarifyMD5(const QString &filePath, void *handle);

    void run() override;

    StopFlag stopFlag() const { return stop; }
    // Called on the pool thread after each read with the bytes read so far;
    // set before the job starts.
    void setReadObserver(std::function<void(qint64 bytesRead)> observer) { readObserver = std::move(observer); }

    // The digest as 32 lower-case hexadecimal characters; a file that cannot
    // be read hashes as empty input.
    static QString digestOfFile(const QString &filePath);

signals:
    void VarifyResult(QString md5, void *handle);
    // The job stopped before the end of the file, which it has closed.
    void VarifyStopped(void *handle);

private:
    // Feeds the file to hash; false when stopped before its end.
    static bool hashFile(const QString &filePath, QCryptographicHash &hash, const std::atomic_bool *stop,
                         const std::function<void(qint64)> &observer);

    QString filePath;
    void *handle;
    StopFlag stop = std::make_shared<std::atomic_bool>(false);
    std::function<void(qint64)> readObserver;
};
