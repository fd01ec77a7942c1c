#pragma once
// A process's peak resident memory (VmHWM), so a test can show that a
// hostile answer was never held whole, and the bench what a client took.

#include <QFile>
#include <QRegularExpression>

// In KiB, of the process with that id ("self": this one); -1 when unknown.
inline qint64 peakResidentKiB(const QString &process = QStringLiteral("self"))
{
    QFile status(QStringLiteral("/proc/%1/status").arg(process));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("VmHWM:\\s+(\\d+) kB")).match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

inline qint64 peakResidentMiB()
{
    const qint64 kiB = peakResidentKiB();
    return kiB < 0 ? -1 : kiB / 1024;
}

// Far below the 1 GiB a gzip bomb inflates to, far above what the client needs.
const qint64 kBoundedPeakMiB = 512;
