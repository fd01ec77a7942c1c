#include "core/game/GameSizeText.h"

namespace {

QString twoDecimals(double value)
{
    return QString::number(value, 'f', 2);
}

QString trimmed(double value)
{
    return trimZeroFraction(twoDecimals(value));
}

} // namespace

QString trimZeroFraction(const QString &text)
{
    const int dot = text.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return text;
    const int nextDot = text.indexOf(QLatin1Char('.'), dot + 1);
    const QString fraction = text.mid(dot + 1, nextDot < 0 ? -1 : nextDot - dot - 1);
    return fraction == QLatin1String("00") ? text.left(dot) : text;
}

QString gameSizeText(int sizeMiB, SizeTextKind kind)
{
    if (sizeMiB < 1024) {
        switch (kind) {
        case SizeTextKind::NewRow: return QString::number(sizeMiB) + QStringLiteral("MB");
        case SizeTextKind::Downloaded: return trimmed(sizeMiB) + QStringLiteral("MB");
        case SizeTextKind::Failed: return twoDecimals(sizeMiB) + QStringLiteral("MB");
        }
    }
    // Exact division: 1536 MB is 1.50 GB.
    const double gib = sizeMiB / 1024.0;
    return (kind == SizeTextKind::Downloaded ? trimmed(gib) : twoDecimals(gib)) + QStringLiteral("GB");
}

QString downloadProgressText(qint64 received, qint64 total)
{
    const float totalMiB = float(total / 1048576);
    const float receivedKiB = float(received / 1024);
    QString text;
    if (receivedKiB < 1024) {
        text = trimmed(receivedKiB) + QStringLiteral("kb/");
    } else {
        const float receivedMiB = receivedKiB / 1024;
        text = trimmed(receivedMiB > totalMiB ? totalMiB : receivedMiB) + QStringLiteral("MB/");
    }
    if (totalMiB < 1024)
        return text + trimmed(totalMiB) + QStringLiteral("MB");
    return text + trimmed(totalMiB / 1024) + QStringLiteral("GB");
}

int downloadProgressPercent(qint64 received, qint64 total)
{
    if (total == 0)
        return 0;
    return int(float(received) / float(total) * 100);
}
