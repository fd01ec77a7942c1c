#include "FailureFixtures.h"

#include "CompressedZeros.h"
#include "PictureFormats.h"
#include "PngFile.h"
#include "ZipWriter.h"

#include <unistd.h>

#include <fstream>

namespace {

bool writeFile(const std::string& path, const std::string& bytes, std::string* error)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

} // namespace

bool writeFailureFixtures(const std::string& downloadDir, std::string* error)
{
    const std::string corrupt = downloadDir + "/games/corrupt-game.zip";
    {
        // A local header's signature, then nothing an extractor can read.
        std::ofstream out(corrupt, std::ios::binary | std::ios::trunc);
        out << "PK\x03\x04" << std::string(4096, '\x5A');
        if (!out) {
            *error = "cannot write " + corrupt;
            return false;
        }
    }
    const std::string escaping = downloadDir + "/games/escaping-game.zip";
    ZipWriter zip;
    if (!zip.open(escaping) || !zip.addFile("launch.sh", "#!/bin/sh\nexit 0\n", 0755)
        || !zip.addFile("../escaped.txt", "written outside the game's folder\n")
        || !zip.addFile("data/../../escaped-deeper.txt", "written outside the game's folder\n") || !zip.finish()) {
        *error = "cannot write " + escaping;
        return false;
    }
    return writeFile(downloadDir + "/" + kGzipBombFile, gzipOfZeros(1024 * 1024, 1024), error)
        && writeHostilePictures(downloadDir, error);
}

bool writeHostilePictures(const std::string& downloadDir, std::string* error)
{
    const std::string huge = downloadDir + "/pics/huge.png";
    const std::string truncated = downloadDir + "/pics/truncated.png";
    if (!writeBlackPngFile(huge, kHugePictureSide, kHugePictureSide)) {
        *error = "cannot write " + huge;
        return false;
    }
    if (!writePngFile(truncated, 64, 36, [](int x, int) { return x % 2 ? 0x204080u : 0xFFFFFFu; })
        || ::truncate(truncated.c_str(), 100) != 0) {
        *error = "cannot write " + truncated;
        return false;
    }
    // Formats whose stated size is not the size decoded; the icon bomb is
    // named as a PNG, as a store would name it.
    return writeFile(downloadDir + "/pics/not-a-picture.png", "<html><body>no picture here</body></html>\n", error)
        && writeFile(downloadDir + "/pics/icon-bomb.png", icoAround(blackPng(kIconBombSide, kIconBombSide)), error)
        && writeFile(downloadDir + "/pics/picture.tiff", greyTiff(64, 36), error)
        && writeFile(downloadDir + "/pics/picture.svg", svgPicture(kIconBombSide, kIconBombSide), error)
        && writeFile(downloadDir + "/pics/frame-past-screen.gif", gifFramePastScreen(16, 5000), error);
}
