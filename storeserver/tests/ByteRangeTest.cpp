#include "Md5Digest.h"
#include "StoreServerProcess.h"
#include "StoreTestClient.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

class ByteRangeTest : public SharedStoreServerTest<ByteRangeTest> {};

const char* const kSmallPackage = "/download/games/small-game.zip";

TEST_F(ByteRangeTest, ServesSingleOpenEndedSuffixAndUnsatisfiableRanges)
{
    const std::string whole = readFileBytes(server->game("1001")["file"].asString());
    const size_t size = whole.size();
    ASSERT_GT(size, 1000u);
    const std::string total = "/" + std::to_string(size);
    struct Row {
        std::string range;
        int status;
        size_t first;
        size_t length;
        std::string contentRange;
    };
    const Row rows[] = {
        {"", 200, 0, size, ""},
        {"bytes=0-99", 206, 0, 100, "bytes 0-99" + total},
        {"bytes=100-", 206, 100, size - 100, "bytes 100-" + std::to_string(size - 1) + total},
        {"bytes=-500", 206, size - 500, 500, "bytes " + std::to_string(size - 500) + "-" + std::to_string(size - 1) + total},
        {"bytes=10-" + std::to_string(size + 5000), 206, 10, size - 10, "bytes 10-" + std::to_string(size - 1) + total},
        {"bytes=" + std::to_string(size - 1) + "-", 206, size - 1, 1, "bytes " + std::to_string(size - 1) + "-" + std::to_string(size - 1) + total},
        {"bytes=" + std::to_string(size) + "-", 416, 0, 0, "bytes */" + std::to_string(size)},
        {"bytes=" + std::to_string(size + 10) + "-" + std::to_string(size + 20), 416, 0, 0, "bytes */" + std::to_string(size)},
    };
    auto http = clientFor(*server);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.range);
        httplib::Headers headers = rangeHeader(row.range);
        auto result = http->Get(kSmallPackage, headers);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, row.status);
        EXPECT_EQ(result->get_header_value("Content-Range"), row.contentRange);
        EXPECT_EQ(result->get_header_value("Accept-Ranges"), "bytes");
        EXPECT_EQ(result->body, whole.substr(row.first, row.length));
    }
}

TEST_F(ByteRangeTest, HeadGivesLengthWithoutBody)
{
    const uint64_t size = static_cast<uint64_t>(server->game("1002")["size"].asInt());
    struct Row {
        std::string range;
        int status;
        uint64_t length;
    };
    const Row rows[] = {{"", 200, size}, {"bytes=0-9", 206, 10}, {"bytes=-" + std::to_string(size + 1), 206, size}};
    auto http = clientFor(*server);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.range);
        httplib::Headers headers = rangeHeader(row.range);
        auto result = http->Head("/download/games/large-game.zip", headers);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, row.status);
        EXPECT_EQ(result->get_header_value("Content-Length"), std::to_string(row.length));
        EXPECT_TRUE(result->body.empty());
    }
}

TEST_F(ByteRangeTest, ServedPackagesHaveTheCatalogueMd5)
{
    const JsonValue catalogue = server->catalogue();
    const JsonValue& games = catalogue["games"];
    ASSERT_EQ(games.size(), 4u);
    auto http = clientFor(*server);
    for (size_t i = 0; i < games.size(); ++i) {
        const JsonValue& game = games[i];
        SCOPED_TRACE(game["gameId"].asString());
        std::string url = game["exe_dl_path"].asString();
        ASSERT_EQ(url.rfind(server->baseUrl(), 0), 0u);
        Md5Digest digest;
        uint64_t received = 0;
        auto result = http->Get(url.substr(server->baseUrl().size()).c_str(), [&](const char* data, size_t length) {
            digest.update(data, length);
            received += length;
            return true;
        });
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, 200);
        EXPECT_EQ(received, static_cast<uint64_t>(game["size"].asInt()));
        const std::string md5 = digest.hex();
        EXPECT_EQ(md5, game["md5"].asString());
        EXPECT_EQ(md5, Md5Digest::ofFile(game["file"].asString()));
    }
}

TEST_F(ByteRangeTest, PathsOutsideTheDownloadFolderAreNotServed)
{
    auto http = clientFor(*server);
    for (const char* path : {"/download/..%2Fcatalogue.json", "/download/games/..%2F..%2Fcatalogue.json",
                             "/download/games/", "/download/games/missing.zip"}) {
        SCOPED_TRACE(path);
        auto result = http->Get(path);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, 404);
    }
}

} // namespace
