#include "StoreServerProcess.h"

#include "FormEncoding.h"

#include <httplib.h>

#include <fcntl.h>
#include <ftw.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#ifndef STORESERVER_BINARY
#define STORESERVER_BINARY "storeserver"
#endif

namespace {

int removeEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return ::remove(path);
}

} // namespace

StoreServerProcess::StoreServerProcess(std::vector<std::string> extraArguments, std::string binary)
    : extraArguments_(std::move(extraArguments)), binary_(std::move(binary))
{
}

StoreServerProcess::~StoreServerProcess()
{
    stop();
    if (!workDir_.empty())
        ::nftw(workDir_.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

std::string StoreServerProcess::defaultBinary()
{
    const char* fromEnvironment = std::getenv("ORBELA_STORESERVER");
    return fromEnvironment && *fromEnvironment ? fromEnvironment : STORESERVER_BINARY;
}

bool StoreServerProcess::start()
{
    std::string pattern = workParent_ + "/storeserver-test.XXXXXX";
    if (!::mkdtemp(&pattern[0])) {
        error_ = "cannot create a temporary folder in " + workParent_;
        return false;
    }
    workDir_ = pattern;
    dataDir_ = workDir_ + "/data";
    logPath_ = workDir_ + "/requests.log";

    std::vector<std::string> arguments = {binary_, "--port", "0", "--data", dataDir_, "--log", logPath_};
    arguments.insert(arguments.end(), extraArguments_.begin(), extraArguments_.end());
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(&argument[0]);
    argv.push_back(nullptr);

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        error_ = "cannot create a pipe";
        return false;
    }
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::execv(binary_.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    if (pid_ < 0) {
        ::close(pipeFds[0]);
        error_ = "cannot fork";
        return false;
    }

    // Read the first line; the program prints it once it listens.
    std::string line;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (line.find('\n') == std::string::npos) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        struct pollfd waiting = {pipeFds[0], POLLIN, 0};
        if (left.count() <= 0 || ::poll(&waiting, 1, static_cast<int>(left.count())) <= 0)
            break;
        char buffer[256];
        ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer);
        if (got <= 0)
            break;
        line.append(buffer, static_cast<size_t>(got));
    }
    ::close(pipeFds[0]);
    const std::string prefix = "listening 127.0.0.1:";
    if (line.compare(0, prefix.size(), prefix) != 0) {
        error_ = "storeserver did not report its address (got \"" + line + "\") from " + binary_;
        stop();
        return false;
    }
    port_ = std::atoi(line.c_str() + prefix.size());
    return port_ > 0;
}

void StoreServerProcess::stop()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
}

std::string StoreServerProcess::host() const
{
    return "127.0.0.1:" + std::to_string(port_);
}

std::string StoreServerProcess::baseUrl() const
{
    return "http://" + host();
}

bool StoreServerProcess::control(const std::string& pathAndQuery) const
{
    if (port_ <= 0)
        return false;
    httplib::Client http("127.0.0.1", port_);
    http.set_connection_timeout(10);
    http.set_read_timeout(10);
    auto answer = http.Post(pathAndQuery.c_str());
    return answer && answer->status == 200;
}

bool StoreServerProcess::setFault(const std::string& route, const std::string& mode) const
{
    return control("/__control/fault?route=" + percentEncode(route) + "&mode=" + percentEncode(mode));
}

bool StoreServerProcess::clearFaults(const std::string& route) const
{
    if (route.empty())
        return control("/__control/fault/clear");
    return control("/__control/fault/clear?route=" + percentEncode(route));
}

bool StoreServerProcess::setUpdate(const std::string& mode, const std::string& version, const std::string& url,
                                   const std::string& note) const
{
    std::string query = "/__control/update?mode=" + percentEncode(mode);
    if (!version.empty())
        query += "&version=" + percentEncode(version);
    if (!url.empty())
        query += "&url=" + percentEncode(url);
    if (!note.empty())
        query += "&note=" + percentEncode(note);
    return control(query);
}

bool StoreServerProcess::publishVersion(const std::string& gameId, const std::string& version) const
{
    std::string query = "/__control/publish?game=" + percentEncode(gameId);
    if (!version.empty())
        query += "&version=" + percentEncode(version);
    return control(query);
}

std::vector<JsonValue> StoreServerProcess::logEntries() const
{
    std::vector<JsonValue> entries;
    std::ifstream file(logPath_);
    std::string line;
    while (std::getline(file, line))
        entries.push_back(JsonValue::parse(line));
    return entries;
}

void StoreServerProcess::clearLog() const
{
    std::ofstream truncate(logPath_, std::ios::trunc);
}

JsonValue StoreServerProcess::catalogue() const
{
    std::ifstream file(dataDir_ + "/catalogue.json");
    std::stringstream text;
    text << file.rdbuf();
    return JsonValue::parse(text.str());
}

JsonValue StoreServerProcess::game(const std::string& gameId) const
{
    JsonValue all = catalogue();
    const JsonValue& games = all["games"];
    for (size_t i = 0; i < games.size(); ++i)
        if (games[i]["gameId"].asString() == gameId)
            return games[i];
    return JsonValue();
}
