// The temporary data file of one target ("<target>.xltd") and its resume
// record in the engine's "download" folder. Only the bytes the record counts
// are trusted on resume, so a crash between a write and a record update costs
// data, never correctness.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace xldl {

class TempFile {
public:
    TempFile(std::string target, std::string recordPath);
    ~TempFile();
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;

    static std::string dataPathFor(const std::string &target);
    static std::string recordPathFor(const std::string &downloadFolder, const std::string &target);
    // Deletes the data file and the record; true when neither is left.
    static bool remove(const std::string &target, const std::string &recordPath);

    // Creates the target's folder and opens the data file. With resume and a
    // record for this url and target, keeps the bytes the record counts;
    // otherwise starts empty.
    bool open(const std::string &url, bool resume);
    int64_t size() const { return flushed_ + int64_t(buffered_); }
    int64_t total() const { return total_; }
    // The validator to send as If-Range: a strong ETag, else Last-Modified.
    std::string rangeValidator() const;
    // Total size and validators of the answer being received.
    void setServerInfo(int64_t total, std::string etag, std::string lastModified);
    // Drops every byte: the next byte appended is the file's first.
    bool restart();
    bool append(const char *data, size_t length);
    bool saveRecord();
    // Moves the complete data to the target and deletes the record.
    bool finish(bool &renameFailed);
    // Flushes, saves the record and closes; both files stay for a resume.
    bool close();

private:
    bool flush();
    bool readRecord(const std::string &url);

    static constexpr size_t kBufferSize = 1 << 20;

    std::string target_;
    std::string dataPath_;
    std::string recordPath_;
    std::string url_;
    std::string etag_;
    std::string lastModified_;
    int64_t recordBytes_ = 0;
    int64_t total_ = 0;
    int64_t flushed_ = 0;
    int fd_ = -1;
    std::unique_ptr<char[]> buffer_;
    size_t buffered_ = 0;
    std::chrono::steady_clock::time_point lastRecord_;
};

} // namespace xldl
