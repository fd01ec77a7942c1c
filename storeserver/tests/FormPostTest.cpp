#include "Signing.h"
#include "StoreServerProcess.h"
#include "StoreTestClient.h"

#include <gtest/gtest.h>

namespace {

class FormPostTest : public SharedStoreServerTest<FormPostTest> {};

const char* const kLoginPath = "/passport.php?action=client&method=ajaxUserLogin";

std::string loginBody(const std::string& username, const std::string& password, bool goodSign)
{
    std::string t = currentTimestamp();
    return "username=" + percentEncode(username) + "&password=" + password + "&timestamp=" + t
        + "&sign=" + signing::signOf(goodSign ? t : t + "0") + "&net_ip=127.0.0.1";
}

TEST_F(FormPostTest, LoginAnswersByAccountPasswordAndSign)
{
    struct Row {
        const char* what;
        std::string username;
        std::string password;
        bool goodSign;
        int status;
        std::string uid;
        std::string nickname;
    };
    const Row rows[] = {
        {"test account", "tester", "orbela123", true, 1, "10001", "测试玩家"},
        {"Chinese user name", "测试用户", "mima2024", true, 1, "10002", "小明"},
        {"wrong password", "tester", "orbela124", true, 0, "", ""},
        {"unknown user", "nobody", "orbela123", true, 0, "", ""},
        {"bad sign", "tester", "orbela123", false, -2, "", ""},
        {"empty user name", "", "orbela123", true, -7, "", ""},
    };
    auto http = clientFor(*server);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        JsonValue answer = postForm(*http, kLoginPath, loginBody(row.username, row.password, row.goodSign));
        ASSERT_TRUE(answer.isObject());
        EXPECT_EQ(answer["status"].asInt(), row.status);
        EXPECT_EQ(answer["user"]["uid"].asString(), row.uid);
        EXPECT_EQ(answer["user"]["nickname"].asString(), row.nickname);
        if (row.status == 1)
            EXPECT_EQ(answer["user"]["avatar"].asString(), server->baseUrl() + "/avatar?uid=" + row.uid);
    }
}

TEST_F(FormPostTest, AvatarAddressRedirectsToAPicture)
{
    auto http = clientFor(*server);
    auto redirect = http->Get("/avatar?uid=10001");
    ASSERT_TRUE(redirect);
    EXPECT_EQ(redirect->status, 302);
    std::string target = redirect->get_header_value("Location");
    ASSERT_EQ(target, server->baseUrl() + "/download/pics/avatar.png");
    auto picture = http->Get(target.substr(server->baseUrl().size()).c_str());
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->status, 200);
    EXPECT_EQ(picture->get_header_value("Content-Type"), "image/png");
    EXPECT_EQ(picture->body.compare(0, 8, "\x89PNG\r\n\x1a\n"), 0);
}

TEST_F(FormPostTest, StatisticsHitChecksItsSign)
{
    auto http = clientFor(*server);
    std::string t = currentTimestamp();
    std::string rest = "&app_id=1002&type_id=&status=closeOrbela&visitor_id=00:1A:2B:3C:4D:5E&device_id=&user_id=42&net_ip=127.0.0.1";
    EXPECT_EQ(postForm(*http, "/hits", "timestamp=" + t + "&sign=" + signing::signOf(t) + rest)["status"].asInt(), 1);
    EXPECT_EQ(postForm(*http, "/hits", "timestamp=" + t + "&sign=" + signing::signOf(t + "1") + rest)["status"].asInt(), -2);
}

TEST_F(FormPostTest, OnlineTimePostIsWhatTheUserResourcesReport)
{
    auto http = clientFor(*server);
    auto post = [&](const std::string& seconds, bool goodSign) {
        std::string t = currentTimestamp();
        std::string sign = signing::signOf(t + (goodSign ? "10001" : "10002"));
        return postForm(*http, "/api/CurrentOnlineLength",
                        "uid=10001&timestamp=" + t + "&sign=" + sign + "&CurrentOnlineLength=" + seconds + "&");
    };
    auto reported = [&]() {
        std::string t = currentTimestamp();
        return getJson(*http, "/api/getUserResource?uid=10001&timestamp=" + t + "&sign=" + signing::signOf(t + "10001")
                                  + "&net_ip=")["resource"]["CurrentOnlineLength"].asInt();
    };
    EXPECT_EQ(post("3600", true)["status"].asInt(), 1);
    EXPECT_EQ(reported(), 3600);
    EXPECT_EQ(post("7200", false)["status"].asInt(), -2);
    EXPECT_EQ(reported(), 3600);
}

} // namespace
