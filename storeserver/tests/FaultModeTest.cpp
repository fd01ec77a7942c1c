#include "Signing.h"
#include "StoreServerProcess.h"
#include "StoreTestClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

namespace {

const char* const kPackage = "/download/games/small-game.zip";

std::string devicesPath()
{
    return std::string("/client/api/ajaxGetDevices?version=") + signing::kClientVersion + "&sign="
        + signing::signOf(signing::kClientVersion);
}

struct Outcome {
    bool answered = false;  // a complete response arrived
    int status = 0;
    httplib::Headers headers;
    std::string body;  // what arrived, also when the transfer broke off
    double seconds = 0;
};

Outcome fetch(const StoreServerProcess& server, const std::string& path, const httplib::Headers& headers, int timeout)
{
    auto http = clientFor(server, timeout);
    Outcome outcome;
    auto started = std::chrono::steady_clock::now();
    auto result = http->Get(
        path.c_str(), headers,
        [&](const httplib::Response& response) {
            outcome.status = response.status;
            outcome.headers = response.headers;
            return true;
        },
        [&](const char* data, size_t length) {
            outcome.body.append(data, length);
            return true;
        });
    outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    outcome.answered = static_cast<bool>(result);
    return outcome;
}

std::string headerOf(const Outcome& outcome, const char* name)
{
    auto found = outcome.headers.find(name);
    return found == outcome.headers.end() ? std::string() : found->second;
}

class FaultModeTest : public SharedStoreServerTest<FaultModeTest> {
protected:
    static void SetUpTestSuite()
    {
        SharedStoreServerTest::SetUpTestSuite();
        package = new std::string(readFileBytes(server->game("1001")["file"].asString()));
    }
    static void TearDownTestSuite()
    {
        SharedStoreServerTest::TearDownTestSuite();
        delete package;
        package = nullptr;
    }
    static inline std::string* package = nullptr;
};

TEST_F(FaultModeTest, EachModeShapesTheAnswer)
{
    const std::string& whole = *package;
    const std::string base = server->baseUrl();
    struct Row {
        const char* mode;
        std::string route;
        std::string path;
        std::string range;
        int timeout;
        std::function<void(const Outcome&)> check;
    };
    const Row rows[] = {
        {"slow:400000", kPackage, kPackage, "", 10, [&](const Outcome& o) {
             EXPECT_TRUE(o.answered);
             EXPECT_EQ(o.body, whole);
             EXPECT_GE(o.seconds, 0.8 * static_cast<double>(whole.size()) / 400000);
         }},
        {"stall:1000", kPackage, kPackage, "", 1, [&](const Outcome& o) {
             EXPECT_FALSE(o.answered);
             EXPECT_EQ(o.status, 200);
             EXPECT_EQ(o.body, whole.substr(0, 1000));
         }},
        {"cut:1000", kPackage, kPackage, "", 10, [&](const Outcome& o) {
             EXPECT_FALSE(o.answered);
             EXPECT_EQ(headerOf(o, "Content-Length"), std::to_string(whole.size()));
             EXPECT_EQ(o.body, whole.substr(0, 1000));
         }},
        {"cut:10", kPackage, kPackage, "bytes=100-", 10, [&](const Outcome& o) {
             EXPECT_FALSE(o.answered);
             EXPECT_EQ(o.status, 206);
             EXPECT_EQ(o.body, whole.substr(100, 10));
         }},
        {"ignore-range", kPackage, kPackage, "bytes=0-99", 10, [&](const Outcome& o) {
             EXPECT_EQ(o.status, 200);
             EXPECT_EQ(headerOf(o, "Content-Range"), "");
             EXPECT_EQ(o.body, whole);
         }},
        {"404", kPackage, kPackage, "", 10, [&](const Outcome& o) { EXPECT_EQ(o.status, 404); }},
        {"bad-json", "/client/api/ajaxGetDevices", devicesPath(), "", 10, [&](const Outcome& o) {
             EXPECT_EQ(o.status, 200);
             bool ok = true;
             JsonValue::parse(o.body, &ok);
             EXPECT_FALSE(ok) << o.body;
         }},
        {"no-answer", "/client/api/ajaxGetDevices", devicesPath(), "", 1, [&](const Outcome& o) {
             EXPECT_FALSE(o.answered);
             EXPECT_EQ(o.status, 0);
         }},
        {"delay-headers:1", "/client/api/ajaxGetDevices", devicesPath(), "", 10, [&](const Outcome& o) {
             EXPECT_EQ(o.status, 200);
             EXPECT_GE(o.seconds, 0.9);
             EXPECT_EQ(JsonValue::parse(o.body)["status"].asInt(), 1);
         }},
        {"chunked", kPackage, kPackage, "", 10, [&](const Outcome& o) {
             EXPECT_TRUE(o.answered);
             EXPECT_EQ(headerOf(o, "Transfer-Encoding"), "chunked");
             EXPECT_EQ(headerOf(o, "Content-Length"), "");
             EXPECT_EQ(o.body, whole);
         }},
        {"redirect:/download/games/large-game.zip", kPackage, kPackage, "", 10, [&](const Outcome& o) {
             EXPECT_EQ(o.status, 302);
             EXPECT_EQ(headerOf(o, "Location"), base + "/download/games/large-game.zip");
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mode);
        ASSERT_TRUE(server->setFault(row.route, row.mode));
        httplib::Headers headers = rangeHeader(row.range);
        row.check(fetch(*server, row.path, headers, row.timeout));
        ASSERT_TRUE(server->clearFaults(row.route));
        Outcome normal = fetch(*server, row.path, {}, 10);
        EXPECT_TRUE(normal.answered);
        EXPECT_EQ(normal.status, 200);
    }
}

TEST_F(FaultModeTest, ControlRouteRefusesUnknownModes)
{
    EXPECT_FALSE(server->setFault(kPackage, "explode"));
    EXPECT_FALSE(server->setFault(kPackage, "redirect"));
    EXPECT_FALSE(server->setFault(kPackage, "cut:-5"));
}

TEST(FaultModeStartOptions, CommandLineFaultsApplyByExactRouteAndPrefix)
{
    StoreServerProcess server({"--fault", "/client/api/ajaxGetDevices=404", "--fault", "/download/*=chunked"});
    ASSERT_TRUE(server.start()) << server.error();
    EXPECT_EQ(fetch(server, devicesPath(), {}, 10).status, 404);
    Outcome picture = fetch(server, "/download/pics/1001.png", {}, 10);
    EXPECT_EQ(picture.status, 200);
    EXPECT_EQ(headerOf(picture, "Transfer-Encoding"), "chunked");
    EXPECT_EQ(fetch(server, "/client/index", {}, 10).status, 200);
}

} // namespace
