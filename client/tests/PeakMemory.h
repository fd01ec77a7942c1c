#pragma once
// This process's peak resident memory (VmHWM), so a test can show that a
// hostile answer was never held whole.

#include <QFile>
#include <QRegularExpression>

inline qint64 peakResidentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("VmHWM:\\s+(\\d+) kB")).match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() / 1024 : -1;
}

// Far below the 1 GiB a gzip bomb inflates to, far above what the client needs.
const qint64 kBoundedPeakMiB = 512;
