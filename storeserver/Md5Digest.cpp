#include "Md5Digest.h"

#include <openssl/evp.h>

#include <cstdio>
#include <memory>
#include <vector>

Md5Digest::Md5Digest() : ctx_(EVP_MD_CTX_new())
{
    EVP_DigestInit_ex(ctx_, EVP_md5(), nullptr);
}

Md5Digest::~Md5Digest()
{
    EVP_MD_CTX_free(ctx_);
}

void Md5Digest::update(const void* data, size_t size)
{
    EVP_DigestUpdate(ctx_, data, size);
}

std::string Md5Digest::hex()
{
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(ctx_, digest, &length);
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        text += digits[digest[i] >> 4];
        text += digits[digest[i] & 15];
    }
    return text;
}

std::string Md5Digest::ofText(const std::string& bytes)
{
    Md5Digest digest;
    digest.update(bytes);
    return digest.hex();
}

std::string Md5Digest::ofFile(const std::string& path)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file)
        return {};
    Md5Digest digest;
    std::vector<char> block(1 << 16);
    size_t got;
    while ((got = std::fread(block.data(), 1, block.size(), file.get())) > 0)
        digest.update(block.data(), got);
    if (std::ferror(file.get()))
        return {};
    return digest.hex();
}
