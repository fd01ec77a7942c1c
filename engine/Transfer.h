// One HTTP GET into a task's temporary file, run on the task's worker thread.
// It decides from the answer's headers whether the body continues the file,
// replaces it, or must not be written at all.
#pragma once

#include "HeaderNumbers.h"
#include "TaskStatus.h"

#include <atomic>
#include <cstdint>
#include <curl/curl.h>
#include <string>

namespace xldl {

class TempFile;

struct ProxySetting {
    enum Mode { Direct, System, Http };
    Mode mode = Direct;
    std::string host;
    int port = 0;
    std::string user;
    std::string password;
};

struct TransferOptions {
    std::string url;
    std::string userAgent;
    ProxySetting proxy;
    int64_t receiveLimit = 0; // bytes per second; 0: none
};

enum class TransferEnd { Complete, Stopped, Restart, Failed };

class Transfer {
public:
    Transfer(CURLM *multi, TempFile &file, TaskStatus &status, const TransferOptions &options,
             const std::atomic<bool> &stop);
    ~Transfer();
    Transfer(const Transfer &) = delete;
    Transfer &operator=(const Transfer &) = delete;

    // Runs until the answer is complete, fails, or stop is set (the caller
    // wakes the multi handle after setting it). failCode is set for Failed.
    TransferEnd run(int &failCode);

private:
    static size_t onHeader(char *data, size_t size, size_t count, void *self);
    static size_t onBody(char *data, size_t size, size_t count, void *self);
    bool headerLine(const std::string &line);
    bool headersDone();
    bool decide(TransferEnd end, int failCode);
    TransferEnd finish(CURLcode result, int &failCode);
    int failureOf(CURLcode result) const;

    CURLM *multi_;
    CURL *easy_;
    curl_slist *headers_ = nullptr;
    TempFile &file_;
    TaskStatus &status_;
    const std::atomic<bool> &stop_;
    int64_t offset_;     // bytes the file held when the request went out
    int64_t knownTotal_; // the file's size as the resume record states it; 0: not known

    // The answer whose headers are being read or whose body is arriving.
    long code_ = 0;
    bool accepting_ = false;
    bool chunked_ = false;
    bool lengthStated_ = false;
    bool lengthValid_ = false;
    int64_t contentLength_ = -1;
    bool rangeValid_ = false;
    ContentRange range_;
    std::string etag_;
    std::string lastModified_;
    // Once the body is accepted: the file size at which the body must end, and
    // the size of the whole file; -1 where the answer does not state it.
    int64_t bodyEnd_ = -1;
    int64_t fileTotal_ = -1;

    // An end decided from the headers or the file, before curl ends.
    bool decided_ = false;
    TransferEnd decision_ = TransferEnd::Failed;
    int decidedCode_ = XL_FAIL_NONE;
};

// Configures an easy handle with the settings every request of the engine shares.
void configureRequest(CURL *easy, const TransferOptions &options);

// HEAD request for the size of the file at options.url; false when not stated.
bool queryRemoteSize(const TransferOptions &options, int64_t &size);

} // namespace xldl
