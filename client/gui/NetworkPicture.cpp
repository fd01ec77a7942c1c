#include "gui/NetworkPicture.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace {

QImage refused(const QString &what, const QString &reason)
{
    qInfo("[Mivo] the picture %s is not shown: %s", qUtf8Printable(what), qUtf8Printable(reason));
    return QImage();
}

QImage decode(QIODevice *device, const QString &what)
{
    QImageReader reader(device);
    reader.setDecideFormatFromContent(true);
    const QSize declared = reader.size();
    if (!declared.isValid())
        return refused(what, QStringLiteral("no picture size can be read"));
    if (declared.width() > kMaxPictureSide || declared.height() > kMaxPictureSide)
        return refused(what, QStringLiteral("it declares %1x%2 pixels").arg(declared.width()).arg(declared.height()));
    QImage picture = reader.read();
    if (picture.isNull())
        return refused(what, reader.errorString());
    return picture;
}

} // namespace

QImage decodeNetworkPicture(const QByteArray &bytes, const QString &what)
{
    if (bytes.size() > kMaxPictureBytes)
        return refused(what, QStringLiteral("%1 bytes").arg(bytes.size()));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return decode(&buffer, what);
}

QImage loadNetworkPicture(const QString &path, const QString &what)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(what, file.errorString());
    if (file.size() > kMaxPictureBytes)
        return refused(what, QStringLiteral("%1 bytes").arg(file.size()));
    return decode(&file, what);
}
