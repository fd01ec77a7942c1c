#pragma once
// An X server of the test's own with a screen of a chosen size (a smaller
// desktop than the one the test runs on). While it lives, DISPLAY names it,
// so the clients the test starts and the XScreen.h helpers use it.

#include <QByteArray>
#include <QProcess>
#include <QSize>
#include <QString>

class ScopedXServer
{
public:
    explicit ScopedXServer(const QSize &screen)
        : earlierDisplay(qgetenv("DISPLAY"))
    {
        // Xvfb picks a free display itself and writes its number to standard output.
        server.start(QStringLiteral("Xvfb"),
                     {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                      QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                      QStringLiteral("%1x%2x24").arg(screen.width()).arg(screen.height())});
        QByteArray number;
        while (!number.contains('\n') && server.waitForReadyRead(10000))
            number += server.readAllStandardOutput();
        bool isNumber = false;
        number.trimmed().toInt(&isNumber);
        if (isNumber) {
            display = ":" + number.trimmed();
            qputenv("DISPLAY", display);
        }
    }
    ~ScopedXServer()
    {
        qputenv("DISPLAY", earlierDisplay);
        server.terminate();
        server.waitForFinished(10000);
    }
    ScopedXServer(const ScopedXServer &) = delete;
    ScopedXServer &operator=(const ScopedXServer &) = delete;

    bool isRunning() const { return !display.isEmpty(); }

private:
    QByteArray earlierDisplay;
    QByteArray display;
    QProcess server;
};
