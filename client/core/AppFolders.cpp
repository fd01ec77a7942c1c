#include "core/AppFolders.h"

#include "platform/PlatformServices.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString ensureFolder(const QString &base, const QString &suffix)
{
    const QString path = QStringLiteral("%1%2").arg(base, suffix);
    QDir dir(path);
    if (!dir.exists())
        dir.mkdir(path); // one level; a failure shows where the folder is used
    return path;
}

// Canonical form of a path that may not exist yet: the longest existing
// ancestor is resolved, the rest appended.
QString resolvedPath(const QString &path)
{
    QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString rest;
    while (!QFileInfo::exists(existing)) {
        const int slash = existing.lastIndexOf(QLatin1Char('/'));
        if (slash <= 0)
            break;
        rest.prepend(existing.mid(slash));
        existing.truncate(slash);
    }
    const QString canonical = QFileInfo(existing).canonicalFilePath();
    return QDir::cleanPath((canonical.isEmpty() ? existing : canonical) + rest);
}

bool isSameOrInside(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
}

} // namespace

QString getUserDataDir()
{
    static const QString path = ensureFolder(QCoreApplication::applicationDirPath(), QStringLiteral("/UserData/"));
    return path;
}

QString getAndroidAppsDir()
{
    static const QString path = ensureFolder(QCoreApplication::applicationDirPath(), QStringLiteral("/Apps/Android/"));
    return path;
}

QString getIosAppsDir()
{
    static const QString path = ensureFolder(QCoreApplication::applicationDirPath(), QStringLiteral("/Apps/iOS/"));
    return path;
}

QString getVrGamesDir()
{
    static const QString path = ensureFolder(QCoreApplication::applicationDirPath(), QStringLiteral("/VRGames/"));
    return path;
}

QString getZipsDir()
{
    static const QString path = ensureFolder(QCoreApplication::applicationDirPath(), QStringLiteral("/zips/"));
    return path;
}

QString getToolsDir()
{
    static const QString path = ensureFolder(QCoreApplication::applicationDirPath(), QStringLiteral("/Tools/"));
    return path;
}

QString getCachesDir()
{
    return ensureFolder(getUserDataDir(), QStringLiteral("/Caches/"));
}

QString getLogsDir()
{
    return ensureFolder(getUserDataDir(), QStringLiteral("/Logs/"));
}

QString getTempDir()
{
    return ensureFolder(getUserDataDir(), QStringLiteral("/temp/"));
}

QString getUserDir(const QString &uid)
{
    if (uid.isEmpty() || !isDigitString(uid))
        return QString();
    const QString path = QStringLiteral("%1%2/").arg(getUserDataDir(), uid);
    QDir dir(path);
    if (!dir.exists())
        dir.mkdir(path);
    return path;
}

QString avatarFilePath(const QString &uid, const QString &nickname)
{
    const QString folder = getUserDir(uid);
    if (folder.isEmpty())
        return QString();
    QString name = nickname.left(64);
    for (QChar &c : name) {
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    // A name of dots alone would name the folder or its parent.
    if (name.isEmpty() || name.count(QLatin1Char('.')) == name.size())
        name = QStringLiteral("avatar");
    return folder + name + QStringLiteral(".jpg");
}

bool copyDirectoryFiles(const QString &from, const QString &to, bool overwrite, QStringList *created)
{
    const QDir source(from);
    if (!source.exists())
        return false;
    // Copying a folder into itself would never end.
    if (isSameOrInside(resolvedPath(to), resolvedPath(from)))
        return false;

    QDir target(to);
    if (!target.exists()) {
        if (!target.mkdir(target.absolutePath()))
            return false;
        if (created)
            created->append(target.absolutePath());
    }

    const QFileInfoList entries = source.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System
                                                       | QDir::NoDotAndDotDot,
                                                       QDir::Unsorted);
    for (const QFileInfo &entry : entries) {
        const QString targetPath = target.filePath(entry.fileName());
        if (entry.isDir()) {
            if (!copyDirectoryFiles(entry.filePath(), targetPath, overwrite, created))
                return false;
            continue;
        }
        const bool existed = QFileInfo::exists(targetPath);
        if (overwrite && existed)
            QFile::remove(targetPath);
        if (!QFile::copy(entry.filePath(), targetPath))
            return false;
        if (created && !existed)
            created->append(targetPath);
    }
    return true;
}

bool isSameOrInsideFolder(const QString &path, const QString &folder)
{
    return isSameOrInside(resolvedPath(path), resolvedPath(folder));
}

bool deleteDirectory(const QString &path)
{
    if (path.trimmed().isEmpty() || QDir::isRelativePath(path))
        return false;
    const QString absolute = QDir::cleanPath(path);
    if (QDir(absolute).isRoot() || resolvedPath(absolute) == QLatin1String("/"))
        return false;
    if (!QFileInfo::exists(absolute))
        return true;
    return platform().removeDirectoryTree(absolute, getTempDir());
}

bool isDigitString(const QString &text)
{
    const QByteArray latin = text.toLatin1();
    for (char c : latin) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

uint32_t currentTimestamp()
{
    return static_cast<uint32_t>(QDateTime::currentSecsSinceEpoch());
}

bool isWindowsVersion62()
{
    return platform().isWindowsVersion62();
}
