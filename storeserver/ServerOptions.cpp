#include "ServerOptions.h"

#include <cstdlib>

namespace {

bool readInteger(const std::string& text, long long low, long long high, long long& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, 10);
    return *end == '\0' && value >= low && value <= high;
}

} // namespace

const char* ServerOptions::usage()
{
    return "usage: storeserver [options]\n"
           "  --port N               listening port on 127.0.0.1 (default 8801; 0 picks a free port)\n"
           "  --data DIR             folder for the generated fixture games (default ./storeserver-data)\n"
           "  --log FILE             request log, one JSON object a line\n"
           "  --fault ROUTE=MODE     fault for a route (exact path, or prefix ending in *); MODE is one of\n"
           "                         slow[:BYTES_PER_S] stall[:N] cut[:N] ignore-range 404 bad-json\n"
           "                         no-answer delay-headers[:S] chunked[:BYTES_PER_S] redirect:/PATH\n"
           "                         status:N range-lie:START-END/TOTAL length-lie:N garbage-status\n"
           "  --update MODE          version service: none (default), optional or forced\n"
           "  --update-version V     version offered (default 1.1.1.82)\n"
           "  --update-url URL       package URL offered (default http://<host>/download/orbela-update.7z)\n"
           "  --update-note TEXT     release note offered\n"
           "  --big-file-mib N       add fixture game 1005 with a sparse package of N MiB (at most 4000)\n";
}

bool ServerOptions::parse(int argc, char** argv, ServerOptions& options, std::string* error)
{
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        if (i + 1 >= argc) {
            *error = "missing value for " + name;
            return false;
        }
        std::string value = argv[++i];
        long long number = 0;
        if (name == "--port") {
            if (!readInteger(value, 0, 65535, number)) {
                *error = "bad port " + value;
                return false;
            }
            options.port = static_cast<int>(number);
        } else if (name == "--data") {
            options.dataDir = value;
        } else if (name == "--log") {
            options.logPath = value;
        } else if (name == "--fault") {
            size_t eq = value.find('=');
            Fault fault;
            if (eq == std::string::npos || eq == 0 || !Fault::parse(value.substr(eq + 1), fault, error)) {
                if (eq == std::string::npos || eq == 0)
                    *error = "--fault takes ROUTE=MODE";
                return false;
            }
            options.faults.emplace_back(value.substr(0, eq), fault);
        } else if (name == "--update") {
            if (!UpdateOffer::parseMode(value, options.update.mode)) {
                *error = "--update takes none, optional or forced";
                return false;
            }
        } else if (name == "--update-version") {
            options.update.version = value;
        } else if (name == "--update-url") {
            options.update.url = value;
        } else if (name == "--update-note") {
            options.update.note = value;
        } else if (name == "--big-file-mib") {
            if (!readInteger(value, 0, 4000, number)) {
                *error = "--big-file-mib takes 0 to 4000";
                return false;
            }
            options.bigFileMiB = static_cast<uint64_t>(number);
        } else {
            *error = "unknown option " + name;
            return false;
        }
    }
    if (options.dataDir.empty()) {
        *error = "--data must not be empty";
        return false;
    }
    return true;
}
