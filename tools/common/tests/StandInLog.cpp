#include "StandInLog.h"

#include <windows.h>

#include <fstream>

namespace {

std::string Environment(const char* name)
{
    char value[1024];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
    return length > 0 && length < sizeof(value) ? std::string(value, length) : std::string();
}

} // namespace

std::vector<std::string> StandInLogLines()
{
    std::vector<std::string> lines;
    std::ifstream file(Environment("STANDIN_LOG_WIN"), std::ios::binary);
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

std::string JsonMember(const std::string& line, const std::string& key)
{
    std::string marker = "\"" + key + "\":\"";
    size_t at = line.find(marker);
    if (at == std::string::npos)
        return std::string();
    std::string value;
    for (size_t i = at + marker.size(); i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            char escaped = line[++i];
            value += escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
        } else {
            value += line[i];
        }
    }
    return value;
}

std::string StandInHost()
{
    return Environment("ORBELA_APP_API_HOST");
}
