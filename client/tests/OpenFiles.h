#pragma once
// Whether this process holds a file open, read from its descriptor table.

#include <QDir>
#include <QFileInfo>
#include <QString>

inline bool isOpenInThisProcess(const QString &path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    if (target.isEmpty())
        return false;
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    // Each descriptor is a link to what it has open; a file's link lists among files.
    for (const QString &fd : descriptors.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (QFileInfo(descriptors.filePath(fd)).symLinkTarget() == target)
            return true;
    }
    return false;
}
