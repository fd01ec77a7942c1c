#include "LinkFixturePage.h"

#include "StorePages.h"

#include <cstdio>
#include <fstream>

namespace {

// The link as a script string literal inside an HTML attribute.
std::string scriptString(const std::string& text)
{
    std::string out = "'";
    for (unsigned char c : text) {
        if (c == '\\' || c == '\'')
            out += '\\';
        if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            out += escaped;
            continue;
        }
        out += static_cast<char>(c);
    }
    return out + "'";
}

} // namespace

Reply linkFixturePage(const std::string& fixtureFile)
{
    std::ifstream in(fixtureFile);
    if (!in)
        return Reply::notFound();
    std::string html = pageStart("链接测试", "links") + "<ol id=\"links\">\n";
    std::string line;
    int index = 0;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        const std::string n = std::to_string(index++);
        const std::string href = escapeHtml(line);
        html += "<li><a id=\"link-" + n + "\" href=\"" + href + "\">" + href + "</a> "
            + "<button id=\"script-" + n + "\" onclick=\"" + escapeHtml("location.href = " + scriptString(line))
            + "\">script</button> "
            + "<form id=\"form-" + n + "\" style=\"display:inline\" method=\"post\" action=\"" + href
            + "\"><button type=\"submit\">form</button></form></li>\n";
    }
    html += "</ol>\n<p id=\"link-count\">" + std::to_string(index) + "</p>\n";
    return Reply::html(html + kPageEnd);
}
