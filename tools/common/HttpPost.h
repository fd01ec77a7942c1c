#pragma once

#include <cstddef>
#include <string>

// Posts a form body (sent as it is) to a URL over plain HTTP and appends the
// answer to reply. Returns libcurl's code; 2 (CURLE_FAILED_INIT) when no easy
// handle could be made. Blocks for at most about three seconds.
int HttpPost(const std::string& url, const std::string& body, std::string& reply);

// libcurl write callback: appends size * count bytes to the reply string.
size_t HttpWriteToString(void* data, size_t size, size_t count, std::string* reply);
