#include "Signing.h"
#include "StoreServerProcess.h"
#include "StoreTestClient.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class FormPostTest : public SharedStoreServerTest<FormPostTest> {};

const char* const kLoginPath = "/passport.php?action=client&method=ajaxUserLogin";

std::string loginBody(const std::string& username, const std::string& password, bool goodSign)
{
    std::string t = currentTimestamp();
    return "username=" + urlEncode(username) + "&password=" + password + "&timestamp=" + t
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

namespace {

// A wizard's statistics form: the given keys in order, each with a plain value,
// signed (or not) over the timestamp.
std::string wizardForm(const std::vector<std::string>& keys, const std::string& status, bool goodSign)
{
    std::string t = currentTimestamp();
    std::string body;
    for (const std::string& key : keys) {
        std::string value = key == "timestamp" ? t
            : key == "sign"                    ? signing::signOf(goodSign ? t : t + "0")
            : key == "status"                  ? status
            : key == "pc_name"                 ? "A%26B PC"
                                               : "v";
        body += (body.empty() ? "" : "&") + key + "=" + value;
    }
    return body;
}

const std::vector<std::string> kMachineKeys = {"timestamp", "sign", "app_id", "type_id", "status",  "visitor_id", "pc_name",
                                               "user_name", "os",   "memory", "cpu",     "gpu",     "metrics",    "pc_type"};

std::vector<std::string> keysWith(std::vector<std::string> extra)
{
    std::vector<std::string> keys = kMachineKeys;
    keys.insert(keys.end(), extra.begin(), extra.end());
    return keys;
}

} // namespace

TEST_F(FormPostTest, WizardStatisticsFormIsJudgedByKeyOrderAndSign)
{
    struct Row {
        const char* what;
        std::vector<std::string> keys;
        std::string status;
        bool goodSign;
        int answer;
        std::string verdict;
    };
    std::vector<std::string> swapped = kMachineKeys;
    std::swap(swapped[8], swapped[9]);
    std::vector<std::string> shortForm(kMachineKeys.begin(), kMachineKeys.end() - 1);
    const Row rows[] = {
        {"install", kMachineKeys, "install", true, 1, "ok"},
        {"uninstall inside a VM", keysWith({"vm_type"}), "uninstall", true, 1, "ok"},
        {"update with versions", keysWith({"old_version", "new_version"}), "update", true, 1, "ok"},
        {"update inside a VM", keysWith({"vm_type", "old_version", "new_version"}), "update", true, 1, "ok"},
        {"update without versions", kMachineKeys, "update", true, -7, "missing key old_version"},
        {"install with versions", keysWith({"old_version", "new_version"}), "install", true, -7,
         "unexpected key old_version"},
        {"os and memory swapped", swapped, "install", true, -7, "key 9 is memory, expected os"},
        {"no pc_type", shortForm, "install", true, -7, "missing key pc_type"},
        {"bad sign", kMachineKeys, "install", false, -2, "sign error"},
        {"vm_type after the versions", keysWith({"old_version", "new_version", "vm_type"}), "update", true, -7,
         "unexpected key vm_type"},
    };
    auto http = clientFor(*server);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        server->clearLog();
        JsonValue answer = postForm(*http, "/hits", wizardForm(row.keys, row.status, row.goodSign));
        EXPECT_EQ(answer["status"].asInt(), row.answer);
        std::vector<JsonValue> log = server->logEntries();
        ASSERT_EQ(log.size(), 1u);
        EXPECT_EQ(log[0]["verdict"].asString(), row.verdict);
        EXPECT_EQ(log[0]["form"]["pc_name"].asString(), "A&B PC");
    }
}
