#include "VersionPublishing.h"

#include "FixtureCatalogue.h"
#include "JsonValue.h"

#include <httplib.h>

#include <cctype>

std::string nextVersion(const std::string& version)
{
    size_t digits = version.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(version[digits - 1])))
        --digits;
    if (digits == version.size() || version.size() - digits > 9)
        return version + ".1";
    return version.substr(0, digits) + std::to_string(std::stol(version.substr(digits)) + 1);
}

bool publishVersionFromRequest(FixtureCatalogue& catalogue, const httplib::Request& request,
                               const std::string& baseUrl, JsonValue* published, std::string* error)
{
    const std::string gameId = request.get_param_value("game");
    std::optional<FixtureGame> current = catalogue.find(gameId);
    if (!current) {
        *error = gameId.empty() ? "game is missing" : "no game " + gameId;
        return false;
    }
    const std::string version =
        request.has_param("version") ? request.get_param_value("version") : nextVersion(current->version);
    FixtureGame game;
    if (!catalogue.publishVersion(gameId, version, &game, error))
        return false;
    if (!catalogue.writeDescription(baseUrl)) {
        *error = "cannot write catalogue.json";
        return false;
    }
    *published = FixtureCatalogue::gameJson(game, baseUrl, false);
    published->set("size", game.size);
    published->set("file", catalogue.downloadDir() + "/" + game.packagePath);
    return true;
}
