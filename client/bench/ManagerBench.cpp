// 10,000 stored games with their pictures on disk: times loading them from
// the database, then hands them to the game road as the start-up does, rows
// into the local games manager under a running event loop, and measures the
// longest gap between two turns of the loop. Data lives beside the program.
// The last lines are "load_ms=<best of three>" and "max_stall_ms=<gap>".

#include "core/AppFolders.h"
#include "core/AppSettings.h"
#include "core/game/GameRoad.h"
#include "core/game/LocalDatabase.h"
#include "core/game/VRAppInfo.h"
#include "gui/games/mangerForm.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTimer>

#include <cstdio>

namespace {

const int kGames = 10000;

class ManagerHost : public GameRoadHost
{
public:
    explicit ManagerHost(mangerForm &page) : page(page) {}
    void addManagerRow(VRAppInfo *info, bool atBottom) override { page.addItem(info, atBottom); }
    void removeManagerRow(const QString &gameId) override { page.removeItem(gameId); }
    void showManager() override {}
    int askUser(const QString &, const QString &, int) override { return 0; }
    void showLoginDialog() override {}
    void hideWindows() override {}
    void showWindows() override {}
    void openFolder(const QString &) override {}
    QString loggedInUserId() override { return QString(); }

private:
    mangerForm &page;
};

bool makeStoredGames()
{
    LocalDatabase database;
    if (!database.open())
        return false;
    QList<VRAppInfo *> games = database.loadGames();
    const bool ready = games.size() == kGames;
    qDeleteAll(games);
    if (ready) {
        database.close();
        return true;
    }
    QFile picture(QStringLiteral(":/res/res/yinyangshi.png"));
    const QByteArray pictureBytes = picture.open(QIODevice::ReadOnly) ? picture.readAll() : QByteArray("png");
    for (int i = 0; i < kGames; ++i) {
        VRAppInfo game;
        game.gameId = QString::number(100000 + i);
        game.cnName = QStringLiteral("基准游戏%1").arg(i);
        game.enName = QStringLiteral("Bench Game %1").arg(i);
        game.version = QStringLiteral("1.0.0");
        game.md5 = QString::fromLatin1(QCryptographicHash::hash(game.gameId.toLatin1(), QCryptographicHash::Md5).toHex());
        // Mobile packages keep their rows without a games folder on disk.
        game.platform = 1;
        game.deviceId = QStringLiteral("1");
        game.localSize = 1 + i % 3000;
        game.downloadStatus = VRAppInfo::Installed;
        if (!database.saveGame(&game))
            return false;
        QFile file(getCachesDir() + game.md5);
        if (!file.exists() && (!file.open(QIODevice::WriteOnly) || file.write(pictureBytes) != pictureBytes.size()))
            return false;
    }
    database.close();
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
        if (type >= QtWarningMsg)
            fprintf(stderr, "%s\n", qPrintable(text));
    });
    if (!makeStoredGames()) {
        fprintf(stderr, "cannot write the stored games beside the program\n");
        return 1;
    }

    double bestLoadMs = 1e9;
    for (int round = 0; round < 3; ++round) {
        LocalDatabase database;
        QElapsedTimer clock;
        clock.start();
        database.open();
        QList<VRAppInfo *> games = database.loadGames();
        database.close();
        bestLoadMs = qMin(bestLoadMs, clock.nsecsElapsed() / 1e6);
        if (games.size() != kGames) {
            fprintf(stderr, "loaded %d games, expected %d\n", games.size(), kGames);
            return 1;
        }
        qDeleteAll(games);
    }
    printf("loaded %d games, best of three\n", kGames);

    mangerForm page;
    page.resize(1102, 626);
    page.show();
    ManagerHost host(page);
    AppSettings settings;
    settings.installPath = getVrGamesDir();
    GameRoad road(host, settings);

    LocalDatabase database;
    database.open();
    const QList<VRAppInfo *> games = database.loadGames();
    database.close();

    // A zero timer runs once per loop turn; the gap between two runs is how
    // long the loop was held.
    QElapsedTimer total;
    QElapsedTimer sinceTurn;
    qint64 maxStallNs = 0;
    QTimer turn;
    turn.setInterval(0);
    QObject::connect(&turn, &QTimer::timeout, [&]() {
        maxStallNs = qMax(maxStallNs, sinceTurn.nsecsElapsed());
        sinceTurn.restart();
        static int reported = 0;
        if (page.list()->count() >= reported + 1000) {
            reported = page.list()->count() / 1000 * 1000;
            printf("rows=%d after %.0f ms, longest stall so far %.1f ms\n", page.list()->count(),
                   total.nsecsElapsed() / 1e6, maxStallNs / 1e6);
            fflush(stdout);
        }
        if (page.list()->count() == kGames)
            app.quit();
    });
    total.start();
    sinceTurn.start();
    turn.start();
    QTimer::singleShot(0, &road, [&]() { road.routeStoredGames(games); });
    app.exec();
    printf("rows=%d in %.0f ms\n", page.list()->count(), total.nsecsElapsed() / 1e6);
    printf("load_ms=%.1f\n", bestLoadMs);
    printf("max_stall_ms=%.1f\n", maxStallNs / 1e6);
    return 0;
}
