// Support for tests that download through the engine: the engine loaded from
// a copy in a temporary application folder (so its "download" folder is the
// test's own), task records, polling, file contents and digests.
#pragma once

#include "LoadedEngine.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

class EngineUnderTest : public ::testing::Environment {
public:
    void SetUp() override
    {
        char pattern[] = "/tmp/xldl-app.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder() = pattern;
        const fs::path copy = fs::path(folder()) / "libxldl.so";
        fs::copy_file(XLDL_LIBRARY_PATH, copy);
        ASSERT_TRUE(api().load(copy.string())) << dlerror();
        ASSERT_NE(api().XL_Init(), 0);
    }
    void TearDown() override
    {
        api().XL_UnInit();
        fs::remove_all(folder());
    }

    static LoadedEngine &api()
    {
        static LoadedEngine engine;
        return engine;
    }
    static std::string &folder()
    {
        static std::string path;
        return path;
    }
    static fs::path downloadFolder() { return fs::path(folder()) / "download"; }
    // Resume records left by earlier tests' failed tasks.
    static void clearDownloadFolder()
    {
        for (const auto &entry : fs::directory_iterator(downloadFolder()))
            fs::remove_all(entry.path());
    }
};

inline LoadedEngine &xl()
{
    return EngineUnderTest::api();
}

class TempFolder {
public:
    TempFolder()
    {
        char pattern[] = "/tmp/xldl-save.XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~TempFolder() { fs::remove_all(path_); }
    const std::string &path() const { return path_; }
    std::string file(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline std::u16string utf16(const std::string &ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

template <size_t N>
void putText(XlChar (&field)[N], const std::u16string &text)
{
    ASSERT_LT(text.size(), N);
    std::memcpy(field, text.c_str(), (text.size() + 1) * sizeof(XlChar));
}

// As the client fills it for a start.
inline XlTaskParams taskParams(const std::string &url, const std::u16string &name, const std::string &folder)
{
    XlTaskParams params;
    std::memset(&params, 0, sizeof params);
    putText(params.url, utf16(url));
    putText(params.fileName, name);
    putText(params.saveFolder, utf16(folder));
    params.resume = 1;
    params.reserved18368 = 1;
    return params;
}

inline XlTaskInfo query(XlTaskHandle task, int *result = nullptr)
{
    XlTaskInfo info;
    std::memset(&info, 0, sizeof info);
    info.state = 2;
    const int ok = xl().XL_QueryTaskInfoEx(task, &info);
    if (result)
        *result = ok;
    return info;
}

// Polls until done(info) holds or 30 s pass; every answer seen is kept.
inline bool pollUntil(XlTaskHandle task, const std::function<bool(const XlTaskInfo &)> &done,
                      std::vector<XlTaskInfo> *seen = nullptr)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        const XlTaskInfo info = query(task);
        if (seen)
            seen->push_back(info);
        if (done(info))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

inline bool finished(const XlTaskInfo &info)
{
    return info.state == XL_STATE_COMPLETE || info.state == XL_STATE_ERROR;
}

// Bytes that differ at every offset, so a misplaced range shows.
inline std::string patternContent(size_t size, unsigned seed = 1)
{
    std::string content(size, '\0');
    uint32_t x = 2463534242u ^ seed;
    for (size_t i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        content[i] = char(x);
    }
    return content;
}

inline std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline std::string md5Hex(const std::string &data)
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned length = 0;
    EVP_Digest(data.data(), data.size(), digest, &length, EVP_md5(), nullptr);
    static const char hex[] = "0123456789abcdef";
    std::string text;
    for (unsigned i = 0; i < length; ++i) {
        text += hex[digest[i] >> 4];
        text += hex[digest[i] & 15];
    }
    return text;
}

inline size_t countFiles(const fs::path &folder)
{
    size_t count = 0;
    for (const auto &entry : fs::directory_iterator(folder))
        count += entry.is_regular_file() ? 1 : 0;
    return count;
}
