#include "TaskTable.h"

#include "Task.h"
#include "TempFile.h"
#include "TextFields.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <sys/stat.h>
#include <vector>

namespace xldl {

namespace {

// The folder the library was loaded from: the application folder.
std::string libraryFolder()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&XL_Init), &info) == 0 || !info.dli_fname)
        return {};
    char resolved[PATH_MAX];
    if (!realpath(info.dli_fname, resolved))
        return {};
    std::string path(resolved);
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// An absolute folder without "." components, repeated or trailing slashes.
// One with ".." is refused: the target must lie in the folder the caller named.
bool normalFolder(const std::string &folder, std::string &normal)
{
    if (folder.empty() || folder[0] != '/')
        return false;
    normal.clear();
    size_t start = 0;
    while (start < folder.size()) {
        size_t end = folder.find('/', start);
        if (end == std::string::npos)
            end = folder.size();
        const std::string part = folder.substr(start, end - start);
        if (part == "..")
            return false;
        for (unsigned char c : part) {
            if (c < 0x20)
                return false;
        }
        if (!part.empty() && part != ".")
            normal += "/" + part;
        start = end + 1;
    }
    if (normal.empty())
        normal = "/";
    return true;
}

} // namespace

TaskTable &TaskTable::instance()
{
    static TaskTable *table = new TaskTable;
    return *table;
}

bool TaskTable::init()
{
    std::lock_guard<std::mutex> lifecycle(lifecycle_);
    std::lock_guard<std::mutex> lock(mutex_);
    if (ready_)
        return true;
    static const bool curlReady = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    const std::string folder = libraryFolder();
    if (!curlReady || folder.empty())
        return false;
    const std::string download = folder + "/download";
    if (::mkdir(download.c_str(), 0755) != 0 && errno != EEXIST)
        return false;
    downloadFolder_ = download;
    ready_ = true;
    return true;
}

bool TaskTable::uninit()
{
    std::lock_guard<std::mutex> lifecycle(lifecycle_);
    std::unordered_map<uintptr_t, std::shared_ptr<Task>> tasks;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ready_ = false;
        tasks.swap(tasks_);
    }
    for (auto &entry : tasks)
        entry.second->retire();
    return true;
}

bool TaskTable::ready() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return ready_;
}

bool TaskTable::targetOf(const std::string &name, const std::string &folder, std::string &target)
{
    std::string normal;
    if (!isSafeFileName(name) || !normalFolder(folder, normal))
        return false;
    target = normal == "/" ? normal + name : normal + "/" + name;
    return true;
}

XlTaskHandle TaskTable::create(const std::string &url, const std::string &name, const std::string &folder,
                               bool resume)
{
    std::string target;
    if (!isUsableUrl(url) || !targetOf(name, folder, target) || !ready())
        return nullptr;
    auto task = std::make_shared<Task>(*this, url, name, target, resume);
    std::lock_guard<std::mutex> lock(mutex_);
    if (!ready_)
        return nullptr;
    const uintptr_t id = ++lastId_;
    tasks_.emplace(id, std::move(task));
    return reinterpret_cast<XlTaskHandle>(id);
}

std::shared_ptr<Task> TaskTable::find(XlTaskHandle handle) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = tasks_.find(reinterpret_cast<uintptr_t>(handle));
    return it == tasks_.end() ? nullptr : it->second;
}

bool TaskTable::erase(XlTaskHandle handle)
{
    std::shared_ptr<Task> task;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto it = tasks_.find(reinterpret_cast<uintptr_t>(handle));
        if (it == tasks_.end())
            return false;
        task = std::move(it->second);
        tasks_.erase(it);
    }
    task->retire();
    return true;
}

bool TaskTable::claimTarget(const std::string &target)
{
    std::lock_guard<std::mutex> lock(mutex_);
    return claimed_.insert(target).second;
}

void TaskTable::releaseTarget(const std::string &target)
{
    std::lock_guard<std::mutex> lock(mutex_);
    claimed_.erase(target);
}

bool TaskTable::deleteTempFile(const std::string &name, const std::string &folder)
{
    std::string target;
    if (!targetOf(name, folder, target))
        return false;
    std::lock_guard<std::mutex> lock(mutex_);
    // Holding the lock keeps a task from claiming the target meanwhile.
    if (!ready_ || claimed_.count(target) != 0)
        return false;
    return TempFile::remove(target, TempFile::recordPathFor(downloadFolder_, target));
}

std::string TaskTable::recordPathFor(const std::string &target) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return TempFile::recordPathFor(downloadFolder_, target);
}

TransferOptions TaskTable::transferOptions(const std::string &url) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    TransferOptions options = settings_;
    options.url = url;
    return options;
}

void TaskTable::setUserAgent(std::string userAgent)
{
    std::lock_guard<std::mutex> lock(mutex_);
    settings_.userAgent = std::move(userAgent);
}

void TaskTable::setProxy(ProxySetting proxy)
{
    std::lock_guard<std::mutex> lock(mutex_);
    settings_.proxy = std::move(proxy);
}

void TaskTable::setSpeedLimit(int64_t bytesPerSecond)
{
    std::lock_guard<std::mutex> lock(mutex_);
    settings_.receiveLimit = bytesPerSecond > 0 ? bytesPerSecond : 0;
}

} // namespace xldl
