#pragma once

#include "JsonValue.h"
#include "FormEncoding.h"
#include "StoreServerProcess.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <memory>
#include <string>

// Small helpers the storeserver tests share.
std::unique_ptr<httplib::Client> clientFor(const StoreServerProcess& server, int readTimeoutSeconds = 10);
std::string currentTimestamp();
// GET or form POST whose answer must be JSON; a null value when it is not.
JsonValue getJson(httplib::Client& client, const std::string& path);
JsonValue postForm(httplib::Client& client, const std::string& path, const std::string& body);
// A "Range" header with this value; no header for an empty value.
httplib::Headers rangeHeader(const std::string& range);
// The whole content of a file ("" when it cannot be read).
std::string readFileBytes(const std::string& path);

// One storeserver for all tests of a suite: class MyTest : public SharedStoreServerTest<MyTest> {};
template <class Suite>
class SharedStoreServerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        server = new StoreServerProcess();
        ASSERT_TRUE(server->start()) << server->error();
    }
    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
    }
    static inline StoreServerProcess* server = nullptr;
};
