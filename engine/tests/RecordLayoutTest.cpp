// The records must have the sizes and byte offsets the client fills and reads.
#include "xldl.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Field {
    const char *name;
    size_t offset;
    size_t expectedOffset;
};

#define FIELD(record, member, expected) Field{#record "." #member, offsetof(record, member), expected}

TEST(RecordLayout, FieldsSitAtTheirByteOffsets)
{
    const std::vector<Field> fields = {
        FIELD(XlTaskParams, url, 4),
        FIELD(XlTaskParams, fileName, 16532),
        FIELD(XlTaskParams, saveFolder, 17572),
        FIELD(XlTaskParams, reserved18096, 18096),
        FIELD(XlTaskParams, reserved18356, 18356),
        FIELD(XlTaskParams, reserved18360, 18360),
        FIELD(XlTaskParams, resume, 18364),
        FIELD(XlTaskParams, reserved18368, 18368),
        FIELD(XlTaskInfo, state, 0),
        FIELD(XlTaskInfo, failCode, 4),
        FIELD(XlTaskInfo, totalSize, 1048),
        FIELD(XlTaskInfo, downloadedSize, 1056),
        FIELD(XlTaskInfo, reserved1064, 1064),
        FIELD(XlTaskInfo, reserved1164, 1164),
        FIELD(XlTaskInfo, reserved1165, 1165),
        FIELD(XlProxyInfo, useSystemProxy, 0),
        FIELD(XlProxyInfo, proxyType, 4),
    };
    for (const Field &field : fields)
        EXPECT_EQ(field.offset, field.expectedOffset) << field.name;
}

TEST(RecordLayout, RecordsHaveTheirSizes)
{
    EXPECT_EQ(sizeof(XlTaskParams), 26564u);
    EXPECT_EQ(sizeof(XlTaskInfo), 1429u);
    EXPECT_EQ(sizeof(XlProxyInfo), 8412u);
    EXPECT_EQ(sizeof(XlTaskHandle), sizeof(void *));
    EXPECT_EQ(sizeof(XlChar), 2u);
}

// The client writes raw bytes at fixed offsets; the engine must read the same
// values through the record's fields.
TEST(RecordLayout, BytesWrittenAtOffsetsReadBackThroughFields)
{
    std::vector<unsigned char> raw(sizeof(XlTaskParams), 0);
    const std::u16string url = u"http://127.0.0.1/a.zip";
    const std::u16string name = u"游戏.zip";
    std::memcpy(&raw[4], url.c_str(), (url.size() + 1) * 2);
    std::memcpy(&raw[16532], name.c_str(), (name.size() + 1) * 2);
    const int32_t one = 1;
    std::memcpy(&raw[18364], &one, 4);
    XlTaskParams params;
    std::memcpy(&params, raw.data(), raw.size());
    EXPECT_EQ(std::u16string(params.url), url);
    EXPECT_EQ(std::u16string(params.fileName), name);
    EXPECT_EQ(params.resume, 1);

    XlTaskInfo info;
    std::memset(&info, 0, sizeof info);
    info.state = XL_STATE_DOWNLOADING;
    info.totalSize = 0x0102030405060708LL;
    info.downloadedSize = 42;
    info.reserved1165 = 0x11223344;
    std::vector<unsigned char> bytes(sizeof info);
    std::memcpy(bytes.data(), &info, sizeof info);
    int32_t state;
    int64_t total, downloaded;
    int32_t unaligned;
    std::memcpy(&state, &bytes[0], 4);
    std::memcpy(&total, &bytes[1048], 8);
    std::memcpy(&downloaded, &bytes[1056], 8);
    std::memcpy(&unaligned, &bytes[1165], 4);
    EXPECT_EQ(state, 3);
    EXPECT_EQ(total, 0x0102030405060708LL);
    EXPECT_EQ(downloaded, 42);
    EXPECT_EQ(unaligned, 0x11223344);
}

} // namespace
