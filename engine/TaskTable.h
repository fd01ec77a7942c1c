// The engine's state: whether it is started, the folder of its own files, the
// settings new transfers take, the tasks by handle, and which targets are
// being written. One instance per process, never destroyed, so that a call
// racing the process's exit finds it intact.
#pragma once

#include "Transfer.h"
#include "xldl.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <unordered_map>

namespace xldl {

class Task;

class TaskTable {
public:
    static TaskTable &instance();

    bool init();
    bool uninit();

    // Null when the engine is not started or a text is not usable.
    XlTaskHandle create(const std::string &url, const std::string &name, const std::string &folder, bool resume);
    std::shared_ptr<Task> find(XlTaskHandle handle) const;
    bool erase(XlTaskHandle handle);

    // Only one task at a time writes a given target.
    bool claimTarget(const std::string &target);
    void releaseTarget(const std::string &target);
    bool deleteTempFile(const std::string &name, const std::string &folder);

    std::string recordPathFor(const std::string &target) const;
    TransferOptions transferOptions(const std::string &url) const;
    bool ready() const;

    void setUserAgent(std::string userAgent);
    void setProxy(ProxySetting proxy);
    void setSpeedLimit(int64_t bytesPerSecond);

private:
    TaskTable() = default;
    static bool targetOf(const std::string &name, const std::string &folder, std::string &target);

    std::mutex lifecycle_; // serialises init and uninit, which may wait for workers
    mutable std::mutex mutex_;
    bool ready_ = false;
    std::string downloadFolder_;
    uintptr_t lastId_ = 0; // never reset, so a handle from before XL_UnInit stays unknown
    std::unordered_map<uintptr_t, std::shared_ptr<Task>> tasks_;
    std::set<std::string> claimed_;
    TransferOptions settings_;
};

} // namespace xldl
