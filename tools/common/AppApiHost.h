#pragma once

#include <string>

// The store's app API host ("host" or "host:port"): the environment variable
// ORBELA_APP_API_HOST when set, otherwise the value the build was configured with.
std::string GetAppApiHost();

// The statistics endpoint on that host.
std::string StatisticsUrl();
