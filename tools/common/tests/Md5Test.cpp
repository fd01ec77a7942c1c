#include "Ccommon.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Md5Test, DigestsAreThoseOfRfc1321)
{
    struct Row {
        const char* text;
        const char* digest;
    };
    const Row rows[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        Ccommon md5;
        EXPECT_EQ(std::string(md5.Md5String(row.text)), row.digest);
    }
}

TEST(Md5Test, DigestTextIsOneSharedBufferOverwrittenByTheNextCall)
{
    Ccommon md5;
    const char* first = md5.Md5String("a");
    std::string kept = first;
    const char* second = md5.Md5String("abc");
    EXPECT_EQ(first, second);
    EXPECT_EQ(kept, "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(std::string(second), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(Md5Test, HexTextIsHighNibbleFirstInLowerCase)
{
    const unsigned char digest[16] = {0x00, 0x01, 0x7f, 0x80, 0xab, 0xcd, 0xef, 0xff,
                                      0x10, 0x20, 0x30, 0x40, 0x5a, 0x6b, 0x7c, 0x8d};
    EXPECT_EQ(std::string(Md5ToHex(digest)), "00017f80abcdefff102030405a6b7c8d");
}

} // namespace
