#include "core/PageLinks.h"
#include "core/game/VRAppInfo.h"
#include "tests/LogCapture.h"

#include <QtTest>

namespace {

const char kGoodMd5[] = "0123456789abcdef0123456789ABCDEF";

// Records every action as one line, so a row can state exactly what happened.
class RecordingActions : public PageLinkActions
{
public:
    QStringList calls;
    QString userId;
    QList<VRAppInfo *> records;

    ~RecordingActions() override { qDeleteAll(records); }

    static QString tabName(Tab tab)
    {
        switch (tab) {
        case Tab::Game: return QStringLiteral("game");
        case Tab::Activity: return QStringLiteral("activity");
        case Tab::Exchange: return QStringLiteral("exchange");
        case Tab::Push: return QStringLiteral("push");
        }
        return QString();
    }

    QString loggedInUserId() override { return userId; }
    void setLoginArgument(const QString &argument) override { calls << "loginArgument " + argument; }
    void showLoginDialog() override { calls << "loginDialog"; }
    void startDownload(VRAppInfo *record) override
    {
        records << record;
        calls << "download " + record->gameId + " platform " + QString::number(record->platform);
    }
    void launchGame(VRAppInfo *record) override
    {
        records << record;
        calls << "launch " + record->gameId;
    }
    void postDownloadHit(const QString &deviceId, const QString &user, const QString &gameId) override
    {
        calls << QStringLiteral("hit device=%1 user=%2 game=%3").arg(deviceId, user, gameId);
    }
    void switchToManager() override { calls << "manager"; }
    void switchToTab(Tab tab) override { calls << "tab " + tabName(tab); }
    void expandPushPanel() override { calls << "expand"; }
    void callJumpCallback(Tab tab, const QString &argument) override
    {
        calls << "jump " + tabName(tab) + " " + argument;
    }
    void requestUserInfo() override { calls << "userInfo"; }
    void showExchangeTips() override { calls << "exchangeTips"; }
    void foldPushPanel() override { calls << "fold"; }
    void postOnlineLength() override { calls << "onlineLength"; }
    void openInBrowser(const QUrl &url) override { calls << "browser " + url.toString(); }
    void loginSucceeded(const QString &uid, const QString &nickname, const QString &avatar) override
    {
        calls << QStringList{"loginSuccess", uid, nickname, avatar}.join(' ');
    }
    void feedbackSucceeded() override { calls << "feedbackSuccess"; }
    void feedbackClosed() override { calls << "feedbackClose"; }
};

QString gameJson(const QString &gameId = QStringLiteral("1001"), const QString &extra = QString())
{
    return QStringLiteral("{\"gameId\":\"%1\",\"platform\":\"2\",\"cnName\":\"太空\",\"md5\":\"%2\","
                          "\"deviceId\":\"7\",\"launcher\":\"bin/run.exe\"%3}")
        .arg(gameId, QLatin1String(kGoodMd5), extra);
}

QUrl link(const QString &command, const QString &argument)
{
    return QUrl(QStringLiteral("mivo://") + command + QStringLiteral("#") + argument);
}

const QStringList kHandlers{"G", "A", "E", "U", "C", "P"};

LinkHandler handlerNamed(const QString &name)
{
    static const QMap<QString, LinkHandler> handlers{
        {"G", LinkHandler::Game},     {"A", LinkHandler::Activity},    {"E", LinkHandler::Exchange},
        {"U", LinkHandler::Push},     {"C", LinkHandler::UserCentral}, {"P", LinkHandler::Popup}};
    return handlers.value(name);
}

} // namespace

class TestPageLinks : public QObject
{
    Q_OBJECT

private slots:
    void parsesCommandAndArgument_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("mivo");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("argument");
        QTest::newRow("capitals") << "MIVO://DownLoad#x" << true << "download" << "x";
        QTest::newRow("raw JSON") << "mivo://launch#{\"gameId\":\"1\"}" << true << "launch" << "{\"gameId\":\"1\"}";
        // Qt's pretty decoding keeps "%3A": such an argument is fully decoded where JSON is needed.
        QTest::newRow("encoded JSON") << "mivo://launch#%7B%22gameId%22%3A%221%22%7D" << true << "launch"
                                      << "{\"gameId\"%3A\"1\"}";
        QTest::newRow("percent in a value") << "mivo://openqqurl#a%25b" << true << "openqqurl" << "a%25b";
        QTest::newRow("Chinese") << "mivo://navigate2game#%E6%B4%BB%E5%8A%A8" << true << "navigate2game"
                                 << "活动";
        QTest::newRow("no fragment") << "mivo://task_flod" << true << "task_flod" << "";
        QTest::newRow("slash before the fragment") << "mivo://login/#abc" << true << "login" << "abc";
        QTest::newRow("other scheme") << "http://127.0.0.1/client/index#x" << false << "" << "";
    }

    void parsesCommandAndArgument()
    {
        QFETCH(QString, url);
        QFETCH(bool, mivo);
        QFETCH(QString, command);
        QFETCH(QString, argument);
        const PageLink parsed = parsePageLink(QUrl(url));
        QCOMPARE(parsed.isMivo, mivo);
        QCOMPARE(parsed.command, command);
        QCOMPARE(parsed.argument, argument);
    }

    void jsonObjectFromPrettyOrFullyDecodedFragment_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("gameId");
        QTest::newRow("raw") << "mivo://download#{\"gameId\":\"12\"}" << "12";
        QTest::newRow("encoded") << "mivo://download#%7B%22gameId%22%3A%2212%22%7D" << "12";
        QTest::newRow("escaped percent decoded once") << "mivo://download#{\"gameId\":\"1%25\"}" << "1%";
        QTest::newRow("encoded percent decoded once")
            << "mivo://download#%7B%22gameId%22%3A%221%25%22%7D" << "1%";
        QTest::newRow("twice encoded percent decoded once")
            << "mivo://download#%7B%22gameId%22%3A%221%2525%22%7D" << "1%25";
        // As the browser hands links over: quotes escaped, "%" as the page wrote it.
        QTest::newRow("lone percent") << "mivo://download#{%22gameId%22:%22%%22}" << "%";
        QTest::newRow("percent and one digit") << "mivo://download#{%22gameId%22:%22%2%22}" << "%2";
        QTest::newRow("percent 25") << "mivo://download#{%22gameId%22:%22%25%22}" << "%";
        QTest::newRow("100 percent") << "mivo://download#{%22gameId%22:%22100%%22}" << "100%";
        QTest::newRow("100 percent and an escape")
            << "mivo://download#{%22gameId%22:%22100%%22,%22cnName%22:%22%E6%98%9F%22}" << "100%";
        QTest::newRow("100 percent, raw quotes") << "mivo://download#{\"gameId\":\"100%\"}" << "100%";
        QTest::newRow("array is none") << "mivo://download#[1]" << "";
        QTest::newRow("broken is none") << "mivo://download#{\"gameId\":" << "";
    }

    void jsonObjectFromPrettyOrFullyDecodedFragment()
    {
        QFETCH(QString, url);
        QFETCH(QString, gameId);
        QJsonObject object;
        const bool parsed = linkJsonObject(QUrl(url), &object);
        QCOMPARE(parsed, !gameId.isEmpty());
        QCOMPARE(object.value("gameId").toString(), gameId);
    }

    void recordFromLink_data()
    {
        QTest::addColumn<QString>("json");
        QTest::addColumn<QString>("gameId");
        QTest::addColumn<int>("platform");
        QTest::newRow("all texts") << gameJson() << "1001" << 2;
        QTest::newRow("game id as a number") << "{\"gameId\":1001,\"platform\":\"1\"}" << "" << 1;
        QTest::newRow("platform as a number") << "{\"gameId\":\"5\",\"platform\":2}" << "5" << 0;
        QTest::newRow("platform not a number") << "{\"platform\":\"pc\"}" << "" << 0;
    }

    void recordFromLink()
    {
        QFETCH(QString, json);
        QFETCH(QString, gameId);
        QFETCH(int, platform);
        QScopedPointer<VRAppInfo> record(
            VRAppInfo::fromPageLink(QJsonDocument::fromJson(json.toUtf8()).object()));
        QCOMPARE(record->gameId, gameId);
        QCOMPARE(record->platform, platform);
        QCOMPARE(record->downloadTaskId, 0);
        QCOMPARE(record->picTaskId, 0);
    }

    void intakeRefusesUnsafeRecords_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("good") << "" << "" << true;
        QTest::newRow("empty game id") << "gameId" << "" << false;
        QTest::newRow("game id with a path") << "gameId" << "../1" << false;
        QTest::newRow("game id of 18 digits") << "gameId" << QString(18, '9') << true;
        QTest::newRow("game id of 19 digits") << "gameId" << QString(19, '9') << false;
        QTest::newRow("short MD5") << "md5" << "abc" << false;
        QTest::newRow("MD5 not hexadecimal") << "md5" << QString(32, 'g') << false;
        QTest::newRow("name with a slash") << "cnName" << "a/b" << false;
        QTest::newRow("name with a backslash") << "cnName" << "a\\b" << false;
        QTest::newRow("name with two dots") << "cnName" << ".." << false;
        QTest::newRow("name with a control character") << "cnName" << "a\nb" << false;
        QTest::newRow("name of 200 characters") << "cnName" << QString(200, QChar(0x592a)) << true;
        QTest::newRow("name of 201 characters") << "cnName" << QString(201, 'x') << false;
        QTest::newRow("English name of 201 characters") << "enName" << QString(201, 'x') << false;
        QTest::newRow("one dot in a name") << "cnName" << "v1.2" << true;
        QTest::newRow("absolute launcher") << "launcher" << "/usr/bin/sh" << false;
        QTest::newRow("drive launcher") << "launcher" << "C:\\Windows\\calc.exe" << false;
        QTest::newRow("launcher going up") << "launcher" << "bin/../../x.exe" << false;
        QTest::newRow("launcher going up with backslashes") << "launcher" << "..\\x.exe" << false;
        QTest::newRow("launcher with dots in a name") << "launcher" << "bin/game..exe" << true;
        QTest::newRow("empty launcher") << "launcher" << "" << true;
        QTest::newRow("platform 2") << "platform" << "2" << true;
        QTest::newRow("platform 3") << "platform" << "3" << false;
        QTest::newRow("platform -1") << "platform" << "-1" << false;
        for (const char *field : {"exe_dl_path", "pic_dl_path"}) {
            const QString key = QLatin1String(field);
            QTest::newRow(qPrintable(key + " http")) << key << "http://127.0.0.1:8801/download/x" << true;
            QTest::newRow(qPrintable(key + " https")) << key << "https://store.example/x" << true;
            QTest::newRow(qPrintable(key + " file")) << key << "file:///tmp/package-fifo" << false;
            QTest::newRow(qPrintable(key + " ftp")) << key << "ftp://127.0.0.1/x.zip" << false;
            QTest::newRow(qPrintable(key + " data")) << key << "data:application/zip;base64,UEsDBA==" << false;
            QTest::newRow(qPrintable(key + " without a host")) << key << "http:///x.zip" << false;
            QTest::newRow(qPrintable(key + " a bare path")) << key << "/tmp/x.zip" << false;
        }
    }

    void intakeRefusesUnsafeRecords()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(bool, accepted);
        QJsonObject object = QJsonDocument::fromJson(gameJson().toUtf8()).object();
        if (!field.isEmpty())
            object.insert(field, value);
        QScopedPointer<VRAppInfo> record(VRAppInfo::fromPageLink(object));
        QCOMPARE(gameRecordRefusal(*record).isEmpty(), accepted);
    }

    void intakeRefusesUnsafeUsers_data()
    {
        QTest::addColumn<QString>("uid");
        QTest::addColumn<QString>("nickname");
        QTest::addColumn<QString>("avatar");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("good") << "10001" << "测试玩家" << "http://127.0.0.1/avatar?uid=1" << true;
        QTest::newRow("no avatar") << "10001" << "a" << "" << true;
        QTest::newRow("uid with a path") << "../1" << "a" << "" << false;
        QTest::newRow("empty uid") << "" << "a" << "" << false;
        QTest::newRow("huge nickname") << "1" << QString(201, 'n') << "" << false;
        QTest::newRow("file avatar") << "1" << "a" << "file:///etc/passwd" << false;
    }

    void intakeRefusesUnsafeUsers()
    {
        QFETCH(QString, uid);
        QFETCH(QString, nickname);
        QFETCH(QString, avatar);
        QFETCH(bool, accepted);
        QCOMPARE(loginUserRefusal(uid, nickname, avatar).isEmpty(), accepted);
    }

    // Each handler's answer to each command: what the client did.
    void handlersRunTheirCommands_data()
    {
        QTest::addColumn<QString>("handler");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("calls");
        const QString arg = QStringLiteral("{\"k\":1}");
        // command -> handler -> calls ("-" for none)
        const QList<QPair<QString, QMap<QString, QStringList>>> table{
            {"download", {{"G", {"download 1001 platform 2", "hit device=7 user=42 game=1001"}},
                          {"A", {"download 1001 platform 0", "hit device=7 user= game=1001"}}}},
            {"installing", {{"G", {"manager"}}, {"A", {"manager"}}}},
            {"launch", {{"G", {"launch 1001"}}, {"A", {"launch 1001"}}}},
            {"login", {{"G", {"loginArgument " + arg, "loginDialog"}}, {"A", {"loginArgument " + arg, "loginDialog"}},
                       {"E", {"loginArgument " + arg, "loginDialog"}}, {"U", {"loginArgument " + arg, "loginDialog"}}}},
            {"user_info_reload", {{"G", {"userInfo"}}, {"A", {"userInfo"}}, {"E", {"exchangeTips"}}, {"U", {"userInfo"}}}},
            {"navigate2game", {{"G", {"jump game " + arg}}, {"A", {"tab game", "jump game " + arg}},
                               {"E", {"tab game", "jump game " + arg}}, {"U", {"tab game", "jump game " + arg}}}},
            {"navigate2activity", {{"G", {"tab activity", "jump activity " + arg}}, {"A", {"jump activity " + arg}},
                                   {"E", {"tab activity", "jump activity " + arg}},
                                   {"U", {"tab activity", "jump activity " + arg}}}},
            {"navigate2exchange", {{"G", {"tab exchange", "jump exchange " + arg}},
                                   {"A", {"tab exchange", "jump exchange " + arg}}, {"E", {"jump exchange " + arg}},
                                   {"U", {"tab exchange", "jump exchange " + arg}}}},
            {"navigate2push", {{"G", {"expand", "jump push " + arg}}, {"A", {"expand", "jump push " + arg}},
                               {"E", {"expand", "jump push " + arg}}}},
            {"rungamejumpcallback", {{"A", {"jump game " + arg}}, {"E", {"jump game " + arg}}, {"U", {"jump game " + arg}}}},
            {"runactivejumpcallback", {{"G", {"jump activity " + arg}}, {"E", {"jump activity " + arg}},
                                       {"U", {"jump activity " + arg}}}},
            {"runexchangejumpcallback", {{"G", {"jump exchange " + arg}}, {"A", {"jump exchange " + arg}},
                                         {"U", {"jump exchange " + arg}}}},
            {"runpushjumpcallback", {{"G", {"jump push " + arg}}, {"A", {"jump push " + arg}}, {"E", {"jump push " + arg}}}},
            {"task_flod", {{"U", {"fold"}}}},
            {"task_expansion", {{"U", {"expand"}}}},
            {"need2getonlinelengthdata", {{"U", {"onlineLength"}}}},
            {"openqqurl", {{"G", {"browser http://127.0.0.1/q"}}, {"A", {"browser http://127.0.0.1/q"}},
                           {"E", {"browser http://127.0.0.1/q"}}, {"U", {"browser http://127.0.0.1/q"}},
                           {"C", {"browser http://127.0.0.1/q"}}}},
            {"loginsuccess", {{"P", {"loginSuccess 10001 小明 http://127.0.0.1/a.png"}}}},
            {"nosuchcommand", {}},
        };
        for (const auto &row : table) {
            for (const QString &handler : kHandlers) {
                QTest::addRow("%s %s", qPrintable(handler), qPrintable(row.first))
                    << handler << row.first << row.second.value(handler);
            }
        }
    }

    void handlersRunTheirCommands()
    {
        QFETCH(QString, handler);
        QFETCH(QString, command);
        QFETCH(QStringList, calls);
        QString argument = QStringLiteral("{\"k\":1}");
        if (command == QLatin1String("download") || command == QLatin1String("launch"))
            argument = gameJson();
        else if (command == QLatin1String("openqqurl"))
            argument = QStringLiteral("http://127.0.0.1/q");
        else if (command == QLatin1String("loginsuccess"))
            argument = QStringLiteral("{\"uid\":\"10001\",\"nickname\":\"小明\",\"avatar\":\"http://127.0.0.1/a.png\"}");
        RecordingActions actions;
        actions.userId = QStringLiteral("42");
        QCOMPARE(handlePageLink(handlerNamed(handler), link(command.toUpper(), argument), actions), false);
        QCOMPARE(actions.calls, calls);
    }

    void otherSchemesNavigate()
    {
        for (const QString &handler : kHandlers) {
            RecordingActions actions;
            QVERIFY(handlePageLink(handlerNamed(handler), QUrl("http://127.0.0.1/client/index#download"), actions));
            QVERIFY(actions.calls.isEmpty());
        }
    }

    void feedbackLinksAreWhole_data()
    {
        QTest::addColumn<QString>("handler");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("success") << "P" << "mivo://feedback_success" << QStringList{"feedbackSuccess"};
        QTest::newRow("close") << "P" << "mivo://feedback_close" << QStringList{"feedbackClose"};
        QTest::newRow("success with a slash") << "P" << "mivo://feedback_success/" << QStringList{};
        QTest::newRow("close with a fragment") << "P" << "mivo://feedback_close#x" << QStringList{};
        QTest::newRow("success in the store page") << "G" << "mivo://feedback_success" << QStringList{};
    }

    void feedbackLinksAreWhole()
    {
        QFETCH(QString, handler);
        QFETCH(QString, url);
        QFETCH(QStringList, calls);
        RecordingActions actions;
        QCOMPARE(handlePageLink(handlerNamed(handler), QUrl(url), actions), false);
        QCOMPARE(actions.calls, calls);
    }

    void storeDownloadLoggedOutAsksForLogin()
    {
        RecordingActions actions;
        QVERIFY(!handlePageLink(LinkHandler::Game, link("download", gameJson()), actions));
        QCOMPARE(actions.calls, QStringList{"loginDialog"});
        QVERIFY(actions.records.isEmpty());
        // The activity page needs no login and posts the hit without a user.
        QVERIFY(!handlePageLink(LinkHandler::Activity, link("download", gameJson()), actions));
        QCOMPARE(actions.calls.last(), QStringLiteral("hit device=7 user= game=1001"));
    }

    // A refused link leaves one log line and does nothing else.
    void hostileLinksAreRefused_data()
    {
        QTest::addColumn<QString>("handler");
        QTest::addColumn<QString>("url");
        QTest::newRow("game id escaping") << "G" << link("download", gameJson("../../etc")).toString();
        QTest::newRow("launcher escaping") << "A"
                                           << link("launch", gameJson("1", ",\"launcher\":\"../../bin/sh\"")).toString();
        QTest::newRow("name escaping") << "G" << link("download", gameJson("1", ",\"cnName\":\"../x\"")).toString();
        QTest::newRow("not JSON") << "G" << "mivo://launch#{gameId:1}";
        QTest::newRow("JSON array") << "A" << "mivo://download#[1,2]";
        QTest::newRow("huge argument") << "G" << link("navigate2game", QString(70000, 'a')).toString();
        QTest::newRow("openqqurl file") << "C" << "mivo://openqqurl#file:///etc/passwd";
        QTest::newRow("openqqurl script") << "G" << "mivo://openqqurl#javascript:alert(1)";
        QTest::newRow("openqqurl mivo") << "U" << "mivo://openqqurl#mivo://download";
        QTest::newRow("loginsuccess uid path") << "P" << "mivo://loginsuccess#{\"uid\":\"../1\"}";
    }

    void hostileLinksAreRefused()
    {
        QFETCH(QString, handler);
        QFETCH(QString, url);
        RecordingActions actions;
        actions.userId = QStringLiteral("42");
        bool navigates = true;
        {
            LogCapture log;
            navigates = handlePageLink(handlerNamed(handler), QUrl(url), actions);
        }
        QVERIFY(!navigates);
        QCOMPARE(actions.calls, QStringList());
        // The handler's own lines, then exactly one refusal.
        const QStringList refusals = LogCapture::lines().filter(QRegularExpression("^\\[Mivo\\] refused [a-z0-9]+: "));
        QCOMPARE(refusals.size(), 1);
        for (const QString &line : LogCapture::lines()) {
            QVERIFY2(line.contains(QRegularExpression("^\\[Mivo\\] (url|task push url|login url|click btn url "
                                                       "fragment|login url fragment|refused [a-z0-9]+|launch vr_game!)")),
                     qPrintable(line));
        }
        QVERIFY(!handlePageLink(handlerNamed(handler), QUrl(url), actions));
        QCOMPARE(actions.calls, QStringList());
    }
};

QTEST_GUILESS_MAIN(TestPageLinks)
#include "TestPageLinks.moc"
