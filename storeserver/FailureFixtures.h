#pragma once
// Packages and pictures that go wrong on the client's side, served beside the
// fixture games but not listed in the catalogue: a file that is no zip at all,
// a zip with an entry that climbs out of the folder it is unpacked into, a
// gzip file of 1 GiB of zeros (about 1 MiB), and pictures that must not be
// decoded: one declaring 30000x30000 pixels, one cut short, one no picture.

#include <string>

const int kHugePictureSide = 30000;
// The gzip file of 1 GiB of zeros, under the download folder.
const char kGzipBombFile[] = "games/zeros.gz";

// Writes "games/corrupt-game.zip", "games/escaping-game.zip", "games/zeros.gz"
// and the pictures below under downloadDir.
bool writeFailureFixtures(const std::string& downloadDir, std::string* error);
// Writes "pics/huge.png", "pics/truncated.png", "pics/not-a-picture.png", and
// "pics/icon-bomb.png" (an ICO), "pics/picture.tiff", "pics/picture.svg" and
// "pics/frame-past-screen.gif" (a 5000x5000 frame on a 16x16 screen).
bool writeHostilePictures(const std::string& downloadDir, std::string* error);
