#include "Signing.h"
#include "StoreServerProcess.h"
#include "StoreTestClient.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

class StorePageTest : public SharedStoreServerTest<StorePageTest> {};

TEST_F(StorePageTest, PagesCarryCallbacksAndALinkForEachCommand)
{
    struct Row {
        const char* path;
        std::vector<std::string> linkIds;
    };
    const Row rows[] = {
        {"/client/commands?page=index&deviceId=1",
         {"download-1001", "launch-1002", "cmd-installing", "cmd-login", "cmd-user_info_reload", "cmd-navigate2activity",
          "cmd-runactivejumpcallback", "cmd-navigate2exchange", "cmd-runexchangejumpcallback", "cmd-navigate2game",
          "cmd-navigate2push", "cmd-runpushjumpcallback", "cmd-openqqurl"}},
        {"/client/commands?page=activity",
         {"download-1003", "launch-1004", "cmd-installing", "cmd-login", "cmd-navigate2game", "cmd-rungamejumpcallback",
          "cmd-navigate2exchange", "cmd-runexchangejumpcallback", "cmd-navigate2activity", "cmd-navigate2push",
          "cmd-runpushjumpcallback", "cmd-user_info_reload", "cmd-openqqurl"}},
        {"/client/exchange",
         {"cmd-login", "cmd-navigate2game", "cmd-rungamejumpcallback", "cmd-navigate2activity", "cmd-runactivejumpcallback",
          "cmd-navigate2exchange", "cmd-navigate2push", "cmd-runpushjumpcallback", "cmd-user_info_reload", "cmd-openqqurl"}},
        {"/client/task",
         {"cmd-task_flod", "cmd-task_expansion", "cmd-login", "cmd-navigate2game", "cmd-rungamejumpcallback",
          "cmd-navigate2activity", "cmd-runactivejumpcallback", "cmd-navigate2exchange", "cmd-runexchangejumpcallback",
          "cmd-need2getonlinelengthdata", "cmd-user_info_reload", "cmd-openqqurl"}},
        {"/client/user?uid=10001", {"cmd-openqqurl"}},
        {"/feedback/index/vr", {"cmd-feedback_success", "cmd-feedback_close"}},
        {"/passport.php?action=client_third_login&type=qq", {"cmd-loginsuccess"}},
    };
    auto http = clientFor(*server);
    const std::regex outsideAddress(R"((src|href|action)\s*=\s*"(https?:)?//)");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        auto result = http->Get(row.path);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, 200);
        EXPECT_EQ(result->get_header_value("Content-Type"), "text/html; charset=utf-8");
        const std::string& page = result->body;
        EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
        for (const char* function : {"status_callback", "login_callback", "logout_callback", "jump_callback"})
            EXPECT_NE(page.find("function " + std::string(function) + "("), std::string::npos) << function;
        for (const auto& id : row.linkIds) {
            std::string command = id.substr(id.find('-') + 1);
            if (id.compare(0, 4, "cmd-") != 0)
                command = id.substr(0, id.find('-'));
            EXPECT_NE(page.find("id=\"" + id + "\" href=\"mivo://" + command), std::string::npos) << id;
        }
        EXPECT_FALSE(std::regex_search(page, outsideAddress)) << "the page loads something from outside";
    }
}

// What a person sees: game cards with picture, names, version, size and the two
// buttons, and no bare command links.
TEST_F(StorePageTest, StorePageShowsGameCards)
{
    auto http = clientFor(*server);
    for (const char* path : {"/client/index", "/client/activity"}) {
        SCOPED_TRACE(path);
        auto result = http->Get(path);
        ASSERT_TRUE(result);
        const std::string& page = result->body;
        EXPECT_EQ(page.find("id=\"cmd-"), std::string::npos);
        const JsonValue games = server->catalogue()["games"];
        ASSERT_GT(games.size(), 0u);
        for (size_t i = 0; i < games.size(); ++i) {
            const JsonValue& game = games[i];
            const std::string id = game["gameId"].asString();
            EXPECT_NE(page.find("<img src=\"/download/pics/" + id + ".png\""), std::string::npos) << id;
            EXPECT_NE(page.find(game["cnName"].asString()), std::string::npos) << id;
            EXPECT_NE(page.find("版本 " + game["version"].asString()), std::string::npos) << id;
            EXPECT_NE(page.find("id=\"download-" + id + "\" href=\"mivo://download#"), std::string::npos) << id;
            EXPECT_NE(page.find(">下载</a>"), std::string::npos);
            EXPECT_NE(page.find(">启动</a>"), std::string::npos);
        }
    }
}

TEST_F(StorePageTest, DownloadLinkCarriesTheGameRecord)
{
    auto http = clientFor(*server);
    auto result = http->Get("/client/index");
    ASSERT_TRUE(result);
    std::smatch link;
    const std::string& page = result->body;
    ASSERT_TRUE(std::regex_search(page, link, std::regex("id=\"download-1002\" href=\"mivo://download#([^\"]*)\"")));
    std::string argument = std::regex_replace(link[1].str(), std::regex("&quot;"), "\"");
    JsonValue record = JsonValue::parse(argument);
    JsonValue game = server->game("1002");
    EXPECT_EQ(record["gameId"].asString(), "1002");
    EXPECT_EQ(record["platform"].asString(), "0");
    EXPECT_EQ(record["md5"].asString(), game["md5"].asString());
    EXPECT_EQ(record["exe_dl_path"].asString(), game["exe_dl_path"].asString());
    EXPECT_EQ(record["launcher"].asString(), "bin/start.sh");
}

TEST_F(StorePageTest, PublicIpPageHasTheAddressInItsFourthPiece)
{
    auto http = clientFor(*server);
    auto result = http->Get("/");
    ASSERT_TRUE(result);
    // The client strips blanks and line breaks, splits at "<br/>" and reads the
    // text after "=" in the fourth piece.
    std::string text = std::regex_replace(result->body, std::regex("[ \r\n]"), "");
    std::vector<std::string> pieces;
    for (size_t start = 0;;) {
        size_t end = text.find("<br/>", start);
        pieces.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 5;
    }
    ASSERT_GE(pieces.size(), 4u);
    std::string fourth = pieces[3];
    size_t eq = fourth.find('=');
    ASSERT_NE(eq, std::string::npos);
    EXPECT_EQ(fourth.substr(eq + 1, fourth.find('=', eq + 1) - eq - 1), "127.0.0.1");
}

TEST_F(StorePageTest, WebLoginPageTellsWhetherTheAccountMatches)
{
    auto http = clientFor(*server);
    std::string t = currentTimestamp();
    struct Row {
        std::string query;
        const char* state;
    };
    const Row rows[] = {
        {"method=ajaxUserLogin&username=tester&password=orbela123&timestamp=" + t + "&sign=" + signing::signOf(t), "logged-in"},
        {"method=ajaxUserLogout&username=tester&password=orbela123&timestamp=" + t + "&sign=" + signing::signOf(t), "logged-out"},
        {"method=ajaxUserLogin&username=tester&password=nope&timestamp=" + t + "&sign=" + signing::signOf(t), "unknown-user"},
        {"method=ajaxUserLogin&username=tester&password=orbela123&timestamp=" + t + "&sign=00", "sign-error"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.state);
        auto result = http->Get(("/passport.php?action=client&" + row.query + "&net_ip=").c_str());
        ASSERT_TRUE(result);
        EXPECT_NE(result->body.find(std::string("data-state=\"") + row.state + "\""), std::string::npos);
    }
}

} // namespace
