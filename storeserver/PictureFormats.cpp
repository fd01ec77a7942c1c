#include "PictureFormats.h"

#include <cstdint>

namespace {

void appendLittleEndian(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// One TIFF directory entry holding a single value.
void appendTiffEntry(std::string& out, int tag, int type, uint32_t value)
{
    const bool isShort = type == 3;
    appendLittleEndian(out, static_cast<uint32_t>(tag), 2);
    appendLittleEndian(out, static_cast<uint32_t>(type), 2);
    appendLittleEndian(out, 1, 4);
    appendLittleEndian(out, value, isShort ? 2 : 4);
    if (isShort)
        appendLittleEndian(out, 0, 2);
}

} // namespace

std::string icoAround(const std::string& png)
{
    std::string ico;
    appendLittleEndian(ico, 0, 2);  // reserved
    appendLittleEndian(ico, 1, 2);  // an icon
    appendLittleEndian(ico, 1, 2);  // one image
    ico += '\0';                    // width 256
    ico += '\0';                    // height 256
    ico += '\0';                    // no palette
    ico += '\0';
    appendLittleEndian(ico, 1, 2);   // planes
    appendLittleEndian(ico, 32, 2);  // bits a pixel
    appendLittleEndian(ico, static_cast<uint32_t>(png.size()), 4);
    appendLittleEndian(ico, 22, 4);  // the image follows the directory
    return ico + png;
}

std::string greyTiff(int width, int height)
{
    const int entries = 8;
    const uint32_t pixelsAt = 8 + 2 + entries * 12 + 4;
    std::string tiff = "II";
    appendLittleEndian(tiff, 42, 2);
    appendLittleEndian(tiff, 8, 4);
    appendLittleEndian(tiff, entries, 2);
    appendTiffEntry(tiff, 256, 3, static_cast<uint32_t>(width));
    appendTiffEntry(tiff, 257, 3, static_cast<uint32_t>(height));
    appendTiffEntry(tiff, 258, 3, 8);  // bits a sample
    appendTiffEntry(tiff, 259, 3, 1);  // no compression
    appendTiffEntry(tiff, 262, 3, 1);  // black is zero
    appendTiffEntry(tiff, 273, 4, pixelsAt);
    appendTiffEntry(tiff, 278, 3, static_cast<uint32_t>(height));  // one strip
    appendTiffEntry(tiff, 279, 4, static_cast<uint32_t>(width * height));
    appendLittleEndian(tiff, 0, 4);  // no next directory
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            tiff += static_cast<char>((x + y) % 2 ? 0x40 : 0xC0);
    return tiff;
}

std::string svgPicture(int width, int height)
{
    const std::string w = std::to_string(width);
    const std::string h = std::to_string(height);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w
           + "\" height=\"" + h + "\"><rect width=\"" + w + "\" height=\"" + h + "\" fill=\"#204080\"/></svg>\n";
}

std::string gifFramePastScreen(int screenSide, int frameSide)
{
    std::string gif = "GIF89a";
    appendLittleEndian(gif, static_cast<uint32_t>(screenSide), 2);
    appendLittleEndian(gif, static_cast<uint32_t>(screenSide), 2);
    gif += '\x80';  // a global colour table of two colours
    gif += '\0';
    gif += '\0';
    gif += std::string("\x00\x00\x00\xFF\xFF\xFF", 6);
    gif += ',';
    appendLittleEndian(gif, 0, 4);  // left and top
    appendLittleEndian(gif, static_cast<uint32_t>(frameSide), 2);
    appendLittleEndian(gif, static_cast<uint32_t>(frameSide), 2);
    gif += '\0';
    // Code size 2; one sub-block with the 3-bit codes clear, 0, end.
    gif += std::string("\x02\x02\x44\x01\x00", 5);
    return gif + ';';
}
