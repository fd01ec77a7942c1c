#include "core/game/LocalDatabase.h"

#include "core/AppFolders.h"
#include "core/game/VRAppInfo.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

namespace {

const char kUserTableStatement[] =
    "create table vr_user (uid TEXT primary key,remember TEXT,\t\t\t\t\t\t\t\t\t\t"
    "autoLogin TEXT,isLogin TEXT,userName TEXT,pwd TEXT)";
const char kGameTableStatement[] =
    "create table vr_game2 (gameId TEXT primary key,cnName TEXT,enName TEXT,version TEXT,platform INT,"
    "localSize INT,md5 TEXT,serverPicSource TEXT,serverAppSource TEXT,localSource TEXT,deviceId TEXT,"
    "launcher TEXT,launchParameter TEXT,downloadStatus INT)";

// Objects that are open at the same time share the one default connection;
// the connection closes when the last of them closes. Without the count an
// inner open would reopen the connection and roll back the outer object's
// uncommitted writes.
int openObjects = 0;

void warn(const char *format, const QSqlQuery &query)
{
    qWarning(format, qUtf8Printable(query.lastError().text()));
}

// Creates a table with its statement when sqlite_master does not list it.
void ensureTable(QSqlQuery &query, const char *name, const char *statement, const char *failure)
{
    const QString check = QStringLiteral("select count(*) from sqlite_master where type='table' and name='%1';")
                              .arg(QLatin1String(name));
    if (!query.exec(check) || !query.next() || query.value(0).toInt() != 0)
        return;
    if (!query.exec(QString::fromLatin1(statement)))
        warn(failure, query);
}

// The older table "vr_game" has no "platform" column: its games are PC games.
VRAppInfo *recordFromRow(const QSqlQuery &query, bool hasPlatform)
{
    auto *info = new VRAppInfo;
    for (const GameField &field : VRAppInfo::gameFields()) {
        if (!hasPlatform && field.number == &VRAppInfo::platform)
            continue;
        const QVariant value = query.value(QLatin1String(field.column));
        if (field.text)
            info->*field.text = value.toString();
        else
            info->*field.number = value.toInt();
    }
    info->downloadStatus = LocalDatabase::toDownloadStatus(info->downloadStatus);
    // Only 1 and 2 name mobile packages; any other value stored is a PC game,
    // for its paths as for its uninstall and update.
    if (!VRAppInfo::isKnownPlatform(info->platform))
        info->platform = 0;
    return info;
}

QList<VRAppInfo *> loadRecords(QSqlDatabase &db, const char *statement, bool hasPlatform, const char *failure)
{
    QList<VRAppInfo *> records;
    QSqlQuery query(db);
    if (!query.exec(QString::fromLatin1(statement))) {
        warn(failure, query);
        return records;
    }
    while (query.next())
        records.append(recordFromRow(query, hasPlatform));
    return records;
}

} // namespace

LocalDatabase::LocalDatabase() = default;

LocalDatabase::~LocalDatabase() = default;

QString LocalDatabase::filePath()
{
    return getUserDataDir() + QStringLiteral("Orbela.db");
}

bool LocalDatabase::open()
{
    if (opened)
        return true;
    const QString connection = QString::fromLatin1(QSqlDatabase::defaultConnection);
    if (openObjects > 0 && QSqlDatabase::contains(connection)) {
        db = QSqlDatabase::database(connection, false);
        if (db.isOpen()) {
            opened = true;
            ++openObjects;
            return true;
        }
    }

    db = QSqlDatabase::contains(connection) ? QSqlDatabase::database(connection, false)
                                            : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(filePath());
    if (!db.open())
        return false;

    QSqlQuery query(db);
    ensureTable(query, "vr_user", kUserTableStatement, "create table vr_user failed! error : %s");
    ensureTable(query, "vr_game2", kGameTableStatement, "create table vr_game2 failed! error : %s");
    db.transaction();
    opened = true;
    openObjects = 1;
    return true;
}

void LocalDatabase::close()
{
    if (!opened)
        return;
    opened = false;
    --openObjects;
    if (!db.commit()) {
        // What this transaction wrote is lost; the file keeps what the last
        // good commit left.
        qWarning("commit to %s failed! error : %s", qUtf8Printable(filePath()), qUtf8Printable(db.lastError().text()));
        db.rollback();
    }
    if (openObjects > 0)
        db.transaction(); // the objects still open go on in a transaction of their own
    else
        db.close();
}

bool LocalDatabase::hasLegacyGameTable()
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("select count(*) from sqlite_master where type='table' and name='vr_game';")))
        return false;
    return query.next() && query.value(0).toInt() != 0;
}

QList<VRAppInfo *> LocalDatabase::loadLegacyGames()
{
    return loadRecords(db, "select * from vr_game", false, "select vr_game failed! error : %s");
}

bool LocalDatabase::dropLegacyGameTable()
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("drop table vr_game"));
}

bool LocalDatabase::migrateLegacyGames()
{
    if (!hasLegacyGameTable())
        return true;
    bool allSaved = true;
    const QList<VRAppInfo *> legacy = loadLegacyGames();
    for (VRAppInfo *info : legacy) {
        allSaved = saveGame(info) && allSaved;
        delete info;
    }
    // A game that could not be copied stays in the older table.
    return allSaved && dropLegacyGameTable();
}

QList<VRAppInfo *> LocalDatabase::loadGames()
{
    return loadRecords(db, "select * from vr_game2", true, "select vr_game2 failed! error : %s");
}

VRAppInfo *LocalDatabase::loadGame(const QString &gameId)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("select * from vr_game2 where gameId=?"));
    query.addBindValue(gameId);
    if (!query.exec()) {
        warn("select vr_game2 failed! error : %s", query);
        return nullptr;
    }
    return query.next() ? recordFromRow(query, true) : nullptr;
}

bool LocalDatabase::saveGame(VRAppInfo *info)
{
    QSqlQuery query(db);
    if (!info || !VRAppInfo::isValidGameId(info->gameId)) {
        // The id names the game's folder and package later; only digits get in.
        qWarning("replace into vr_game2 failed! error : %s", "invalid game id");
        return false;
    }
    QStringList placeholders;
    for (size_t i = 0; i < VRAppInfo::gameFields().size(); ++i)
        placeholders << QStringLiteral("?");
    query.prepare(QStringLiteral("replace into vr_game2 values(%1)").arg(placeholders.join(QLatin1Char(','))));
    for (const GameField &field : VRAppInfo::gameFields()) {
        if (field.text)
            query.addBindValue(info->*field.text);
        else if (field.number == &VRAppInfo::localSize)
            query.addBindValue(static_cast<uint>(info->localSize)); // stored unsigned, as it always was
        else
            query.addBindValue(info->*field.number);
    }
    if (!query.exec()) {
        warn("replace into vr_game2 failed! error : %s", query);
        return false;
    }
    return true;
}

bool LocalDatabase::deleteGame(const QString &gameId)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("delete from vr_game2 where gameId=? "));
    query.addBindValue(gameId);
    if (!query.exec()) {
        warn("del vr_game2 failed! error : %s", query);
        return false;
    }
    return true;
}

bool LocalDatabase::saveUser(const QString &uid, const QString &remember, const QString &autoLogin,
                             const QString &isLogin, const QString &userName, const QString &pwd)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("replace into vr_user values(?,?,?,?,?,?)"));
    for (const QString *value : {&uid, &remember, &autoLogin, &isLogin, &userName, &pwd})
        query.addBindValue(*value);
    if (!query.exec()) {
        warn("replace into vr_user failed! error : %s", query);
        return false;
    }
    return true;
}

bool LocalDatabase::deleteUsers()
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("delete from vr_user"));
}

bool LocalDatabase::getUser(QString &userName, QString &pwd)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("select userName, pwd from vr_user"))) {
        warn("select vr_user failed! error : %s", query);
        return false;
    }
    while (query.next()) {
        userName = query.value(0).toString();
        pwd = query.value(1).toString();
    }
    return true;
}

bool LocalDatabase::userFlag(const char *column)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("select * from vr_user"))) {
        warn("select vr_user failed! error : %s", query);
        return false;
    }
    return query.next() && query.value(QString::fromLatin1(column)).toString() == QLatin1String("true");
}

bool LocalDatabase::isAutoLogin()
{
    return userFlag("autoLogin");
}

bool LocalDatabase::isRemember()
{
    return userFlag("remember");
}

bool LocalDatabase::setLoggedOut()
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("update vr_user set isLogin='false'"));
}

bool LocalDatabase::setAutoLogin(bool on)
{
    QSqlQuery query(db);
    return query.exec(on ? QStringLiteral("update vr_user set autoLogin='true'")
                         : QStringLiteral("update vr_user set autoLogin='false'"));
}

bool LocalDatabase::setRemember(bool on)
{
    QSqlQuery query(db);
    return query.exec(on ? QStringLiteral("update vr_user set remember='true'")
                         : QStringLiteral("update vr_user set remember='false',pwd=''"));
}

int LocalDatabase::toDownloadStatus(int stored)
{
    return stored >= 1 && stored <= 9 ? stored : 0;
}
