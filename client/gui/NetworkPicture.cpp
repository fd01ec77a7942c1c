#include "gui/NetworkPicture.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace {

NetworkPicture refused(const QString &reason)
{
    NetworkPicture picture;
    picture.refusal = reason;
    return picture;
}

// The reader for the format the content starts with; empty for any format
// whose stated size is not the size decoded (ICO, CUR, TIFF, SVG, WebP ...).
QByteArray formatOf(const QByteArray &bytes)
{
    if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
        return "png";
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return "jpeg";
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return "gif";
    if (bytes.startsWith("BM"))
        return "bmp";
    return QByteArray();
}

int littleEndian16(const QByteArray &bytes, int at)
{
    return quint8(bytes.at(at)) | quint8(bytes.at(at + 1)) << 8;
}

// Skips a run of GIF data sub-blocks starting at at; returns where they end.
int skipSubBlocks(const QByteArray &bytes, int at)
{
    while (at < bytes.size()) {
        const int length = quint8(bytes.at(at));
        at += 1 + length;
        if (length == 0)
            break;
    }
    return at;
}

int colourTableBytes(int flags)
{
    return flags & 0x80 ? 3 * (1 << ((flags & 7) + 1)) : 0;
}

// A GIF states its size as its logical screen; a frame reaching past the
// screen, or a screen of no size, makes the decoder pick a size of its own.
QString gifFrameRefusal(const QByteArray &bytes)
{
    if (bytes.size() < 13)
        return QStringLiteral("it is cut short");
    const int screenWidth = littleEndian16(bytes, 6);
    const int screenHeight = littleEndian16(bytes, 8);
    if (screenWidth == 0 || screenHeight == 0)
        return QStringLiteral("it states no screen size");
    int at = 13 + colourTableBytes(quint8(bytes.at(10)));
    while (at < bytes.size()) {
        const char block = bytes.at(at);
        if (block == 0x21) { // extension: label, then sub-blocks
            at = skipSubBlocks(bytes, at + 2);
        } else if (block == 0x2C && at + 10 <= bytes.size()) { // frame
            const int left = littleEndian16(bytes, at + 1);
            const int top = littleEndian16(bytes, at + 3);
            const int width = littleEndian16(bytes, at + 5);
            const int height = littleEndian16(bytes, at + 7);
            if (left + width > screenWidth || top + height > screenHeight)
                return QStringLiteral("a frame of %1x%2 pixels lies outside its %3x%4 screen")
                    .arg(width).arg(height).arg(screenWidth).arg(screenHeight);
            at += 10 + colourTableBytes(quint8(bytes.at(at + 9)));
            at = skipSubBlocks(bytes, at + 1); // after the LZW code size
        } else {
            break; // the trailer, or what the decoder itself will refuse
        }
    }
    return QString();
}

bool tooLarge(const QSize &size)
{
    return size.width() > kMaxPictureSide || size.height() > kMaxPictureSide;
}

} // namespace

NetworkPicture NetworkPicture::decode(const QByteArray &bytes)
{
    if (bytes.size() > kMaxPictureBytes)
        return refused(QStringLiteral("%1 bytes").arg(bytes.size()));
    const QByteArray format = formatOf(bytes);
    if (format.isEmpty())
        return refused(QStringLiteral("it is no PNG, JPEG, GIF or BMP picture"));
    if (format == "gif") {
        const QString refusal = gifFrameRefusal(bytes);
        if (!refusal.isEmpty())
            return refused(refusal);
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    const QSize declared = reader.size();
    if (!declared.isValid())
        return refused(QStringLiteral("no picture size can be read"));
    if (tooLarge(declared))
        return refused(QStringLiteral("it declares %1x%2 pixels").arg(declared.width()).arg(declared.height()));
    NetworkPicture picture;
    picture.image = reader.read();
    if (picture.image.isNull())
        return refused(reader.errorString());
    if (tooLarge(picture.image.size()))
        return refused(QStringLiteral("it decodes to %1x%2 pixels").arg(picture.image.width()).arg(picture.image.height()));
    return picture;
}

NetworkPicture NetworkPicture::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(file.errorString());
    if (file.size() > kMaxPictureBytes)
        return refused(QStringLiteral("%1 bytes").arg(file.size()));
    return decode(file.readAll());
}

bool NetworkPicture::accepted(const QString &what) const
{
    if (!image.isNull())
        return true;
    qInfo("[Mivo] the picture %s is not shown: %s", qUtf8Printable(what), qUtf8Printable(refusal));
    return false;
}

namespace {
struct PictureThreads : QThreadPool
{
    PictureThreads() { setMaxThreadCount(2); }
};
} // namespace

QThreadPool &NetworkPicture::threads()
{
    static PictureThreads pool;
    return pool;
}
