#pragma once
// What the start-up does with each game the database remembers, and which
// packages the exit may delete.

#include <QList>
#include <QString>

class VRAppInfo;

enum class StoredGameStep {
    Download, // (again): the download was running, or its package is gone
    Install,  // downloaded and still on disk: unpack it
    Forget,   // a PC game whose folder is gone
    ShowRow,  // keep it in the local games manager
};

StoredGameStep stepForStoredGame(const VRAppInfo &game, bool folderExists, bool packageExists);

// The zip package of a PC game in the packages folder.
QString pcPackagePath(const QString &gameId);

// Deletes the packages of installed games (stored state 5 or 8); a package
// downloaded but not yet unpacked, or being unpacked, stays. Returns how many
// it deleted.
int deleteInstalledPackages(const QList<VRAppInfo *> &games);
