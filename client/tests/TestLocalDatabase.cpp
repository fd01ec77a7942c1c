#include "core/game/LocalDatabase.h"
#include "core/game/VRAppInfo.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

#include <climits>
#include <memory>

namespace {

const char kUserTable[] = "create table vr_user (uid TEXT primary key,remember TEXT,"
                          "\t\t\t\t\t\t\t\t\t\tautoLogin TEXT,isLogin TEXT,userName TEXT,pwd TEXT)";
const char kGameTable[] = "create table vr_game2 (gameId TEXT primary key,cnName TEXT,enName TEXT,version TEXT,"
                          "platform INT,localSize INT,md5 TEXT,serverPicSource TEXT,serverAppSource TEXT,"
                          "localSource TEXT,deviceId TEXT,launcher TEXT,launchParameter TEXT,downloadStatus INT)";

// A second connection to the same file, to see what really is on disk.
class Inspector
{
public:
    Inspector()
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name());
        db.setDatabaseName(LocalDatabase::filePath());
        db.open();
    }
    ~Inspector()
    {
        QSqlDatabase::database(name(), false).close();
        QSqlDatabase::removeDatabase(name());
    }
    static QString name() { return QStringLiteral("inspector"); }
    bool exec(const QString &statement)
    {
        QSqlQuery query(QSqlDatabase::database(name()));
        return query.exec(statement);
    }
    // The first column of every row.
    QStringList column(const QString &statement)
    {
        QSqlQuery query(QSqlDatabase::database(name()));
        QStringList values;
        if (!query.exec(statement))
            return {QStringLiteral("<failed: %1>").arg(query.lastError().text())};
        while (query.next())
            values << query.value(0).toString();
        return values;
    }
};

std::unique_ptr<VRAppInfo> game(const QString &gameId, const QString &cnName)
{
    auto info = std::make_unique<VRAppInfo>();
    info->gameId = gameId;
    info->cnName = cnName;
    info->enName = QStringLiteral("Game ") + gameId;
    info->version = QStringLiteral("1.0");
    info->md5 = QStringLiteral("d41d8cd98f00b204e9800998ecf8427e");
    return info;
}

void compareStoredFields(const VRAppInfo &actual, const VRAppInfo &expected)
{
    QCOMPARE(actual.gameId, expected.gameId);
    QCOMPARE(actual.cnName, expected.cnName);
    QCOMPARE(actual.enName, expected.enName);
    QCOMPARE(actual.version, expected.version);
    QCOMPARE(actual.platform, expected.platform);
    QCOMPARE(actual.localSize, expected.localSize);
    QCOMPARE(actual.md5, expected.md5);
    QCOMPARE(actual.serverPicSource, expected.serverPicSource);
    QCOMPARE(actual.serverAppSource, expected.serverAppSource);
    QCOMPARE(actual.localSource, expected.localSource);
    QCOMPARE(actual.deviceId, expected.deviceId);
    QCOMPARE(actual.launcher, expected.launcher);
    QCOMPARE(actual.launchParameter, expected.launchParameter);
    QCOMPARE(actual.downloadStatus, expected.downloadStatus);
    QCOMPARE(actual.downloadTaskId, 0);
    QCOMPARE(actual.picTaskId, 0);
}

} // namespace

class TestLocalDatabase : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QFile::remove(LocalDatabase::filePath());
        QFile::remove(LocalDatabase::filePath() + QStringLiteral("-journal"));
    }

    void firstOpenCreatesTablesWithTheirExactStatements()
    {
        for (int round = 0; round < 2; ++round) {
            LocalDatabase db;
            QVERIFY(db.open());
            db.close();
        }
        QVERIFY(QFile::exists(LocalDatabase::filePath()));
        Inspector inspect;
        const QStringList statements = inspect.column(
            QStringLiteral("select sql from sqlite_master where type='table' order by name"));
        // SQLite keeps a statement as given, except that it writes its first two words in capitals.
        const auto asStored = [](const char *statement) {
            return QString::fromLatin1(statement).replace(0, 12, QStringLiteral("CREATE TABLE"));
        };
        QCOMPARE(statements, QStringList({asStored(kGameTable), asStored(kUserTable)}));
        QCOMPARE(statements.at(1).count(QLatin1Char('\t')), 10);
        QVERIFY(statements.at(1).contains(QStringLiteral("remember TEXT,\t\t\t\t\t\t\t\t\t\tautoLogin TEXT,")));
    }

    void gameFieldsAreTheTableColumnsInOrder()
    {
        {
            LocalDatabase db;
            QVERIFY(db.open());
            db.close();
        }
        QStringList listed;
        for (const GameField &field : VRAppInfo::gameFields()) {
            listed << QString::fromLatin1(field.column);
            QVERIFY2(!field.text != !field.number, field.column); // exactly one member
        }
        Inspector inspect;
        QCOMPARE(listed, inspect.column(QStringLiteral("select name from pragma_table_info('vr_game2') order by cid")));
    }

    void failedCommitIsReportedAndKeepsEarlierGames()
    {
        {
            LocalDatabase db;
            QVERIFY(db.open());
            QVERIFY(db.saveGame(game(QStringLiteral("1001"), QStringLiteral("星际漫步")).get()));
            db.close();
        }
        const QString journal = LocalDatabase::filePath() + QStringLiteral("-journal");
        {
            LocalDatabase db;
            QVERIFY(db.open());
            QVERIFY(db.saveGame(game(QStringLiteral("1002"), QStringLiteral("深海探险")).get()));
            // The commit must remove the journal; a folder in its place makes it fail.
            QVERIFY(QFile::exists(journal));
            QVERIFY(QFile::remove(journal));
            QVERIFY(QDir().mkdir(journal));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("commit to .*Orbela\\.db failed")));
            db.close();
        }
        QVERIFY(QDir().rmdir(journal));
        LocalDatabase db;
        QVERIFY(db.open());
        std::unique_ptr<VRAppInfo> earlier(db.loadGame(QStringLiteral("1001")));
        QVERIFY(earlier);
        QCOMPARE(earlier->cnName, QStringLiteral("星际漫步"));
        db.close();
    }

    void legacyGamesMoveToNewTableAsPcGames()
    {
        {
            Inspector inspect;
            QVERIFY(inspect.exec(QStringLiteral(
                "create table vr_game (gameId TEXT primary key,cnName TEXT,enName TEXT,version TEXT,localSize INT,"
                "md5 TEXT,serverPicSource TEXT,serverAppSource TEXT,localSource TEXT,deviceId TEXT,launcher TEXT,"
                "launchParameter TEXT,downloadStatus INT)")));
            QVERIFY(inspect.exec(QStringLiteral(
                "insert into vr_game values('11','老游戏','Old''s Game','2.0',300,'abc','http://127.0.0.1/p.png',"
                "'http://127.0.0.1/g.zip','/games/11.zip','4','Old.exe','-a b',5)")));
            QVERIFY(inspect.exec(QStringLiteral(
                "insert into vr_game values('12','第二','Second','1',0,'','','','','4','','',12)")));
        }
        LocalDatabase db;
        QVERIFY(db.open());
        QVERIFY(db.hasLegacyGameTable());
        QVERIFY(db.migrateLegacyGames());
        QVERIFY(!db.hasLegacyGameTable());
        db.close();

        QVERIFY(db.open());
        std::unique_ptr<VRAppInfo> first(db.loadGame(QStringLiteral("11")));
        std::unique_ptr<VRAppInfo> second(db.loadGame(QStringLiteral("12")));
        db.close();
        QVERIFY(first && second);
        VRAppInfo expected;
        expected.gameId = "11";
        expected.cnName = QStringLiteral("老游戏");
        expected.enName = "Old's Game";
        expected.version = "2.0";
        expected.localSize = 300;
        expected.md5 = "abc";
        expected.serverPicSource = "http://127.0.0.1/p.png";
        expected.serverAppSource = "http://127.0.0.1/g.zip";
        expected.localSource = "/games/11.zip";
        expected.deviceId = "4";
        expected.launcher = "Old.exe";
        expected.launchParameter = "-a b";
        expected.downloadStatus = 5;
        compareStoredFields(*first, expected);
        QCOMPARE(second->platform, 0);
        QCOMPARE(second->downloadStatus, 0); // 12 is no state
        Inspector inspect;
        QCOMPARE(inspect.column(QStringLiteral("select platform from vr_game2 order by gameId")),
                 QStringList({"0", "0"}));
        QCOMPARE(inspect.column(QStringLiteral("select name from sqlite_master where name='vr_game'")),
                 QStringList());
    }

    void legacyTableStaysWhileAGameCannotMove()
    {
        {
            Inspector inspect;
            QVERIFY(inspect.exec(QStringLiteral("create table vr_game (gameId TEXT primary key,cnName TEXT)")));
            QVERIFY(inspect.exec(QStringLiteral("insert into vr_game values('21','ok')")));
            QVERIFY(inspect.exec(QStringLiteral("insert into vr_game values('../21','escapes its folder')")));
        }
        LocalDatabase db;
        QVERIFY(db.open());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^replace into vr_game2 failed! error : .+"));
        QVERIFY(!db.migrateLegacyGames());
        QVERIFY(db.hasLegacyGameTable());
        db.close();
        Inspector inspect;
        QCOMPARE(inspect.column(QStringLiteral("select gameId from vr_game2")), QStringList({"21"}));
        QCOMPARE(inspect.column(QStringLiteral("select count(*) from vr_game")), QStringList({"2"}));
    }

    void awkwardTextsSurviveARoundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("apostrophe") << "Tom's \"VR\" ''";
        QTest::newRow("placeholders") << "%1 %2 %14 %%3";
        QTest::newRow("percent-encoded URL") << "http://127.0.0.1/a%20b%31.zip?x=%271";
        QTest::newRow("chinese") << QStringLiteral("星际探险：《序章》");
        QTest::newRow("sql") << "x'); drop table vr_game2; --";
        QTest::newRow("empty") << "";
    }

    void awkwardTextsSurviveARoundTrip()
    {
        QFETCH(QString, text);
        VRAppInfo info;
        info.gameId = "4096";
        info.cnName = text;
        info.enName = text + "e";
        info.version = text + "v";
        info.platform = 2;
        info.localSize = 1536;
        info.md5 = text + "m";
        info.serverPicSource = text + "p";
        info.serverAppSource = text + "a";
        info.localSource = text + "l";
        info.deviceId = text + "d";
        info.launcher = text + "r";
        info.launchParameter = text + " 1";
        info.downloadStatus = 6;
        info.downloadTaskId = 3;
        info.picTaskId = 4;

        LocalDatabase db;
        QVERIFY(db.open());
        QVERIFY(db.saveGame(&info));
        QVERIFY(db.saveGame(&info)); // the record is not changed by saving
        db.close();
        QCOMPARE(info.enName, text + "e");

        LocalDatabase reader;
        QVERIFY(reader.open());
        std::unique_ptr<VRAppInfo> loaded(reader.loadGame("4096"));
        const QList<VRAppInfo *> all = reader.loadGames();
        reader.close();
        QVERIFY(loaded);
        info.downloadTaskId = info.picTaskId = 0;
        compareStoredFields(*loaded, info);
        QCOMPARE(all.size(), 1);
        compareStoredFields(*all.first(), info);
        qDeleteAll(all);
    }

    void secondSaveOfAnIdReplacesTheRow()
    {
        LocalDatabase db;
        QVERIFY(db.open());
        auto info = game("7", QStringLiteral("第一"));
        QVERIFY(db.saveGame(info.get()));
        info->cnName = QStringLiteral("第二");
        info->downloadStatus = 2;
        QVERIFY(db.saveGame(info.get()));
        const QList<VRAppInfo *> all = db.loadGames();
        db.close();
        QCOMPARE(all.size(), 1);
        QCOMPARE(all.first()->cnName, QStringLiteral("第二"));
        QCOMPARE(all.first()->downloadStatus, 2);
        qDeleteAll(all);
    }

    void gameWithoutDigitIdIsRefused_data()
    {
        QTest::addColumn<QString>("gameId");
        QTest::newRow("empty") << "";
        QTest::newRow("path") << "../1";
        QTest::newRow("quote") << "1'";
    }

    void gameWithoutDigitIdIsRefused()
    {
        QFETCH(QString, gameId);
        LocalDatabase db;
        QVERIFY(db.open());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^replace into vr_game2 failed! error : .+"));
        QVERIFY(!db.saveGame(game(gameId, "x").get()));
        QVERIFY(db.loadGames().isEmpty());
        db.close();
    }

    void storedStatesMapToDownloadStates_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("state");
        QTest::newRow("min") << INT_MIN << 0;
        QTest::newRow("-1") << -1 << 0;
        for (int value = 0; value <= 9; ++value)
            QTest::newRow(qPrintable(QString::number(value))) << value << value;
        QTest::newRow("10") << 10 << 0;
        QTest::newRow("12") << 12 << 0;
        QTest::newRow("max") << INT_MAX << 0;
    }

    void storedStatesMapToDownloadStates()
    {
        QFETCH(int, stored);
        QFETCH(int, state);
        QCOMPARE(LocalDatabase::toDownloadStatus(stored), state);

        // The same mapping applies to a value stored in the file.
        LocalDatabase db;
        QVERIFY(db.open());
        db.close();
        {
            Inspector inspect;
            QVERIFY(inspect.exec(QStringLiteral("insert into vr_game2 (gameId, downloadStatus) values('5', %1)")
                                     .arg(stored)));
        }
        QVERIFY(db.open());
        std::unique_ptr<VRAppInfo> loaded(db.loadGame("5"));
        db.close();
        QVERIFY(loaded);
        QCOMPARE(loaded->downloadStatus, state);
    }

    // Only 1 and 2 are mobile packages: any other stored platform reads as a PC game.
    void storedPlatformsReadAsKnownOnes_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("platform");
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("2") << 2 << 2;
        QTest::newRow("3") << 3 << 0;
        QTest::newRow("-1") << -1 << 0;
    }

    void storedPlatformsReadAsKnownOnes()
    {
        QFETCH(int, stored);
        QFETCH(int, platform);
        LocalDatabase db;
        QVERIFY(db.open());
        db.close();
        {
            Inspector inspect;
            QVERIFY(inspect.exec(QStringLiteral("insert into vr_game2 (gameId, platform, downloadStatus) values('5', %1, 5)")
                                     .arg(stored)));
        }
        QVERIFY(db.open());
        std::unique_ptr<VRAppInfo> loaded(db.loadGame("5"));
        const QList<VRAppInfo *> all = db.loadGames();
        db.close();
        QVERIFY(loaded);
        QCOMPARE(loaded->platform, platform);
        QCOMPARE(all.size(), 1);
        QCOMPARE(all.first()->platform, platform);
        qDeleteAll(all);
    }

    void loadGameGivesANewRecordOrNull()
    {
        LocalDatabase db;
        QVERIFY(db.open());
        QVERIFY(db.saveGame(game("1", "a").get()));
        std::unique_ptr<VRAppInfo> first(db.loadGame("1"));
        std::unique_ptr<VRAppInfo> second(db.loadGame("1"));
        QVERIFY(first && second);
        QVERIFY(first.get() != second.get());
        first->cnName = "changed";
        QCOMPARE(second->cnName, QStringLiteral("a"));
        QVERIFY(db.loadGame("2") == nullptr);
        QVERIFY(db.loadGame("1' or '1'='1") == nullptr);
        db.close();
    }

    void failedSelectGivesNothing()
    {
        LocalDatabase db;
        QVERIFY(db.open());
        QVERIFY(db.saveGame(game("1", "a").get()));
        const QList<VRAppInfo *> before = db.loadGames();
        QCOMPARE(before.size(), 1);
        qDeleteAll(before);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^select vr_game failed! error : .+"));
        QVERIFY(db.loadLegacyGames().isEmpty());
        // The table disappears under the open object: the earlier result is not handed out again.
        QSqlQuery(QSqlDatabase::database()).exec(QStringLiteral("drop table vr_game2"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^select vr_game2 failed! error : .+"));
        QVERIFY(db.loadGames().isEmpty());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^select vr_game2 failed! error : .+"));
        QVERIFY(db.loadGame("1") == nullptr);
        db.close();
    }

    void deleteGameRemovesOnlyThatId()
    {
        LocalDatabase db;
        QVERIFY(db.open());
        for (const char *id : {"1", "2", "3"})
            QVERIFY(db.saveGame(game(id, QStringLiteral("同名")).get()));
        QVERIFY(db.deleteGame("2"));
        QVERIFY(db.deleteGame("99")); // nothing to delete is no failure
        db.close();
        Inspector inspect;
        QCOMPARE(inspect.column(QStringLiteral("select gameId from vr_game2 order by gameId")), QStringList({"1", "3"}));
    }

    void nestedObjectsCommitAtEachClose()
    {
        LocalDatabase outer;
        QVERIFY(outer.open());
        QVERIFY(outer.saveGame(game("1", "outer").get()));
        {
            LocalDatabase inner;
            QVERIFY(inner.open());
            QVERIFY(inner.saveGame(game("2", "inner").get()));
            inner.close();
        }
        {
            Inspector inspect; // both writes are on disk once the inner object closed
            QCOMPARE(inspect.column(QStringLiteral("select gameId from vr_game2 order by gameId")),
                     QStringList({"1", "2"}));
        }
        QVERIFY(outer.saveGame(game("3", "outer again").get()));
        outer.close();
        QVERIFY(!QSqlDatabase::database(QLatin1String(QSqlDatabase::defaultConnection), false).isOpen());
        Inspector inspect;
        QCOMPARE(inspect.column(QStringLiteral("select gameId from vr_game2 order by gameId")),
                 QStringList({"1", "2", "3"}));
    }

    void userFlagsReadTheFirstRowAndNamesTheLast()
    {
        LocalDatabase db;
        QVERIFY(db.open());
        QVERIFY(!db.isAutoLogin());
        QVERIFY(!db.isRemember());
        QString name = "kept", pwd = "kept";
        QVERIFY(db.getUser(name, pwd));
        QCOMPARE(name, QStringLiteral("kept"));
        QCOMPARE(pwd, QStringLiteral("kept"));

        QVERIFY(db.saveUser("100", "true", "true", "true", "Zmlyc3Q=", "cHcx"));
        QVERIFY(db.saveUser("200", "false", "false", "true", "O'Brien", "p'w"));
        QVERIFY(db.isAutoLogin());
        QVERIFY(db.isRemember());
        QVERIFY(db.getUser(name, pwd));
        QCOMPARE(name, QStringLiteral("O'Brien"));
        QCOMPARE(pwd, QStringLiteral("p'w"));

        QVERIFY(db.setAutoLogin(false));
        QVERIFY(!db.isAutoLogin());
        QVERIFY(db.setAutoLogin(true));
        QVERIFY(db.isAutoLogin());
        QVERIFY(db.setRemember(true));
        QVERIFY(db.getUser(name, pwd));
        QCOMPARE(pwd, QStringLiteral("p'w"));
        QVERIFY(db.setRemember(false));
        QVERIFY(!db.isRemember());
        QVERIFY(db.getUser(name, pwd));
        QCOMPARE(pwd, QString(""));
        QVERIFY(db.setLoggedOut());
        db.close();
        {
            Inspector inspect;
            QCOMPARE(inspect.column(QStringLiteral("select isLogin from vr_user")), QStringList({"false", "false"}));
            QCOMPARE(inspect.column(QStringLiteral("select remember from vr_user")), QStringList({"false", "false"}));
            // Only the exact word "true" counts.
            QVERIFY(inspect.exec(QStringLiteral("update vr_user set autoLogin='TRUE', remember='true '")));
        }
        QVERIFY(db.open());
        QVERIFY(!db.isAutoLogin());
        QVERIFY(!db.isRemember());
        QVERIFY(db.deleteUsers());
        name = "after";
        QVERIFY(db.getUser(name, pwd));
        QCOMPARE(name, QStringLiteral("after"));
        db.close();
    }
};

QTEST_GUILESS_MAIN(TestLocalDatabase)
#include "TestLocalDatabase.moc"
