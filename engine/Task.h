// One download task: its identity (URL and target), its published status and
// the worker thread that runs while it downloads. Start, stop and retire are
// serialised per task; the status may be read from any thread at any time.
#pragma once

#include "TaskStatus.h"
#include "Transfer.h"

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace xldl {

class TaskTable;

class Task {
public:
    Task(TaskTable &table, std::string url, std::string name, std::string target, bool resume);
    ~Task();
    Task(const Task &) = delete;
    Task &operator=(const Task &) = delete;

    bool start();
    // Returns once the worker has ended and the data is on disk.
    bool stop();
    // Stops for good: later starts fail. Used when the handle is forgotten.
    void retire();
    void fill(XlTaskInfo &info) const;

private:
    void run(TransferOptions options, bool resume);
    void fail(int code);
    void joinWorker();

    TaskTable &table_;
    const std::string url_;
    const std::string name_;
    const std::string target_;
    const bool resumeFirstRun_;
    TaskStatus status_;

    std::mutex control_;
    std::thread worker_;
    bool started_ = false;
    bool retired_ = false;
    std::atomic<bool> stopRequested_{false};
    CURLM *multi_;
};

} // namespace xldl
