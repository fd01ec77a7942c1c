#pragma once

#include "JsonValue.h"

#include <httplib.h>

#include <memory>
#include <string>

class StoreServerProcess;

// Small helpers the storeserver tests share.
std::unique_ptr<httplib::Client> clientFor(const StoreServerProcess& server, int readTimeoutSeconds = 10);
std::string currentTimestamp();
// Percent-encodes every byte but the unreserved characters.
std::string urlEncode(const std::string& text);
// GET or form POST whose answer must be JSON; a null value when it is not.
JsonValue getJson(httplib::Client& client, const std::string& path);
JsonValue postForm(httplib::Client& client, const std::string& path, const std::string& body);
