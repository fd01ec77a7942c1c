#pragma once

// Starts the real storeserver program as a child process for a test, on a free
// loopback port with its own data folder and request log, sets its faults and
// update offer at run time, and reads back what it logged. Every test that
// needs the stand-in uses it (the client's Qt tests through a thin wrapper).
// Link the CMake target storeserver_testsupport to use it.
//
//   StoreServerProcess server({"--update", "forced"});
//   ASSERT_TRUE(server.start()) << server.error();
//   httplib::Client http("127.0.0.1", server.port());
//   ... server.logEntries() ...

#include "JsonValue.h"

#include <string>
#include <sys/types.h>
#include <vector>

class StoreServerProcess {
public:
    // Extra command-line arguments go after "--port 0 --data DIR --log FILE".
    explicit StoreServerProcess(std::vector<std::string> extraArguments = {},
                                std::string binary = defaultBinary());
    ~StoreServerProcess();
    StoreServerProcess(const StoreServerProcess&) = delete;
    StoreServerProcess& operator=(const StoreServerProcess&) = delete;

    // The folder that gets the server's own work folder (data and request
    // log); "/tmp" unless set before start().
    void setWorkFolderParent(std::string folder) { workParent_ = std::move(folder); }
    // Starts the program and waits (up to 30 s) for its "listening" line.
    bool start();
    // Sends SIGTERM and waits for the exit (SIGKILL after 10 s); also done by the destructor.
    void stop();
    const std::string& error() const { return error_; }

    int port() const { return port_; }
    std::string host() const;     // "127.0.0.1:<port>"
    std::string baseUrl() const;  // "http://127.0.0.1:<port>"
    const std::string& dataDir() const { return dataDir_; }
    const std::string& logPath() const { return logPath_; }

    // Sets or clears a route's fault through the control route; true when accepted.
    bool setFault(const std::string& route, const std::string& mode) const;
    // Without a route, every route's fault is cleared.
    bool clearFaults(const std::string& route = std::string()) const;
    // The version service's offer: mode "none", "optional" or "forced"; empty values keep the defaults.
    bool setUpdate(const std::string& mode, const std::string& version = {}, const std::string& url = {},
                   const std::string& note = {}) const;

    // Publishes a new version of a PC game with a package of its own (empty
    // version: the current one's last number plus one); true when accepted.
    bool publishVersion(const std::string& gameId, const std::string& version = {}) const;

    // Every line of the request log, parsed; a line that does not parse is a null value.
    std::vector<JsonValue> logEntries() const;
    // Empties the request log (the server keeps appending to it).
    void clearLog() const;
    // The fixture catalogue as the server wrote it into catalogue.json.
    JsonValue catalogue() const;
    // The catalogue entry of one game (null when unknown).
    JsonValue game(const std::string& gameId) const;

    // $ORBELA_STORESERVER when set, otherwise the path the build configured.
    static std::string defaultBinary();

private:
    bool control(const std::string& pathAndQuery) const;

    std::vector<std::string> extraArguments_;
    std::string binary_;
    std::string workParent_ = "/tmp";
    std::string workDir_;
    std::string dataDir_;
    std::string logPath_;
    std::string error_;
    pid_t pid_ = -1;
    int port_ = 0;
};
