#include "StorePages.h"

#include "ApiReplies.h"
#include "FixtureCatalogue.h"
#include "JsonValue.h"
#include "Signing.h"
#include "TestAccounts.h"

#include <httplib.h>

#include <cstdio>
#include <vector>

std::string escapeHtml(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

namespace {

// The client shows its pages under a 74-pixel title bar, hence the top margin.
const char* const kStyle =
    "body{font-family:'Microsoft YaHei','WenQuanYi Micro Hei',sans-serif;background:#1C1C22;color:#CCCCCC;margin:90px 16px 16px}"
    "h1{color:#DFC697;font-size:20px}a{color:#DFC697}"
    ".game{display:inline-block;width:230px;margin:8px;padding:0 0 10px;background:#2A2A33;border-radius:8px;"
    "vertical-align:top;overflow:hidden;box-shadow:0 2px 8px #0008}"
    ".game img{display:block;width:230px;height:130px;image-rendering:pixelated}"
    ".game .name{color:#FFFFFF;font-size:16px;margin:8px 10px 2px}.game .en{font-size:12px;margin:0 10px}"
    ".game .facts{font-size:12px;margin:4px 10px 8px;color:#999999}"
    ".game ul{list-style:none;margin:0 10px;padding:0}.game li{display:inline-block;margin:0 6px 0 0}"
    ".game a{display:inline-block;padding:4px 18px;border-radius:4px;background:#DFC697;color:#1C1300;"
    "text-decoration:none;font-size:14px}.game a.launch{background:#3A3A44;color:#DFC697}"
    ".callbacks{font-size:12px;color:#777777;margin-top:16px}.callbacks span{color:#FFFFFF}li{margin:3px 0}";

// Shows each call in its element and keeps the list of calls for tests.
const char* const kCallbackScript =
    "var orbelaCalls = [];\n"
    "function orbelaShow(name, id, value) {\n"
    "  var text = value === undefined ? '' : (typeof value === 'string' ? value : JSON.stringify(value));\n"
    "  orbelaCalls.push({name: name, value: value === undefined ? null : value});\n"
    "  var element = document.getElementById(id);\n"
    "  if (element) element.textContent = text;\n"
    "  return name + ':' + text;\n"
    "}\n"
    "function status_callback(value) { return orbelaShow('status_callback', 'status-callback', value); }\n"
    "function login_callback(value) { return orbelaShow('login_callback', 'login-callback', value); }\n"
    "function logout_callback(value) { return orbelaShow('logout_callback', 'logout-callback', value); }\n"
    "function jump_callback(value) { return orbelaShow('jump_callback', 'jump-callback', value); }\n";

} // namespace

std::string pageStart(const std::string& title, const std::string& pageName)
{
    return "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">\n<title>" + escapeHtml(title)
        + "</title>\n<style>" + kStyle + "</style>\n<script>\n" + kCallbackScript + "</script>\n</head>\n"
        + "<body data-page=\"" + pageName + "\">\n<h1>" + escapeHtml(title) + "</h1>\n";
}

// The callbacks' display closes every page, below what a person looks at.
const char* const kPageEnd =
    "<div class=\"callbacks\">"
    "<div>status_callback: <span id=\"status-callback\"></span></div>"
    "<div>login_callback: <span id=\"login-callback\"></span></div>"
    "<div>logout_callback: <span id=\"logout-callback\"></span></div>"
    "<div>jump_callback: <span id=\"jump-callback\"></span></div></div>\n"
    "</body></html>\n";

namespace {

std::string mivoLink(const std::string& id, const std::string& command, const std::string& argument,
                     const std::string& label, const std::string& cssClass = std::string())
{
    std::string href = "mivo://" + command + (argument.empty() ? "" : "#" + argument);
    return "<li><a id=\"" + id + "\" href=\"" + escapeHtml(href) + "\""
        + (cssClass.empty() ? "" : " class=\"" + cssClass + "\"") + ">" + escapeHtml(label) + "</a></li>\n";
}

std::string sizeText(uint64_t bytes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
    return text;
}

std::string commandArgument(const std::string& command, const std::string& page, const std::string& base)
{
    if (command == "login") {
        JsonValue argument = JsonValue::object();
        argument.set("page", page);
        argument.set("action", "login");
        return argument.dump();
    }
    if (command.compare(0, 8, "navigate") == 0 || command.compare(0, 3, "run") == 0) {
        JsonValue argument = JsonValue::object();
        argument.set("from", page);
        argument.set("command", command);
        return argument.dump();
    }
    if (command == "openqqurl")
        return base + "/client/version";
    return {};
}

std::string commandList(const std::vector<std::string>& commands, const std::string& page, const std::string& base)
{
    std::string html = "<ul id=\"commands\">\n";
    for (const auto& command : commands)
        html += mivoLink("cmd-" + command, command, commandArgument(command, page, base), command);
    return html + "</ul>\n";
}

std::string gameList(const FixtureCatalogue& catalogue, const std::string& base, const std::string& deviceId)
{
    std::string html = "<div id=\"games\">\n";
    for (const auto& game : catalogue.games()) {
        if (!deviceId.empty() && game.deviceId != deviceId)
            continue;
        std::string argument = FixtureCatalogue::gameJson(game, base, true).dump();
        html += "<div class=\"game\" id=\"game-" + game.gameId + "\"><img src=\"/download/" + game.picturePath
            + "\" alt=\"\"><div class=\"name\">" + escapeHtml(game.cnName) + "</div><div class=\"en\">"
            + escapeHtml(game.enName) + "</div><div class=\"facts\">版本 " + escapeHtml(game.version) + " · "
            + sizeText(game.size) + "</div><ul>"
            + mivoLink("download-" + game.gameId, "download", argument, "下载")
            + mivoLink("launch-" + game.gameId, "launch", argument, "启动", "launch") + "</ul></div>\n";
    }
    return html + "</div>\n";
}

std::string simplePage(const std::string& title, const std::string& page, const std::string& content)
{
    return pageStart(title, page) + "<p id=\"content\">" + content + "</p>\n" + kPageEnd;
}

// The forum's web login and logout: the client loads them with the signed login body as query.
std::string webSessionPage(const httplib::Request& request, bool login)
{
    const std::string username = request.get_param_value("username");
    const std::string timestamp = request.get_param_value("timestamp");
    const TestAccount* account = findAccountByName(username);
    bool signedWell = signing::isValidSign(timestamp, request.get_param_value("sign"));
    bool known = account && account->password == request.get_param_value("password");
    std::string state = !signedWell ? "sign-error" : !known ? "unknown-user" : login ? "logged-in" : "logged-out";
    std::string text = state == "logged-in" ? "已登录：" + account->nickname
        : state == "logged-out" ? "已退出：" + account->nickname
        : state == "sign-error" ? "签名错误" : "用户名密码有误！";
    return pageStart(login ? "论坛登录" : "论坛退出", login ? "web-login" : "web-logout")
        + "<p id=\"session\" data-state=\"" + state + "\">" + escapeHtml(text) + "</p>\n" + kPageEnd;
}

} // namespace

Reply storePage(const std::string& page, const httplib::Request& request, const StoreContext& context,
                bool withCommandLinks)
{
    const std::string base = baseUrlOf(request, context);
    const std::string deviceId = request.get_param_value("deviceId");
    const FixtureCatalogue& catalogue = *context.catalogue;
    std::string deviceLine = "<p id=\"device\">当前设备：" + escapeHtml(deviceId.empty() ? "全部" : deviceId) + "</p>\n";

    // The game store and activity pages list the games with "download" and "launch" links;
    // their test twins add a bare link for every other command.
    auto gamePage = [&](const char* title, const std::vector<std::string>& commands) {
        return Reply::html(pageStart(title, page) + deviceLine + gameList(catalogue, base, deviceId)
                           + (withCommandLinks ? commandList(commands, page, base) : std::string()) + kPageEnd);
    };
    if (page == "index")
        return gamePage("游戏商城", {"installing", "login", "user_info_reload", "navigate2activity",
                                     "runactivejumpcallback", "navigate2exchange", "runexchangejumpcallback",
                                     "navigate2game", "navigate2push", "runpushjumpcallback", "openqqurl"});
    if (page == "activity")
        return gamePage("精彩活动", {"installing", "login", "navigate2game", "rungamejumpcallback",
                                     "navigate2exchange", "runexchangejumpcallback", "navigate2activity",
                                     "navigate2push", "runpushjumpcallback", "user_info_reload", "openqqurl"});
    if (page == "exchange")
        return Reply::html(pageStart("兑换中心", page)
            + commandList({"login", "navigate2game", "rungamejumpcallback", "navigate2activity",
                           "runactivejumpcallback", "navigate2exchange", "navigate2push", "runpushjumpcallback",
                           "user_info_reload", "openqqurl"}, page, base)
            + kPageEnd);
    if (page == "task")
        return Reply::html(pageStart("每日任务", page) + deviceLine
            + commandList({"task_flod", "task_expansion", "login", "navigate2game", "rungamejumpcallback",
                           "navigate2activity", "runactivejumpcallback", "navigate2exchange",
                           "runexchangejumpcallback", "need2getonlinelengthdata", "user_info_reload", "openqqurl"},
                          page, base)
            + "<form id=\"form-task_expansion\" action=\"mivo://task_expansion\" method=\"get\">"
              "<button type=\"submit\">展开任务</button></form>\n"
            + kPageEnd);
    if (page == "user") {
        const TestAccount* account = findAccountByUid(request.get_param_value("uid"));
        std::string who = account ? account->nickname + "（" + account->uid + "）" : "未登录";
        return Reply::html(pageStart("个人中心", page) + "<p id=\"user\">" + escapeHtml(who) + "</p>\n"
            + commandList({"openqqurl"}, page, base) + kPageEnd);
    }
    if (page == "feedback")
        return Reply::html(pageStart("问题反馈", page)
            // The client takes only the whole link: the form's text stays in the
            // page instead of going out as a query.
            + "<form id=\"feedback-form\" action=\"mivo://feedback_success\" method=\"get\""
              " onsubmit=\"window.location.href='mivo://feedback_success';return false;\">"
              "<textarea name=\"text\">下载速度很快</textarea><button id=\"feedback-submit\" type=\"submit\">提交</button></form>\n<ul>"
            + "<li><a id=\"cmd-feedback_success\" href=\"mivo://feedback_success\">提交成功</a></li>\n"
            + "<li><a id=\"cmd-feedback_close\" href=\"mivo://feedback_close\">关闭</a></li>\n</ul>\n" + kPageEnd);
    if (page == "third-login") {
        const TestAccount& account = testAccounts().front();
        JsonValue user = accountJson(base, account);
        std::string type = request.get_param_value("type");
        return Reply::html(pageStart("第三方账号登录", page) + "<p id=\"login-type\">" + escapeHtml(type) + "</p>\n<ul>"
            + mivoLink("cmd-loginsuccess", "loginsuccess", user.dump(), "以 " + account.nickname + " 登录")
            + "</ul>\n" + kPageEnd);
    }
    if (page == "web-login" || page == "web-logout")
        return Reply::html(webSessionPage(request, page == "web-login"));
    if (page == "version")
        return Reply::html(simplePage("版本说明", page, "新版本修复了若干问题。"));
    if (page == "recharge")
        return Reply::html(simplePage("充值中心", page, "充值页面"));
    if (page == "register")
        return Reply::html(simplePage("注册账号", page, "注册页面"));
    if (page == "lostpasswd")
        return Reply::html(simplePage("找回密码", page, "找回密码页面"));
    return Reply::notFound();
}
