#include "CompressedZeros.h"

#include <zlib.h>

#include <vector>

namespace {

void appendBigEndian(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

void appendLittleEndian(std::string& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

// A raw deflate stream: the piece ends with a full flush, which empties the
// compressor's history, so every repetition compresses to the same bytes.
std::string deflatedZeros(uint64_t pieceBytes, uint32_t pieces)
{
    z_stream stream{};
    if (deflateInit2(&stream, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    const std::vector<Bytef> zeros(pieceBytes);
    std::vector<Bytef> out(deflateBound(&stream, static_cast<uLong>(pieceBytes)) + 64);
    stream.next_in = const_cast<Bytef*>(zeros.data());
    stream.avail_in = static_cast<uInt>(zeros.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FULL_FLUSH);
    const std::string piece(reinterpret_cast<const char*>(out.data()), out.size() - stream.avail_out);
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    const std::string last(reinterpret_cast<const char*>(out.data()), out.size() - stream.avail_out);
    deflateEnd(&stream);

    std::string whole;
    whole.reserve(piece.size() * pieces + last.size());
    for (uint32_t i = 0; i < pieces; ++i)
        whole += piece;
    return whole + last;
}

// A checksum of the whole from the checksum of one piece (sum starts at empty).
template <class Sum, class Combine>
uLong checksumOfZeros(uint64_t pieceBytes, uint32_t pieces, uLong empty, Sum sum, Combine combine)
{
    const std::vector<Bytef> zeros(pieceBytes);
    const uLong piece = sum(empty, zeros.data(), static_cast<uInt>(zeros.size()));
    uLong whole = empty;
    for (uint32_t i = 0; i < pieces; ++i)
        whole = combine(whole, piece, static_cast<z_off_t>(pieceBytes));
    return whole;
}

} // namespace

std::string gzipOfZeros(uint64_t pieceBytes, uint32_t pieces)
{
    const uLong crc = checksumOfZeros(
        pieceBytes, pieces, crc32(0, nullptr, 0), [](uLong sum, const Bytef* data, uInt size) { return crc32(sum, data, size); },
        [](uLong first, uLong second, z_off_t size) { return crc32_combine(first, second, size); });
    // Magic, deflate, no flags, no time, maximum compression, Unix.
    std::string file("\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\x03", 10);
    file += deflatedZeros(pieceBytes, pieces);
    appendLittleEndian(file, static_cast<uint32_t>(crc));
    appendLittleEndian(file, static_cast<uint32_t>(pieceBytes * pieces));
    return file;
}

std::string zlibOfZeros(uint64_t pieceBytes, uint32_t pieces)
{
    const uLong adler = checksumOfZeros(
        pieceBytes, pieces, adler32(0, nullptr, 0),
        [](uLong sum, const Bytef* data, uInt size) { return adler32(sum, data, size); },
        [](uLong first, uLong second, z_off_t size) { return adler32_combine(first, second, size); });
    std::string stream("\x78\xda", 2);
    stream += deflatedZeros(pieceBytes, pieces);
    appendBigEndian(stream, static_cast<uint32_t>(adler));
    return stream;
}
