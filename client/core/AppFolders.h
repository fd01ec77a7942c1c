#pragma once
// The folders under the application directory where the client keeps
// everything it writes, and small file and text tools several parts share.
// Every folder function returns a path ending with "/" and creates the folder
// (one level) when it is missing.

#include <QString>
#include <QStringList>

#include <cstdint>

QString getUserDataDir();
QString getAndroidAppsDir();
QString getIosAppsDir();
QString getVrGamesDir();
QString getZipsDir();
QString getToolsDir();
QString getCachesDir();
QString getLogsDir();
QString getTempDir();
// The folder of one logged-in user; empty (and nothing created) unless the id
// is a non-empty string of digits.
QString getUserDir(const QString &uid);
// The avatar picture of a user: the user folder, the nickname made safe for a
// file name, ".jpg". Empty for a uid that is not a number.
QString avatarFilePath(const QString &uid, const QString &nickname);

// Copies a folder tree; refuses a target equal to or inside the source. The
// files and folders it made are appended to *created, parents first.
bool copyDirectoryFiles(const QString &from, const QString &to, bool overwrite, QStringList *created = nullptr);
// Whether path is folder itself or lies inside it (links resolved, missing tails allowed).
bool isSameOrInsideFolder(const QString &path, const QString &folder);
// Removes a folder tree; refuses empty, relative and root paths. True when the
// folder is gone afterwards.
bool deleteDirectory(const QString &path);
// True when every character is 0-9 (also for the empty text).
bool isDigitString(const QString &text);
uint32_t currentTimestamp();
bool isWindowsVersion62();
