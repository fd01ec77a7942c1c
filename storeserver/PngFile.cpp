#include "PngFile.h"

#include "CompressedZeros.h"

#include <zlib.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

void appendBigEndian(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

void appendChunk(std::string& out, const char* type, const std::string& data)
{
    appendBigEndian(out, static_cast<uint32_t>(data.size()));
    std::string typed = std::string(type, 4) + data;
    out += typed;
    appendBigEndian(out, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()))));
}

// An 8-bit RGB PNG of the given size around its compressed rows.
std::string pngAround(int width, int height, const std::string& packedRows)
{
    std::string header;
    appendBigEndian(header, static_cast<uint32_t>(width));
    appendBigEndian(header, static_cast<uint32_t>(height));
    header += '\x08';  // bit depth
    header += '\x02';  // colour type: RGB
    header += std::string(3, '\0');

    std::string png = "\x89PNG\r\n\x1a\n";
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", packedRows);
    appendChunk(png, "IEND", "");
    return png;
}

bool writeBytes(const std::string& path, const std::string& bytes)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), std::fclose);
    return file && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
}

} // namespace

bool writePngFile(const std::string& path, int width, int height,
                  const std::function<uint32_t(int x, int y)>& colourAt)
{
    std::string rows;
    for (int y = 0; y < height; ++y) {
        rows += '\0';  // filter: none
        for (int x = 0; x < width; ++x) {
            uint32_t rgb = colourAt(x, y);
            rows += static_cast<char>((rgb >> 16) & 0xFF);
            rows += static_cast<char>((rgb >> 8) & 0xFF);
            rows += static_cast<char>(rgb & 0xFF);
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::vector<Bytef> packed(packedSize);
    if (compress(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(rows.data()), static_cast<uLong>(rows.size())) != Z_OK)
        return false;

    return writeBytes(path, pngAround(width, height, std::string(reinterpret_cast<const char*>(packed.data()), packedSize)));
}

std::string blackPng(int width, int height)
{
    // Each row is its filter byte and three zero bytes a pixel.
    return pngAround(width, height, zlibOfZeros(1 + 3 * static_cast<uint64_t>(width), static_cast<uint32_t>(height)));
}

bool writeBlackPngFile(const std::string& path, int width, int height)
{
    return writeBytes(path, blackPng(width, height));
}
