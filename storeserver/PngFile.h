#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Writes an 8-bit RGB PNG; colourAt gives 0xRRGGBB for each pixel.
bool writePngFile(const std::string& path, int width, int height,
                  const std::function<uint32_t(int x, int y)>& colourAt);

// An all-black 8-bit RGB PNG of any size, in memory; its rows cost almost
// nothing, however much memory a decoder needs for them.
std::string blackPng(int width, int height);

// Writes an all-black 8-bit RGB PNG of any size: its rows cost almost nothing
// on disk, however much memory a decoder needs for them.
bool writeBlackPngFile(const std::string& path, int width, int height);
