#include "core/webapi/ClientIdentity.h"
#include "core/webapi/MessageSigning.h"
#include "core/webapi/QuaNetworkPost.h"
#include "core/webapi/ServiceRequest.h"
#include "core/webapi/StatisticsHits.h"
#include "tests/LogCapture.h"
#include "tests/PeakMemory.h"
#include "tests/StoreServer.h"

#include <QCryptographicHash>
#include <QPointer>
#include <QSignalSpy>
#include <QUrlQuery>
#include <QtTest>

class TestQuaNetworkPost : public QObject
{
    Q_OBJECT

private:
    StoreServer server;
    QStringList appliedUsers;

    static QString md5(const QString &text)
    {
        return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5).toHex());
    }

    QByteArray loginBody(const QString &username, const QString &password) const
    {
        const QString timestamp = timestampText();
        return "username=" + encodeValue(username) + "&password=" + encodeValue(password)
               + "&timestamp=" + timestamp.toLatin1() + "&sign=" + signWithSalt(timestamp).toLatin1();
    }
    QString loginUrl() const { return server.baseUrl() + "/passport.php?action=client&method=ajaxUserLogin"; }

    // Posts and waits until the post object has handled its answer and released itself.
    static void postAndWait(QuaNetworkPost *post, const QString &url, const QByteArray &body)
    {
        QPointer<QuaNetworkPost> alive(post);
        post->post(url, body);
        QTRY_VERIFY_WITH_TIMEOUT(alive.isNull(), 10000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(server.start(), qPrintable(server.error()));
        server.serveAllHosts();
        QuaNetworkPost::setLoginApplier([this](const QString &uid, const QString &, const QString &) {
            appliedUsers.append(uid);
        });
    }

    void init()
    {
        appliedUsers.clear();
        ServiceRequest::setDeadline(20000);
        QVERIFY(server.clearFaults());
        server.clearLog();
    }

    void hitsBodyFieldByField()
    {
        postHits("closeOrbela", "", "42", "");
        QTRY_COMPARE_WITH_TIMEOUT(server.requests("/hits").size(), 1, 10000);
        const QJsonObject hit = server.requests("/hits").first();
        QCOMPARE(hit.value("content_type").toString(), QStringLiteral("application/x-www-form-urlencoded"));
        const QString body = hit.value("body").toString();
        const QStringList fields = body.split('&');
        const QStringList names = {"timestamp", "sign", "app_id", "type_id", "status",
                                   "visitor_id", "device_id", "user_id", "net_ip"};
        QCOMPARE(fields.size(), names.size());
        for (int i = 0; i < names.size(); ++i)
            QVERIFY2(fields[i].startsWith(names[i] + "="), qPrintable(body));
        const QString timestamp = fields[0].mid(10);
        QCOMPARE(fields[1], "sign=" + md5(timestamp + "kwintep!~#@%$&^)(*"));
        QCOMPARE(fields[2], QStringLiteral("app_id=1002"));
        QCOMPARE(fields[3], QStringLiteral("type_id="));
        QCOMPARE(fields[4], QStringLiteral("status=closeOrbela"));
        QCOMPARE(fields[5], "visitor_id=" + getLocalMacAddress());
        QCOMPARE(fields[6], QStringLiteral("device_id="));
        QCOMPARE(fields[7], QStringLiteral("user_id=42"));
        QCOMPARE(fields[8], QStringLiteral("net_ip=127.0.0.1"));
        QVERIFY(!body.endsWith('&'));
    }

    void hitsValuesAreEncodedAndSignedRaw()
    {
        postHits("startGame", "2&x=1", "7", "1001");
        QTRY_COMPARE_WITH_TIMEOUT(server.requests("/hits").size(), 1, 10000);
        const QJsonObject hit = server.requests("/hits").first();
        QVERIFY(hit.value("body").toString().contains("device_id=2%26x%3D1&"));
        QCOMPARE(hit.value("form").toObject().value("device_id").toString(), QStringLiteral("2&x=1"));
        QCOMPARE(hit.value("form").toObject().value("type_id").toString(), QStringLiteral("1001"));
    }

    void loginAnswers_data()
    {
        QTest::addColumn<QString>("username");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("uid");
        QTest::addColumn<int>("error");
        QTest::newRow("good account") << "tester" << "orbela123" << "10001" << -1;
        QTest::newRow("chinese user name") << QStringLiteral("测试用户") << "mima2024" << "10002" << -1;
        QTest::newRow("wrong password") << "tester" << "nope" << "" << 0;
        QTest::newRow("unknown user") << "nobody" << "x" << "" << 0;
    }

    void loginAnswers()
    {
        QFETCH(QString, username);
        QFETCH(QString, password);
        QFETCH(QString, uid);
        QFETCH(int, error);
        auto *post = new QuaNetworkPost(nullptr, QuaNetworkPost::Answer::Login);
        QSignalSpy users(post, &QuaNetworkPost::sendUserInfo);
        QSignalSpy errors(post, &QuaNetworkPost::sendUserError);
        postAndWait(post, loginUrl(), loginBody(username, password));
        if (uid.isEmpty()) {
            QCOMPARE(users.count(), 0);
            QCOMPARE(errors.count(), 1);
            QCOMPARE(errors.first().first().toInt(), error);
            QVERIFY(appliedUsers.isEmpty());
        } else {
            QCOMPARE(users.count(), 1);
            QCOMPARE(users.first().first().toString(), uid);
            QVERIFY(users.first().at(2).toString().startsWith("http://"));
            QCOMPARE(appliedUsers, QStringList{uid});
        }
        const QJsonObject sent = server.requests("/passport.php").last();
        QCOMPARE(sent.value("form").toObject().value("username").toString(), username);
    }

    void anAnswerToAnotherPostLogsNobodyIn()
    {
        // The same answer that logs a user in, received by a statistics-style post.
        auto *post = new QuaNetworkPost(nullptr);
        QSignalSpy users(post, &QuaNetworkPost::sendUserInfo);
        postAndWait(post, loginUrl(), loginBody("tester", "orbela123"));
        QCOMPARE(users.count(), 0);
        QVERIFY(appliedUsers.isEmpty());
    }

    void brokenAnswersEmitNothing_data()
    {
        QTest::addColumn<QString>("fault");
        // The line that says why the answer was given up, if it was.
        QTest::addColumn<QString>("givenUp");
        const QString overTheBound = QStringLiteral("is over 4194304 bytes: given up$");
        QTest::newRow("malformed JSON") << "bad-json" << "";
        QTest::newRow("404") << "404" << "";
        QTest::newRow("answer over the bound") << "over the bound" << overTheBound;
        QTest::newRow("answer over the bound, no length") << "over the bound+chunked" << overTheBound;
        QTest::newRow("gzip bomb") << "gzip-bomb" << "is encoded \\(gzip\\): given up$";
        QTest::newRow("one byte at a time, past the deadline") << "drip:300" << "took over 1500 ms: given up$";
    }

    void brokenAnswersEmitNothing()
    {
        QFETCH(QString, fault);
        QFETCH(QString, givenUp);
        LogCapture log;
        if (fault.startsWith(QLatin1String("over the bound"))) {
            // A login that would be accepted but for its 5 MB nickname.
            const QByteArray nickname(5 * 1000 * 1000, 'x');
            QVERIFY(server.setAnswer("/passport.php", "big-login.json",
                                     "{\"status\":1,\"msg\":\"ok\",\"user\":{\"uid\":\"10001\",\"nickname\":\""
                                         + nickname + "\",\"avatar\":\"\"}}",
                                     fault.section(QLatin1Char('+'), 1)));
        } else {
            QVERIFY(server.setFault("/passport.php", fault));
        }
        ServiceRequest::setDeadline(1500);
        auto *post = new QuaNetworkPost(nullptr, QuaNetworkPost::Answer::Login);
        QSignalSpy users(post, &QuaNetworkPost::sendUserInfo);
        QSignalSpy errors(post, &QuaNetworkPost::sendUserError);
        postAndWait(post, loginUrl(), loginBody("tester", "orbela123"));
        QCOMPARE(users.count() + errors.count(), 0);
        QVERIFY(appliedUsers.isEmpty());
        QCOMPARE(LogCapture::count(QRegularExpression(QStringLiteral("given up$"))), givenUp.isEmpty() ? 0 : 1);
        if (!givenUp.isEmpty())
            QCOMPARE(LogCapture::count(QRegularExpression(givenUp)), 1);
        // The post asked for the bytes as they are; nothing was decoded or held whole.
        QCOMPARE(server.requests("/passport.php").last().value("accept_encoding").toString(), QStringLiteral("identity"));
        QVERIFY2(peakResidentMiB() < kBoundedPeakMiB, qPrintable(QString::number(peakResidentMiB())));
    }
};

QTEST_GUILESS_MAIN(TestQuaNetworkPost)
#include "TestQuaNetworkPost.moc"
