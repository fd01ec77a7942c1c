#pragma once
// Pictures in formats a client must not decode from the network, because the
// size their header states is not the size decoded, made in memory for the
// hostile-picture fixtures.

#include <string>

// The side of the PNG inside the icon bomb.
const int kIconBombSide = 16000;

// An ICO file whose one directory entry states 256x256 around png.
std::string icoAround(const std::string& png);
// An uncompressed 8-bit grey TIFF.
std::string greyTiff(int width, int height);
// An SVG drawing of the given size.
std::string svgPicture(int width, int height);
// A GIF whose logical screen is screenSide a side and whose one frame is
// frameSide a side, with its first few pixels only.
std::string gifFramePastScreen(int screenSide, int frameSide);
