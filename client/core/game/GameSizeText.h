#pragma once
// The size and progress texts of a game's row in the local games manager.
// Sizes in a record are whole mebibytes.

#include <QString>
#include <QtGlobal>

// "12.00" -> "12"; any other text unchanged.
QString trimZeroFraction(const QString &text);

enum class SizeTextKind {
    NewRow,     // a whole number of MB below 1 GB, else GB with two decimals
    Downloaded, // two decimals, ".00" dropped
    Failed,     // two decimals
};
QString gameSizeText(int sizeMiB, SizeTextKind kind);

// "<received>kb/" or "<received>MB/" followed by the total in MB or GB.
QString downloadProgressText(qint64 received, qint64 total);
// 0 to 100; 0 while the total is unknown.
int downloadProgressPercent(qint64 received, qint64 total);
