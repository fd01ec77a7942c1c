// A loopback HTTP server for download tests: serves one file at "/file" with
// byte ranges, can be told to misbehave the ways real servers do, and records
// the Range header of every request it answers.
#pragma once

#include <httplib.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class FixtureHttpServer {
public:
    enum class Mode {
        Normal,          // 200, or 206 for a range; Content-Length always
        RangeIgnored,    // 200 with the whole file whatever the Range header says
        NoContentLength, // 200, chunked, no size stated
        Status,          // the status set with setStatus and a short text body
    };

    struct Request {
        std::string path;
        std::string range; // empty when the request had none
        std::string userAgent;
    };

    FixtureHttpServer()
    {
        server_.set_keep_alive_max_count(1);
        server_.Get("/file", [this](const httplib::Request &req, httplib::Response &res) { serveFile(req, res); });
        // A redirect whose own body must never end up in the downloaded file.
        server_.Get("/moved", [this](const httplib::Request &req, httplib::Response &res) {
            log(req);
            res.status = 302;
            res.set_header("Location", "/file");
            res.set_content("this is the redirect's body, not the file", "text/plain");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    ~FixtureHttpServer()
    {
        server_.stop();
        thread_.join();
    }

    int port() const { return port_; }
    std::string url(const std::string &path = "/file") const
    {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

    void setContent(std::string content)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        content_ = std::make_shared<const std::string>(std::move(content));
    }
    void setMode(Mode mode)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        mode_ = mode;
    }
    void setStatus(int status)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        mode_ = Mode::Status;
        status_ = status;
    }
    // Pause after every 64 KiB sent, so that a test can act mid-transfer.
    void setDelayPerChunk(std::chrono::milliseconds delay)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        delay_ = delay;
    }
    // Wait this long before answering a request for "/file".
    void setHeaderDelay(std::chrono::milliseconds delay)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        headerDelay_ = delay;
    }
    std::vector<Request> requests() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }

private:
    static constexpr size_t kChunk = 64 * 1024;

    void log(const httplib::Request &req)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back({req.path, req.get_header_value("Range"), req.get_header_value("User-Agent")});
    }

    // httplib applies a request's ranges to whatever the handler answers; the
    // answers that must not honour the range drop them first.
    static void ignoreRanges(const httplib::Request &req)
    {
        const_cast<httplib::Request &>(req).ranges.clear();
    }

    void serveFile(const httplib::Request &req, httplib::Response &res)
    {
        log(req);
        std::shared_ptr<const std::string> content;
        Mode mode;
        int status;
        std::chrono::milliseconds delay, headerDelay;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            content = content_;
            mode = mode_;
            status = status_;
            delay = delay_;
            headerDelay = headerDelay_;
        }
        std::this_thread::sleep_for(headerDelay);
        if (mode == Mode::Status) {
            ignoreRanges(req);
            res.status = status;
            res.set_content("no file here", "text/plain");
            return;
        }
        if (mode != Mode::Normal) {
            ignoreRanges(req);
            res.status = 200;
        }
        if (!req.ranges.empty() && req.ranges[0].first >= 0 && size_t(req.ranges[0].first) >= content->size()) {
            ignoreRanges(req);
            res.status = 416;
            res.set_header("Content-Range", "bytes */" + std::to_string(content->size()));
            return;
        }
        auto send = [content, delay](size_t offset, size_t length, httplib::DataSink &sink) {
            const size_t n = std::min(length, kChunk);
            if (!sink.write(content->data() + offset, n))
                return false;
            if (delay.count() > 0)
                std::this_thread::sleep_for(delay);
            return true;
        };
        if (mode == Mode::NoContentLength) {
            res.set_chunked_content_provider("application/octet-stream",
                                             [content, send](size_t offset, httplib::DataSink &sink) {
                                                 if (offset >= content->size()) {
                                                     sink.done();
                                                     return true;
                                                 }
                                                 return send(offset, content->size() - offset, sink);
                                             });
        } else {
            res.set_content_provider(content->size(), "application/octet-stream", send);
        }
    }

    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::shared_ptr<const std::string> content_ = std::make_shared<const std::string>();
    Mode mode_ = Mode::Normal;
    int status_ = 200;
    std::chrono::milliseconds delay_{0};
    std::chrono::milliseconds headerDelay_{0};
    std::vector<Request> requests_;
};
