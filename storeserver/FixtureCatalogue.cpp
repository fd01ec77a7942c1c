#include "FixtureCatalogue.h"

#include "FailureFixtures.h"
#include "JsonValue.h"
#include "Md5Digest.h"
#include "PngFile.h"
#include "ZipWriter.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fstream>

namespace {

bool makeDirectories(const std::string& path)
{
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            return true;
    }
}

// Deterministic filler that does not compress, so package sizes stay what they say.
std::string fillerBytes(size_t size, uint32_t seed)
{
    std::string bytes(size, '\0');
    uint32_t state = seed * 2654435761u + 1;
    for (size_t i = 0; i < size; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        bytes[i] = static_cast<char>(state & 0xFF);
    }
    return bytes;
}

std::string launcherScript(const std::string& enName)
{
    // Each start also leaves its arguments in a file beside the launcher, one a
    // line in brackets (so an empty argument shows as "[]").
    return "#!/bin/sh\nrecord=\"$(dirname \"$0\")/launch-arguments.txt\"\n: > \"$record\"\n"
           "for argument do printf '[%s]\\n' \"$argument\" >> \"$record\"; done\n"
           "echo \"" + enName + " started with arguments: $*\"\nexit 0\n";
}

uint64_t fileSize(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? static_cast<uint64_t>(info.st_size) : 0;
}

// A version goes into a file name: short, letters, digits, dots and dashes.
bool isSafeVersion(const std::string& version)
{
    if (version.empty() || version.size() > 32 || version[0] == '.')
        return false;
    for (char c : version)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-')
            return false;
    return true;
}

} // namespace

bool FixtureCatalogue::writeZip(const std::string& path, const PackageContent& content)
{
    ZipWriter zip;
    if (!zip.open(path))
        return false;
    for (const auto& file : content.files)
        if (!zip.addFile(file.name, file.data, file.mode))
            return false;
    if (content.zeroEntryBytes > 0 && !zip.addZeroFile("data/benchmark.bin", content.zeroEntryBytes))
        return false;
    return zip.finish();
}

bool FixtureCatalogue::generate(const std::string& dataDir, uint64_t bigFileMiB, std::string* error)
{
    std::lock_guard<std::mutex> lock(mutex_);
    dataDir_ = dataDir;
    downloadDir_ = dataDir + "/download";
    games_.clear();
    contents_.clear();
    if (!makeDirectories(downloadDir_ + "/games") || !makeDirectories(downloadDir_ + "/pics")) {
        *error = "cannot create the folders under " + downloadDir_;
        return false;
    }

    struct Plan {
        FixtureGame game;
        PackageContent content;
        uint32_t colour;
    };
    std::vector<Plan> plans;
    auto addPlan = [&](const char* id, const char* cn, const char* en, const char* version, const char* device,
                       int platform, const char* launcher, const char* parameter, bool bought,
                       const char* package, std::vector<PackageFile> files, uint64_t zeroBytes, uint32_t colour) {
        Plan plan;
        plan.game.gameId = id;
        plan.game.cnName = cn;
        plan.game.enName = en;
        plan.game.version = version;
        plan.game.deviceId = device;
        plan.game.platform = platform;
        plan.game.launcher = launcher;
        plan.game.launcherParameter = parameter;
        plan.game.bought = bought;
        plan.game.packagePath = std::string("games/") + package;
        plan.game.picturePath = std::string("pics/") + id + ".png";
        plan.content.files = std::move(files);
        plan.content.zeroEntryBytes = zeroBytes;
        plan.colour = colour;
        plans.push_back(std::move(plan));
    };

    addPlan("1001", "星际漫步", "Star Walk", "1.0.0", "1", 0, "launch.sh", "vr fullscreen", true, "small-game.zip",
            {{"launch.sh", launcherScript("Star Walk"), 0755},
             {"readme.txt", "Star Walk fixture game\n", 0644},
             {"data/level1.dat", fillerBytes(200 * 1024, 1), 0644}},
            0, 0x3060C0);
    addPlan("1002", "深海探险", "Deep Sea", "2.1.0", "1", 0, "bin/start.sh", "deep 2", true, "large-game.zip",
            {{"bin/start.sh", launcherScript("Deep Sea"), 0755},
             {"data/ocean.pak", fillerBytes(3 * 1024 * 1024, 2), 0644}},
            0, 0x108070);
    addPlan("1003", "方块节拍", "Cube Beat", "1.2.0", "4", 1, "", "", true, "cube-beat.apk",
            {{"AndroidManifest.xml", "<manifest package=\"com.orbela.cubebeat\"/>\n", 0644},
             {"classes.dex", fillerBytes(64 * 1024, 3), 0644}},
            0, 0xC06020);
    addPlan("1004", "云端漫游", "Cloud Roam", "1.0.3", "4", 2, "", "", false, "cloud-roam.ipa",
            {{"Payload/CloudRoam.app/Info.plist", "<plist><dict/></plist>\n", 0644},
             {"Payload/CloudRoam.app/CloudRoam", fillerBytes(48 * 1024, 4), 0755}},
            0, 0x8030A0);
    if (bigFileMiB > 0)
        addPlan("1005", "巨型基准", "Benchmark Giant", "1.0.0", "1", 0, "launch.sh", "", true, "benchmark-game.zip",
                {{"launch.sh", launcherScript("Benchmark Giant"), 0755}}, bigFileMiB * 1024 * 1024, 0x606060);

    for (auto& plan : plans) {
        FixtureGame& game = plan.game;
        std::string packageFile = downloadDir_ + "/" + game.packagePath;
        if (!writeZip(packageFile, plan.content)) {
            *error = "cannot write " + packageFile;
            return false;
        }
        game.size = fileSize(packageFile);
        game.md5 = Md5Digest::ofFile(packageFile);
        std::string pictureFile = downloadDir_ + "/" + game.picturePath;
        uint32_t colour = plan.colour;
        if (!writePngFile(pictureFile, 64, 36, [colour](int x, int y) {
                return (x / 8 + y / 8) % 2 ? colour : 0xF0E0C0u;
            })) {
            *error = "cannot write " + pictureFile;
            return false;
        }
        games_.push_back(game);
        contents_[game.gameId] = std::move(plan.content);
    }

    if (!writeFailureFixtures(downloadDir_, error))
        return false;

    std::string avatar = downloadDir_ + "/pics/avatar.png";
    if (!writePngFile(avatar, 48, 48, [](int x, int y) { return (x - 24) * (x - 24) + (y - 24) * (y - 24) < 400 ? 0xDFC697u : 0x1C1300u; })) {
        *error = "cannot write " + avatar;
        return false;
    }
    return true;
}

std::vector<FixtureGame> FixtureCatalogue::games() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return games_;
}

std::optional<FixtureGame> FixtureCatalogue::find(const std::string& gameId) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& game : games_)
        if (game.gameId == gameId)
            return game;
    return std::nullopt;
}

bool FixtureCatalogue::publishVersion(const std::string& gameId, const std::string& version, FixtureGame* published,
                                      std::string* error)
{
    if (!isSafeVersion(version)) {
        *error = "a version is 1 to 32 letters, digits, dots and dashes";
        return false;
    }
    std::optional<FixtureGame> current = find(gameId);
    if (!current || current->platform != 0) {
        *error = "no PC game " + gameId;
        return false;
    }
    if (current->version == version) {
        *error = "game " + gameId + " already has version " + version;
        return false;
    }
    PackageContent content;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        content = contents_[gameId];
    }
    // One marker only, whatever was published before.
    content.files.erase(std::remove_if(content.files.begin(), content.files.end(),
                                       [](const PackageFile& file) { return file.name == "version.txt"; }),
                        content.files.end());
    content.files.push_back({"version.txt", current->enName + " " + version + "\n", 0644});
    // A file of its own: downloads of the old package may still be running.
    const std::string packagePath = "games/" + gameId + "-" + version + ".zip";
    const std::string packageFile = downloadDir_ + "/" + packagePath;
    if (!writeZip(packageFile, content)) {
        *error = "cannot write " + packageFile;
        return false;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& game : games_) {
        if (game.gameId != gameId)
            continue;
        game.version = version;
        game.packagePath = packagePath;
        game.size = fileSize(packageFile);
        game.md5 = Md5Digest::ofFile(packageFile);
        contents_[gameId] = std::move(content);
        *published = game;
        return true;
    }
    *error = "no game " + gameId;
    return false;
}

JsonValue FixtureCatalogue::gameJson(const FixtureGame& game, const std::string& baseUrl, bool platformAsText)
{
    JsonValue json = JsonValue::object();
    json.set("gameId", game.gameId);
    json.set("platform", platformAsText ? JsonValue(std::to_string(game.platform)) : JsonValue(game.platform));
    json.set("cnName", game.cnName);
    json.set("enName", game.enName);
    json.set("version", game.version);
    json.set("md5", game.md5);
    json.set("exe_dl_path", baseUrl + "/download/" + game.packagePath);
    json.set("pic_dl_path", baseUrl + "/download/" + game.picturePath);
    json.set("deviceId", game.deviceId);
    json.set("launcher", game.launcher);
    json.set("launcherParameter", game.launcherParameter);
    return json;
}

JsonValue FixtureCatalogue::describe(const std::string& baseUrl) const
{
    JsonValue list = JsonValue::array();
    for (const auto& game : games()) {
        JsonValue json = gameJson(game, baseUrl, false);
        json.set("size", game.size);
        json.set("bought", game.bought);
        json.set("file", downloadDir_ + "/" + game.packagePath);
        list.append(json);
    }
    JsonValue all = JsonValue::object();
    all.set("games", list);
    return all;
}

bool FixtureCatalogue::writeDescription(const std::string& baseUrl) const
{
    const std::string path = dataDir_ + "/catalogue.json";
    const std::string aside = path + ".new";
    {
        std::ofstream out(aside, std::ios::binary | std::ios::trunc);
        out << describe(baseUrl).dump() << "\n";
        if (!out.flush())
            return false;
    }
    return std::rename(aside.c_str(), path.c_str()) == 0;
}
