#pragma once

#include <cstdint>
#include <string>
#include <vector>

class JsonValue;

struct FixtureGame {
    std::string gameId;
    std::string cnName;
    std::string enName;
    std::string version;
    std::string deviceId;
    int platform = 0;  // 0 PC zip, 1 Android ".apk", 2 iOS ".ipa"
    std::string launcher;
    std::string launcherParameter;
    bool bought = true;
    std::string packagePath;  // below the download folder, e.g. "games/small-game.zip"
    std::string picturePath;  // below the download folder
    uint64_t size = 0;
    std::string md5;          // of the package's real bytes
};

// The fixture games, generated into the data folder at start: real zip
// packages (a runnable launcher inside), an ".apk", an ".ipa" and pictures,
// each package's MD5 taken from the bytes on disk.
class FixtureCatalogue {
public:
    // bigFileMiB > 0 adds a sparse package of that size for download benchmarks.
    bool generate(const std::string& dataDir, uint64_t bigFileMiB, std::string* error);

    const std::vector<FixtureGame>& games() const { return games_; }
    const FixtureGame* find(const std::string& gameId) const;
    const std::string& downloadDir() const { return downloadDir_; }

    // The game's fields under the keys the client reads; "platform" is a JSON
    // number in API answers and a text in page links.
    static JsonValue gameJson(const FixtureGame& game, const std::string& baseUrl, bool platformAsText);
    // Everything about the catalogue, for tests and for the file catalogue.json.
    JsonValue describe(const std::string& baseUrl) const;

private:
    std::string downloadDir_;
    std::vector<FixtureGame> games_;
};
