#pragma once
// Pictures from the network (avatars, game pictures) are decoded only in a
// format whose header states the size the decoder makes (PNG, JPEG, GIF,
// BMP), told by the content and never by the file name, and only when that
// size and the file are small enough: a few bytes can declare an image that
// needs gigabytes and seconds to decode, and a container such as ICO states
// one size while the picture inside decodes at another.
// The decode runs beside the window thread; its result comes back to it.

#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QtConcurrent>

#include <functional>

const int kMaxPictureSide = 4096;
const qint64 kMaxPictureBytes = 16 * 1024 * 1024;

// A decoded picture, or a null image and why it was refused.
struct NetworkPicture
{
    QImage image;
    QString refusal;

    // May run on any thread; logs nothing.
    static NetworkPicture decode(const QByteArray &bytes);
    static NetworkPicture load(const QString &path);

    // Logs a refusal in one line naming what; true when there is a picture.
    bool accepted(const QString &what) const;

    // The threads pictures are decoded on: two, so a burst of pictures never
    // holds more than two decodes in memory at once.
    static QThreadPool &threads();
};

// Runs work on the picture threads and hands its result to done on the
// receiver's thread; nothing is handed on when the receiver is gone by then.
template <class Result>
void onPictureThreads(QObject *receiver, std::function<Result()> work, std::function<void(const Result &)> done)
{
    auto *watcher = new QFutureWatcher<Result>(receiver);
    QObject::connect(watcher, &QFutureWatcherBase::finished, receiver, [watcher, done]() {
        done(watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(QtConcurrent::run(&NetworkPicture::threads(), work));
}
