#pragma once
// Handing the client over to its updater: the updater the package brought
// ("Update.exe" in the application folder) runs from a copy in the parent
// folder, because it replaces the application folder's files.

#include <QString>

// "Update.exe" in the parent folder of appDir.
QString updaterCopyPath(const QString &appDir);
// Deletes the copy an earlier hand-over left; a missing file is no error.
void removeUpdaterCopy(const QString &appDir);
// Copies the updater to the parent folder (an existing copy is kept and used)
// and starts the copy with the new version and the package URL. False when
// it could not be started.
bool startUpdaterCopy(const QString &appDir, const QString &version, const QString &packageUrl);
