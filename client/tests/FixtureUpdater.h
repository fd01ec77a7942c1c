#pragma once
// A stand-in for the updater "Update.exe": a shell script that records who it
// is and the arguments it got in "updater-ran.txt" beside the copy that runs.

#include "tests/WaitUntil.h"

#include <QFile>
#include <QString>
#include <QStringList>

inline bool writeFixtureUpdater(const QString &path, const QByteArray &who)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("#!/bin/sh\nd=$(dirname \"$0\")\nprintf '%s\\n' " + who
               + " \"$@\" > \"$d/updater-ran.tmp\"\nmv \"$d/updater-ran.tmp\" \"$d/updater-ran.txt\"\n");
    file.close();
    return file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

// What the updater that ran in folder recorded (who, then its arguments);
// empty when none ran within the time.
inline QStringList fixtureUpdaterRecord(const QString &folder, int timeoutMs = 20000)
{
    QFile record(folder + QStringLiteral("/updater-ran.txt"));
    waitUntil([&record]() { return record.exists(); }, timeoutMs);
    if (!record.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(record.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
