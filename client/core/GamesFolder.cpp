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

GamesFolderMove moveGamesFolder(const QString &oldFolder, const QString &newFolder)
{
    if (QDir::cleanPath(oldFolder) == QDir::cleanPath(newFolder))
        return GamesFolderMove::Unchanged;
    // A copy into itself would never end, and would leave the games half moved.
    if (isSameOrInsideFolder(newFolder, oldFolder))
        return GamesFolderMove::Nested;
    if (!QDir().mkpath(newFolder))
        return GamesFolderMove::Failed;
    if (!QFileInfo(oldFolder).isDir())
        return GamesFolderMove::Moved; // nothing installed yet
    return copyDirectoryFiles(oldFolder, newFolder, true) ? GamesFolderMove::Moved : GamesFolderMove::Failed;
}
