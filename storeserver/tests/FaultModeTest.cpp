#include "Signing.h"
#include "StoreServerProcess.h"
#include "StoreTestClient.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

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

// An answer read off the socket as it came, for answers no HTTP client takes
// as they are: the bytes before the first blank line, and the rest until the
// server closed the connection.
struct RawAnswer {
    std::string head;
    std::string body;
    bool closed = false;  // the server ended the connection (no read timed out)
};

// keepAlive: the request lets the server keep the connection, so only the
// server's own decision ends it.
RawAnswer rawGet(const StoreServerProcess& server, const std::string& path, const std::string& range, bool keepAlive)
{
    RawAnswer answer;
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(server.port()));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    timeval timeout{10, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return answer;
    }
    std::string request = "GET " + path + " HTTP/1.1\r\nHost: " + server.host() + "\r\n";
    if (!range.empty())
        request += "Range: " + range + "\r\n";
    if (!keepAlive)
        request += "Connection: close\r\n";
    request += "\r\n";
    ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    std::string all;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0) {
            answer.closed = got == 0;
            break;
        }
        all.append(buffer, static_cast<size_t>(got));
    }
    ::close(fd);
    const size_t blank = all.find("\r\n\r\n");
    answer.head = all.substr(0, blank);
    answer.body = blank == std::string::npos ? std::string() : all.substr(blank + 4);
    return answer;
}

bool hasHeaderLine(const RawAnswer& answer, const std::string& line)
{
    return answer.head.find("\r\n" + line + "\r\n") != std::string::npos
        || (answer.head.size() >= line.size() + 2
            && answer.head.compare(answer.head.size() - line.size() - 2, std::string::npos, "\r\n" + line) == 0);
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
        {"answer:/download/games/small-game.zip+chunked", "/client/api/ajaxGetDevices", devicesPath(), "", 10,
         [&](const Outcome& o) {
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

// Answers that do not add up, on the package route and on an API route.
TEST_F(FaultModeTest, LyingAnswersStateWhatTheyAreTold)
{
    const std::string& whole = *package;
    const std::string size = std::to_string(whole.size());
    struct Row {
        const char* mode;
        std::string route;
        std::string path;
        std::string range;
        std::function<void(const RawAnswer&)> check;
    };
    const Row rows[] = {
        {"status:204", kPackage, kPackage, "bytes=100-", [&](const RawAnswer& a) {
             EXPECT_EQ(a.head.substr(0, 13), "HTTP/1.1 204 ");
             EXPECT_EQ(a.body, "");
         }},
        {"status:202", kPackage, kPackage, "", [&](const RawAnswer& a) {
             EXPECT_EQ(a.head.substr(0, 13), "HTTP/1.1 202 ");
             EXPECT_EQ(a.body, "status 202\n");
         }},
        {"status:150", kPackage, kPackage, "", [&](const RawAnswer& a) {
             EXPECT_EQ(a.head.substr(0, 13), "HTTP/1.1 150 ");
             EXPECT_EQ(a.body, "");
             EXPECT_TRUE(a.closed) << "no final answer follows";
         }},
        {"status:503", "/client/api/ajaxGetDevices", devicesPath(), "", [&](const RawAnswer& a) {
             EXPECT_EQ(a.head.substr(0, 13), "HTTP/1.1 503 ");
             EXPECT_EQ(a.body, "status 503\n");
         }},
        {"garbage-status", kPackage, kPackage, "", [&](const RawAnswer& a) {
             EXPECT_TRUE(a.closed);
             EXPECT_FALSE(a.head.empty());
             EXPECT_NE(a.head.substr(0, 5), "HTTP/");
             EXPECT_EQ(a.head.find(whole.substr(0, 64)), std::string::npos);
         }},
        {"range-lie:0-99/5242880", kPackage, kPackage, "", [&](const RawAnswer& a) {
             EXPECT_EQ(a.head.substr(0, 13), "HTTP/1.1 206 ");
             EXPECT_TRUE(hasHeaderLine(a, "Content-Range: bytes 0-99/5242880")) << a.head;
             EXPECT_TRUE(hasHeaderLine(a, "Content-Length: 100")) << a.head;
             EXPECT_EQ(a.body, whole.substr(0, 100));
         }},
        {"range-lie:100-199/999", kPackage, kPackage, "bytes=5000-", [&](const RawAnswer& a) {
             EXPECT_TRUE(hasHeaderLine(a, "Content-Range: bytes 100-199/999")) << a.head;
             EXPECT_EQ(a.body, whole.substr(100, 100));
         }},
        {"range-lie:1000-99999999/99999999", kPackage, kPackage, "bytes=1000-", [&](const RawAnswer& a) {
             EXPECT_TRUE(hasHeaderLine(a, "Content-Range: bytes 1000-99999999/99999999")) << a.head;
             EXPECT_EQ(a.body, whole.substr(1000)) << "the bytes stop where the body does";
         }},
        {"length-lie:99999999999999999999", kPackage, kPackage, "", [&](const RawAnswer& a) {
             EXPECT_EQ(a.head.substr(0, 13), "HTTP/1.1 200 ");
             EXPECT_TRUE(hasHeaderLine(a, "Content-Length: 99999999999999999999")) << a.head;
             EXPECT_EQ(a.head.find("Content-Length: " + size), std::string::npos) << "one length only";
             EXPECT_TRUE(a.closed);
             EXPECT_EQ(a.body, whole);
         }},
        {"length-lie:100", kPackage, kPackage, "bytes=1000-", [&](const RawAnswer& a) {
             EXPECT_EQ(a.head.substr(0, 13), "HTTP/1.1 206 ");
             EXPECT_TRUE(hasHeaderLine(a, "Content-Range: bytes 1000-" + std::to_string(whole.size() - 1) + "/" + size));
             EXPECT_TRUE(hasHeaderLine(a, "Content-Length: 100")) << a.head;
             EXPECT_TRUE(a.closed);
             EXPECT_EQ(a.body, whole.substr(1000)) << "the whole body follows the short statement";
         }},
        {"encoded", kPackage, kPackage, "", [&](const RawAnswer& a) {
             EXPECT_TRUE(hasHeaderLine(a, "Content-Encoding: gzip")) << a.head;
             EXPECT_EQ(a.body, whole) << "the label changes no byte";
         }},
        {"answer:/download/games/small-game.zip", "/client/api/ajaxGetDevices", devicesPath(), "",
         [&](const RawAnswer& a) {
             EXPECT_EQ(a.head.substr(0, 13), "HTTP/1.1 200 ");
             EXPECT_EQ(a.body, whole);
         }},
        {"gzip-bomb", "/client/api/ajaxGetDevices", devicesPath(), "", [&](const RawAnswer& a) {
             EXPECT_EQ(a.head.substr(0, 13), "HTTP/1.1 200 ");
             EXPECT_TRUE(hasHeaderLine(a, "Content-Encoding: gzip")) << a.head;
             EXPECT_TRUE(hasHeaderLine(a, "Content-Length: " + std::to_string(a.body.size()))) << a.head;
             EXPECT_EQ(a.body.substr(0, 2), "\x1f\x8b");
             EXPECT_LT(a.body.size(), 2u * 1024 * 1024) << "small on the wire";
             // The gzip trailer's inflated size: 1 GiB.
             EXPECT_EQ(a.body.substr(a.body.size() - 4), std::string("\0\0\0\x40", 4));
         }},
        {"answer:/../small-game.zip", "/client/api/ajaxGetDevices", devicesPath(), "", [&](const RawAnswer& a) {
             EXPECT_EQ(a.head.substr(0, 13), "HTTP/1.1 404 ") << "nothing outside the data folder";
         }},
        {"length-lie:-1", "/client/api/ajaxGetDevices", devicesPath(), "", [&](const RawAnswer& a) {
             EXPECT_TRUE(hasHeaderLine(a, "Content-Length: -1")) << a.head;
             EXPECT_EQ(JsonValue::parse(a.body)["status"].asInt(), 1);
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mode);
        ASSERT_TRUE(server->setFault(row.route, row.mode));
        server->clearLog();
        // Where the answer itself must end the connection, nothing else may.
        const bool serverCloses = std::string(row.mode).find("status:1") == 0
            || std::string(row.mode).find("length-lie") == 0 || std::string(row.mode) == "garbage-status";
        row.check(rawGet(*server, row.path, row.range, serverCloses));
        const std::vector<JsonValue> log = server->logEntries();
        ASSERT_EQ(log.size(), 1u) << "every lying answer's request is logged";
        EXPECT_EQ(log[0]["range"].asString(), row.range);
        ASSERT_TRUE(server->clearFaults(row.route));
        Outcome normal = fetch(*server, row.path, {}, 10);
        EXPECT_TRUE(normal.answered);
        EXPECT_EQ(normal.status, 200);
    }
}

TEST_F(FaultModeTest, ControlRouteRefusesUnknownModes)
{
    for (const char* mode : {"explode", "redirect", "cut:-5", "status", "status:99", "status:600", "status:2x",
                             "encoded:1", "answer", "answer:x.json", "drip-headers:x", "range-lie:5", "range-lie:1-2", "range-lie:a-b/c", "length-lie", "length-lie:1e3",
                             "garbage-status:1", "drip:x", "gzip-bomb:x", "404+chunked", "answer:/a.json+answer:/b.json",
                             "answer:/a.json+gzip-bomb", "answer:/a.json+", "+chunked"}) {
        SCOPED_TRACE(mode);
        EXPECT_FALSE(server->setFault(kPackage, mode));
    }
}

// One byte at a time, each after the pause the mode names, under the length
// of the whole answer.
TEST_F(FaultModeTest, DripSendsTheBodyByteByByte)
{
    const Outcome normal = fetch(*server, devicesPath(), {}, 10);
    ASSERT_GT(normal.body.size(), 3u);
    ASSERT_TRUE(server->setFault("/client/api/ajaxGetDevices", "drip:300"));
    auto http = clientFor(*server, 10);
    std::string length, body;
    const auto started = std::chrono::steady_clock::now();
    http->Get(
        devicesPath().c_str(), httplib::Headers(),
        [&](const httplib::Response& response) {
            length = response.get_header_value("Content-Length");
            return true;
        },
        [&](const char* data, size_t size) {
            body.append(data, size);
            return body.size() < 3;
        });
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    ASSERT_TRUE(server->clearFaults("/client/api/ajaxGetDevices"));
    EXPECT_EQ(length, std::to_string(normal.body.size()));
    EXPECT_EQ(body, normal.body.substr(0, 3));
    EXPECT_GE(seconds, 0.55) << "two pauses before the third byte";
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
