#include "Transfer.h"

#include "TempFile.h"

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

int64_t parseCount(const std::string &text)
{
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0])))
        return -1;
    char *end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    return *end == '\0' ? value : -1;
}

// "bytes 100-199/1000", "bytes */1000", "bytes 100-199/*"
void parseContentRange(const std::string &value, int64_t &start, int64_t &total)
{
    start = total = -1;
    if (strncasecmp(value.c_str(), "bytes ", 6) != 0)
        return;
    const std::string spec = value.substr(6);
    const size_t slash = spec.find('/');
    if (slash == std::string::npos)
        return;
    total = parseCount(spec.substr(slash + 1));
    const size_t dash = spec.find('-');
    if (dash != std::string::npos && dash < slash)
        start = parseCount(spec.substr(0, dash));
}

int failureOf(CURLcode result)
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
    case CURLE_UNSUPPORTED_PROTOCOL:
        return XL_FAIL_BAD_URL;
    case CURLE_WRITE_ERROR:
        return XL_FAIL_WRITE;
    default:
        return XL_FAIL_NETWORK;
    }
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
        && curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &code) == CURLE_OK && code >= 200 && code < 300
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
    if (accepting_)
        return TransferEnd::Complete;
    // The last answer was neither a success nor followed (a 3xx without a
    // usable target, or no answer at all).
    failCode = code_ > 0 ? int(code_) : XL_FAIL_NETWORK;
    return TransferEnd::Failed;
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
        contentLength_ = rangeStart_ = rangeTotal_ = -1;
        etag_.clear();
        lastModified_.clear();
        return true;
    }
    if (line.empty())
        return headersDone();
    std::string value;
    if (startsWithName(line, "Content-Length", value))
        contentLength_ = parseCount(value);
    else if (startsWithName(line, "Transfer-Encoding", value))
        chunked_ = strcasestr(value.c_str(), "chunked") != nullptr;
    else if (startsWithName(line, "Content-Range", value))
        parseContentRange(value, rangeStart_, rangeTotal_);
    else if (startsWithName(line, "ETag", value))
        etag_ = value;
    else if (startsWithName(line, "Last-Modified", value))
        lastModified_ = value;
    return true;
}

bool Transfer::headersDone()
{
    if (code_ < 200 || (code_ >= 300 && code_ < 400))
        return true; // interim answer or redirect: its body is never written
    if (code_ == 416) {
        if (offset_ > 0 && rangeTotal_ == offset_) {
            decide(TransferEnd::Complete, XL_FAIL_NONE);
            return true;
        }
        return decide(TransferEnd::Restart, XL_FAIL_NONE);
    }
    if (code_ >= 400)
        return decide(TransferEnd::Failed, int(code_));
    const int64_t length = chunked_ ? -1 : contentLength_;
    int64_t total = 0;
    if (code_ == 206) {
        if (rangeStart_ != offset_)
            return decide(TransferEnd::Restart, XL_FAIL_NONE);
        total = rangeTotal_ >= 0 ? rangeTotal_ : (length >= 0 ? offset_ + length : 0);
    } else {
        if (offset_ > 0) {
            // The whole file again: it replaces what is there.
            if (!file_.restart())
                return decide(TransferEnd::Failed, XL_FAIL_WRITE);
            offset_ = 0;
            status_.downloaded.store(0);
        }
        total = length >= 0 ? length : 0;
    }
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
    if (!transfer->file_.append(data, length)) {
        transfer->decide(TransferEnd::Failed, XL_FAIL_WRITE);
        return 0;
    }
    transfer->status_.downloaded.store(transfer->file_.size(), std::memory_order_relaxed);
    return length;
}

} // namespace xldl
