#pragma once
// Pictures from the network (avatars, game pictures) are decoded only when
// their file and the size they declare are small enough: a few bytes can
// declare an image that needs gigabytes and seconds to decode.

#include <QImage>
#include <QString>

const int kMaxPictureSide = 4096;
const qint64 kMaxPictureBytes = 16 * 1024 * 1024;

// The picture in bytes; a null image, with one log line naming what, when it
// is too large, declares more than kMaxPictureSide pixels a side, or does not decode.
QImage decodeNetworkPicture(const QByteArray &bytes, const QString &what);
// The same for a picture file.
QImage loadNetworkPicture(const QString &path, const QString &what);
