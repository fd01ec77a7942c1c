// The local games manager page and its game rows, offscreen: looks by state
// and by signal, size and progress labels, names, the loading picture, the
// update and buy flags, row order, replacement, removal and the layout.

#include "core/AppFolders.h"
#include "core/game/VRAppInfo.h"
#include "gui/NetworkPicture.h"
#include "gui/games/listItem.h"
#include "gui/games/mangerForm.h"
#include "tests/LogCapture.h"
#include "tests/StoreServer.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

std::unique_ptr<VRAppInfo> record(const QString &gameId, int state, int platform = 0)
{
    std::unique_ptr<VRAppInfo> info(new VRAppInfo);
    info->gameId = gameId;
    info->cnName = QStringLiteral("星际漫步");
    info->enName = QStringLiteral("Star Walk");
    info->md5 = QStringLiteral("0123456789abcdef0123456789abcdef");
    info->localSize = 512;
    info->platform = platform;
    info->downloadStatus = state;
    return info;
}

using Emit = void (VRAppInfo::*)();

} // namespace

class TestGameRows : public QObject
{
    Q_OBJECT

private slots:
    void lookByStoredState_data();
    void lookByStoredState();
    void lookBySignal_data();
    void lookBySignal();
    void progressLabel();
    void namesAndPicture();
    void hostilePictureShowsTheDefault_data();
    void hostilePictureShowsTheDefault();
    void staleOrOrphanDecodesAreDropped();
    void updateAndBuyFlags_data();
    void updateAndBuyFlags();
    void managerOrderRemovalLayout();

private:
    std::unique_ptr<StoreServer> server;
};

void TestGameRows::lookByStoredState_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("platform");
    QTest::addColumn<QString>("stateText");
    QTest::addColumn<QString>("buttonText");
    QTest::addColumn<bool>("buttonShown");
    QTest::addColumn<bool>("barShown");
    QTest::newRow("downloading") << 0 << 0 << "下载中" << "暂停下载" << true << true;
    QTest::newRow("paused") << 1 << 0 << "暂停中" << "继续下载" << true << true;
    QTest::newRow("downloaded") << 2 << 0 << "安装中" << "开始游戏" << false << false;
    QTest::newRow("failed") << 3 << 0 << "下载失败" << "重新下载" << true << true;
    QTest::newRow("installed PC") << 5 << 0 << "" << "开始游戏" << true << false;
    QTest::newRow("installed mobile") << 5 << 1 << "" << "查看游戏" << true << false;
    QTest::newRow("install failed") << 6 << 0 << "安装失败" << "重新安装" << true << false;
}

void TestGameRows::lookByStoredState()
{
    QFETCH(int, state);
    QFETCH(int, platform);
    QFETCH(QString, stateText);
    QFETCH(QString, buttonText);
    QFETCH(bool, buttonShown);
    QFETCH(bool, barShown);
    auto info = record(QStringLiteral("1001"), state, platform);
    listItem row;
    row.setAppInfo(info.get());
    row.show();
    QCOMPARE(row.stateLabel()->text(), stateText);
    QCOMPARE(row.actionButton()->text(), buttonText);
    QCOMPARE(row.actionButton()->isVisible(), buttonShown);
    QCOMPARE(row.progress()->isVisible(), barShown);
    QVERIFY(!row.updateButton()->isVisible());
    QVERIFY(!row.buyButton()->isVisible());
    QCOMPARE(row.sizeLabel()->text(), QStringLiteral("游戏大小：512MB"));
}

void TestGameRows::lookBySignal_data()
{
    QTest::addColumn<int>("startState");
    QTest::addColumn<void *>("signal");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("stateText");
    QTest::addColumn<QString>("buttonText");
    QTest::addColumn<bool>("buttonShown");
    QTest::addColumn<QString>("sizeText");
    const auto entry = [](Emit e) { return reinterpret_cast<void *>(new Emit(e)); };
    QTest::newRow("resume") << 1 << entry(&VRAppInfo::notifyDownloadResume) << 0 << "下载中" << "暂停下载" << true
                            << "游戏大小：512MB";
    QTest::newRow("pause") << 0 << entry(&VRAppInfo::notifyDownloadPause) << 1 << "暂停中" << "继续下载" << true
                           << "游戏大小：512MB";
    QTest::newRow("downloaded") << 0 << entry(&VRAppInfo::notifyDownloadFinished) << 2 << "安装中" << "暂停下载"
                                << false << "游戏大小：512MB";
    QTest::newRow("download failed") << 0 << entry(&VRAppInfo::notifyAppDownloadFail) << 3 << "下载失败" << "重新下载"
                                     << true << "游戏大小：512.00MB";
    QTest::newRow("installed") << 2 << entry(&VRAppInfo::notifyAppInstallFinished) << 5 << "" << "开始游戏" << true
                               << "游戏大小：512MB";
    QTest::newRow("install failed") << 2 << entry(&VRAppInfo::notifyAppInstallFail) << 6 << "安装失败" << "重新安装"
                                    << true << "游戏大小：512MB";
    QTest::newRow("launch start") << 5 << entry(&VRAppInfo::notifyAppLaunchStart) << 5 << "游戏中" << "开始游戏" << true
                                  << "游戏大小：512MB";
    QTest::newRow("launch failed") << 5 << entry(&VRAppInfo::notifyAppLaunchFail) << 5 << "启动失败" << "开始游戏"
                                   << true << "游戏大小：512MB";
    QTest::newRow("launch finished") << 5 << entry(&VRAppInfo::notifyAppLaunchFinished) << 5 << "" << "开始游戏" << true
                                     << "游戏大小：512MB";
}

void TestGameRows::lookBySignal()
{
    QFETCH(int, startState);
    QFETCH(void *, signal);
    QFETCH(int, state);
    QFETCH(QString, stateText);
    QFETCH(QString, buttonText);
    QFETCH(bool, buttonShown);
    QFETCH(QString, sizeText);
    std::unique_ptr<Emit> emitter(reinterpret_cast<Emit *>(signal));
    auto info = record(QStringLiteral("1001"), startState);
    listItem row;
    row.setAppInfo(info.get());
    row.show();
    (info.get()->**emitter)();
    QCOMPARE(info->downloadStatus, state);
    QCOMPARE(row.stateLabel()->text(), stateText);
    QCOMPARE(row.actionButton()->text(), buttonText);
    QCOMPARE(row.actionButton()->isVisible(), buttonShown);
    QCOMPARE(row.sizeLabel()->text(), sizeText);
}

void TestGameRows::progressLabel()
{
    auto info = record(QStringLiteral("1001"), VRAppInfo::Installed);
    listItem row;
    row.setAppInfo(info.get());
    row.show();
    QVERIFY(!row.progress()->isVisible());
    info->notifyUpdateDownloadProgress(307200, 1073741824);
    QCOMPARE(row.sizeLabel()->text(), QStringLiteral("游戏大小：300kb/1GB"));
    QCOMPARE(info->localSize, 1024);
    QVERIFY(row.progress()->isVisible());
    QCOMPARE(row.progress()->value(), 0);
    // A row showing "开始游戏" takes the downloading look at the first progress.
    QCOMPARE(row.actionButton()->text(), QStringLiteral("暂停下载"));
    QCOMPARE(row.stateLabel()->text(), QStringLiteral("下载中"));
    info->notifyUpdateDownloadProgress(805306368, 1610612736);
    QCOMPARE(row.sizeLabel()->text(), QStringLiteral("游戏大小：768MB/1.50GB"));
    QCOMPARE(row.progress()->value(), 50);
}

void TestGameRows::namesAndPicture()
{
    auto info = record(QStringLiteral("1001"), VRAppInfo::Installed);
    info->cnName = QStringLiteral("一二三四五六七八九十壹贰");
    info->enName = QStringLiteral("Tom's Game");
    listItem row;
    row.setAppInfo(info.get());
    row.show();
    QCOMPARE(row.cnNameLabel()->text(), QStringLiteral("一二三四五六七八九十壹..."));
    QCOMPARE(row.enNameLabel()->text(), QStringLiteral("Tom's Game"));
    // No picture yet: the loading animation until the picture arrives.
    QVERIFY(row.loadingLabel()->isVisible());
    QVERIFY(row.loadingLabel()->movie());
    QImage image(64, 36, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(getCachesDir() + info->md5, "PNG"));
    QFile picture(getCachesDir() + info->md5);
    info->notifyPicDownloadFinished();
    // Decoded beside the window thread.
    QTRY_VERIFY(!row.loadingLabel()->isVisible());
    QVERIFY(row.iconLabel()->isVisible());
    QCOMPARE(row.iconLabel()->pixmap()->size(), QSize(64, 36));
    QFile::remove(picture.fileName());
}

void TestGameRows::hostilePictureShowsTheDefault_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("reason");
    QTest::newRow("declared 30000x30000") << "/download/pics/huge.png" << "it declares 30000x30000 pixels";
    QTest::newRow("truncated") << "/download/pics/truncated.png" << "";
    QTest::newRow("not a picture") << "/download/pics/not-a-picture.png" << "";
    QTest::newRow("file over 16 MiB") << "" << "16777217 bytes";
    const QString notDecoded = QStringLiteral("it is no PNG, JPEG, GIF or BMP picture");
    QTest::newRow("ICO holding a 16000x16000 PNG, named .png") << "/download/pics/icon-bomb.png" << notDecoded;
    QTest::newRow("TIFF") << "/download/pics/picture.tiff" << notDecoded;
    QTest::newRow("SVG") << "/download/pics/picture.svg" << notDecoded;
    QTest::newRow("GIF frame past its screen") << "/download/pics/frame-past-screen.gif"
                                               << "a frame of 5000x5000 pixels lies outside its 16x16 screen";
}

// A game's picture that is too large, declares too many pixels or does not
// decode leaves the row with the default picture and one log line.
void TestGameRows::hostilePictureShowsTheDefault()
{
    QFETCH(QString, picture);
    QFETCH(QString, reason);
    if (!server) {
        server.reset(new StoreServer);
        QVERIFY2(server->start(), qPrintable(server->error()));
    }
    auto info = record(QStringLiteral("1001"), VRAppInfo::Installed);
    const QString cached = getCachesDir() + info->md5;
    QFile::remove(cached);
    if (picture.isEmpty()) {
        QFile big(cached);
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.resize(kMaxPictureBytes + 1));
    } else {
        QVERIFY(QFile::copy(server->filePath(picture), cached));
    }
    listItem row;
    row.setAppInfo(info.get());
    row.show();
    LogCapture log;
    info->notifyPicDownloadFinished();
    QTRY_COMPARE(LogCapture::lines().size(), 1);
    QFile::remove(cached);
    QCOMPARE(LogCapture::count(QRegularExpression(QStringLiteral("^\\[Mivo\\] the picture of game 1001 is not shown: ")
                                                  + QRegularExpression::escape(reason))),
             1);
    QVERIFY(!row.loadingLabel()->isVisible());
    QVERIFY(row.iconLabel()->isVisible());
    QVERIFY(row.iconLabel()->pixmap(Qt::ReturnByValue).isNull());
    QVERIFY(row.iconLabel()->styleSheet().contains(QStringLiteral("yinyangshi.png")));
}

// Only a row's newest picture decode is shown, and none for a row that is
// gone by the time it is decoded.
void TestGameRows::staleOrOrphanDecodesAreDropped()
{
    const QString missing = QStringLiteral("00000000000000000000000000000000");
    auto info = record(QStringLiteral("1001"), VRAppInfo::Installed);
    const QString cached = getCachesDir() + info->md5;
    QImage image(64, 36, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(cached, "PNG"));
    QFile::remove(getCachesDir() + missing);
    auto *row = new listItem;
    row->setAppInfo(info.get());
    QTRY_VERIFY(!row->iconLabel()->pixmap(Qt::ReturnByValue).isNull());
    LogCapture log;
    // A missing picture would be refused with a log line, but a newer decode comes first.
    const QString shown = info->md5;
    info->md5 = missing;
    info->notifyPicDownloadFinished();
    info->md5 = shown;
    info->notifyPicDownloadFinished();
    QVERIFY(NetworkPicture::threads().waitForDone(5000));
    QTest::qWait(50);
    QVERIFY(!row->iconLabel()->pixmap(Qt::ReturnByValue).isNull());
    QVERIFY(LogCapture::lines().isEmpty());
    // The row goes while its picture decodes.
    info->md5 = missing;
    info->notifyPicDownloadFinished();
    delete row;
    QVERIFY(NetworkPicture::threads().waitForDone(5000));
    QTest::qWait(50);
    QVERIFY(LogCapture::lines().isEmpty());
    QFile::remove(cached);
}

void TestGameRows::updateAndBuyFlags_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("updateFlag");
    QTest::addColumn<int>("buyFlag");
    QTest::addColumn<bool>("updateShown");
    QTest::addColumn<bool>("buyShown");
    QTest::addColumn<bool>("actionShown");
    QTest::newRow("installed, update, not bought") << 5 << 1001 << 1 << 0 << true << true << false;
    QTest::newRow("installed, current, bought") << 5 << 1001 << 0 << 1 << false << false << true;
    QTest::newRow("unpacked this run") << 8 << 1001 << 1 << 0 << true << true << false;
    QTest::newRow("another game") << 5 << 1002 << 1 << 0 << false << false << true;
    QTest::newRow("downloading") << 0 << 1001 << 1 << 0 << false << false << true;
}

void TestGameRows::updateAndBuyFlags()
{
    QFETCH(int, state);
    QFETCH(int, key);
    QFETCH(int, updateFlag);
    QFETCH(int, buyFlag);
    QFETCH(bool, updateShown);
    QFETCH(bool, buyShown);
    QFETCH(bool, actionShown);
    auto info = record(QStringLiteral("1001"), state);
    listItem row;
    row.setAppInfo(info.get());
    row.show();
    row.setUpdateBtn(key, updateFlag);
    row.setBuyBtn(key, buyFlag);
    QCOMPARE(row.updateButton()->isVisible(), updateShown);
    QCOMPARE(row.buyButton()->isVisible(), buyShown);
    QCOMPARE(row.actionButton()->isVisible(), actionShown);
    // A later "current" answer brings the action button back.
    row.setUpdateBtn(key, 0);
    QVERIFY(!row.updateButton()->isVisible());
    QVERIFY(row.actionButton()->isVisible());
}

void TestGameRows::managerOrderRemovalLayout()
{
    mangerForm page;
    QCOMPARE(mangerForm::instance(), &page);
    page.resize(1102, 626);
    page.show();
    QVERIFY(page.emptyPanel()->isVisible());
    QCOMPARE(page.list()->geometry(), QRect(20, 153, 1061, 478));
    QCOMPARE(page.emptyPanel()->y(), 153);
    QVERIFY(!page.findChild<QWidget *>(QStringLiteral("comboBox"))->isVisible());
    QCOMPARE(page.findChild<QLabel *>(QStringLiteral("lb_notify"))->text(), QStringLiteral("矮油，您的本地暂时还木有游戏哇~"));

    auto a = record(QStringLiteral("1"), 5), b = record(QStringLiteral("2"), 5), c = record(QStringLiteral("3"), 5);
    for (VRAppInfo *info : {a.get(), b.get(), c.get()})
        page.addItem(info);
    QVERIFY(!page.emptyPanel()->isVisible());
    const auto keys = [&]() {
        QStringList list;
        for (int i = 0; i < page.list()->count(); ++i)
            list << page.list()->item(i)->text();
        return list;
    };
    QCOMPARE(keys(), (QStringList{"3", "2", "1"}));
    QCOMPARE(page.list()->item(0)->sizeHint(), QSize(377, 167));

    // The same game again replaces its row and goes to the top.
    auto again = record(QStringLiteral("1"), 0);
    page.addItem(again.get());
    QCOMPARE(keys(), (QStringList{"1", "3", "2"}));
    QCOMPARE(page.row(QStringLiteral("1"))->appInfo(), again.get());

    page.setItemHidden(QStringLiteral("3"), true);
    QVERIFY(page.list()->item(1)->isHidden());
    page.removeItem(QStringLiteral("unknown"));
    for (const char *key : {"1", "2", "3"})
        page.removeItem(QLatin1String(key));
    QCOMPARE(page.list()->count(), 0);
    QVERIFY(page.emptyPanel()->isVisible());
}

QTEST_MAIN(TestGameRows)
#include "TestGameRows.moc"
