#include "core/jobs/VarifyMD5.h"

#include <QCryptographicHash>
#include <QFile>

#include <memory>

VarifyMD5::VarifyMD5(const QString &filePath, void *handle)
    : QObject(nullptr)
    , filePath(filePath)
    , handle(handle)
{
    setAutoDelete(true);
}

QString VarifyMD5::digestOfFile(const QString &filePath)
{
    QCryptographicHash hash(QCryptographicHash::Md5);
    QFile file(filePath);
    // Unbuffered, in large reads straight into one reused buffer: the file is
    // streamed (packages are several gigabytes) and never copied twice.
    if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        const std::unique_ptr<char[]> buffer(new char[kReadChunkBytes]);
        for (;;) {
            const qint64 read = file.read(buffer.get(), kReadChunkBytes);
            if (read <= 0)
                break;
            hash.addData(buffer.get(), int(read));
        }
        file.close();
    }
    return QString::fromLatin1(hash.result().toHex());
}

void VarifyMD5::run()
{
    emit VarifyResult(digestOfFile(filePath), handle);
}
