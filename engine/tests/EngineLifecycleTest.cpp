// The engine as a whole: start-up and shut-down, handles, refused input, calls
// from many threads, and the functions the client never calls.
#include "EngineUnderTest.h"
#include "StandInFile.h"

#include <atomic>

namespace {

const std::string kContent = patternContent(2 * 1024 * 1024 + 5, 11);

class Engine : public ::testing::Test {
protected:
    void SetUp() override
    {
        EngineUnderTest::clearDownloadFolder();
        server.setContent(kContent);
        params = taskParams(server.url(), u"game.zip", save.path());
    }
    StandInFile server;
    TempFolder save;
    XlTaskParams params;
};

TEST_F(Engine, UnInitTwiceStopsTasksKeepsTheirDataAndForgetsHandles)
{
    server.setFault("stall:300000");
    XlTaskHandle task = xl().XL_CreateTask(&params);
    ASSERT_NE(xl().XL_StartTask(task), 0);
    ASSERT_TRUE(pollUntil(task, [](const XlTaskInfo &info) { return info.downloadedSize >= 300000; }));

    EXPECT_NE(xl().XL_UnInit(), 0);
    EXPECT_NE(xl().XL_UnInit(), 0);
    int answered = -1;
    query(task, &answered);
    EXPECT_EQ(answered, 0);
    EXPECT_EQ(xl().XL_StartTask(task), 0);
    EXPECT_EQ(xl().XL_CreateTask(&params), nullptr) << "stopped engine creates nothing";
    const auto kept = int64_t(fs::file_size(save.file("game.zip.xltd")));
    EXPECT_GT(kept, 0);

    ASSERT_NE(xl().XL_Init(), 0);
    server.clearFaults();
    XlTaskHandle again = xl().XL_CreateTask(&params);
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, task) << "handles are not reused";
    ASSERT_NE(xl().XL_StartTask(again), 0);
    ASSERT_TRUE(pollUntil(again, finished));
    EXPECT_EQ(query(again).state, XL_STATE_COMPLETE);
    EXPECT_EQ(server.requests().back().range, "bytes=" + std::to_string(kept) + "-");
    EXPECT_EQ(md5Hex(readFile(save.file("game.zip"))), md5Hex(kContent));
    xl().XL_DeleteTask(again);
}

TEST_F(Engine, UnusableParametersCreateNoTask)
{
    struct Case {
        const char *what;
        std::function<void(XlTaskParams &)> spoil;
    };
    const std::vector<Case> cases = {
        {"name with a slash", [](XlTaskParams &p) { putText(p.fileName, u"../escape.zip"); }},
        {"name ..", [](XlTaskParams &p) { putText(p.fileName, u".."); }},
        {"empty name", [](XlTaskParams &p) { putText(p.fileName, u""); }},
        {"relative folder", [](XlTaskParams &p) { putText(p.saveFolder, u"games"); }},
        {"folder with ..", [](XlTaskParams &p) { putText(p.saveFolder, u"/tmp/games/../../etc"); }},
        {"folder ending in ..", [](XlTaskParams &p) { putText(p.saveFolder, u"/tmp/.."); }},
        {"empty URL", [](XlTaskParams &p) { putText(p.url, u""); }},
        {"URL with a line break", [](XlTaskParams &p) { putText(p.url, u"http://127.0.0.1/a\r\nX: y"); }},
        {"URL without its NUL", [](XlTaskParams &p) { std::fill(std::begin(p.url), std::end(p.url), u'a'); }},
        {"folder without its NUL",
         [](XlTaskParams &p) { std::fill(std::begin(p.saveFolder), std::end(p.saveFolder), u'/'); }},
        {"lone surrogate", [](XlTaskParams &p) { putText(p.fileName, std::u16string(1, char16_t(0xD800))); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        XlTaskParams spoilt = params;
        c.spoil(spoilt);
        EXPECT_EQ(xl().XL_CreateTask(&spoilt), nullptr);
    }
    EXPECT_EQ(xl().XL_CreateTask(nullptr), nullptr);
    EXPECT_EQ(server.requests().size(), 0u);
}

TEST_F(Engine, UnknownHandlesAreRefused)
{
    XlTaskHandle deleted = xl().XL_CreateTask(&params);
    ASSERT_NE(xl().XL_DeleteTask(deleted), 0);
    XlTaskInfo info;
    const std::vector<XlTaskHandle> handles = {nullptr, deleted, reinterpret_cast<XlTaskHandle>(0x7fff1234)};
    for (XlTaskHandle handle : handles) {
        EXPECT_EQ(xl().XL_StartTask(handle), 0);
        EXPECT_EQ(xl().XL_StopTask(handle), 0);
        EXPECT_EQ(xl().XL_ForceStopTask(handle), 0);
        EXPECT_EQ(xl().XL_DeleteTask(handle), 0);
        EXPECT_EQ(xl().XL_QueryTaskInfoEx(handle, &info), 0);
        EXPECT_EQ(xl().XL_QueryTaskInfo(handle, &info), 0);
    }
    XlTaskHandle live = xl().XL_CreateTask(&params);
    EXPECT_EQ(xl().XL_QueryTaskInfoEx(live, nullptr), 0);
    xl().XL_DeleteTask(live);
}

TEST_F(Engine, CallsFromManyThreadsLeaveTasksConsistent)
{
    XlTaskHandle shared = xl().XL_CreateTask(&params);
    ASSERT_NE(shared, nullptr);
    std::atomic<bool> go{true};
    std::atomic<int> ownCompleted{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            const XlTaskParams own = taskParams(server.url(), utf16("own" + std::to_string(t)), save.path());
            unsigned step = unsigned(t);
            while (go.load()) {
                switch (step++ % 4) {
                case 0: xl().XL_StartTask(shared); break;
                case 1: query(shared); break;
                case 2: xl().XL_StopTask(shared); break;
                case 3: {
                    XlTaskHandle task = xl().XL_CreateTask(&own);
                    xl().XL_StartTask(task);
                    query(task);
                    xl().XL_DeleteTask(task);
                    break;
                }
                }
            }
            XlTaskHandle last = xl().XL_CreateTask(&own);
            xl().XL_StartTask(last);
            if (pollUntil(last, finished) && query(last).state == XL_STATE_COMPLETE)
                ++ownCompleted;
            xl().XL_DeleteTask(last);
        });
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    go = false;
    for (auto &thread : threads)
        thread.join();
    EXPECT_EQ(ownCompleted.load(), 8);
    ASSERT_NE(xl().XL_StartTask(shared), 0);
    ASSERT_TRUE(pollUntil(shared, finished));
    EXPECT_EQ(query(shared).state, XL_STATE_COMPLETE);
    EXPECT_EQ(md5Hex(readFile(save.file("game.zip"))), md5Hex(kContent));
    for (int t = 0; t < 8; ++t)
        EXPECT_EQ(md5Hex(readFile(save.file("own" + std::to_string(t)))), md5Hex(kContent));
    xl().XL_DeleteTask(shared);
}

TEST_F(Engine, CreateTaskByUrlDownloads)
{
    const std::u16string url = utf16(server.url()), folder = utf16(save.path());
    XlTaskHandle task = xl().XL_CreateTaskByURL(url.c_str(), folder.c_str(), u"byurl.bin", 1);
    ASSERT_NE(task, nullptr);
    ASSERT_TRUE(pollUntil(task, finished));
    XlTaskInfo plain, extended;
    ASSERT_NE(xl().XL_QueryTaskInfo(task, &plain), 0);
    ASSERT_NE(xl().XL_QueryTaskInfoEx(task, &extended), 0);
    EXPECT_EQ(plain.state, XL_STATE_COMPLETE);
    EXPECT_EQ(extended.state, XL_STATE_COMPLETE);
    EXPECT_EQ(md5Hex(readFile(save.file("byurl.bin"))), md5Hex(kContent));
    EXPECT_EQ(xl().XL_CreateTaskByURL(nullptr, folder.c_str(), u"x", 1), nullptr);
    xl().XL_DeleteTask(task);
}

TEST_F(Engine, UserAgentGoesOutWithLaterDownloads)
{
    xl().XL_SetUserAgent(u"OrbelaTest/1.0");
    XlTaskHandle task = xl().XL_CreateTask(&params);
    ASSERT_NE(xl().XL_StartTask(task), 0);
    ASSERT_TRUE(pollUntil(task, finished));
    xl().XL_SetUserAgent(nullptr);
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].userAgent, "OrbelaTest/1.0");
    xl().XL_DeleteTask(task);
}

TEST_F(Engine, FileSizeComesFromTheServer)
{
    int64_t size = -1;
    const std::u16string url = utf16(server.url());
    EXPECT_NE(xl().XL_GetFileSizeWithUrl(url.c_str(), &size), 0);
    EXPECT_EQ(size, int64_t(kContent.size()));
    server.setFault("status:404");
    EXPECT_EQ(xl().XL_GetFileSizeWithUrl(url.c_str(), &size), 0);
    EXPECT_EQ(xl().XL_GetFileSizeWithUrl(nullptr, &size), 0);
    EXPECT_EQ(xl().XL_GetFileSizeWithUrl(url.c_str(), nullptr), 0);
}

TEST(EngineWithoutServer, ThunderUrlsDecode)
{
    // "thunder://" + Base64("AAhttp://127.0.0.1/a.zipZZ")
    const std::u16string link = u"thunder://QUFodHRwOi8vMTI3LjAuMC4xL2Euemlwalla";
    XlChar out[64];
    std::u16string good = u"thunder://" + utf16("QUFodHRwOi8vMTI3LjAuMC4xL2EuemlwWlo=");
    ASSERT_NE(xl().XL_ParseThunderPrivateUrl(good.c_str(), out, 64), 0);
    EXPECT_EQ(std::u16string(out), u"http://127.0.0.1/a.zip");
    EXPECT_EQ(xl().XL_ParseThunderPrivateUrl(good.c_str(), out, 10), 0) << "does not fit";
    EXPECT_EQ(xl().XL_ParseThunderPrivateUrl(link.c_str(), out, 64), 0) << "not AA...ZZ";
    EXPECT_EQ(xl().XL_ParseThunderPrivateUrl(u"http://127.0.0.1/", out, 64), 0);
    EXPECT_EQ(xl().XL_ParseThunderPrivateUrl(nullptr, out, 64), 0);
}

TEST(EngineWithoutServer, UnsupportedCallsAnswerFailure)
{
    EXPECT_NE(xl().XL_CreateTaskByThunder(u"http://127.0.0.1/a", u"a", u"", u"", u""), 0) << "0 means success";
    EXPECT_EQ(xl().XL_CreateBTTaskByThunder(u"/tmp/a.torrent"), 0);
    EXPECT_EQ(xl().XL_SetAdditionInfo(nullptr, 1, u"x", 1), 0);
    EXPECT_EQ(xl().XL_SetFileIdAndSize(nullptr, u"id", 10), 0);
    xl().XL_SetUploadSpeedLimit(10, 10);
}

TEST(EngineWithoutServer, ProxySettingsAreCheckedBeforeUse)
{
    XlProxyInfo proxy;
    std::memset(&proxy, 0, sizeof proxy);
    EXPECT_EQ(xl().XL_SetProxy(nullptr), 0);
    proxy.useSystemProxy = 1; // what the client's UseIEProxy sends
    EXPECT_NE(xl().XL_SetProxy(&proxy), 0);
    proxy.useSystemProxy = 0;
    proxy.proxyType = 1; // HTTP proxy without a host
    EXPECT_EQ(xl().XL_SetProxy(&proxy), 0);
    proxy.proxyType = 7;
    EXPECT_EQ(xl().XL_SetProxy(&proxy), 0);
    proxy.proxyType = 0; // back to direct connections
    EXPECT_NE(xl().XL_SetProxy(&proxy), 0);
}

} // namespace
