#include "core/GamesFolder.h"

#include "core/AppFolders.h"

#include <QDir>
#include <QFileInfo>

QString gamesFolderFor(const QString &chosen)
{
    if (chosen.endsWith(QLatin1Char('/')))
        return chosen + QStringLiteral("VRGames/");
    return chosen + QStringLiteral("/VRGames/");
}

GamesFolderMove checkGamesFolderMove(const QString &oldFolder, const QString &newFolder)
{
    if (QDir::cleanPath(oldFolder) == QDir::cleanPath(newFolder))
        return GamesFolderMove::Unchanged;
    // A copy into itself would never end, and would leave the games half moved.
    if (isSameOrInsideFolder(newFolder, oldFolder))
        return GamesFolderMove::Nested;
    return GamesFolderMove::Moved;
}

GamesFolderMove moveGamesFolder(const QString &oldFolder, const QString &newFolder)
{
    const GamesFolderMove check = checkGamesFolderMove(oldFolder, newFolder);
    if (check != GamesFolderMove::Moved)
        return check;
    // The folders above the new one that are made here, outermost first.
    QStringList created;
    for (QString folder = QDir::cleanPath(QDir(newFolder).absolutePath()); !QFileInfo::exists(folder);
         folder = QFileInfo(folder).path()) {
        created.prepend(folder);
        if (QDir(folder).isRoot())
            break;
    }
    bool copied = QDir().mkpath(newFolder);
    if (copied && QFileInfo(oldFolder).isDir())
        copied = copyDirectoryFiles(oldFolder, newFolder, true, &created);
    if (copied)
        return GamesFolderMove::Moved;
    // What was there before stays; what this copy made goes, innermost first.
    for (auto it = created.crbegin(); it != created.crend(); ++it) {
        const QFileInfo entry(*it);
        if (entry.isDir() && !entry.isSymLink())
            QDir().rmdir(*it);
        else
            QFile::remove(*it);
    }
    return GamesFolderMove::Failed;
}
