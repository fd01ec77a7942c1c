#include "StoreServerProcess.h"
#include "StoreTestClient.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

std::string runCommand(const std::string& command, int* exitCode)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    std::string output;
    char buffer[512];
    size_t got;
    while (pipe && (got = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        output.append(buffer, got);
    int status = pipe ? ::pclose(pipe.release()) : -1;
    *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

TEST(FixturePackageTest, CatalogueHasPackagesOfEachKindAndSize)
{
    StoreServerProcess server;
    ASSERT_TRUE(server.start()) << server.error();
    struct Row {
        const char* gameId;
        int platform;
        const char* suffix;
        bool aboveOneMiB;
    };
    const Row rows[] = {{"1001", 0, ".zip", false}, {"1002", 0, ".zip", true}, {"1003", 1, ".apk", false}, {"1004", 2, ".ipa", false}};
    auto http = clientFor(server);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.gameId);
        JsonValue game = server.game(row.gameId);
        ASSERT_TRUE(game.isObject());
        EXPECT_EQ(game["platform"].asInt(), row.platform);
        std::string url = game["exe_dl_path"].asString();
        EXPECT_EQ(url.substr(url.size() - std::string(row.suffix).size()), row.suffix);
        EXPECT_EQ(game["size"].asInt() > 1024 * 1024, row.aboveOneMiB);
        EXPECT_EQ(game["md5"].asString().size(), 32u);
        std::string picture = game["pic_dl_path"].asString();
        auto result = http->Get(picture.substr(server.baseUrl().size()).c_str());
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, 200);
        EXPECT_EQ(result->body.compare(0, 4, "\x89PNG"), 0);
    }
}

TEST(FixturePackageTest, PcPackagesUnpackToARunnableLauncher)
{
    if (std::system("command -v 7z >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "7z is not installed";
    StoreServerProcess server;
    ASSERT_TRUE(server.start()) << server.error();
    for (const char* gameId : {"1001", "1002"}) {
        SCOPED_TRACE(gameId);
        JsonValue game = server.game(gameId);
        std::string folder = server.dataDir() + "/unpacked-" + gameId;
        int code = -1;
        std::string output = runCommand("7z x -y '" + game["file"].asString() + "' '-o" + folder + "' 2>&1", &code);
        ASSERT_EQ(code, 0) << output;
        std::string launcher = folder + "/" + game["launcher"].asString();
        struct stat info;
        ASSERT_EQ(::stat(launcher.c_str(), &info), 0);
        EXPECT_TRUE(info.st_mode & S_IXUSR) << "the launcher lost its executable bit";
        output = runCommand("'" + launcher + "' -vr fullscreen", &code);
        EXPECT_EQ(code, 0);
        EXPECT_EQ(output, game["enName"].asString() + " started with arguments: -vr fullscreen\n");
    }
}

TEST(FixturePackageTest, BigFileOptionAddsASparseBenchmarkPackage)
{
    StoreServerProcess server({"--big-file-mib", "8"});
    ASSERT_TRUE(server.start()) << server.error();
    JsonValue game = server.game("1005");
    ASSERT_TRUE(game.isObject());
    EXPECT_GT(game["size"].asInt(), 8 * 1024 * 1024);
    auto http = clientFor(server);
    auto result = http->Head("/download/games/benchmark-game.zip");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->get_header_value("Content-Length"), std::to_string(game["size"].asInt()));
}

} // namespace
