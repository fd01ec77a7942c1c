#include "Transfer.h"

#include "TempFile.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace xldl {

namespace {

constexpr long kReceiveBuffer = 512 * 1024;
constexpr long kStallSeconds = 60;
constexpr int kPollMilliseconds = 1000;

bool startsWithName(const std::string &line, const char *name, std::string &value)
{
    const size_t length = std::strlen(name);
    if (line.size() <= length || line[length] != ':' || strncasecmp(line.c_str(), name, length) != 0)
        return false;
    size_t begin = length + 1, end = line.size();
    while (begin < end && (line[begin] == ' ' || line[begin] == '\t'))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(line[end - 1])))
        --end;
    value = line.substr(begin, end - begin);
    return true;
}

} // namespace

void configureRequest(CURL *easy, const TransferOptions &options)
{
    curl_easy_setopt(easy, CURLOPT_URL, options.url.c_str());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, kStallSeconds);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    curl_easy_setopt(easy, CURLOPT_TCP_KEEPALIVE, 1L);
    if (!options.userAgent.empty())
        curl_easy_setopt(easy, CURLOPT_USERAGENT, options.userAgent.c_str());
    switch (options.proxy.mode) {
    case ProxySetting::Direct:
        curl_easy_setopt(easy, CURLOPT_PROXY, ""); // also ignores http_proxy and friends
        break;
    case ProxySetting::System:
        break; // libcurl reads the environment
    case ProxySetting::Http:
        curl_easy_setopt(easy, CURLOPT_PROXY, options.proxy.host.c_str());
        curl_easy_setopt(easy, CURLOPT_PROXYPORT, long(options.proxy.port));
        curl_easy_setopt(easy, CURLOPT_PROXYTYPE, long(CURLPROXY_HTTP));
        // A tunnel's "200 Connection established" is not the file's answer.
        curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
        if (!options.proxy.user.empty()) {
            curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, options.proxy.user.c_str());
            curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, options.proxy.password.c_str());
        }
        break;
    }
    if (options.receiveLimit > 0)
        curl_easy_setopt(easy, CURLOPT_MAX_RECV_SPEED_LARGE, curl_off_t(options.receiveLimit));
}

bool queryRemoteSize(const TransferOptions &options, int64_t &size)
{
    CURL *easy = curl_easy_init();
    if (!easy)
        return false;
    configureRequest(easy, options);
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT, 15L);
    long code = 0;
    curl_off_t length = -1;
    const bool ok = curl_easy_perform(easy) == CURLE_OK
        && curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &code) == CURLE_OK && code == 200
        && curl_easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK && length >= 0;
    curl_easy_cleanup(easy);
    if (ok)
        size = length;
    return ok;
}

Transfer::Transfer(CURLM *multi, TempFile &file, TaskStatus &status, const TransferOptions &options,
                   const std::atomic<bool> &stop)
    : multi_(multi)
    , easy_(curl_easy_init())
    , file_(file)
    , status_(status)
    , stop_(stop)
    , offset_(file.size())
    , knownTotal_(offset_ > 0 ? file.total() : 0)
{
    if (!easy_)
        return;
    configureRequest(easy_, options);
    curl_easy_setopt(easy_, CURLOPT_BUFFERSIZE, kReceiveBuffer);
    curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &Transfer::onHeader);
    curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &Transfer::onBody);
    curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
    if (offset_ > 0) {
        // CURLOPT_RANGE rather than a resume offset: libcurl would refuse a
        // 200 answer, which here means "start again from zero".
        const std::string range = std::to_string(offset_) + "-";
        curl_easy_setopt(easy_, CURLOPT_RANGE, range.c_str());
        const std::string validator = file.rangeValidator();
        if (!validator.empty()) {
            headers_ = curl_slist_append(nullptr, ("If-Range: " + validator).c_str());
            curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_);
        }
    }
}

Transfer::~Transfer()
{
    if (easy_)
        curl_easy_cleanup(easy_);
    curl_slist_free_all(headers_);
}

TransferEnd Transfer::run(int &failCode)
{
    if (!easy_ || curl_multi_add_handle(multi_, easy_) != CURLM_OK) {
        failCode = XL_FAIL_NETWORK;
        return TransferEnd::Failed;
    }
    CURLcode result = CURLE_OK;
    bool done = false;
    while (!done && !stop_.load()) {
        int running = 0;
        if (curl_multi_perform(multi_, &running) != CURLM_OK) {
            result = CURLE_RECV_ERROR;
            break;
        }
        int queued = 0;
        while (CURLMsg *message = curl_multi_info_read(multi_, &queued)) {
            if (message->msg == CURLMSG_DONE) {
                result = message->data.result;
                done = true;
            }
        }
        if (!done)
            curl_multi_poll(multi_, nullptr, 0, kPollMilliseconds, nullptr);
    }
    curl_multi_remove_handle(multi_, easy_);
    if (stop_.load())
        return TransferEnd::Stopped;
    return finish(result, failCode);
}

TransferEnd Transfer::finish(CURLcode result, int &failCode)
{
    if (decided_) {
        failCode = decidedCode_;
        return decision_;
    }
    if (result != CURLE_OK) {
        failCode = failureOf(result);
        return TransferEnd::Failed;
    }
    if (accepting_) {
        // Complete means the whole file: a body that ends short of the size
        // the answer stated is a failure, whatever the connection did.
        if (fileTotal_ >= 0 && file_.size() != fileTotal_) {
            failCode = code_ == 206 ? XL_FAIL_RANGE : XL_FAIL_BAD_ANSWER;
            return TransferEnd::Failed;
        }
        return TransferEnd::Complete;
    }
    // The last answer was neither a success nor followed (a 3xx without a
    // usable target, or no answer at all).
    failCode = code_ > 0 ? int(code_) : XL_FAIL_NETWORK;
    return TransferEnd::Failed;
}

int Transfer::failureOf(CURLcode result) const
{
    switch (result) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
        return XL_FAIL_CONNECT;
    case CURLE_OPERATION_TIMEDOUT:
        return XL_FAIL_TIMEOUT;
    case CURLE_TOO_MANY_REDIRECTS:
        return XL_FAIL_REDIRECT;
    case CURLE_URL_MALFORMAT:
        return XL_FAIL_BAD_URL;
    case CURLE_UNSUPPORTED_PROTOCOL: {
        // Also what libcurl says of an answer without a status line (it would
        // be HTTP/0.9): only a URL whose scheme is not HTTP is a bad URL.
        const char *url = nullptr;
        curl_easy_getinfo(easy_, CURLINFO_EFFECTIVE_URL, &url);
        const bool http = url && (strncasecmp(url, "http://", 7) == 0 || strncasecmp(url, "https://", 8) == 0);
        return http ? XL_FAIL_BAD_ANSWER : XL_FAIL_BAD_URL;
    }
    case CURLE_WEIRD_SERVER_REPLY:
        return XL_FAIL_BAD_ANSWER;
    case CURLE_WRITE_ERROR:
        return XL_FAIL_WRITE;
    default:
        return XL_FAIL_NETWORK;
    }
}

bool Transfer::decide(TransferEnd end, int failCode)
{
    decided_ = true;
    decision_ = end;
    decidedCode_ = failCode;
    return false;
}

size_t Transfer::onHeader(char *data, size_t size, size_t count, void *self)
{
    const size_t length = size * count;
    std::string line(data, length);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    return static_cast<Transfer *>(self)->headerLine(line) ? length : 0;
}

bool Transfer::headerLine(const std::string &line)
{
    if (line.compare(0, 5, "HTTP/") == 0) {
        // A new answer (the first, a redirect's target, or after a 1xx).
        const size_t space = line.find(' ');
        code_ = space == std::string::npos ? 0 : std::strtol(line.c_str() + space + 1, nullptr, 10);
        accepting_ = chunked_ = false;
        lengthStated_ = lengthValid_ = rangeValid_ = false;
        contentLength_ = -1;
        range_ = ContentRange();
        etag_.clear();
        lastModified_.clear();
        return true;
    }
    if (line.empty())
        return headersDone();
    std::string value;
    if (startsWithName(line, "Content-Length", value)) {
        lengthStated_ = true;
        lengthValid_ = parseHeaderCount(value, contentLength_);
    } else if (startsWithName(line, "Transfer-Encoding", value)) {
        chunked_ = strcasestr(value.c_str(), "chunked") != nullptr;
    } else if (startsWithName(line, "Content-Range", value)) {
        rangeValid_ = parseContentRange(value, range_);
    } else if (startsWithName(line, "ETag", value)) {
        etag_ = value;
    } else if (startsWithName(line, "Last-Modified", value)) {
        lastModified_ = value;
    }
    return true;
}

// Decides from an answer's headers whether its body is the file (or its rest).
// Every refusal happens before the file is touched, so a partial file stays
// as it was for a later resume.
bool Transfer::headersDone()
{
    if (code_ < 200 || (code_ >= 300 && code_ < 400))
        return true; // interim answer or redirect: its body is never written
    if (code_ == 416) {
        if (offset_ > 0 && rangeValid_ && range_.total == offset_) {
            decide(TransferEnd::Complete, XL_FAIL_NONE);
            return true;
        }
        return decide(TransferEnd::Restart, XL_FAIL_NONE);
    }
    if (code_ != 200 && code_ != 206)
        return decide(TransferEnd::Failed, int(code_)); // an error, or a success that carries no file
    const bool lengthKnown = lengthStated_ && !chunked_;
    if (lengthKnown && !lengthValid_)
        return decide(TransferEnd::Failed, XL_FAIL_BAD_ANSWER);
    if (code_ == 206) {
        // The rest of the file from the offset asked for (all of it without a
        // resume), exactly as the answer states it.
        const bool fits = rangeValid_
            && rangeFitsRequest(range_, offset_, lengthKnown ? contentLength_ : -1,
                                knownTotal_ > 0 ? knownTotal_ : -1);
        if (!fits)
            return decide(TransferEnd::Failed, XL_FAIL_RANGE);
        fileTotal_ = range_.total;
    } else {
        if (offset_ > 0) {
            // The whole file again: it replaces what is there.
            if (!file_.restart())
                return decide(TransferEnd::Failed, XL_FAIL_WRITE);
            offset_ = 0;
            status_.downloaded.store(0);
        }
        fileTotal_ = lengthKnown ? contentLength_ : -1;
    }
    const int64_t total = std::max<int64_t>(fileTotal_, 0); // 0: not known
    file_.setServerInfo(total, etag_, lastModified_);
    if (!file_.saveRecord())
        return decide(TransferEnd::Failed, XL_FAIL_WRITE);
    status_.total.store(total);
    status_.state.store(XL_STATE_DOWNLOADING);
    accepting_ = true;
    return true;
}

size_t Transfer::onBody(char *data, size_t size, size_t count, void *self)
{
    auto *transfer = static_cast<Transfer *>(self);
    const size_t length = size * count;
    if (transfer->stop_.load(std::memory_order_relaxed))
        return 0;
    if (!transfer->accepting_)
        return length;
    // Nothing past the end the answer stated reaches the file.
    size_t kept = length;
    if (transfer->fileTotal_ >= 0) {
        const int64_t room = transfer->fileTotal_ - transfer->file_.size();
        kept = room <= 0 ? 0 : size_t(std::min<int64_t>(room, int64_t(length)));
    }
    if (kept > 0 && !transfer->file_.append(data, kept)) {
        transfer->decide(TransferEnd::Failed, XL_FAIL_WRITE);
        return 0;
    }
    transfer->status_.downloaded.store(transfer->file_.size(), std::memory_order_relaxed);
    if (kept < length) {
        transfer->decide(TransferEnd::Failed, XL_FAIL_BAD_ANSWER);
        return 0;
    }
    return length;
}

} // namespace xldl
