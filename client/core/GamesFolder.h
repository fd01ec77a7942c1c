#pragma once
// Choosing another games folder on the settings page.

#include <QString>

// The games folder for a folder the user picked: "VRGames/" inside it. A
// picked root ("D:/", "/") already ends with "/".
QString gamesFolderFor(const QString &chosen);

enum class GamesFolderMove {
    Moved,     // the new folder exists and holds a copy of the old tree
    Unchanged, // the same folder as before
    Nested,    // refused: the new folder is the old one or lies inside it
    Failed,    // the folder could not be made or the copy failed
};

// Whether a move may go on (Moved), without touching the disk.
GamesFolderMove checkGamesFolderMove(const QString &oldFolder, const QString &newFolder);
// Makes newFolder and copies the old folder's tree into it (overwriting). A
// copy that fails removes the files and folders it made, and only those.
// Safe to run beside the window thread.
GamesFolderMove moveGamesFolder(const QString &oldFolder, const QString &newFolder);
