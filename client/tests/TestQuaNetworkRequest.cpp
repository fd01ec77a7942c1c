#include "core/AppFolders.h"
#include "core/webapi/MessageSigning.h"
#include "core/webapi/QuaNetworkRequest.h"
#include "core/webapi/ServiceRequest.h"
#include "tests/LogCapture.h"
#include "tests/PeakMemory.h"
#include "tests/StoreServer.h"
#include "core/game/VRAppInfo.h"

#include <QCryptographicHash>
#include <QPointer>
#include <QSignalSpy>
#include <QUrlQuery>
#include <QtTest>

Q_DECLARE_METATYPE(QuaNetworkRequest::Type)

class TestQuaNetworkRequest : public QObject
{
    Q_OBJECT

private:
    StoreServer server;

    static QString md5(const QString &text)
    {
        return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex());
    }

    struct Sent
    {
        QPointer<QuaNetworkRequest> request;
        QList<QSignalSpy *> spies;
        int signalCount() const
        {
            int count = 0;
            for (QSignalSpy *spy : spies)
                count += spy->count();
            return count;
        }
        ~Sent() { qDeleteAll(spies); }
    };

    // Sends one request and waits until it has handled its answer and released itself.
    static void sendAndWait(Sent &sent, int type, const QString &userId = {}, const QString &gameId = {},
                            const QString &status = {})
    {
        auto *request = new QuaNetworkRequest(type);
        sent.request = request;
        for (const char *signal :
             {SIGNAL(sendDeviceInfo(QMap<int, QString>)), SIGNAL(sendGameUpdateStatus(QMap<int, QString>)),
              SIGNAL(sendUpdateInfo(QString, QString, QString, bool)), SIGNAL(sendNoNeedUpdateOrbela()),
              SIGNAL(sendVersionInfo(QString)), SIGNAL(sendOnlineInfo(int)),
              SIGNAL(sendUserInfo(int, QString, QString, QString, QString, QString)),
              SIGNAL(sendGameUpdateInfo(VRAppInfo *))})
            sent.spies.append(new QSignalSpy(request, signal));
        if (type <= QuaNetworkRequest::VersionMessage)
            request->sendVersionRequest();
        else
            request->sendRequest(userId, gameId, status);
        QTRY_VERIFY_WITH_TIMEOUT(sent.request.isNull(), 15000);
    }

    // A game-state answer listing the games 1 to count, each with state.
    static QByteArray gameStates(int count, const QByteArray &state)
    {
        QByteArray answer = "{\"status\":1,\"msg\":\"ok\",\"data\":{";
        for (int i = 1; i <= count; ++i)
            answer += (i > 1 ? ",\"" : "\"") + QByteArray::number(i) + "\":\"" + state + '"';
        return answer + "}}";
    }

    QUrlQuery lastQueryTo(const QString &path) const
    {
        const QList<QJsonObject> entries = server.requests(path);
        return entries.isEmpty() ? QUrlQuery() : QUrlQuery(entries.last().value("query").toString());
    }

private slots:
    void initTestCase()
    {
        qRegisterMetaType<QMap<int, QString>>();
        qRegisterMetaType<VRAppInfo *>();
        QVERIFY2(server.start(), qPrintable(server.error()));
        server.serveAllHosts();
    }

    void init()
    {
        ServiceRequest::setDeadline(20000);
        QVERIFY(server.clearFaults());
        QVERIFY(server.setUpdate("none"));
        server.clearLog();
    }

    void urlFormats_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("expected");
        const QString s = "SIGN", t = "1700000000";
        QTest::newRow("devices") << 0 << "http://H/client/api/ajaxGetDevices?version=1.1.1.81&sign=SIGN&net_ip=IP";
        QTest::newRow("version") << 1 << "http://H/client/api/ajaxGetVersion?version=1.1.1.81&sign=SIGN&net_ip=IP";
        QTest::newRow("version message")
            << 2 << "http://H/client/api/ajaxGetVersionMessage?version=1.1.1.81&sign=SIGN&net_ip=IP";
        QTest::newRow("online total")
            << 3 << "http://H/client/api/ajaxGetOnlineTotal?timestamp=1700000000&sign=SIGN&net_ip=IP";
        QTest::newRow("user resource")
            << 4 << "http://O/api/getUserResource?uid=42&timestamp=1700000000&sign=SIGN&net_ip=IP";
        QTest::newRow("game data, blank and percent encoded")
            << 6
            << "http://H/client/api/ajaxGetGame?game_id=10%2001%251&user_id=42&timestamp=1700000000&sign=SIGN&net_ip=IP";
        QTest::newRow("game state: ?& and JSON status encoded")
            << 7
            << "http://H/client/api/ajaxGetGameState?&user_id=42&timestamp=1700000000&sign=SIGN"
               "&gamestatus=%7B%22a%22:1%7D&net_ip=IP";
    }

    void urlFormats()
    {
        QFETCH(int, type);
        QFETCH(QString, expected);
        qputenv("ORBELA_APP_API_HOST", "H");
        qputenv("ORBELA_OPEN_API_HOST", "O");
        const QString url =
            QuaNetworkRequest::buildUrl(type, "SIGN", "1700000000", "42", "10 01%1", "{\"a\":1}", "IP");
        qputenv("ORBELA_APP_API_HOST", server.host().toUtf8());
        qputenv("ORBELA_OPEN_API_HOST", server.host().toUtf8());
        QCOMPARE(url, expected);
    }

    void emptyGameStatusLeavesTheFieldEmpty()
    {
        const QString url = QuaNetworkRequest::buildUrl(7, "S", "1", "", "", "", "");
        QVERIFY(url.endsWith("?&user_id=&timestamp=1&sign=S&gamestatus=&net_ip="));
    }

    void versionRequestsCarryTheConstantSign()
    {
        Sent first, second;
        sendAndWait(first, QuaNetworkRequest::VersionMessage);
        sendAndWait(second, QuaNetworkRequest::DeviceList);
        const QString expected = md5(QStringLiteral("1.1.1.81kwintep!~#@%$&^)(*"));
        QCOMPARE(lastQueryTo("/client/api/ajaxGetVersionMessage").queryItemValue("sign"), expected);
        QCOMPARE(lastQueryTo("/client/api/ajaxGetDevices").queryItemValue("sign"), expected);
        QCOMPARE(lastQueryTo("/client/api/ajaxGetDevices").queryItemValue("version"), QStringLiteral("1.1.1.81"));
        QCOMPARE(lastQueryTo("/client/api/ajaxGetDevices").queryItemValue("net_ip"), QStringLiteral("127.0.0.1"));
        // Each asks, as the public-IP look-up before it does, for the bytes as they are.
        for (const QJsonObject &request : server.requests())
            QCOMPARE(request.value("accept_encoding").toString(), QStringLiteral("identity"));
        QCOMPARE(server.requests().size(), 4);
        // The stand-in checks the sign and answers a bad one with a failure, so an answer proves it.
        QCOMPARE(first.signalCount(), 1);
        QCOMPARE(second.signalCount(), 1);
    }

    void timestampedRequestsSignTimestampGameAndUser_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("userId");
        QTest::addColumn<QString>("gameId");
        QTest::newRow("online total") << 3 << "/client/api/ajaxGetOnlineTotal" << "" << "";
        QTest::newRow("user resource") << 4 << "/api/getUserResource" << "10001" << "";
        QTest::newRow("game data") << 6 << "/client/api/ajaxGetGame" << "10001" << "1001";
        QTest::newRow("game data, nobody logged in") << 6 << "/client/api/ajaxGetGame" << "" << "1002";
        QTest::newRow("game state") << 7 << "/client/api/ajaxGetGameState" << "10001" << "";
    }

    void timestampedRequestsSignTimestampGameAndUser()
    {
        QFETCH(int, type);
        QFETCH(QString, path);
        QFETCH(QString, userId);
        QFETCH(QString, gameId);
        Sent sent;
        sendAndWait(sent, type, userId, gameId, "{\"1001\":\"1.0.0\"}");
        const QUrlQuery query = lastQueryTo(path);
        const QString timestamp = query.queryItemValue("timestamp");
        QVERIFY(!timestamp.isEmpty() && isDigitString(timestamp));
        QVERIFY(qAbs(timestamp.toLongLong() - QDateTime::currentSecsSinceEpoch()) < 60);
        QCOMPARE(query.queryItemValue("sign"), md5(timestamp + gameId + userId + "kwintep!~#@%$&^)(*"));
        QCOMPARE(sent.signalCount(), 1);
    }

    void versionAnswers_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("update");
        QTest::addColumn<bool>("forced");
        QTest::newRow("no update") << "none" << false << false;
        QTest::newRow("optional") << "optional" << true << false;
        QTest::newRow("forced") << "forced" << true << true;
    }

    void versionAnswers()
    {
        QFETCH(QString, mode);
        QFETCH(bool, update);
        QFETCH(bool, forced);
        QVERIFY(server.setUpdate(mode, "1.1.1.99", server.baseUrl() + "/download/orbela-update.7z", "修复问题"));
        Sent sent;
        sendAndWait(sent, QuaNetworkRequest::Version);
        QSignalSpy *updateSpy = sent.spies[2];
        QSignalSpy *noUpdateSpy = sent.spies[3];
        QCOMPARE(noUpdateSpy->count(), update ? 0 : 1);
        QCOMPARE(updateSpy->count(), update ? 1 : 0);
        if (update) {
            const QList<QVariant> args = updateSpy->first();
            QCOMPARE(args[0].toString(), QStringLiteral("1.1.1.99"));
            QCOMPARE(args[1].toString(), QStringLiteral("修复问题"));
            QCOMPARE(args[2].toString(), server.baseUrl() + "/download/orbela-update.7z");
            QCOMPARE(args[3].toBool(), forced);
        }
    }

    void payloads()
    {
        Sent devices, online, user, game, state, message;
        sendAndWait(devices, QuaNetworkRequest::DeviceList);
        const auto deviceMap = devices.spies[0]->first()[0].value<QMap<int, QString>>();
        QVERIFY(!deviceMap.isEmpty());
        QVERIFY(deviceMap.first().contains('|'));

        sendAndWait(message, QuaNetworkRequest::VersionMessage);
        QVERIFY(message.spies[4]->first()[0].toString().startsWith("http://"));

        sendAndWait(online, QuaNetworkRequest::OnlineTotal, "", "", "");
        QVERIFY(online.spies[5]->first()[0].toInt() > 0);

        sendAndWait(user, QuaNetworkRequest::UserResource, "10001", "", "");
        const QList<QVariant> account = user.spies[6]->first();
        QVERIFY(isDigitString(account[1].toString()) && !account[1].toString().isEmpty());
        QVERIFY(account[5].toString().startsWith("http://"));

        sendAndWait(game, QuaNetworkRequest::GameData, "10001", "1001", "");
        QScopedPointer<VRAppInfo> record(game.spies[7]->first()[0].value<VRAppInfo *>());
        const QJsonObject expected = server.game("1001");
        QCOMPARE(record->gameId, QStringLiteral("1001"));
        QCOMPARE(record->cnName, expected.value("cnName").toString());
        QCOMPARE(record->md5, expected.value("md5").toString());
        QCOMPARE(record->platform, 0);
        QCOMPARE(record->launcher, expected.value("launcher").toString());
        QCOMPARE(record->downloadTaskId, 0);

        sendAndWait(state, QuaNetworkRequest::GameState, "10001", "", "{\"1001\":\"0.9\"}");
        const auto states = state.spies[1]->first()[0].value<QMap<int, QString>>();
        QVERIFY(states.contains(1001));
        QVERIFY(states.value(1001).contains('|'));
    }

    void failuresAreLoggedInTheirWords()
    {
        Sent unknownGame;
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^Error status: 0 msg: \\S.* debug: .*$"));
        sendAndWait(unknownGame, QuaNetworkRequest::GameData, "10001", "999999", "");

        QVERIFY(server.setFault("/client/api/ajaxGetGame", "404"));
        Sent notFound;
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^replyFinished:  \\[203\\]: .+$"));
        sendAndWait(notFound, QuaNetworkRequest::GameData, "10001", "1001", "");
    }

    void answersOverTheBoundFail_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("route");
        QTest::addColumn<QByteArray>("answer");
        // How the stand-in sends it: "" with its length, "chunked" without.
        QTest::addColumn<QString>("delivery");
        QTest::addColumn<bool>("taken");
        const QByteArray note(5 * 1000 * 1000, 'n');
        const QByteArray longVersion = "{\"status\":1,\"data\":{\"ve_num\":\"9.9\",\"ve_note\":\"" + note
                                       + "\",\"ve_url\":\"http://127.0.0.1/u.zip\",\"ve_upgraded\":0}}";
        QTest::newRow("version with a 5 MB note")
            << int(QuaNetworkRequest::Version) << "/client/api/ajaxGetVersion" << longVersion << "" << false;
        QTest::newRow("version with a 5 MB note, no length")
            << int(QuaNetworkRequest::Version) << "/client/api/ajaxGetVersion" << longVersion << "chunked" << false;
        QTest::newRow("game list over the bound") << int(QuaNetworkRequest::GameState) << "/client/api/ajaxGetGameState"
                                                  << gameStates(400000, "1|0") << "" << false;
        QTest::newRow("game list over the bound, no length")
            << int(QuaNetworkRequest::GameState) << "/client/api/ajaxGetGameState" << gameStates(400000, "1|0")
            << "chunked" << false;
        QTest::newRow("game list under the bound") << int(QuaNetworkRequest::GameState)
                                                   << "/client/api/ajaxGetGameState" << gameStates(300000, "1") << ""
                                                   << true;
        QTest::newRow("game list under the bound, no length")
            << int(QuaNetworkRequest::GameState) << "/client/api/ajaxGetGameState" << gameStates(300000, "1")
            << "chunked" << true;
    }

    // Past 4 MiB an answer is given up before it is parsed: it counts as no
    // answer, with one log line. Below, it is read as usual.
    void answersOverTheBoundFail()
    {
        QFETCH(int, type);
        QFETCH(QString, route);
        QFETCH(QByteArray, answer);
        QFETCH(QString, delivery);
        QFETCH(bool, taken);
        QCOMPARE(answer.size() <= kMaxAnswerBytes, taken);
        QVERIFY(server.setAnswer(route, QStringLiteral("big.json"), answer, delivery));
        LogCapture log;
        auto *request = new QuaNetworkRequest(type);
        QSignalSpy noAnswer(request, &QuaNetworkRequest::sendNoAnswer);
        QSignalSpy states(request, &QuaNetworkRequest::sendGameUpdateStatus);
        QSignalSpy updates(request, &QuaNetworkRequest::sendUpdateInfo);
        QPointer<QuaNetworkRequest> alive(request);
        if (type == QuaNetworkRequest::Version)
            request->sendVersionRequest();
        else
            request->sendRequest(QStringLiteral("10001"), QString(), QString());
        QTRY_VERIFY_WITH_TIMEOUT(alive.isNull(), 15000);
        const int overLines = LogCapture::count(QRegularExpression(QStringLiteral("is over 4194304 bytes: given up$")));
        if (taken) {
            QCOMPARE(noAnswer.count(), 0);
            QCOMPARE(states.count(), 1);
            QCOMPARE((states.first().at(0).value<QMap<int, QString>>().size()), 300000);
            QCOMPARE(overLines, 0);
        } else {
            QCOMPARE(noAnswer.count(), 1);
            QCOMPARE(states.count() + updates.count(), 0);
            QCOMPARE(overLines, 1);
            QCOMPARE(LogCapture::count(QRegularExpression(QStringLiteral("^replyFinished:"))), 0);
        }
    }

    void failuresEmitNothing_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("gameId");
        // The line that says why the answer was given up, if it was.
        QTest::addColumn<QString>("givenUp");
        QTest::newRow("failure status (unknown game)") << "" << "999999" << "";
        QTest::newRow("malformed JSON") << "bad-json" << "1001" << "";
        QTest::newRow("404") << "404" << "1001" << "";
        QTest::newRow("never answers") << "no-answer" << "1001" << "took over 1500 ms: given up$";
        QTest::newRow("connection cut") << "cut:10" << "1001" << "";
        QTest::newRow("gzip bomb") << "gzip-bomb" << "1001" << "is encoded \\(gzip\\): given up$";
        QTest::newRow("one byte at a time, past the deadline")
            << "drip:300" << "1001" << "took over 1500 ms: given up$";
    }

    void failuresEmitNothing()
    {
        QFETCH(QString, fault);
        QFETCH(QString, gameId);
        QFETCH(QString, givenUp);
        if (!fault.isEmpty())
            QVERIFY(server.setFault("/client/api/ajaxGetGame", fault));
        LogCapture log;
        ServiceRequest::setDeadline(1500);
        Sent sent;
        sendAndWait(sent, QuaNetworkRequest::GameData, "10001", gameId, "");
        QCOMPARE(sent.signalCount(), 0);
        QCOMPARE(server.requests("/client/api/ajaxGetGame").size(), 1);
        QCOMPARE(LogCapture::count(QRegularExpression(QStringLiteral("given up$"))), givenUp.isEmpty() ? 0 : 1);
        if (!givenUp.isEmpty())
            QCOMPARE(LogCapture::count(QRegularExpression(givenUp)), 1);
        // Nothing was decoded or held whole.
        QVERIFY2(peakResidentMiB() < kBoundedPeakMiB, qPrintable(QString::number(peakResidentMiB())));
    }
};

QTEST_GUILESS_MAIN(TestQuaNetworkRequest)
#include "TestQuaNetworkRequest.moc"
