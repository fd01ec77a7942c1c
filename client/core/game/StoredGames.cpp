#include "core/game/StoredGames.h"

#include "core/AppFolders.h"
#include "core/game/VRAppInfo.h"

#include <QFile>

StoredGameStep stepForStoredGame(const VRAppInfo &game, bool folderExists, bool packageExists)
{
    switch (game.downloadStatus) {
    case VRAppInfo::Downloading:
        return StoredGameStep::Download;
    case VRAppInfo::Downloaded:
        // Unpacking a package that is gone would "install" an empty game.
        return packageExists ? StoredGameStep::Install : StoredGameStep::Download;
    default:
        if (!VRAppInfo::isMobilePlatform(game.platform) && !folderExists)
            return StoredGameStep::Forget;
        return StoredGameStep::ShowRow;
    }
}

QString pcPackagePath(const QString &gameId)
{
    return getZipsDir() + gameId + QStringLiteral(".zip");
}

int deleteInstalledPackages(const QList<VRAppInfo *> &games)
{
    int deleted = 0;
    for (const VRAppInfo *game : games) {
        if (!VRAppInfo::isInstalledState(game->downloadStatus) || VRAppInfo::isMobilePlatform(game->platform)
            || !VRAppInfo::isValidGameId(game->gameId))
            continue;
        if (QFile::remove(pcPackagePath(game->gameId)))
            ++deleted;
    }
    return deleted;
}
