#include "HttpPost.h"

#include <curl/curl.h>

size_t HttpWriteToString(void* data, size_t size, size_t count, std::string* reply)
{
    if (!data || !reply)
        return static_cast<size_t>(-1);
    reply->append(static_cast<const char*>(data), size * count);
    return count;
}

int HttpPost(const std::string& url, const std::string& body, std::string& reply)
{
    CURL* curl = curl_easy_init();
    if (!curl)
        return CURLE_FAILED_INIT;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.c_str());
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, NULL);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, HttpWriteToString);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 3L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 3L);
    CURLcode code = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    return code;
}
