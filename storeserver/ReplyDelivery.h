#pragma once

#include "FaultTable.h"
#include "Reply.h"

namespace httplib {
struct Request;
struct Response;
}
class ShutdownSignal;

// Writes a route's reply into the response: resolves byte ranges of file
// bodies, applies the route's fault and streams the body in small pieces, so
// no request ever holds a whole file in memory.
void deliverReply(const httplib::Request& request, httplib::Response& response, Reply reply,
                  const Fault& fault, const ShutdownSignal& shutdown);

// Puts the Content-Length a lying answer states in place of the real one; the
// server's post-routing handler.
void applyStatedLength(httplib::Response& response);

// "http://" + the Host the request came in on (or the fallback) + path.
std::string absoluteUrl(const httplib::Request& request, const std::string& fallbackHost, const std::string& path);
