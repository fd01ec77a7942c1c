#include "ZipWriter.h"

#include <zlib.h>

#include <sys/stat.h>

namespace {

// Entries carry one fixed date (2020-01-01 00:00) so the packages, and so their
// MD5 digests, are the same at every start.
const uint16_t kDosTime = 0;
const uint16_t kDosDate = ((2020 - 1980) << 9) | (1 << 5) | 1;
const uint64_t kZip32Limit = 0xFFFFFFFFull;

} // namespace

ZipWriter::~ZipWriter()
{
    if (file_)
        std::fclose(file_);
}

bool ZipWriter::open(const std::string& path)
{
    file_ = std::fopen(path.c_str(), "wb");
    position_ = 0;
    entries_.clear();
    failed_ = file_ == nullptr;
    return !failed_;
}

bool ZipWriter::put(const void* data, size_t size)
{
    if (failed_ || std::fwrite(data, 1, size, file_) != size)
        failed_ = true;
    position_ += size;
    return !failed_;
}

bool ZipWriter::put16(uint16_t value)
{
    unsigned char bytes[2] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8)};
    return put(bytes, 2);
}

bool ZipWriter::put32(uint32_t value)
{
    return put16(static_cast<uint16_t>(value)) && put16(static_cast<uint16_t>(value >> 16));
}

bool ZipWriter::beginEntry(const std::string& name, uint32_t crc, uint64_t size, uint32_t unixMode)
{
    if (failed_ || position_ + size + 1024 > kZip32Limit)
        return false;
    Entry entry;
    entry.name = name;
    entry.crc = crc;
    entry.size = static_cast<uint32_t>(size);
    entry.offset = static_cast<uint32_t>(position_);
    entry.unixMode = unixMode;
    entries_.push_back(entry);
    put32(0x04034b50);
    putCommonFields(entry);
    put16(0);  // extra field length
    return put(entry.name.data(), entry.name.size());
}

bool ZipWriter::putCommonFields(const Entry& entry)
{
    put16(10);  // version needed: stored entries
    put16(0);   // flags
    put16(0);   // method: stored
    put16(kDosTime);
    put16(kDosDate);
    put32(entry.crc);
    put32(entry.size);
    put32(entry.size);
    return put16(static_cast<uint16_t>(entry.name.size()));
}

bool ZipWriter::addFile(const std::string& name, const std::string& data, uint32_t unixMode)
{
    uint32_t crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    return beginEntry(name, crc, data.size(), unixMode) && put(data.data(), data.size());
}

bool ZipWriter::addZeroFile(const std::string& name, uint64_t size, uint32_t unixMode)
{
    std::vector<unsigned char> zeros(1 << 20, 0);
    uLong crc = crc32(0, nullptr, 0);
    for (uint64_t left = size; left > 0;) {
        uInt piece = static_cast<uInt>(left < zeros.size() ? left : zeros.size());
        crc = crc32(crc, zeros.data(), piece);
        left -= piece;
    }
    if (!beginEntry(name, static_cast<uint32_t>(crc), size, unixMode))
        return false;
    if (size > 0 && std::fseek(file_, static_cast<long>(size), SEEK_CUR) != 0)
        failed_ = true;
    position_ += size;
    return !failed_;
}

bool ZipWriter::finish()
{
    if (!file_)
        return false;
    uint64_t directoryStart = position_;
    for (const Entry& entry : entries_) {
        put32(0x02014b50);
        put16((3 << 8) | 20);  // made by Unix, so the external attributes hold the mode
        putCommonFields(entry);
        put16(0);  // extra field length
        put16(0);  // comment length
        put16(0);  // disk number
        put16(0);  // internal attributes
        put32((S_IFREG | entry.unixMode) << 16);
        put32(entry.offset);
        put(entry.name.data(), entry.name.size());
    }
    uint64_t directorySize = position_ - directoryStart;
    put32(0x06054b50);
    put16(0);
    put16(0);
    put16(static_cast<uint16_t>(entries_.size()));
    put16(static_cast<uint16_t>(entries_.size()));
    put32(static_cast<uint32_t>(directorySize));
    put32(static_cast<uint32_t>(directoryStart));
    put16(0);
    bool ok = !failed_ && std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
}
