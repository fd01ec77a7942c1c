#include "ApiReplies.h"

#include "FixtureCatalogue.h"
#include "FormEncoding.h"
#include "JsonValue.h"
#include "ReplyDelivery.h"
#include "Signing.h"
#include "StatisticsForm.h"
#include "StoreState.h"
#include "TestAccounts.h"

#include <httplib.h>

namespace {

JsonValue answer(int status, const std::string& msg, const std::string& debug = std::string())
{
    JsonValue json = JsonValue::object();
    json.set("status", status);
    json.set("msg", msg);
    json.set("debug", debug);
    return json;
}

bool isDigits(const std::string& text)
{
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// Checks that a signed message carries its fields and a matching sign; on
// failure fills in the answer to give.
bool checkSign(const std::string& signedText, const std::string& sign, bool hasRequiredFields, JsonValue& failure)
{
    if (!hasRequiredFields || sign.empty()) {
        failure = answer(api_status::kMissingParameter, "missing parameter");
        return false;
    }
    if (!signing::isValidSign(signedText, sign)) {
        failure = answer(api_status::kInvalidParameter, "sign error", "signed text: " + signedText);
        return false;
    }
    return true;
}

JsonValue devicesData()
{
    JsonValue data = JsonValue::object();
    data.set("1", "HTC Vive|htc_vive");
    data.set("2", "Oculus Rift|oculus_rift");
    data.set("3", "Windows MR|windows_mr");
    data.set("4", "移动VR|mobile_vr");
    return data;
}

JsonValue versionData(const StoreState& state, const std::string& baseUrl)
{
    UpdateOffer offer = state.updateOffer();
    JsonValue data = JsonValue::object();
    if (offer.mode == UpdateMode::None)
        return data;
    data.set("ve_num", offer.version);
    data.set("ve_note", offer.note);
    data.set("ve_url", offer.url.empty() ? baseUrl + "/download/orbela-update.7z" : offer.url);
    data.set("ve_upgraded", offer.mode == UpdateMode::Forced ? 1 : 0);
    return data;
}

// Answers the local games status ("<state>|<version>|<md5>" by game id) with
// "<update flag>|<bought flag>" for each known game.
JsonValue gameStateData(const FixtureCatalogue& catalogue, const std::string& statusJson)
{
    JsonValue data = JsonValue::object();
    JsonValue local = JsonValue::parse(statusJson);
    for (const auto& member : local.members()) {
        std::optional<FixtureGame> game = catalogue.find(member.first);
        if (!game)
            continue;
        std::string value = member.second.asString();
        size_t first = value.find('|');
        size_t second = first == std::string::npos ? std::string::npos : value.find('|', first + 1);
        std::string localVersion = first == std::string::npos ? std::string() : value.substr(first + 1, second - first - 1);
        bool needsUpdate = localVersion != game->version;
        data.set(member.first, std::string(needsUpdate ? "1" : "0") + "|" + (game->bought ? "1" : "0"));
    }
    return data;
}

} // namespace

std::string baseUrlOf(const httplib::Request& request, const StoreContext& context)
{
    return absoluteUrl(request, context.listenAddress, "");
}

Reply apiReply(const std::string& method, const httplib::Request& request, const StoreContext& context)
{
    auto param = [&](const char* name) { return request.get_param_value(name); };
    const std::string base = baseUrlOf(request, context);
    const std::string sign = param("sign");
    const std::string timestamp = param("timestamp");
    JsonValue failure;

    if (method == "ajaxGetDevices" || method == "ajaxGetVersion" || method == "ajaxGetVersionMessage") {
        const std::string version = param("version");
        if (!checkSign(version, sign, !version.empty(), failure))
            return Reply::json(failure);
        JsonValue json = answer(api_status::kSuccess, "ok");
        if (method == "ajaxGetDevices")
            json.set("data", devicesData());
        else if (method == "ajaxGetVersion")
            json.set("data", versionData(*context.state, base));
        else
            json.set("url", base + "/client/version");
        return Reply::json(json);
    }
    if (method == "ajaxGetOnlineTotal") {
        if (!checkSign(timestamp, sign, isDigits(timestamp), failure))
            return Reply::json(failure);
        JsonValue json = answer(api_status::kSuccess, "ok");
        json.set("online_total", 128);
        return Reply::json(json);
    }
    if (method == "getUserResource") {
        const std::string uid = param("uid");
        if (!checkSign(timestamp + uid, sign, isDigits(timestamp) && !uid.empty(), failure))
            return Reply::json(failure);
        if (!findAccountByUid(uid))
            return Reply::json(answer(api_status::kWrongCredentials, "unknown user"));
        JsonValue resource = JsonValue::object();
        resource.set("CurrentOnlineLength", context.state->onlineLength(uid));
        resource.set("coins", 520);
        resource.set("tickets", 30);
        resource.set("coin_url", base + "/client/recharge");
        resource.set("ticket_url", base + "/client/exchange");
        resource.set("home_url", base + "/client/user?uid=" + uid);
        JsonValue json = answer(api_status::kSuccess, "ok");
        json.set("resource", resource);
        return Reply::json(json);
    }
    if (method == "ajaxGetGame") {
        const std::string gameId = param("game_id");
        const std::string userId = param("user_id");
        if (!checkSign(timestamp + gameId + userId, sign, isDigits(timestamp) && !gameId.empty(), failure))
            return Reply::json(failure);
        std::optional<FixtureGame> game = context.catalogue->find(gameId);
        if (!game) {
            JsonValue json = answer(api_status::kWrongCredentials, "no such game");
            json.set("data", JsonValue::object());
            return Reply::json(json);
        }
        JsonValue json = answer(api_status::kSuccess, "ok");
        json.set("data", FixtureCatalogue::gameJson(*game, base, false));
        return Reply::json(json);
    }
    if (method == "ajaxGetGameState") {
        const std::string userId = param("user_id");
        if (!checkSign(timestamp + userId, sign, isDigits(timestamp), failure))
            return Reply::json(failure);
        JsonValue json = answer(api_status::kSuccess, "ok");
        json.set("data", gameStateData(*context.catalogue, param("gamestatus")));
        return Reply::json(json);
    }
    return Reply::json(answer(api_status::kInvalidParameter, "unknown method " + method));
}

Reply hitsReply(const httplib::Request& request)
{
    FormFields form = parseFormFields(request.body);
    const std::string timestamp = formValue(form, "timestamp");
    JsonValue result;
    std::string problem = wizardFormProblem(form);
    if (!problem.empty())
        result = answer(api_status::kMissingParameter, problem);
    else if (checkSign(timestamp, formValue(form, "sign"), !timestamp.empty(), result))
        result = answer(api_status::kSuccess, "ok");
    Reply reply = Reply::json(result);
    reply.verdict = result["msg"].asString();
    return reply;
}

Reply loginReply(const httplib::Request& request, const StoreContext& context)
{
    FormFields form = parseFormFields(request.body);
    const std::string username = formValue(form, "username");
    const std::string password = formValue(form, "password");
    const std::string timestamp = formValue(form, "timestamp");
    JsonValue failure;
    bool complete = !username.empty() && !password.empty() && isDigits(timestamp);
    if (!checkSign(timestamp, formValue(form, "sign"), complete, failure))
        return Reply::json(failure);
    const TestAccount* account = findAccountByName(username);
    if (!account || account->password != password)
        return Reply::json(answer(api_status::kWrongCredentials, "wrong user name or password"));
    JsonValue json = answer(api_status::kSuccess, "ok");
    json.set("user", accountJson(baseUrlOf(request, context), *account));
    return Reply::json(json);
}

Reply onlineTimeReply(const httplib::Request& request, const StoreContext& context)
{
    FormFields form = parseFormFields(request.body);
    const std::string uid = formValue(form, "uid");
    const std::string timestamp = formValue(form, "timestamp");
    const std::string seconds = formValue(form, "CurrentOnlineLength");
    JsonValue failure;
    if (!checkSign(timestamp + uid, formValue(form, "sign"), isDigits(timestamp) && !uid.empty() && isDigits(seconds), failure))
        return Reply::json(failure);
    context.state->setOnlineLength(uid, std::stoll(seconds.substr(0, 18)));
    return Reply::json(answer(api_status::kSuccess, "ok"));
}

Reply avatarReply(const httplib::Request& request, const StoreContext& context)
{
    if (!findAccountByUid(request.get_param_value("uid")))
        return Reply::notFound();
    // "direct=1": the picture itself, as some avatar hosts answer.
    if (request.get_param_value("direct") == "1")
        return Reply::file(context.catalogue->downloadDir() + "/pics/avatar.png", "image/png");
    return Reply::redirect(baseUrlOf(request, context) + "/download/pics/avatar.png");
}

Reply publicIpReply(const httplib::Request& request)
{
    std::string address = request.remote_addr.empty() ? "127.0.0.1" : request.remote_addr;
    return Reply::html("<html><head><meta charset=\"utf-8\"><title>IP</title></head><body>\n"
                       "Orbela address lookup<br/>\n"
                       "server = storeserver<br/>\n"
                       "port = " + std::to_string(request.local_port) + "<br/>\n"
                       "ip = " + address + "<br/>\n"
                       "</body></html>\n");
}
