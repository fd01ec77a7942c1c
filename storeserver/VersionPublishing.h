#pragma once
// The control route that publishes a new version of a fixture game:
// POST /__control/publish?game=<id>[&version=<v>]. Without a version the last
// number of the current one goes up by one. The game's record, its package
// and catalogue.json change; the answer carries the new record.

#include <string>

namespace httplib {
struct Request;
}
class FixtureCatalogue;
class JsonValue;

bool publishVersionFromRequest(FixtureCatalogue& catalogue, const httplib::Request& request,
                               const std::string& baseUrl, JsonValue* published, std::string* error);

// "2.1.0" -> "2.1.1", "1.0" -> "1.1", "beta" -> "beta.1".
std::string nextVersion(const std::string& version);
