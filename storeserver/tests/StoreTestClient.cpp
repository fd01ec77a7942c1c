#include "StoreTestClient.h"

#include "StoreServerProcess.h"

#include <cctype>
#include <ctime>
#include <fstream>
#include <sstream>

std::unique_ptr<httplib::Client> clientFor(const StoreServerProcess& server, int readTimeoutSeconds)
{
    auto client = std::make_unique<httplib::Client>("127.0.0.1", server.port());
    client->set_read_timeout(readTimeoutSeconds, 0);
    client->set_connection_timeout(5, 0);
    return client;
}

std::string currentTimestamp()
{
    return std::to_string(static_cast<long long>(std::time(nullptr)));
}

JsonValue getJson(httplib::Client& client, const std::string& path)
{
    auto result = client.Get(path.c_str());
    return result ? JsonValue::parse(result->body) : JsonValue();
}

JsonValue postForm(httplib::Client& client, const std::string& path, const std::string& body)
{
    auto result = client.Post(path.c_str(), body, "application/x-www-form-urlencoded");
    return result ? JsonValue::parse(result->body) : JsonValue();
}

std::string readFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

httplib::Headers rangeHeader(const std::string& range)
{
    httplib::Headers headers;
    if (!range.empty())
        headers.emplace("Range", range);
    return headers;
}
