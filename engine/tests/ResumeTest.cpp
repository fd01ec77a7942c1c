// Stopping keeps the temporary data; a later start continues it with a byte
// range, and whatever the server answers to that range, the target ends up
// holding exactly the server's file.
#include "EngineUnderTest.h"
#include "StandInFile.h"

namespace {

const std::string kContent = patternContent(4 * 1024 * 1024 + 77, 3);
// Where the stand-in holds a download that is to be stopped partway.
const int64_t kStallAt = 1024 * 1024 + 11;

class Resume : public ::testing::Test {
protected:
    void SetUp() override
    {
        EngineUnderTest::clearDownloadFolder();
        server.setContent(kContent);
        params = taskParams(server.url(), u"game.zip", save.path());
    }
    void TearDown() override
    {
        for (XlTaskHandle task : tasks)
            xl().XL_DeleteTask(task);
    }
    XlTaskHandle create()
    {
        XlTaskHandle task = xl().XL_CreateTask(&params);
        EXPECT_NE(task, nullptr);
        tasks.push_back(task);
        return task;
    }
    // Starts a download that the stand-in holds partway and stops it there;
    // returns the bytes kept.
    int64_t stopPartway()
    {
        server.setFault("stall:" + std::to_string(kStallAt));
        XlTaskHandle task = create();
        EXPECT_NE(xl().XL_StartTask(task), 0);
        EXPECT_TRUE(pollUntil(task, [](const XlTaskInfo &info) { return info.downloadedSize >= kStallAt; }));
        EXPECT_NE(xl().XL_StopTask(task), 0);
        const XlTaskInfo info = query(task);
        EXPECT_EQ(info.state, XL_STATE_PAUSED);
        server.clearFaults();
        requestsBefore = server.requests().size();
        stopped = task;
        return info.downloadedSize;
    }
    std::vector<StandInFile::Request> requestsSinceStop() const
    {
        const auto all = server.requests();
        return {all.begin() + std::ptrdiff_t(requestsBefore), all.end()};
    }
    void runToEnd(XlTaskHandle task)
    {
        ASSERT_NE(xl().XL_StartTask(task), 0);
        ASSERT_TRUE(pollUntil(task, finished));
        ASSERT_EQ(query(task).state, XL_STATE_COMPLETE);
    }

    StandInFile server;
    TempFolder save;
    XlTaskParams params;
    std::vector<XlTaskHandle> tasks;
    XlTaskHandle stopped = nullptr;
    size_t requestsBefore = 0;
};

TEST_F(Resume, StopKeepsTemporaryDataAndResumeAsksForTheRest)
{
    // The client resumes with a new task; the stopped task may also be restarted.
    for (const bool sameHandle : {false, true}) {
        SCOPED_TRACE(sameHandle ? "same handle" : "new task");
        fs::remove(save.file("game.zip"));
        const int64_t kept = stopPartway();
        ASSERT_GT(kept, 0);
        ASSERT_LT(kept, int64_t(kContent.size()));
        EXPECT_EQ(int64_t(fs::file_size(save.file("game.zip.xltd"))), kept);
        EXPECT_FALSE(fs::exists(save.file("game.zip")));
        EXPECT_EQ(countFiles(EngineUnderTest::downloadFolder()), 1u) << "the resume record";

        XlTaskHandle task = sameHandle ? stopped : create();
        ASSERT_NE(xl().XL_StartTask(task), 0);
        std::vector<XlTaskInfo> seen;
        ASSERT_TRUE(pollUntil(task, finished, &seen));
        ASSERT_EQ(seen.back().state, XL_STATE_COMPLETE);
        for (const XlTaskInfo &info : seen) {
            if (info.state == XL_STATE_DOWNLOADING)
                EXPECT_GE(info.downloadedSize, kept) << "progress counts the bytes already there";
        }

        const auto requests = requestsSinceStop();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].range, "bytes=" + std::to_string(kept) + "-");
        EXPECT_EQ(md5Hex(readFile(save.file("game.zip"))), md5Hex(kContent));
        EXPECT_FALSE(fs::exists(save.file("game.zip.xltd")));
        EXPECT_EQ(countFiles(EngineUnderTest::downloadFolder()), 0u);
    }
}

TEST_F(Resume, AnswerToTheRangeDecidesWhatIsKept)
{
    struct Case {
        const char *what;
        // Changes the server after the stop; returns the file it now serves.
        std::function<std::string(StandInFile &, int64_t kept)> change;
        // Range headers of the requests after the stop ("N" stands for the kept bytes).
        std::vector<std::string> ranges;
    };
    const std::vector<Case> cases = {
        {"server ignores the range: 200 restarts from zero",
         [](StandInFile &server, int64_t) {
             server.setFault("ignore-range");
             return kContent;
         },
         {"bytes=N-"}},
        {"416 stating the kept size: already complete",
         [](StandInFile &server, int64_t kept) {
             const std::string shorter = kContent.substr(0, size_t(kept));
             server.setContent(shorter);
             return shorter;
         },
         {"bytes=N-"}},
        {"416 stating another size: the file changed, start again",
         [](StandInFile &server, int64_t kept) {
             const std::string other = patternContent(size_t(kept / 2), 99);
             server.setContent(other);
             return other;
         },
         {"bytes=N-", ""}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        server.clearFaults();
        server.setContent(kContent);
        fs::remove(save.file("game.zip"));
        const int64_t kept = stopPartway();
        const std::string expected = c.change(server, kept);
        runToEnd(create());
        std::vector<std::string> ranges;
        for (const auto &request : requestsSinceStop())
            ranges.push_back(request.range);
        std::vector<std::string> wanted;
        for (std::string range : c.ranges) {
            const size_t n = range.find('N');
            if (n != std::string::npos)
                range.replace(n, 1, std::to_string(kept));
            wanted.push_back(range);
        }
        EXPECT_EQ(ranges, wanted);
        const std::string saved = readFile(save.file("game.zip"));
        EXPECT_EQ(saved.size(), expected.size());
        EXPECT_EQ(md5Hex(saved), md5Hex(expected));
    }
}

TEST_F(Resume, DelTempFileMakesTheNextStartBeginAtZero)
{
    const int64_t kept = stopPartway();
    ASSERT_GT(kept, 0);
    // The client's default form: no URL, name and folder only.
    XlTaskParams defaults;
    std::memset(&defaults, 0, sizeof defaults);
    putText(defaults.fileName, u"game.zip");
    putText(defaults.saveFolder, utf16(save.path()));
    defaults.reserved18360 = 5;
    defaults.reserved18368 = 1;
    EXPECT_NE(xl().XL_DelTempFile(&defaults), 0);
    EXPECT_FALSE(fs::exists(save.file("game.zip.xltd")));
    EXPECT_EQ(countFiles(EngineUnderTest::downloadFolder()), 0u);
    EXPECT_NE(xl().XL_DelTempFile(&defaults), 0) << "nothing left to delete is success";

    runToEnd(create());
    const auto requests = requestsSinceStop();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].range, "");
    EXPECT_EQ(md5Hex(readFile(save.file("game.zip"))), md5Hex(kContent));
}

TEST_F(Resume, DelTempFileRefusesWhileTheTargetDownloads)
{
    server.setFault("stall:" + std::to_string(kStallAt));
    XlTaskHandle task = create();
    ASSERT_NE(xl().XL_StartTask(task), 0);
    ASSERT_TRUE(pollUntil(task, [](const XlTaskInfo &info) { return info.downloadedSize > 0; }));
    EXPECT_EQ(xl().XL_DelTempFile(&params), 0);
    EXPECT_TRUE(fs::exists(save.file("game.zip.xltd")));
    ASSERT_NE(xl().XL_StopTask(task), 0);
    server.clearFaults();
    runToEnd(task);
    EXPECT_EQ(md5Hex(readFile(save.file("game.zip"))), md5Hex(kContent));
}

TEST_F(Resume, TemporaryFileWithoutRecordIsNotTrusted)
{
    std::ofstream(save.file("game.zip.xltd"), std::ios::binary) << "garbage left by someone else";
    runToEnd(create());
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].range, "");
    EXPECT_EQ(md5Hex(readFile(save.file("game.zip"))), md5Hex(kContent));
}

} // namespace
