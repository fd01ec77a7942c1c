#include "FailureFixtures.h"

#include "ZipWriter.h"

#include <fstream>

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
    return true;
}
