#include "HttpPost.h"
#include "StandInLog.h"

#include <gtest/gtest.h>
#include <winsock2.h>

#include <curl/curl.h>

#include <string>

namespace {

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

// A loopback port that nothing listens on: bound once, then released.
int ClosedPort()
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    int length = sizeof(address);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    closesocket(s);
    return ntohs(address.sin_port);
}

TEST(HttpPostTest, BodyArrivesByteForByteAndTheAnswerIsAppended)
{
    // Non-UTF-8 bytes make the stand-in log the raw body as hexadecimal too.
    const std::string body = "a=1&b=\xC4\xFA x+y%25&c=(1/2):3";
    size_t before = StandInLogLines().size();
    std::string reply = "kept:";
    EXPECT_EQ(HttpPost("http://" + StandInHost() + "/hits", body, reply), CURLE_OK);
    EXPECT_EQ(reply.substr(0, 5), "kept:");
    EXPECT_NE(reply.find("\"status\""), std::string::npos) << reply;
    std::vector<std::string> lines = StandInLogLines();
    ASSERT_EQ(lines.size(), before + 1);
    EXPECT_EQ(JsonMember(lines.back(), "method"), "POST");
    EXPECT_EQ(JsonMember(lines.back(), "body_hex"), Hex(body));
    EXPECT_EQ(JsonMember(lines.back(), "content_type"), "application/x-www-form-urlencoded");
}

TEST(HttpPostTest, ClosedPortFailsWithACurlCode)
{
    std::string reply;
    int code = HttpPost("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/hits", "a=1", reply);
    EXPECT_EQ(code, CURLE_COULDNT_CONNECT);
    EXPECT_TRUE(reply.empty());
}

TEST(HttpPostTest, WriteCallbackAppendsAndRefusesNull)
{
    std::string reply = "x";
    char data[] = "abc";
    EXPECT_EQ(HttpWriteToString(data, 1, 3, &reply), 3u);
    EXPECT_EQ(reply, "xabc");
    EXPECT_EQ(HttpWriteToString(nullptr, 1, 3, &reply), static_cast<size_t>(-1));
    EXPECT_EQ(HttpWriteToString(data, 1, 3, nullptr), static_cast<size_t>(-1));
}

} // namespace
