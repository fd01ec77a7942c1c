#pragma once

#include "FaultTable.h"
#include "Reply.h"
#include "RequestLog.h"
#include "ShutdownSignal.h"
#include "StoreContext.h"
#include "StoreState.h"

#include <httplib.h>

#include <functional>
#include <string>

class FixtureCatalogue;
struct ServerOptions;

// All four store hosts (app API, open API, forum, public-IP lookup) on one
// loopback address, with the request log, the faults and the control routes.
class StoreServer {
public:
    StoreServer(const ServerOptions& options, FixtureCatalogue& catalogue);

    // Binds 127.0.0.1 (port 0 picks a free one); returns the port or -1.
    int bind(int port, std::string* error);
    // Serves until stop(); call after bind().
    void run();
    // Safe from any thread; wakes handlers that hold connections on purpose.
    void stop();

private:
    using Route = std::function<Reply(const httplib::Request&)>;
    void serve(const std::string& method, const std::string& pattern, Route route);
    void dispatch(const httplib::Request& request, httplib::Response& response, const Route& route);
    void addStoreRoutes();
    void addControlRoutes();
    Reply downloadReply(const std::string& relativePath) const;

    FixtureCatalogue& catalogue_;
    httplib::Server server_;
    RequestLog log_;
    FaultTable faults_;
    StoreState state_;
    ShutdownSignal shutdown_;
    StoreContext context_;
};
