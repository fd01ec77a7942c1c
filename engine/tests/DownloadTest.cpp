// Whole downloads over loopback HTTP: the states and progress the client
// polls, the bytes that end up in the target, and how failures are reported.
#include "EngineUnderTest.h"
#include "StandInFile.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace {

const std::string kContent = patternContent(3 * 1024 * 1024 + 123);
// Small enough that the stand-in's paced answers last about a second.
const std::string kPacedContent = patternContent(600 * 1024 + 7, 5);

class Download : public ::testing::Test {
protected:
    void SetUp() override
    {
        EngineUnderTest::clearDownloadFolder();
        server.setContent(kContent);
    }
    void TearDown() override
    {
        for (XlTaskHandle task : tasks)
            xl().XL_DeleteTask(task);
    }
    XlTaskHandle start(const std::string &url, const std::string &folder)
    {
        const XlTaskParams params = taskParams(url, u"game.zip", folder);
        XlTaskHandle task = xl().XL_CreateTask(&params);
        EXPECT_NE(task, nullptr);
        tasks.push_back(task);
        EXPECT_NE(xl().XL_StartTask(task), 0);
        return task;
    }

    StandInFile server;
    TempFolder save;
    std::vector<XlTaskHandle> tasks;
};

TEST_F(Download, NormalDownloadGoesThroughWaitingAndDownloadingToComplete)
{
    // Headers that come late show the waiting state; a paced body the
    // downloading one.
    server.setFault("delay-headers:1", "/download/late.bin");
    server.setFault("slow:655360");
    struct Case {
        std::string path;
        std::string content;
        int seenWhileRunning;
    };
    const std::vector<Case> cases = {{"/download/late.bin", kContent, XL_STATE_WAITING},
                                     {server.path(), kPacedContent, XL_STATE_DOWNLOADING}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        std::ofstream(server.server().dataDir() + c.path, std::ios::binary) << c.content;
        fs::remove(save.file("game.zip"));
        const XlTaskParams params = taskParams(server.url(c.path), u"game.zip", save.path());
        XlTaskHandle task = xl().XL_CreateTask(&params);
        ASSERT_NE(task, nullptr);
        tasks.push_back(task);
        EXPECT_EQ(query(task).state, XL_STATE_IDLE);
        ASSERT_NE(xl().XL_StartTask(task), 0);

        std::vector<XlTaskInfo> seen;
        ASSERT_TRUE(pollUntil(task, finished, &seen));
        ASSERT_EQ(seen.back().state, XL_STATE_COMPLETE);

        std::vector<int> order;
        int64_t last = 0;
        for (const XlTaskInfo &info : seen) {
            if (order.empty() || order.back() != info.state)
                order.push_back(info.state);
            EXPECT_GE(info.downloadedSize, last);
            last = info.downloadedSize;
            if (info.state == XL_STATE_WAITING)
                EXPECT_EQ(info.totalSize, 0);
            if (info.state == XL_STATE_DOWNLOADING)
                EXPECT_EQ(info.totalSize, int64_t(c.content.size()));
            EXPECT_EQ(std::u16string(info.fileName), u"game.zip");
        }
        // Waiting, downloading, complete, never back, and the slow part seen while it lasted.
        auto rank = [](int state) {
            return state == XL_STATE_WAITING ? 0 : state == XL_STATE_DOWNLOADING ? 1 : 2;
        };
        for (size_t i = 1; i < order.size(); ++i)
            EXPECT_LT(rank(order[i - 1]), rank(order[i]));
        EXPECT_NE(std::find(order.begin(), order.end(), c.seenWhileRunning), order.end());
        EXPECT_EQ(seen.back().downloadedSize, int64_t(c.content.size()));
        EXPECT_EQ(md5Hex(readFile(save.file("game.zip"))), md5Hex(c.content));
        EXPECT_FALSE(fs::exists(save.file("game.zip.xltd")));
        EXPECT_EQ(countFiles(EngineUnderTest::downloadFolder()), 0u);
    }
}

TEST_F(Download, RedirectBodyIsNeverSaved)
{
    server.setFault("redirect:" + server.path(), "/download/moved");
    XlTaskHandle task = start(server.url("/download/moved"), save.path());
    ASSERT_TRUE(pollUntil(task, finished));
    EXPECT_EQ(query(task).state, XL_STATE_COMPLETE);
    EXPECT_EQ(md5Hex(readFile(save.file("game.zip"))), md5Hex(kContent));
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].path, "/download/moved");
    EXPECT_EQ(requests[1].path, server.path());
}

TEST_F(Download, WithoutContentLengthTotalStaysZeroWhileDownloading)
{
    server.setContent(kPacedContent);
    server.setFault("chunked:655360");
    XlTaskHandle task = start(server.url(), save.path());
    std::vector<XlTaskInfo> seen;
    ASSERT_TRUE(pollUntil(task, finished, &seen));
    size_t downloadingWithData = 0;
    for (const XlTaskInfo &info : seen) {
        if (info.state == XL_STATE_DOWNLOADING) {
            EXPECT_EQ(info.totalSize, 0);
            downloadingWithData += info.downloadedSize > 0 ? 1 : 0;
        }
    }
    EXPECT_GT(downloadingWithData, 0u);
    ASSERT_EQ(seen.back().state, XL_STATE_COMPLETE);
    EXPECT_EQ(seen.back().totalSize, int64_t(kPacedContent.size())) << "known once complete";
    EXPECT_EQ(md5Hex(readFile(save.file("game.zip"))), md5Hex(kPacedContent));
}

TEST_F(Download, HttpFailureEndsInErrorWithTheStatus)
{
    for (int status : {404, 403, 500, 503}) {
        SCOPED_TRACE(status);
        server.setFault("status:" + std::to_string(status));
        XlTaskHandle task = start(server.url(), save.path());
        ASSERT_TRUE(pollUntil(task, finished));
        const XlTaskInfo info = query(task);
        EXPECT_EQ(info.state, XL_STATE_ERROR);
        EXPECT_EQ(info.failCode, status);
        EXPECT_FALSE(fs::exists(save.file("game.zip")));
        EXPECT_EQ(readFile(save.file("game.zip.xltd")), "") << "an error page is not the file";
    }
}

// A loopback port nobody listens on.
int closedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

TEST_F(Download, LocalFailureEndsInErrorWithItsCode)
{
    const std::string blocker = save.file("not-a-folder");
    std::ofstream(blocker) << "x";
    struct Case {
        const char *what;
        std::string url;
        std::string folder;
        int code;
    };
    const std::vector<Case> cases = {
        {"connection refused", "http://127.0.0.1:" + std::to_string(closedPort()) + server.path(), save.path(),
         XL_FAIL_CONNECT},
        {"scheme other than http", "ftp://" + server.server().host() + server.path(), save.path(),
         XL_FAIL_BAD_URL},
        {"save folder cannot be made", server.url(), blocker + "/sub", XL_FAIL_WRITE},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        XlTaskHandle task = start(c.url, c.folder);
        ASSERT_TRUE(pollUntil(task, finished));
        const XlTaskInfo info = query(task);
        EXPECT_EQ(info.state, XL_STATE_ERROR);
        EXPECT_EQ(info.failCode, c.code);
    }
}

TEST_F(Download, ErrorStateEndsWithStop)
{
    server.setFault("status:404");
    XlTaskHandle task = start(server.url(), save.path());
    ASSERT_TRUE(pollUntil(task, finished));
    ASSERT_EQ(query(task).state, XL_STATE_ERROR);
    EXPECT_NE(xl().XL_StopTask(task), 0);
    const XlTaskInfo info = query(task);
    EXPECT_EQ(info.state, XL_STATE_PAUSED);
    EXPECT_EQ(info.failCode, XL_FAIL_NONE);
}

TEST_F(Download, SecondTaskForABusyTargetFails)
{
    server.setFault("stall:300000");
    XlTaskHandle first = start(server.url(), save.path());
    ASSERT_TRUE(pollUntil(first, [](const XlTaskInfo &i) { return i.downloadedSize > 0 || finished(i); }));
    const XlTaskParams params = taskParams(server.url(), u"game.zip", save.path());
    XlTaskHandle second = xl().XL_CreateTask(&params);
    tasks.push_back(second);
    EXPECT_EQ(xl().XL_StartTask(second), 0);
    EXPECT_EQ(query(second).state, XL_STATE_ERROR);
    EXPECT_EQ(query(second).failCode, XL_FAIL_TARGET_BUSY);
    // The same target named by a folder written another way is the same target.
    const XlTaskParams other = taskParams(server.url(), u"game.zip", save.path() + "/./");
    XlTaskHandle third = xl().XL_CreateTask(&other);
    tasks.push_back(third);
    EXPECT_EQ(xl().XL_StartTask(third), 0);
    EXPECT_EQ(query(third).failCode, XL_FAIL_TARGET_BUSY);

    ASSERT_NE(xl().XL_StopTask(first), 0);
    server.clearFaults();
    ASSERT_NE(xl().XL_StartTask(first), 0);
    ASSERT_TRUE(pollUntil(first, finished));
    EXPECT_EQ(query(first).state, XL_STATE_COMPLETE);
    EXPECT_EQ(md5Hex(readFile(save.file("game.zip"))), md5Hex(kContent));
}

TEST_F(Download, NonAsciiFileNameReachesTheDisk)
{
    const XlTaskParams params = taskParams(server.url(), u"游戏 包.zip", save.path());
    XlTaskHandle task = xl().XL_CreateTask(&params);
    ASSERT_NE(task, nullptr);
    tasks.push_back(task);
    ASSERT_NE(xl().XL_StartTask(task), 0);
    ASSERT_TRUE(pollUntil(task, finished));
    EXPECT_EQ(query(task).state, XL_STATE_COMPLETE);
    EXPECT_EQ(md5Hex(readFile(save.file("游戏 包.zip"))), md5Hex(kContent));
}

} // namespace
