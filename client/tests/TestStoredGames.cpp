#include "core/AppFolders.h"
#include "core/game/StoredGames.h"
#include "core/game/VRAppInfo.h"

#include <QFile>
#include <QtTest>

Q_DECLARE_METATYPE(StoredGameStep)

class TestStoredGames : public QObject
{
    Q_OBJECT

private slots:
    void routing_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("platform");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<bool>("package");
        QTest::addColumn<StoredGameStep>("step");
        QTest::newRow("downloading") << 0 << 0 << false << false << StoredGameStep::Download;
        QTest::newRow("downloaded, package there") << 2 << 0 << false << true << StoredGameStep::Install;
        QTest::newRow("downloaded, package gone") << 2 << 0 << false << false << StoredGameStep::Download;
        QTest::newRow("paused, folder gone") << 1 << 0 << false << false << StoredGameStep::Forget;
        QTest::newRow("failed, folder gone") << 3 << 0 << false << false << StoredGameStep::Forget;
        QTest::newRow("installed, folder there") << 5 << 0 << true << false << StoredGameStep::ShowRow;
        QTest::newRow("installed, folder gone") << 5 << 0 << false << false << StoredGameStep::Forget;
        QTest::newRow("android package") << 5 << 1 << false << false << StoredGameStep::ShowRow;
        QTest::newRow("paused ios package") << 1 << 2 << false << false << StoredGameStep::ShowRow;
    }

    void routing()
    {
        QFETCH(int, state);
        QFETCH(int, platform);
        QFETCH(bool, folder);
        QFETCH(bool, package);
        QFETCH(StoredGameStep, step);
        VRAppInfo game;
        game.gameId = QStringLiteral("1001");
        game.downloadStatus = state;
        game.platform = platform;
        QCOMPARE(stepForStoredGame(game, folder, package), step);
    }

    void exitDeletesOnlyInstalledGamesPackages()
    {
        // state -> whether its package may go
        const QList<QPair<int, bool>> states = {{0, false}, {2, false}, {4, false}, {5, true}, {6, false},
                                                {8, true}};
        QList<VRAppInfo *> games;
        for (int i = 0; i < states.size(); ++i) {
            auto *game = new VRAppInfo;
            game->gameId = QString::number(2000 + i);
            game->downloadStatus = states.at(i).first;
            games.append(game);
            QFile package(pcPackagePath(game->gameId));
            QVERIFY(package.open(QIODevice::WriteOnly));
        }
        QFile stray(getZipsDir() + QStringLiteral("stray.zip"));
        QVERIFY(stray.open(QIODevice::WriteOnly));
        QCOMPARE(deleteInstalledPackages(games), 2);
        for (int i = 0; i < states.size(); ++i)
            QCOMPARE(QFile::exists(pcPackagePath(games.at(i)->gameId)), !states.at(i).second);
        QVERIFY(stray.exists());
        for (VRAppInfo *game : games)
            QFile::remove(pcPackagePath(game->gameId));
        stray.remove();
        qDeleteAll(games);
    }
};

QTEST_GUILESS_MAIN(TestStoredGames)
#include "TestStoredGames.moc"
