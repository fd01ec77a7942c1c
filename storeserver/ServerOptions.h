#pragma once

#include "FaultTable.h"
#include "StoreState.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The command line of storeserver.
struct ServerOptions {
    int port = 8801;
    std::string dataDir = "storeserver-data";
    std::string logPath;  // empty: no request log
    std::vector<std::pair<std::string, Fault>> faults;
    UpdateOffer update;
    uint64_t bigFileMiB = 0;
    bool help = false;

    // False with a message in error when the command line is wrong.
    static bool parse(int argc, char** argv, ServerOptions& options, std::string* error);
    static const char* usage();
};
