// The store stand-in (a storeserver process of the test's own) serving one
// file for download tests: the content goes into its download folder, faults
// go on the file's route, and the requests it logged are read back.
#pragma once

#include "StoreServerProcess.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

class StandInFile {
public:
    struct Request {
        std::string path;
        std::string range;     // empty when the request had none
        std::string userAgent;
    };

    explicit StandInFile(const std::string &name = "file.bin") : path_("/download/" + name)
    {
        EXPECT_TRUE(server_.start()) << server_.error();
    }

    StoreServerProcess &server() { return server_; }
    // The file's route, or another route on the same server.
    std::string url(const std::string &path = std::string()) const
    {
        return server_.baseUrl() + (path.empty() ? path_ : path);
    }
    const std::string &path() const { return path_; }

    // Replaces the file at once: a download running meanwhile sees the old or the new one whole.
    void setContent(const std::string &content) const
    {
        const std::string file = server_.dataDir() + path_, part = file + ".part";
        std::ofstream(part, std::ios::binary | std::ios::trunc) << content;
        ASSERT_EQ(std::rename(part.c_str(), file.c_str()), 0);
    }
    // A fault on the file's route (or on another route), as the stand-in names it.
    void setFault(const std::string &mode, const std::string &route = std::string()) const
    {
        ASSERT_TRUE(server_.setFault(route.empty() ? path_ : route, mode)) << mode;
    }
    void clearFaults() const { ASSERT_TRUE(server_.clearFaults()); }

    // Every logged request, oldest first.
    std::vector<Request> requests() const
    {
        std::vector<Request> requests;
        for (const JsonValue &entry : server_.logEntries())
            requests.push_back({entry["path"].asString(), entry["range"].asString(), entry["user_agent"].asString()});
        return requests;
    }

private:
    StoreServerProcess server_;
    std::string path_;
};
