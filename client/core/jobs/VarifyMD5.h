#pragma once
// The MD5 digest of one file, computed on Qt's global thread pool. The result
// comes back through VarifyResult with the handle given at construction,
// which the job never looks at.

#include <QObject>
#include <QRunnable>
#include <QString>

class VarifyMD5 : public QObject, public QRunnable
{
    Q_OBJECT

public:
    // Size of the one read buffer the job reuses.
    static constexpr qint64 kReadChunkBytes = 4 * 1024 * 1024;

    // The pool deletes the job after its run.
    VarifyMD5(const QString &filePath, void *handle);

    void run() override;

    // The digest as 32 lower-case hexadecimal characters; a file that cannot
    // be read hashes as empty input.
    static QString digestOfFile(const QString &filePath);

signals:
    void VarifyResult(QString md5, void *handle);

private:
    QString filePath;
    void *handle;
};
