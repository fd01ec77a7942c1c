#include "core/webapi/LoginForm.h"

#include <QtTest>

class TestLoginForm : public QObject
{
    Q_OBJECT

private slots:
    void bodyEncodesBothCredentials_data()
    {
        QTest::addColumn<QString>("account");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("plain values unchanged")
            << "tester" << "orbela123"
            << QByteArray("username=tester&password=orbela123&timestamp=1700000000&sign=abc&net_ip=127.0.0.1");
        QTest::newRow("Chinese name, password with an ampersand")
            << "测试用户" << "a&b=c%d"
            << QByteArray("username=%E6%B5%8B%E8%AF%95%E7%94%A8%E6%88%B7&password=a%26b%3Dc%25d"
                          "&timestamp=1700000000&sign=abc&net_ip=127.0.0.1");
        QTest::newRow("blanks and plus") << "a b+c" << " -._~"
                                         << QByteArray("username=a%20b%2Bc&password=%20-._~&timestamp=1700000000"
                                                       "&sign=abc&net_ip=127.0.0.1");
    }

    void bodyEncodesBothCredentials()
    {
        QFETCH(QString, account);
        QFETCH(QString, password);
        QFETCH(QByteArray, body);
        const QByteArray built = loginFormBody(account, password, QStringLiteral("1700000000"), QStringLiteral("abc"),
                                               QStringLiteral("127.0.0.1"));
        QCOMPARE(built, body);
        QCOMPARE(webLoginAddress(QStringLiteral("forum:81"), built),
                 QStringLiteral("http://forum:81/passport.php?action=client&method=ajaxUserLogin&") + QString::fromLatin1(body));
        QCOMPARE(webLogoutAddress(QStringLiteral("forum:81"), built),
                 QStringLiteral("http://forum:81/passport.php?action=client&method=ajaxUserLogout&") + QString::fromLatin1(body));
    }

    void errorTexts_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        QTest::newRow("-8") << -8 << "抱歉，服务器繁忙！";
        QTest::newRow("-7") << -7 << "登录信息缺失！";
        QTest::newRow("-6") << -6 << "出现编码错误！";
        QTest::newRow("-2") << -2 << "无效的参数！";
        QTest::newRow("0") << 0 << "用户名密码有误！";
        QTest::newRow("-3 has none") << -3 << QString();
        QTest::newRow("1 has none") << 1 << QString();
    }

    void errorTexts()
    {
        QFETCH(int, status);
        QFETCH(QString, text);
        QCOMPARE(loginErrorText(status), text);
        QCOMPARE(loginErrorText(status).isNull(), text.isNull());
    }

    void rememberedTextRoundTrips_data()
    {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("stored");
        // ASCII rows are byte-identical to the older Latin-1 form.
        QTest::newRow("ASCII") << "tester" << "dGVzdGVy";
        QTest::newRow("Chinese") << "测试用户" << "5rWL6K+V55So5oi3";
        QTest::newRow("empty") << "" << "";
    }

    void rememberedTextRoundTrips()
    {
        QFETCH(QString, plain);
        QFETCH(QString, stored);
        QCOMPARE(rememberedText(plain), stored);
        QCOMPARE(fromRememberedText(stored), plain);
    }
};

QTEST_GUILESS_MAIN(TestLoginForm)
#include "TestLoginForm.moc"
