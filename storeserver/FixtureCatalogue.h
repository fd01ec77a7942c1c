#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
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
// each package's MD5 taken from the bytes on disk. A game can be given a new
// version at run time, so every read hands out a copy.
class FixtureCatalogue {
public:
    // bigFileMiB > 0 adds a sparse package of that size for download benchmarks.
    bool generate(const std::string& dataDir, uint64_t bigFileMiB, std::string* error);

    std::vector<FixtureGame> games() const;
    std::optional<FixtureGame> find(const std::string& gameId) const;
    const std::string& dataDir() const { return dataDir_; }
    const std::string& downloadDir() const { return downloadDir_; }

    // Gives a PC game a new version with a package of its own: the same files
    // plus "version.txt" naming the version, so the two packages differ.
    bool publishVersion(const std::string& gameId, const std::string& version, FixtureGame* published,
                        std::string* error);

    // The game's fields under the keys the client reads; "platform" is a JSON
    // number in API answers and a text in page links.
    static JsonValue gameJson(const FixtureGame& game, const std::string& baseUrl, bool platformAsText);
    // Everything about the catalogue, for tests and for the file catalogue.json.
    JsonValue describe(const std::string& baseUrl) const;
    // Writes describe() into dataDir/catalogue.json (written aside, then renamed).
    bool writeDescription(const std::string& baseUrl) const;

private:
    struct PackageFile {
        std::string name;
        std::string data;
        uint32_t mode;
    };
    struct PackageContent {
        std::vector<PackageFile> files;
        uint64_t zeroEntryBytes = 0;
    };
    static bool writeZip(const std::string& path, const PackageContent& content);

    std::string dataDir_;
    std::string downloadDir_;
    mutable std::mutex mutex_;
    std::vector<FixtureGame> games_;
    std::map<std::string, PackageContent> contents_;  // by game id
};
