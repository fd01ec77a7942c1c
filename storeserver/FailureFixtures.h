#pragma once
// Packages that go wrong on the client's side, served beside the fixture
// games but not listed in the catalogue: a file that is no zip at all, and a
// zip with an entry that climbs out of the folder it is unpacked into.

#include <string>

// Writes "games/corrupt-game.zip" and "games/escaping-game.zip" under downloadDir.
bool writeFailureFixtures(const std::string& downloadDir, std::string* error);
