#pragma once

#include "Reply.h"
#include "StoreContext.h"

#include <string>

namespace httplib {
struct Request;
}

// Status values of the store's JSON answers (the login dialog shows texts for them).
namespace api_status {
const int kSuccess = 1;
const int kWrongCredentials = 0;
const int kInvalidParameter = -2;  // also a sign that does not match
const int kMissingParameter = -7;
}

// The signed JSON API under "/client/api/" and "/api/getUserResource".
Reply apiReply(const std::string& method, const httplib::Request& request, const StoreContext& context);
// Statistics form post "/hits" (client and wizards).
Reply hitsReply(const httplib::Request& request);
// Login form post of the forum host.
Reply loginReply(const httplib::Request& request, const StoreContext& context);
// Online-time form post "/api/CurrentOnlineLength".
Reply onlineTimeReply(const httplib::Request& request, const StoreContext& context);
// "/avatar?uid=N": a redirect to the user's picture.
Reply avatarReply(const httplib::Request& request, const StoreContext& context);
// The public-IP lookup page: its fourth "<br/>" piece is "ip=" and the address.
Reply publicIpReply(const httplib::Request& request);

// "http://" and the Host the request came in on.
std::string baseUrlOf(const httplib::Request& request, const StoreContext& context);
