#include "Signing.h"
#include "StoreServerProcess.h"
#include "StoreTestClient.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class SignedApiTest : public SharedStoreServerTest<SignedApiTest> {};

struct ApiCase {
    const char* name;
    std::string signedText;
    // The request path with the given sign text in place ("" leaves "sign" out).
    std::function<std::string(const std::string& signField)> path;
    std::function<void(const JsonValue& answer)> checkPayload;
};

std::vector<ApiCase> apiCases(const StoreServerProcess& server, const std::string& t)
{
    const std::string version = signing::kClientVersion;
    const std::string base = server.baseUrl();
    const JsonValue small = server.game("1001");
    const std::string localStatus = R"({"1001":"5|0.9.0|abc","1002":"5|2.1.0|def","1004":"5|1.0.3|ghi","77":"5|1|x"})";
    return {
        {"ajaxGetDevices", version,
         [=](const std::string& sign) { return "/client/api/ajaxGetDevices?version=" + version + sign + "&net_ip=127.0.0.1"; },
         [](const JsonValue& answer) {
             ASSERT_TRUE(answer["data"].isObject());
             EXPECT_GE(answer["data"].size(), 1u);
             EXPECT_EQ(answer["data"]["1"].asString(), "HTC Vive|htc_vive");
         }},
        {"ajaxGetVersion", version,
         [=](const std::string& sign) { return "/client/api/ajaxGetVersion?version=" + version + sign + "&net_ip="; },
         [](const JsonValue& answer) {
             ASSERT_TRUE(answer["data"].isObject());
             EXPECT_EQ(answer["data"].size(), 0u);
         }},
        {"ajaxGetVersionMessage", version,
         [=](const std::string& sign) { return "/client/api/ajaxGetVersionMessage?version=" + version + sign + "&net_ip="; },
         [=](const JsonValue& answer) { EXPECT_EQ(answer["url"].asString(), base + "/client/version"); }},
        {"ajaxGetOnlineTotal", t,
         [=](const std::string& sign) { return "/client/api/ajaxGetOnlineTotal?timestamp=" + t + sign + "&net_ip="; },
         [](const JsonValue& answer) {
             ASSERT_TRUE(answer["online_total"].isNumber());
             EXPECT_GT(answer["online_total"].asInt(), 0);
         }},
        {"getUserResource", t + "10001",
         [=](const std::string& sign) { return "/api/getUserResource?uid=10001&timestamp=" + t + sign + "&net_ip="; },
         [=](const JsonValue& answer) {
             const JsonValue& resource = answer["resource"];
             for (const char* key : {"CurrentOnlineLength", "coins", "tickets"})
                 EXPECT_TRUE(resource[key].isNumber()) << key;
             for (const char* key : {"coin_url", "ticket_url", "home_url"})
                 EXPECT_EQ(resource[key].asString().rfind(base + "/", 0), 0u) << key;
         }},
        {"ajaxGetGame", t + "1001" + "10001",
         [=](const std::string& sign) {
             return "/client/api/ajaxGetGame?game_id=1001&user_id=10001&timestamp=" + t + sign + "&net_ip=";
         },
         [=](const JsonValue& answer) {
             const JsonValue& data = answer["data"];
             EXPECT_EQ(data["gameId"].asString(), "1001");
             EXPECT_EQ(data["md5"].asString(), small["md5"].asString());
             ASSERT_TRUE(data["platform"].isNumber());
             EXPECT_EQ(data["platform"].asInt(), 0);
             EXPECT_EQ(data["exe_dl_path"].asString(), base + "/download/games/small-game.zip");
             for (const char* key : {"cnName", "enName", "version", "pic_dl_path", "deviceId", "launcher", "launcherParameter"})
                 EXPECT_TRUE(data[key].isString()) << key;
         }},
        {"ajaxGetGameState", t + "10001",
         [=](const std::string& sign) {
             return "/client/api/ajaxGetGameState?&user_id=10001&timestamp=" + t + sign + "&gamestatus="
                 + percentEncode(localStatus) + "&net_ip=";
         },
         [](const JsonValue& answer) {
             const JsonValue& data = answer["data"];
             EXPECT_EQ(data["1001"].asString(), "1|1");  // older version installed
             EXPECT_EQ(data["1002"].asString(), "0|1");
             EXPECT_EQ(data["1004"].asString(), "0|0");  // not bought
             EXPECT_FALSE(data.has("77"));
         }},
    };
}

TEST_F(SignedApiTest, AnswersEachTypeWithPayloadWhenSignMatches)
{
    auto http = clientFor(*server);
    for (const auto& row : apiCases(*server, currentTimestamp())) {
        SCOPED_TRACE(row.name);
        JsonValue answer = getJson(*http, row.path("&sign=" + signing::signOf(row.signedText)));
        ASSERT_TRUE(answer.isObject());
        EXPECT_EQ(answer["status"].asInt(), 1);
        EXPECT_TRUE(answer["msg"].isString());
        EXPECT_TRUE(answer["debug"].isString());
        row.checkPayload(answer);
    }
}

TEST_F(SignedApiTest, RejectsWrongOrMissingSign)
{
    auto http = clientFor(*server);
    for (const auto& row : apiCases(*server, currentTimestamp())) {
        SCOPED_TRACE(row.name);
        // A sign over a different text, and a sign over the right text without the salt.
        for (const std::string& wrong : {signing::signOf(row.signedText + "1"), signing::signOf("")}) {
            JsonValue answer = getJson(*http, row.path("&sign=" + wrong));
            EXPECT_EQ(answer["status"].asInt(), -2);
            EXPECT_FALSE(answer.has("data"));
            EXPECT_FALSE(answer.has("resource"));
        }
        EXPECT_EQ(getJson(*http, row.path(""))["status"].asInt(), -7);
    }
}

TEST_F(SignedApiTest, VersionServiceFollowsItsModeAtRunTime)
{
    struct Row {
        const char* mode;
        bool offersUpdate;
        int upgraded;
    };
    const Row rows[] = {{"optional", true, 0}, {"forced", true, 1}, {"none", false, 0}};
    auto http = clientFor(*server);
    const std::string request = std::string("/client/api/ajaxGetVersion?version=") + signing::kClientVersion
        + "&sign=" + signing::signOf(signing::kClientVersion) + "&net_ip=";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mode);
        ASSERT_TRUE(server->setUpdate(row.mode, "1.2.0.5"));
        JsonValue data = getJson(*http, request)["data"];
        ASSERT_TRUE(data.isObject());
        EXPECT_EQ(data.size() > 0, row.offersUpdate);
        if (row.offersUpdate) {
            EXPECT_EQ(data["ve_num"].asString(), "1.2.0.5");
            EXPECT_FALSE(data["ve_note"].asString().empty());
            EXPECT_EQ(data["ve_url"].asString(), server->baseUrl() + "/download/orbela-update.7z");
            ASSERT_TRUE(data["ve_upgraded"].isNumber());
            EXPECT_EQ(data["ve_upgraded"].asInt(), row.upgraded);
        }
    }
}

TEST(SignedApiStartOptions, ForcedUpdateFromCommandLine)
{
    StoreServerProcess server({"--update", "forced", "--update-version", "2.0.0.1", "--update-url", "http://127.0.0.1:1/pkg.7z"});
    ASSERT_TRUE(server.start()) << server.error();
    auto http = clientFor(server);
    JsonValue data = getJson(*http, std::string("/client/api/ajaxGetVersion?version=") + signing::kClientVersion
                                        + "&sign=" + signing::signOf(signing::kClientVersion))["data"];
    EXPECT_EQ(data["ve_num"].asString(), "2.0.0.1");
    EXPECT_EQ(data["ve_url"].asString(), "http://127.0.0.1:1/pkg.7z");
    EXPECT_EQ(data["ve_upgraded"].asInt(), 1);
}

TEST_F(SignedApiTest, UnknownGameIsAFailureWithoutGameData)
{
    auto http = clientFor(*server);
    std::string t = currentTimestamp();
    JsonValue answer = getJson(*http, "/client/api/ajaxGetGame?game_id=999&user_id=&timestamp=" + t
                                          + "&sign=" + signing::signOf(t + "999") + "&net_ip=");
    EXPECT_EQ(answer["status"].asInt(), 0);
    EXPECT_FALSE(answer["data"].has("gameId"));
}

} // namespace
