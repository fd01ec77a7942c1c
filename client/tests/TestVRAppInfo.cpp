#include "core/game/VRAppInfo.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaMethod>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

struct Notifier
{
    const char *signal;
    void (*notify)(VRAppInfo &);
};

const Notifier kNotifiers[] = {
    {"UpdateDownloadProgress", [](VRAppInfo &i) { i.notifyUpdateDownloadProgress(5 * 1048576LL, 6000000000LL); }},
    {"DownloadResume", [](VRAppInfo &i) { i.notifyDownloadResume(); }},
    {"DownloadPause", [](VRAppInfo &i) { i.notifyDownloadPause(); }},
    {"DownloadFinished", [](VRAppInfo &i) { i.notifyDownloadFinished(); }},
    {"AppDownloadFail", [](VRAppInfo &i) { i.notifyAppDownloadFail(); }},
    {"PicDownloadFinished", [](VRAppInfo &i) { i.notifyPicDownloadFinished(); }},
    {"AppInstalling", [](VRAppInfo &i) { i.notifyAppInstalling(); }},
    {"AppInstallFinished", [](VRAppInfo &i) { i.notifyAppInstallFinished(); }},
    {"AppInstallFail", [](VRAppInfo &i) { i.notifyAppInstallFail(); }},
    {"AppLaunchStart", [](VRAppInfo &i) { i.notifyAppLaunchStart(); }},
    {"AppLaunchFinished", [](VRAppInfo &i) { i.notifyAppLaunchFinished(); }},
    {"AppLaunchFail", [](VRAppInfo &i) { i.notifyAppLaunchFail(); }},
    {"AppUninstallFinished", [](VRAppInfo &i) { i.notifyAppUninstallFinished(); }},
};

QJsonObject parse(const char *json)
{
    return QJsonDocument::fromJson(json).object();
}

// One spy per signal of the record, keyed by the signal's name.
std::map<QByteArray, std::unique_ptr<QSignalSpy>> spyOnEverySignal(VRAppInfo &info)
{
    std::map<QByteArray, std::unique_ptr<QSignalSpy>> spies;
    const QMetaObject *meta = info.metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() == QMetaMethod::Signal)
            spies[method.name()] = std::make_unique<QSignalSpy>(&info, method);
    }
    return spies;
}

} // namespace

class TestVRAppInfo : public QObject
{
    Q_OBJECT

private slots:
    void newRecordIsEmptyAndZero()
    {
        VRAppInfo info;
        QVERIFY(info.parent() == nullptr);
        for (const QString *text : {&info.deviceId, &info.gameId, &info.cnName, &info.enName, &info.version, &info.md5,
                                    &info.serverAppSource, &info.serverPicSource, &info.localSource, &info.launcher,
                                    &info.launchParameter})
            QVERIFY(text->isEmpty());
        for (int value : {info.platform, info.localSize, info.downloadTaskId, info.picTaskId, info.downloadStatus})
            QCOMPARE(value, 0);
    }

    void readersFillEveryKeyedField_data()
    {
        QTest::addColumn<bool>("pageLink");
        QTest::addColumn<QByteArray>("json");
        QJsonObject object{{"gameId", "1024"},
                           {"cnName", QStringLiteral("星际'探险")},
                           {"enName", "Star's Trek"},
                           {"version", "1.0.2"},
                           {"md5", "D41D8CD98F00B204E9800998ECF8427E"},
                           {"exe_dl_path", "http://127.0.0.1/p%20x.zip"},
                           {"pic_dl_path", "http://127.0.0.1/p.png"},
                           {"deviceId", "3"},
                           {"launcher", "bin/Game"},
                           {"launcherParameter", "-vr 1"},
                           {"localSize", 77},
                           {"localSource", "/x"},
                           {"downloadStatus", 5},
                           {"downloadTaskId", 9}};
        object.insert("platform", "1");
        QTest::newRow("page link") << true << QJsonDocument(object).toJson();
        object.insert("platform", 1);
        QTest::newRow("game data") << false << QJsonDocument(object).toJson();
    }

    void readersFillEveryKeyedField()
    {
        QFETCH(bool, pageLink);
        QFETCH(QByteArray, json);
        const QJsonObject object = QJsonDocument::fromJson(json).object();
        QVERIFY(!object.isEmpty());
        std::unique_ptr<VRAppInfo> info(pageLink ? VRAppInfo::fromPageLink(object) : VRAppInfo::fromGameData(object));
        QCOMPARE(info->gameId, QStringLiteral("1024"));
        QCOMPARE(info->platform, 1);
        QCOMPARE(info->cnName, QStringLiteral("星际'探险"));
        QCOMPARE(info->enName, QStringLiteral("Star's Trek"));
        QCOMPARE(info->version, QStringLiteral("1.0.2"));
        QCOMPARE(info->md5, QStringLiteral("D41D8CD98F00B204E9800998ECF8427E"));
        QCOMPARE(info->serverAppSource, QStringLiteral("http://127.0.0.1/p%20x.zip"));
        QCOMPARE(info->serverPicSource, QStringLiteral("http://127.0.0.1/p.png"));
        QCOMPARE(info->deviceId, QStringLiteral("3"));
        QCOMPARE(info->launcher, QStringLiteral("bin/Game"));
        QCOMPARE(info->launchParameter, QStringLiteral("-vr 1"));
        // Never read from JSON.
        QCOMPARE(info->localSize, 0);
        QVERIFY(info->localSource.isEmpty());
        QCOMPARE(info->downloadStatus, 0);
        QCOMPARE(info->downloadTaskId, 0);
        QCOMPARE(info->picTaskId, 0);
    }

    void platformDependsOnReader_data()
    {
        QTest::addColumn<bool>("pageLink");
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("platform");
        QTest::newRow("link, text 2") << true << QByteArray("{\"platform\":\"2\"}") << 2;
        QTest::newRow("link, text 1") << true << QByteArray(R"({"platform":"1"})") << 1;
        QTest::newRow("link, number 2") << true << QByteArray(R"({"platform":2})") << 0;
        QTest::newRow("link, text x") << true << QByteArray(R"({"platform":"x"})") << 0;
        QTest::newRow("link, missing") << true << QByteArray(R"({})") << 0;
        QTest::newRow("data, number 2") << false << QByteArray(R"({"platform":2})") << 2;
        QTest::newRow("data, text 2") << false << QByteArray("{\"platform\":\"2\"}") << 0;
        QTest::newRow("data, null") << false << QByteArray(R"({"platform":null})") << 0;
    }

    void platformDependsOnReader()
    {
        QFETCH(bool, pageLink);
        QFETCH(QByteArray, json);
        QFETCH(int, platform);
        const QJsonObject object = QJsonDocument::fromJson(json).object();
        std::unique_ptr<VRAppInfo> info(pageLink ? VRAppInfo::fromPageLink(object) : VRAppInfo::fromGameData(object));
        QCOMPARE(info->platform, platform);
    }

    void nonTextValueLeavesFieldEmpty_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("number") << QByteArray(R"({"gameId":1024,"cnName":7,"md5":1.5})");
        QTest::newRow("null") << QByteArray(R"({"gameId":null,"cnName":null,"md5":null})");
        QTest::newRow("object and array") << QByteArray(R"({"gameId":{"a":"1"},"cnName":["x"],"md5":true})");
        QTest::newRow("missing") << QByteArray(R"({"other":"1"})");
    }

    void nonTextValueLeavesFieldEmpty()
    {
        QFETCH(QByteArray, json);
        const QJsonObject object = QJsonDocument::fromJson(json).object();
        for (bool pageLink : {true, false}) {
            std::unique_ptr<VRAppInfo> info(pageLink ? VRAppInfo::fromPageLink(object)
                                                     : VRAppInfo::fromGameData(object));
            QVERIFY(info->gameId.isEmpty());
            QVERIFY(info->cnName.isEmpty());
            QVERIFY(info->md5.isEmpty());
        }
    }

    void notifyEmitsItsOwnSignalOnly_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(kNotifiers)); ++i)
            QTest::newRow(kNotifiers[i].signal) << i;
    }

    void notifyEmitsItsOwnSignalOnly()
    {
        QFETCH(int, index);
        const Notifier &notifier = kNotifiers[index];
        for (int state = 0; state <= 9; state += 3) {
            VRAppInfo info;
            info.downloadStatus = state;
            auto spies = spyOnEverySignal(info);
            QCOMPARE(int(spies.size()), 14);
            notifier.notify(info);
            for (const auto &spy : spies) {
                const bool expected = spy.first == notifier.signal;
                QCOMPARE(spy.second->count(), expected ? 1 : 0);
                if (expected)
                    QCOMPARE(spy.second->first().at(0).value<VRAppInfo *>(), &info);
            }
            // Only the listeners write states; emitting alone changes nothing.
            QCOMPARE(info.downloadStatus, state);
        }
    }

    void progressCarriesByteCounts()
    {
        VRAppInfo info;
        QSignalSpy spy(&info, &VRAppInfo::UpdateDownloadProgress);
        info.notifyUpdateDownloadProgress(3000000000LL, 6000000000LL);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().at(1).toLongLong(), 3000000000LL);
        QCOMPARE(spy.first().at(2).toLongLong(), 6000000000LL);
    }

    void recordsOfOneGameAreIndependent()
    {
        const QJsonObject object = parse(R"({"gameId":"77","platform":"0"})");
        std::unique_ptr<VRAppInfo> row(VRAppInfo::fromPageLink(object));
        std::unique_ptr<VRAppInfo> copy(VRAppInfo::fromPageLink(object));
        QVERIFY(row.get() != copy.get());
        // A listener that pauses the row's record, as the manager row does.
        connect(row.get(), &VRAppInfo::DownloadPause, this, [](VRAppInfo *info) { info->downloadStatus = 1; });
        row->notifyDownloadPause();
        QCOMPARE(row->downloadStatus, 1);
        QCOMPARE(copy->downloadStatus, 0);
    }

    void gameIdAndMd5Checks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("gameId");
        QTest::addColumn<bool>("md5");
        QTest::newRow("digits") << "1024" << true << false;
        QTest::newRow("empty") << "" << false << false;
        QTest::newRow("path escape") << "../12" << false << false;
        QTest::newRow("quote") << "12'3" << false << false;
        QTest::newRow("full-width digit") << "１２" << false << false;
        QTest::newRow("md5 lower") << "d41d8cd98f00b204e9800998ecf8427e" << false << true;
        QTest::newRow("md5 upper") << "D41D8CD98F00B204E9800998ECF8427E" << false << true;
        QTest::newRow("md5 digits") << "01234567890123456789012345678901" << true << true;
        QTest::newRow("md5 31") << "d41d8cd98f00b204e9800998ecf8427" << false << false;
        QTest::newRow("md5 33") << "d41d8cd98f00b204e9800998ecf8427e0" << false << false;
        QTest::newRow("md5 non-hex") << "g41d8cd98f00b204e9800998ecf8427e" << false << false;
    }

    void gameIdAndMd5Checks()
    {
        QFETCH(QString, text);
        QFETCH(bool, gameId);
        QFETCH(bool, md5);
        QCOMPARE(VRAppInfo::isValidGameId(text), gameId);
        QCOMPARE(VRAppInfo::isValidMd5(text), md5);
    }
};

QTEST_GUILESS_MAIN(TestVRAppInfo)
#include "TestVRAppInfo.moc"
