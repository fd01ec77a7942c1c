#include "Task.h"

#include "TaskTable.h"
#include "TempFile.h"
#include "TextFields.h"

#include <algorithm>

namespace xldl {

namespace {

// A server that keeps sending answers that do not fit the file is given up
// on rather than asked forever.
constexpr int kMaxRestarts = 2;

bool isRunning(int state)
{
    return state == XL_STATE_WAITING || state == XL_STATE_DOWNLOADING;
}

} // namespace

Task::Task(TaskTable &table, std::string url, std::string name, std::string target, bool resume)
    : table_(table)
    , url_(std::move(url))
    , name_(std::move(name))
    , target_(std::move(target))
    , resumeFirstRun_(resume)
    , multi_(curl_multi_init())
{
}

Task::~Task()
{
    retire();
    if (multi_)
        curl_multi_cleanup(multi_);
}

bool Task::start()
{
    std::lock_guard<std::mutex> lock(control_);
    if (retired_ || !multi_)
        return false;
    if (worker_.joinable()) {
        if (isRunning(status_.state.load()))
            return true;
        worker_.join(); // ended on its own: complete or failed
    }
    if (status_.state.load() == XL_STATE_COMPLETE)
        return true;
    if (!table_.claimTarget(target_)) {
        fail(XL_FAIL_TARGET_BUSY);
        return false;
    }
    const bool resume = started_ || resumeFirstRun_;
    started_ = true;
    stopRequested_.store(false);
    status_.failCode.store(XL_FAIL_NONE);
    status_.state.store(XL_STATE_WAITING);
    try {
        worker_ = std::thread(&Task::run, this, table_.transferOptions(url_), resume);
    } catch (...) {
        table_.releaseTarget(target_);
        fail(XL_FAIL_UNSUPPORTED);
        return false;
    }
    return true;
}

void Task::joinWorker()
{
    if (!worker_.joinable())
        return;
    stopRequested_.store(true);
    curl_multi_wakeup(multi_);
    worker_.join();
}

bool Task::stop()
{
    std::lock_guard<std::mutex> lock(control_);
    joinWorker();
    const int state = status_.state.load();
    if (state != XL_STATE_COMPLETE && state != XL_STATE_IDLE) {
        status_.failCode.store(XL_FAIL_NONE);
        status_.state.store(XL_STATE_PAUSED);
    }
    return true;
}

void Task::retire()
{
    std::lock_guard<std::mutex> lock(control_);
    retired_ = true;
    joinWorker();
}

void Task::fill(XlTaskInfo &info) const
{
    info.state = status_.state.load();
    info.failCode = info.state == XL_STATE_ERROR ? status_.failCode.load() : XL_FAIL_NONE;
    info.totalSize = status_.total.load();
    info.downloadedSize = status_.downloaded.load();
    writeField(info.fileName, sizeof info.fileName / sizeof info.fileName[0], name_);
}

void Task::fail(int code)
{
    status_.failCode.store(code);
    status_.state.store(XL_STATE_ERROR);
}

void Task::run(TransferOptions options, bool resume)
{
    TempFile file(target_, table_.recordPathFor(target_));
    if (!file.open(url_, resume)) {
        fail(XL_FAIL_WRITE);
        table_.releaseTarget(target_);
        return;
    }
    status_.downloaded.store(file.size());
    status_.total.store(file.total());
    for (int restarts = 0;;) {
        int failCode = XL_FAIL_NONE;
        const TransferEnd end = Transfer(multi_, file, status_, options, stopRequested_).run(failCode);
        if (end == TransferEnd::Restart) {
            if (++restarts > kMaxRestarts || !file.restart()) {
                file.close();
                fail(restarts > kMaxRestarts ? XL_FAIL_RANGE : XL_FAIL_WRITE);
                break;
            }
            status_.downloaded.store(0);
            status_.total.store(0);
            continue;
        }
        if (end == TransferEnd::Complete) {
            const int64_t size = file.size();
            bool renameFailed = false;
            if (file.finish(renameFailed)) {
                status_.downloaded.store(size);
                status_.total.store(size); // equal to a stated total: the transfer checked it
                status_.state.store(XL_STATE_COMPLETE);
            } else {
                fail(renameFailed ? XL_FAIL_RENAME : XL_FAIL_WRITE);
            }
            break;
        }
        file.close();
        if (end == TransferEnd::Stopped)
            status_.state.store(XL_STATE_PAUSED);
        else
            fail(failCode);
        break;
    }
    table_.releaseTarget(target_);
}

} // namespace xldl
