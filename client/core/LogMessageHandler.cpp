#include "core/LogMessageHandler.h"

#include "core/AppFolders.h"
#include "platform/PlatformServices.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QMutex>
#include <QTextStream>
#include <QTime>

#include <cstdio>

namespace {

// Set while this thread is inside the handler: a message raised by the
// handler's own work (the folder look-up, the file open) must not wait on the
// lock this thread already holds.
thread_local bool writingLogLine = false;

QMutex &logLock()
{
    static QMutex *lock = new QMutex; // lives to the end of the process
    return *lock;
}

void writeToStandardError(const QString &line)
{
    const QByteArray bytes = line.toLocal8Bit();
    std::fprintf(stderr, "%s\n", bytes.constData());
    std::fflush(stderr);
}

} // namespace

QString logLevelWord(QtMsgType type)
{
    switch (static_cast<int>(type)) {
    case QtDebugMsg:
        return QStringLiteral("Debug:");
    case QtWarningMsg:
        return QStringLiteral("Warning:");
    case QtCriticalMsg:
        return QStringLiteral("Critical:");
    case QtFatalMsg:
        return QStringLiteral("Fatal:");
    case QtInfoMsg:
        return QStringLiteral("Info:");
    default:
        return QString();
    }
}

QString formatLogLine(QtMsgType type, const QTime &time, const QString &message)
{
    // One arg() call fills all three at once, so "%1" inside the message stays.
    return QStringLiteral("[%1] %2 %3").arg(time.toString(QStringLiteral("hh:mm:ss")), logLevelWord(type), message);
}

void logMessageHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (writingLogLine || !QCoreApplication::instance()) {
        // Before the application object exists there is no log folder yet.
        writeToStandardError(formatLogLine(type, QTime::currentTime(), message));
        return;
    }
    writingLogLine = true;
    {
        QMutexLocker locker(&logLock());
        const QString line = formatLogLine(type, QTime::currentTime(), message);
        const QString path = getLogsDir() + QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))
                             + QStringLiteral(".log");
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Append)) {
            QTextStream out(&file);
            out.setCodec(platform().localCodec());
            out << line << "\r\n";
            out.flush();
            file.close();
        }
    }
    writingLogLine = false;
}
