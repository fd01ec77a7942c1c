#include "core/UpdateHandOver.h"

#include "platform/PlatformServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString updaterCopyPath(const QString &appDir)
{
    QDir parent(appDir);
    parent.cdUp();
    return parent.filePath(QStringLiteral("Update.exe"));
}

void removeUpdaterCopy(const QString &appDir)
{
    QFile::remove(updaterCopyPath(appDir));
}

bool startUpdaterCopy(const QString &appDir, const QString &version, const QString &packageUrl)
{
    const QString source = QDir(appDir).filePath(QStringLiteral("Update.exe"));
    const QString target = updaterCopyPath(appDir);
    // An updater still running from an earlier hand-over keeps its file.
    if (QFileInfo::exists(source) && !QFileInfo::exists(target))
        QFile::copy(source, target);
    return platform().startDetachedProgram(target, {version, packageUrl});
}
