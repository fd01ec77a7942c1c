#include "ReplyDelivery.h"

#include "ByteRange.h"
#include "ShutdownSignal.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

using std::chrono::milliseconds;

const size_t kPiece = 64 * 1024;
const int64_t kDefaultBytesPerSecond = 64 * 1024;
const int64_t kDefaultDelaySeconds = 2;
const int64_t kDefaultDripMs = 500;
const int64_t kDefaultBodyDripMs = 1000;
// Long enough for any test, short enough that a forgotten stall ends by itself.
const milliseconds kHoldLimit = std::chrono::hours(1);
// Carries the Content-Length a lying answer states past the library, which
// states the real one; applyStatedLength puts it in place.
const char kStatedLength[] = "X-Storeserver-Stated-Length";
// What a server without a valid status line sends.
const char kGarbageAnswer[] = "GARBAGE 2OO NOT-HTTP\r\nContent-Length: 5\r\n\r\nhello";

// The span of the body that goes out: part of a file or of a text.
class BodySource {
public:
    BodySource(const Reply& reply, uint64_t first, uint64_t length) : first_(first), length_(length)
    {
        if (reply.isFile()) {
            int fd = ::open(reply.filePath.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd >= 0)
                fd_ = std::shared_ptr<int>(new int(fd), [](int* p) { ::close(*p); delete p; });
        } else {
            text_ = std::make_shared<std::string>(reply.text);
        }
    }

    uint64_t length() const { return length_; }
    bool valid() const { return fd_ || text_; }

    // Reads up to count bytes at offset (relative to the span).
    bool read(uint64_t offset, size_t count, std::vector<char>& buffer) const
    {
        buffer.resize(count);
        if (text_) {
            std::copy_n(text_->data() + first_ + offset, count, buffer.data());
            return true;
        }
        if (!fd_)
            return false; // the file could not be opened
        size_t done = 0;
        while (done < count) {
            ssize_t got = ::pread(*fd_, buffer.data() + done, count - done, static_cast<off_t>(first_ + offset + done));
            if (got <= 0)
                return false;
            done += static_cast<size_t>(got);
        }
        return true;
    }

private:
    std::shared_ptr<int> fd_;
    std::shared_ptr<std::string> text_;
    uint64_t first_;
    uint64_t length_;
};

// How the bytes are paced: a limit after which the connection is cut or held,
// and an optional rate.
struct Pacing {
    uint64_t limit = UINT64_MAX;
    bool holdAtLimit = false;
    int64_t bytesPerSecond = 0;
    int64_t msPerByte = 0;
};

// Sends the next piece at offset; false ends the connection.
bool sendPiece(const BodySource& source, const Pacing& pacing, const ShutdownSignal& shutdown,
               uint64_t offset, uint64_t wanted, httplib::DataSink& sink)
{
    if (offset >= pacing.limit) {
        if (pacing.holdAtLimit)
            shutdown.waitFor(kHoldLimit);
        return false;
    }
    uint64_t count = std::min<uint64_t>({wanted, pacing.limit - offset, kPiece});
    const int ticksPerSecond = 10;
    if (pacing.bytesPerSecond > 0)
        count = std::min<uint64_t>(count, std::max<int64_t>(1, pacing.bytesPerSecond / ticksPerSecond));
    if (pacing.msPerByte > 0)
        count = 1;
    std::vector<char> buffer;
    if (!source.read(offset, static_cast<size_t>(count), buffer))
        return false;
    if (!sink.write(buffer.data(), buffer.size()))
        return false;
    if (pacing.bytesPerSecond > 0 && shutdown.waitFor(milliseconds(1000 / ticksPerSecond)))
        return false;
    if (pacing.msPerByte > 0 && shutdown.waitFor(milliseconds(pacing.msPerByte)))
        return false;
    return !shutdown.triggered();
}

bool hasNoBody(int status)
{
    return status < 200 || status == 204 || status == 304;
}

uint64_t countAt(const std::string& text, size_t position)
{
    return std::strtoull(text.c_str() + position, nullptr, 10);
}

// The connection a request came in on: the socket whose two ends are the
// request's addresses. The library does not hand its sockets to handlers.
int connectionOf(const httplib::Request& request)
{
    DIR* folder = ::opendir("/proc/self/fd");
    if (!folder)
        return -1;
    int found = -1;
    while (dirent* entry = ::readdir(folder)) {
        const int fd = std::atoi(entry->d_name);
        struct stat info;
        if (entry->d_name[0] == '.' || ::fstat(fd, &info) != 0 || !S_ISSOCK(info.st_mode))
            continue;
        sockaddr_in local{}, peer{};
        socklen_t localLength = sizeof local, peerLength = sizeof peer;
        if (::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localLength) == 0
            && ::getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerLength) == 0 && peer.sin_family == AF_INET
            && ntohs(local.sin_port) == request.local_port && ntohs(peer.sin_port) == request.remote_port) {
            found = fd;
            break;
        }
    }
    ::closedir(folder);
    return found;
}

// Sends bytes that are no HTTP answer and ends the sending side; the answer
// the library then tries to write fails and the connection closes.
void answerWithGarbage(const httplib::Request& request)
{
    const int fd = connectionOf(request);
    if (fd < 0)
        return;
    ::send(fd, kGarbageAnswer, sizeof kGarbageAnswer - 1, MSG_NOSIGNAL);
    ::shutdown(fd, SHUT_WR);
}

// Sends a status line and then a header line every intervalMs, never the
// blank line that ends them, until the client goes or the server stops.
void dripHeaders(const httplib::Request& request, int64_t intervalMs, const ShutdownSignal& shutdown)
{
    const int fd = connectionOf(request);
    if (fd < 0)
        return;
    std::string line = "HTTP/1.1 200 OK\r\n";
    const auto end = std::chrono::steady_clock::now() + kHoldLimit;
    for (int count = 0; std::chrono::steady_clock::now() < end; ++count) {
        if (::send(fd, line.data(), line.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(line.size()))
            break;
        if (shutdown.waitFor(milliseconds(intervalMs)))
            break;
        line = "X-Drip-" + std::to_string(count) + ": one more line\r\n";
    }
    ::shutdown(fd, SHUT_RDWR);
}

} // namespace

void applyStatedLength(httplib::Response& response)
{
    if (!response.has_header(kStatedLength))
        return;
    const std::string stated = response.get_header_value(kStatedLength);
    response.headers.erase(kStatedLength);
    response.headers.erase("Content-Length");
    response.set_header("Content-Length", stated);
}

std::string absoluteUrl(const httplib::Request& request, const std::string& fallbackHost, const std::string& path)
{
    std::string host = request.get_header_value("Host");
    if (host.empty())
        host = fallbackHost;
    return "http://" + host + path;
}

void deliverReply(const httplib::Request& request, httplib::Response& response, Reply reply,
                  const Fault& fault, const ShutdownSignal& shutdown)
{
    switch (fault.mode) {
    case FaultMode::NoAnswer:
        shutdown.waitFor(kHoldLimit);
        reply = Reply::plain(503, "stopping\n");
        break;
    case FaultMode::DelayHeaders:
        shutdown.waitFor(std::chrono::seconds(fault.amount >= 0 ? fault.amount : kDefaultDelaySeconds));
        break;
    case FaultMode::NotFound:
        reply = Reply::notFound();
        break;
    case FaultMode::BadJson:
        reply = Reply::plain(200, "{\"status\":1,\"msg\":\"ok\",\"data\":{\"gameId\":");
        reply.contentType = "application/json; charset=utf-8";
        break;
    case FaultMode::Redirect:
        reply = Reply::redirect(absoluteUrl(request, "127.0.0.1", fault.text));
        break;
    case FaultMode::Status: {
        const int status = static_cast<int>(fault.amount);
        reply = Reply::plain(status, hasNoBody(status) ? std::string() : "status " + std::to_string(status) + "\n");
        break;
    }
    case FaultMode::GarbageStatus:
        answerWithGarbage(request);
        response.status = 500;
        response.set_content("", "text/plain");
        return;
    case FaultMode::DripHeaders:
        dripHeaders(request, fault.amount > 0 ? fault.amount : kDefaultDripMs, shutdown);
        response.status = 500;
        response.set_content("", "text/plain");
        return;
    case FaultMode::GzipBomb:
        if (fault.amount > 0)
            shutdown.waitFor(std::chrono::seconds(fault.amount));
        reply.headers.emplace_back("Content-Encoding", "gzip");
        break;
    case FaultMode::Encoded:
        reply.headers.emplace_back("Content-Encoding", "gzip");
        break;
    default:
        break;
    }

    response.status = reply.status;
    for (const auto& header : reply.headers)
        response.set_header(header.first.c_str(), header.second);

    uint64_t total = reply.isFile() ? reply.fileSize : reply.text.size();
    ByteRange range;
    range.length = total;
    if (reply.isFile()) {
        response.set_header("Accept-Ranges", "bytes");
        if (fault.mode != FaultMode::IgnoreRange && reply.status == 200)
            range = ByteRange::resolve(request.get_header_value("Range"), total);
        if (range.kind == ByteRange::Kind::Unsatisfiable) {
            response.status = 416;
            response.set_header("Content-Range", range.contentRange(total));
            response.set_content("", "text/plain");
            return;
        }
        if (range.kind == ByteRange::Kind::Partial) {
            response.status = 206;
            response.set_header("Content-Range", range.contentRange(total));
        }
    }
    if (fault.mode == FaultMode::RangeLie && reply.status == 200) {
        // Bytes START to END of the body (as far as it goes), under a statement
        // that may differ from them, from the request and from the body's size.
        const uint64_t first = countAt(fault.text, 0);
        const uint64_t last = countAt(fault.text, fault.text.find('-') + 1);
        range.kind = ByteRange::Kind::Partial;
        range.first = 0;
        range.length = 0;
        if (first < total && first <= last) {
            range.first = first;
            range.length = std::min(last, total - 1) - first + 1;
        }
        response.status = 206;
        response.headers.erase("Content-Range");
        response.set_header("Content-Range", "bytes " + fault.text);
    }

    // Answers whose length is not what they state, and interim answers that
    // no final one follows, end with the connection.
    const bool closeAfterBody = fault.mode == FaultMode::LengthLie
        || (fault.mode == FaultMode::Status && reply.status < 200);
    if (closeAfterBody) {
        response.set_header(kStatedLength,
                            fault.mode == FaultMode::LengthLie ? fault.text : std::to_string(range.length));
        BodySource source(reply, range.first, range.length);
        Pacing pacing;
        pacing.limit = range.length;
        const ShutdownSignal* stop = &shutdown;
        response.set_content_provider(static_cast<size_t>(range.length) + 1, reply.contentType,
            [source, pacing, stop](size_t offset, size_t length, httplib::DataSink& sink) {
                return sendPiece(source, pacing, *stop, offset, length, sink);
            });
        return;
    }

    Pacing pacing;
    if (fault.mode == FaultMode::Cut || fault.mode == FaultMode::Stall) {
        pacing.limit = fault.amount >= 0 ? static_cast<uint64_t>(fault.amount) : range.length / 2;
        pacing.holdAtLimit = fault.mode == FaultMode::Stall;
    }
    if (fault.mode == FaultMode::Slow)
        pacing.bytesPerSecond = fault.amount > 0 ? fault.amount : kDefaultBytesPerSecond;
    if (fault.mode == FaultMode::Chunked && fault.amount > 0)
        pacing.bytesPerSecond = fault.amount;
    if (fault.mode == FaultMode::Drip)
        pacing.msPerByte = fault.amount > 0 ? fault.amount : kDefaultBodyDripMs;

    bool streamed = reply.isFile() || fault.mode == FaultMode::Slow || fault.mode == FaultMode::Stall
        || fault.mode == FaultMode::Cut || fault.mode == FaultMode::Chunked || fault.mode == FaultMode::Drip;
    if (!streamed || range.length == 0) {
        response.set_content(reply.isFile() ? std::string() : reply.text.substr(range.first, range.length),
                             reply.contentType.c_str());
        return;
    }

    BodySource source(reply, range.first, range.length);
    if (!source.valid()) {
        response.status = 500;
        response.set_content("cannot open the file\n", "text/plain");
        return;
    }
    const ShutdownSignal* stop = &shutdown;
    if (fault.mode == FaultMode::Chunked) {
        response.set_chunked_content_provider(reply.contentType,
            [source, pacing, stop](size_t offset, httplib::DataSink& sink) {
                if (offset >= source.length()) {
                    sink.done();
                    return true;
                }
                return sendPiece(source, pacing, *stop, offset, source.length() - offset, sink);
            });
        return;
    }
    response.set_content_provider(static_cast<size_t>(range.length), reply.contentType,
        [source, pacing, stop](size_t offset, size_t length, httplib::DataSink& sink) {
            return sendPiece(source, pacing, *stop, offset, length, sink);
        });
}
