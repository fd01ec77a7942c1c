#include "core/jobs/VarifyMD5.h"

#include <QCryptographicHash>
#include <QFile>

VarifyMD5::VarifyMD5(const QString &filePath, void *handle)
    : QObject(nullptr)
    , filePath(filePath)
    , handle(handle)
{
    setAutoDelete(true);
}

bool VarifyMD5::hashFile(const QString &filePath, QCryptographicHash &hash, const std::atomic_bool *stop,
                         const std::function<void(qint64)> &observer)
{
    if (stop && stop->load())
        return false;
    QFile file(filePath);
    // Unbuffered, in large reads straight into one reused buffer: the file is
    // streamed (packages are several gigabytes) and never copied twice.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return true;
    const std::unique_ptr<char[]> buffer(new char[kReadChunkBytes]);
    qint64 total = 0;
    for (;;) {
        // Checked between reads, so a stop lets go of the file within one read.
        if (stop && stop->load())
            return false;
        const qint64 read = file.read(buffer.get(), kReadChunkBytes);
        if (read <= 0)
            return true;
        hash.addData(buffer.get(), int(read));
        total += read;
        if (observer)
            observer(total);
    }
}

QString VarifyMD5::digestOfFile(const QString &filePath)
{
    QCryptographicHash hash(QCryptographicHash::Md5);
    hashFile(filePath, hash, nullptr, nullptr);
    return QString::fromLatin1(hash.result().toHex());
}

void VarifyMD5::run()
{
    QCryptographicHash hash(QCryptographicHash::Md5);
    // The file is closed when hashFile returns, before anybody hears of it.
    if (hashFile(filePath, hash, stop.get(), readObserver))
        emit VarifyResult(QString::fromLatin1(hash.result().toHex()), handle);
    else
        emit VarifyStopped(handle);
}
