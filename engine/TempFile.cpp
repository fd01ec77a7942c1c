#include "TempFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace xldl {

namespace {

constexpr auto kRecordInterval = std::chrono::seconds(2);

bool writeAll(int fd, const char *data, size_t length)
{
    while (length > 0) {
        const ssize_t n = ::write(fd, data, length);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        length -= size_t(n);
    }
    return true;
}

bool makeFolders(const std::string &folder)
{
    for (size_t pos = 1; pos <= folder.size(); ++pos) {
        if (pos != folder.size() && folder[pos] != '/')
            continue;
        const std::string part = folder.substr(0, pos);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    struct stat st;
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string folderOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool removeIfPresent(const std::string &path)
{
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

} // namespace

TempFile::TempFile(std::string target, std::string recordPath)
    : target_(std::move(target))
    , dataPath_(dataPathFor(target_))
    , recordPath_(std::move(recordPath))
{
}

TempFile::~TempFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::string TempFile::dataPathFor(const std::string &target)
{
    return target + ".xltd";
}

std::string TempFile::recordPathFor(const std::string &downloadFolder, const std::string &target)
{
    uint64_t hash = 0xcbf29ce484222325ull; // FNV-1a
    for (unsigned char c : target) {
        hash ^= c;
        hash *= 0x100000001b3ull;
    }
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.xltask", static_cast<unsigned long long>(hash));
    return downloadFolder + "/" + name;
}

bool TempFile::remove(const std::string &target, const std::string &recordPath)
{
    const bool data = removeIfPresent(dataPathFor(target));
    const bool record = removeIfPresent(recordPath);
    return data && record;
}

bool TempFile::readRecord(const std::string &url)
{
    FILE *file = std::fopen(recordPath_.c_str(), "r");
    if (!file)
        return false;
    std::string recordUrl, recordTarget;
    int64_t bytes = -1, total = 0;
    char *line = nullptr;
    size_t capacity = 0;
    ssize_t length;
    while ((length = ::getline(&line, &capacity, file)) > 0) {
        std::string text(line, size_t(length));
        if (text.back() == '\n')
            text.pop_back();
        const size_t eq = text.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = text.substr(0, eq), value = text.substr(eq + 1);
        if (key == "url")
            recordUrl = value;
        else if (key == "target")
            recordTarget = value;
        else if (key == "bytes")
            bytes = std::strtoll(value.c_str(), nullptr, 10);
        else if (key == "total")
            total = std::strtoll(value.c_str(), nullptr, 10);
        else if (key == "etag")
            etag_ = value;
        else if (key == "modified")
            lastModified_ = value;
    }
    std::free(line);
    std::fclose(file);
    if (recordUrl != url || recordTarget != target_ || bytes < 0 || total < 0) {
        etag_.clear();
        lastModified_.clear();
        return false;
    }
    recordBytes_ = bytes;
    total_ = total;
    return true;
}

bool TempFile::open(const std::string &url, bool resume)
{
    url_ = url;
    if (!makeFolders(folderOf(target_)))
        return false;
    fd_ = ::open(dataPath_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0)
        return false;
    int64_t keep = 0;
    struct stat st;
    if (resume && readRecord(url) && ::fstat(fd_, &st) == 0)
        keep = std::min<int64_t>(recordBytes_, st.st_size);
    if (keep == 0) {
        total_ = 0;
        etag_.clear();
        lastModified_.clear();
    }
    if (::ftruncate(fd_, keep) != 0 || ::lseek(fd_, keep, SEEK_SET) != keep)
        return false;
    flushed_ = keep;
    buffer_.reset(new char[kBufferSize]);
    buffered_ = 0;
    lastRecord_ = std::chrono::steady_clock::now();
    return true;
}

std::string TempFile::rangeValidator() const
{
    if (!etag_.empty() && etag_.compare(0, 2, "W/") != 0)
        return etag_;
    return lastModified_;
}

void TempFile::setServerInfo(int64_t total, std::string etag, std::string lastModified)
{
    total_ = total;
    etag_ = std::move(etag);
    lastModified_ = std::move(lastModified);
}

bool TempFile::restart()
{
    buffered_ = 0;
    flushed_ = 0;
    total_ = 0;
    etag_.clear();
    lastModified_.clear();
    return ::ftruncate(fd_, 0) == 0 && ::lseek(fd_, 0, SEEK_SET) == 0 && saveRecord();
}

bool TempFile::flush()
{
    if (buffered_ == 0)
        return true;
    if (!writeAll(fd_, buffer_.get(), buffered_))
        return false;
    flushed_ += int64_t(buffered_);
    buffered_ = 0;
    return true;
}

bool TempFile::append(const char *data, size_t length)
{
    // Large pieces go straight to the file once the buffer is empty; small
    // ones are gathered so that the file sees few, large writes.
    if (buffered_ + length > kBufferSize) {
        if (!flush())
            return false;
        if (length >= kBufferSize / 2) {
            if (!writeAll(fd_, data, length))
                return false;
            flushed_ += int64_t(length);
            length = 0;
        }
    }
    if (length > 0) {
        std::memcpy(buffer_.get() + buffered_, data, length);
        buffered_ += length;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - lastRecord_ >= kRecordInterval)
        return saveRecord();
    return true;
}

bool TempFile::saveRecord()
{
    if (!flush())
        return false;
    lastRecord_ = std::chrono::steady_clock::now();
    const std::string part = recordPath_ + ".part";
    FILE *file = std::fopen(part.c_str(), "w");
    if (!file)
        return false;
    const int written = std::fprintf(file, "url=%s\ntarget=%s\nbytes=%lld\ntotal=%lld\netag=%s\nmodified=%s\n",
                                     url_.c_str(), target_.c_str(), static_cast<long long>(flushed_),
                                     static_cast<long long>(total_), etag_.c_str(), lastModified_.c_str());
    const bool ok = std::fclose(file) == 0 && written > 0;
    return ok && std::rename(part.c_str(), recordPath_.c_str()) == 0;
}

bool TempFile::finish(bool &renameFailed)
{
    renameFailed = false;
    if (!flush())
        return false;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        return false;
    if (std::rename(dataPath_.c_str(), target_.c_str()) != 0) {
        renameFailed = true;
        return false;
    }
    removeIfPresent(recordPath_);
    return true;
}

bool TempFile::close()
{
    if (fd_ < 0)
        return true;
    const bool saved = saveRecord();
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 && saved;
}

} // namespace xldl
