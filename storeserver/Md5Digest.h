#pragma once

#include <cstddef>
#include <string>

// Incremental MD5 digest, written as 32 lower-case hexadecimal characters.
class Md5Digest {
public:
    Md5Digest();
    ~Md5Digest();
    Md5Digest(const Md5Digest&) = delete;
    Md5Digest& operator=(const Md5Digest&) = delete;

    void update(const void* data, size_t size);
    void update(const std::string& bytes) { update(bytes.data(), bytes.size()); }
    // Ends the digest; the object must not be updated afterwards.
    std::string hex();

    static std::string ofText(const std::string& bytes);
    // Streams the file in small blocks; empty text when it cannot be read.
    static std::string ofFile(const std::string& path);

private:
    struct evp_md_ctx_st* ctx_;
};
