#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Writes a zip archive with stored (uncompressed) entries and Unix permissions,
// so a launcher inside keeps its executable bit when unpacked.
class ZipWriter {
public:
    ~ZipWriter();
    bool open(const std::string& path);
    bool addFile(const std::string& name, const std::string& data, uint32_t unixMode = 0644);
    // An entry of zero bytes left as a hole in the file, for large packages that
    // cost no disk space.
    bool addZeroFile(const std::string& name, uint64_t size, uint32_t unixMode = 0644);
    bool finish();

private:
    struct Entry {
        std::string name;
        uint32_t crc;
        uint32_t size;
        uint32_t offset;
        uint32_t unixMode;
    };
    // Records the entry and writes its local header; the data follows it.
    bool beginEntry(const std::string& name, uint32_t crc, uint64_t size, uint32_t unixMode);
    // The fields local and central headers share, from "version needed" to the name length.
    bool putCommonFields(const Entry& entry);
    bool put(const void* data, size_t size);
    bool put16(uint16_t value);
    bool put32(uint32_t value);

    FILE* file_ = nullptr;
    uint64_t position_ = 0;
    std::vector<Entry> entries_;
    bool failed_ = false;
};
