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

TEST(FixturePackageTest, PublishedVersionComesWithASecondPackage)
{
    if (std::system("command -v 7z >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "7z is not installed";
    StoreServerProcess server;
    ASSERT_TRUE(server.start()) << server.error();
    const JsonValue before = server.game("1002");
    ASSERT_TRUE(server.publishVersion("1002"));
    const JsonValue after = server.game("1002");
    EXPECT_EQ(before["version"].asString(), "2.1.0");
    EXPECT_EQ(after["version"].asString(), "2.1.1");
    EXPECT_NE(after["exe_dl_path"].asString(), before["exe_dl_path"].asString());
    EXPECT_NE(after["md5"].asString(), before["md5"].asString());

    // The new package is served whole, its MD5 is the catalogue's, and it holds the marker.
    int code = -1;
    std::string digest = runCommand("md5sum '" + after["file"].asString() + "'", &code);
    ASSERT_EQ(code, 0);
    EXPECT_EQ(digest.substr(0, 32), after["md5"].asString());
    auto http = clientFor(server);
    auto served = http->Get(after["exe_dl_path"].asString().substr(server.baseUrl().size()).c_str());
    ASSERT_TRUE(served);
    EXPECT_EQ(served->status, 200);
    EXPECT_EQ(served->body.size(), static_cast<size_t>(after["size"].asInt()));
    std::string folder = server.dataDir() + "/unpacked-published";
    std::string output = runCommand("7z x -y '" + after["file"].asString() + "' '-o" + folder + "' 2>&1", &code);
    ASSERT_EQ(code, 0) << output;
    EXPECT_EQ(runCommand("cat '" + folder + "/version.txt'", &code), "Deep Sea 2.1.1\n");
    struct stat info;
    EXPECT_EQ(::stat((folder + "/" + after["launcher"].asString()).c_str(), &info), 0);
    // The old package stays for downloads still running.
    auto old = http->Head(before["exe_dl_path"].asString().substr(server.baseUrl().size()).c_str());
    ASSERT_TRUE(old);
    EXPECT_EQ(old->status, 200);

    // A second publication keeps one marker, with the version named.
    ASSERT_TRUE(server.publishVersion("1002", "3.0-beta"));
    const JsonValue third = server.game("1002");
    EXPECT_EQ(third["version"].asString(), "3.0-beta");
    output = runCommand("7z l -slt '" + third["file"].asString() + "' | grep -c '^Path = version.txt$'", &code);
    EXPECT_EQ(output, "1\n");
}

TEST(FixturePackageTest, PublishingRefusesWhatItCannotServe)
{
    StoreServerProcess server;
    ASSERT_TRUE(server.start()) << server.error();
    struct Row {
        const char* gameId;
        const char* version;
    };
    const Row rows[] = {
        {"", "2.0"},            // no game
        {"9999", "2.0"},        // unknown game
        {"1003", "2.0"},        // a mobile package
        {"1001", "1.0.0"},      // the version it has
        {"1001", "../escape"},  // not a file name part
        {"1001", ".hidden"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.gameId) + " " + row.version);
        EXPECT_FALSE(server.publishVersion(row.gameId, row.version));
    }
    EXPECT_EQ(server.game("1001")["version"].asString(), "1.0.0");
}

} // namespace
