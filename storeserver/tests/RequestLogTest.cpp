#include "StoreServerProcess.h"
#include "StoreTestClient.h"

#include <gtest/gtest.h>

namespace {

TEST(RequestLogTest, RecordsEachRequestAsSent)
{
    StoreServerProcess server;
    ASSERT_TRUE(server.start()) << server.error();
    auto http = clientFor(server);

    ASSERT_TRUE(http->Get("/client/api/ajaxGetGameState?&user_id=7&timestamp=1&sign=x&gamestatus=%7B%7D&net_ip=",
                          {{"Range", "bytes=5-"}, {"User-Agent", "OrbelaTest/1.0"}, {"Accept-Encoding", "identity"}}));
    const std::string login = "username=%E6%B5%8B%E8%AF%95&password=p+w&timestamp=12&sign=ab&net_ip=";
    ASSERT_TRUE(http->Post("/passport.php?action=client&method=ajaxUserLogin", login, "application/x-www-form-urlencoded"));
    // The wizards send machine texts unescaped and in the OEM code page.
    const std::string wizard = "timestamp=5&sign=s&status=install&cpu=\xC4\xFA CPU&metrics=1920 * 1080 ( 60Hz / 32Bit )&pc_type=desktop:1/128/255%";
    ASSERT_TRUE(http->Post("/hits", wizard, "application/x-www-form-urlencoded"));
    ASSERT_TRUE(http->Delete("/no/such/route"));
    auto badRange = http->Get("/download/games/small-game.zip", {{"Range", "bytes=9-1"}});
    ASSERT_TRUE(badRange);
    EXPECT_EQ(badRange->status, 416);
    ASSERT_TRUE(http->Post("/__control/fault/clear"));

    std::vector<JsonValue> log = server.logEntries();
    ASSERT_EQ(log.size(), 5u);

    EXPECT_EQ(log[0]["method"].asString(), "GET");
    EXPECT_EQ(log[0]["path"].asString(), "/client/api/ajaxGetGameState");
    EXPECT_EQ(log[0]["query"].asString(), "&user_id=7&timestamp=1&sign=x&gamestatus=%7B%7D&net_ip=");
    EXPECT_EQ(log[0]["range"].asString(), "bytes=5-");
    EXPECT_EQ(log[0]["host"].asString(), server.host());
    EXPECT_EQ(log[0]["user_agent"].asString(), "OrbelaTest/1.0");
    EXPECT_EQ(log[0]["accept_encoding"].asString(), "identity");
    EXPECT_EQ(log[0]["body"].asString(), "");

    EXPECT_EQ(log[1]["method"].asString(), "POST");
    EXPECT_EQ(log[1]["query"].asString(), "action=client&method=ajaxUserLogin");
    EXPECT_EQ(log[1]["body"].asString(), login);
    EXPECT_EQ(log[1]["form"]["username"].asString(), "测试");
    EXPECT_EQ(log[1]["form"]["password"].asString(), "p w");
    EXPECT_EQ(log[1]["form"]["net_ip"].asString(), "");

    EXPECT_EQ(log[2]["path"].asString(), "/hits");
    EXPECT_EQ(log[2]["body_hex"].asString().substr(0, 20), "74696d657374616d703d");
    EXPECT_NE(log[2]["body"].asString().find("\xEF\xBF\xBD CPU"), std::string::npos);
    EXPECT_EQ(log[2]["form"]["metrics"].asString(), "1920 * 1080 ( 60Hz / 32Bit )");
    EXPECT_EQ(log[2]["form"]["pc_type"].asString(), "desktop:1/128/255%");
    EXPECT_EQ(log[2]["form"]["status"].asString(), "install");

    EXPECT_EQ(log[3]["method"].asString(), "DELETE");
    EXPECT_EQ(log[3]["path"].asString(), "/no/such/route");
    EXPECT_EQ(log[4]["range"].asString(), "bytes=9-1");

    server.clearLog();
    ASSERT_TRUE(http->Get("/client/index"));
    log = server.logEntries();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0]["path"].asString(), "/client/index");
}

} // namespace
