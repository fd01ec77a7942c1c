#include "StoreServer.h"

#include "ApiReplies.h"
#include "FailureFixtures.h"
#include "FixtureCatalogue.h"
#include "JsonValue.h"
#include "LinkFixturePage.h"
#include "ReplyDelivery.h"
#include "ServerOptions.h"
#include "StorePages.h"
#include "VersionPublishing.h"

#include <cstdio>
#include <utility>

namespace {

const size_t kWorkerThreads = 64;

std::string contentTypeOf(const std::string& path)
{
    struct Mapping {
        const char* suffix;
        const char* type;
    };
    static const Mapping mappings[] = {
        {".zip", "application/zip"},
        {".apk", "application/vnd.android.package-archive"},
        {".ipa", "application/octet-stream"},
        {".7z", "application/x-7z-compressed"},
        {".png", "image/png"},
        {".jpg", "image/jpeg"},
        {".json", "application/json"},
    };
    for (const auto& mapping : mappings) {
        std::string suffix = mapping.suffix;
        if (path.size() >= suffix.size() && path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0)
            return mapping.type;
    }
    return "application/octet-stream";
}

// A download path must stay inside the download folder.
bool isSafeRelativePath(const std::string& path)
{
    if (path.empty() || path[0] == '/' || path.find('\\') != std::string::npos || path.find('\0') != std::string::npos)
        return false;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string segment = path.substr(start, end - start);
        if (segment.empty() || segment == "." || segment == "..")
            return false;
        start = end + 1;
    }
    return true;
}

JsonValue controlAnswer(int status, const std::string& msg)
{
    JsonValue json = JsonValue::object();
    json.set("status", status);
    json.set("msg", msg);
    return json;
}

void setJson(httplib::Response& response, int status, const JsonValue& json)
{
    response.status = status;
    response.set_content(json.dump(), "application/json; charset=utf-8");
}

} // namespace

StoreServer::StoreServer(const ServerOptions& options, FixtureCatalogue& catalogue) : catalogue_(catalogue)
{
    context_.catalogue = &catalogue_;
    context_.state = &state_;
    state_.setUpdateOffer(options.update);
    for (const auto& fault : options.faults)
        faults_.set(fault.first, fault.second);
    if (!options.logPath.empty() && !log_.open(options.logPath))
        std::fprintf(stderr, "storeserver: cannot open the request log %s\n", options.logPath.c_str());
    server_.new_task_queue = [] { return new httplib::ThreadPool(kWorkerThreads); };
    addControlRoutes();
    addStoreRoutes();
    // The library answers a Range header it cannot parse with 416 before any
    // route runs (without Content-Range); such requests still belong in the log.
    httplib::Server::HandlerWithResponse logRefusedRange = [this](const httplib::Request& request,
                                                                  httplib::Response& response) {
        if (response.status == 416 && !response.has_header("Content-Range"))
            log_.append(request);
        return httplib::Server::HandlerResponse::Unhandled;
    };
    server_.set_error_handler(logRefusedRange);
    server_.set_post_routing_handler([](const httplib::Request&, httplib::Response& response) {
        applyStatedLength(response);
    });
}

int StoreServer::bind(int port, std::string* error)
{
    int bound = port == 0 ? server_.bind_to_any_port("127.0.0.1") : (server_.bind_to_port("127.0.0.1", port) ? port : -1);
    if (bound <= 0) {
        *error = "cannot listen on 127.0.0.1:" + std::to_string(port);
        return -1;
    }
    context_.listenAddress = "127.0.0.1:" + std::to_string(bound);
    return bound;
}

void StoreServer::run()
{
    if (!shutdown_.triggered())
        server_.listen_after_bind();
}

void StoreServer::stop()
{
    shutdown_.trigger();
    server_.stop();
}

void StoreServer::serve(const std::string& method, const std::string& pattern, Route route)
{
    auto handler = [this, route](const httplib::Request& request, httplib::Response& response) {
        dispatch(request, response, route);
    };
    if (method == "GET")
        server_.Get(pattern, handler);
    else if (method == "POST")
        server_.Post(pattern, handler);
    else if (method == "PUT")
        server_.Put(pattern, handler);
    else if (method == "DELETE")
        server_.Delete(pattern, handler);
    else if (method == "OPTIONS")
        server_.Options(pattern, handler);
    else if (method == "PATCH")
        server_.Patch(pattern, handler);
}

void StoreServer::dispatch(const httplib::Request& request, httplib::Response& response, const Route& route)
{
    Reply reply = route(request);
    log_.append(request, reply.verdict);
    // Byte ranges are resolved by deliverReply, which also answers 416 with
    // "bytes */size" and can ignore the header on purpose; the library must not
    // apply them a second time. The request object is the server's own, not const.
    const_cast<httplib::Request&>(request).ranges.clear();
    Fault fault = faults_.lookup(request.path);
    const std::string answerFile = fault.mode == FaultMode::Answer ? fault.text : fault.answerFile;
    if (!answerFile.empty()) {
        // A file a test wrote under the data folder stands for the answer.
        const std::string relative = answerFile.substr(1);
        reply = isSafeRelativePath(relative) ? Reply::file(catalogue_.dataDir() + "/" + relative, contentTypeOf(relative))
                                             : Reply::notFound();
    }
    if (fault.mode == FaultMode::GzipBomb)
        reply = Reply::file(catalogue_.downloadDir() + "/" + kGzipBombFile, reply.contentType);
    deliverReply(request, response, std::move(reply), fault, shutdown_);
}

Reply StoreServer::downloadReply(const std::string& relativePath) const
{
    if (!isSafeRelativePath(relativePath))
        return Reply::notFound();
    std::string path = catalogue_.downloadDir() + "/" + relativePath;
    return Reply::file(path, contentTypeOf(path));
}

void StoreServer::addStoreRoutes()
{
    const StoreContext& context = context_;
    serve("GET", R"(/client/api/([A-Za-z]+))", [&context](const httplib::Request& request) {
        return apiReply(request.matches[1], request, context);
    });
    serve("GET", "/api/getUserResource", [&context](const httplib::Request& request) {
        return apiReply("getUserResource", request, context);
    });
    serve("POST", "/api/CurrentOnlineLength", [&context](const httplib::Request& request) {
        return onlineTimeReply(request, context);
    });
    serve("POST", "/hits", [](const httplib::Request& request) { return hitsReply(request); });
    serve("POST", "/passport.php", [&context](const httplib::Request& request) {
        if (request.get_param_value("action") == "client" && request.get_param_value("method") == "ajaxUserLogin")
            return loginReply(request, context);
        return Reply::notFound();
    });
    serve("GET", "/passport.php", [&context](const httplib::Request& request) {
        std::string action = request.get_param_value("action");
        std::string method = request.get_param_value("method");
        if (action == "client" && method == "ajaxUserLogin")
            return storePage("web-login", request, context);
        if (action == "client" && method == "ajaxUserLogout")
            return storePage("web-logout", request, context);
        if (action == "client_third_login")
            return storePage("third-login", request, context);
        return Reply::notFound();
    });
    serve("GET", "/member.php", [&context](const httplib::Request& request) {
        std::string mod = request.get_param_value("mod");
        return storePage(mod == "register" || mod == "lostpasswd" ? mod : std::string(), request, context);
    });
    serve("GET", R"(/client/(index|activity|exchange|task|user|version|recharge))",
          [&context](const httplib::Request& request) { return storePage(request.matches[1], request, context); });
    // Test pages: a store page with a bare link for each command, and the links of a fixture file.
    serve("GET", "/client/commands", [&context](const httplib::Request& request) {
        return storePage(request.get_param_value("page"), request, context, true);
    });
    serve("GET", "/client/links", [this](const httplib::Request&) {
        return linkFixturePage(catalogue_.dataDir() + "/links.txt");
    });
    serve("GET", "/feedback/index/vr", [&context](const httplib::Request& request) {
        return storePage("feedback", request, context);
    });
    serve("GET", "/avatar", [&context](const httplib::Request& request) { return avatarReply(request, context); });
    serve("GET", "/download/(.+)", [this](const httplib::Request& request) {
        return downloadReply(request.matches[1]);
    });
    serve("GET", "/", [](const httplib::Request& request) { return publicIpReply(request); });
    // Everything else is logged too, then answered 404.
    for (const char* method : {"GET", "POST", "PUT", "DELETE", "OPTIONS", "PATCH"})
        serve(method, ".*", [](const httplib::Request&) { return Reply::notFound(); });
}

void StoreServer::addControlRoutes()
{
    // Control routes are neither logged nor subject to faults.
    server_.Post("/__control/fault", [this](const httplib::Request& request, httplib::Response& response) {
        std::string route = request.get_param_value("route");
        Fault fault;
        std::string error;
        if (route.empty() || !Fault::parse(request.get_param_value("mode"), fault, &error)) {
            setJson(response, 400, controlAnswer(0, route.empty() ? "route is missing" : error));
            return;
        }
        faults_.set(route, fault);
        setJson(response, 200, controlAnswer(1, route + "=" + fault.describe()));
    });
    server_.Post("/__control/fault/clear", [this](const httplib::Request& request, httplib::Response& response) {
        if (request.has_param("route"))
            faults_.clear(request.get_param_value("route"));
        else
            faults_.clearAll();
        setJson(response, 200, controlAnswer(1, "cleared"));
    });
    server_.Post("/__control/update", [this](const httplib::Request& request, httplib::Response& response) {
        UpdateOffer offer = state_.updateOffer();
        if (request.has_param("mode") && !UpdateOffer::parseMode(request.get_param_value("mode"), offer.mode)) {
            setJson(response, 400, controlAnswer(0, "mode is none, optional or forced"));
            return;
        }
        if (request.has_param("version"))
            offer.version = request.get_param_value("version");
        if (request.has_param("url"))
            offer.url = request.get_param_value("url");
        if (request.has_param("note"))
            offer.note = request.get_param_value("note");
        state_.setUpdateOffer(offer);
        setJson(response, 200, controlAnswer(1, UpdateOffer::modeName(offer.mode)));
    });
    server_.Post("/__control/publish", [this](const httplib::Request& request, httplib::Response& response) {
        JsonValue game;
        std::string error;
        if (!publishVersionFromRequest(catalogue_, request, baseUrlOf(request, context_), &game, &error)) {
            setJson(response, 400, controlAnswer(0, error));
            return;
        }
        JsonValue json = controlAnswer(1, "published");
        json.set("game", game);
        setJson(response, 200, json);
    });
    server_.Get("/__control/catalogue", [this](const httplib::Request& request, httplib::Response& response) {
        setJson(response, 200, catalogue_.describe(baseUrlOf(request, context_)));
    });
}
