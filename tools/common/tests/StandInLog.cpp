#include "StandInLog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

namespace {

std::string Environment(const char* name)
{
    char value[1024];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
    return length > 0 && length < sizeof(value) ? std::string(value, length) : std::string();
}

// A path from the environment, read wide: its narrow form loses what the
// code page cannot spell (a checkout under a Chinese folder name).
std::wstring WideEnvironment(const wchar_t* name)
{
    DWORD size = GetEnvironmentVariableW(name, NULL, 0);
    if (size == 0)
        return std::wstring();
    std::wstring value(size, L'\0');
    DWORD length = GetEnvironmentVariableW(name, &value[0], size);
    return length > 0 && length < size ? value.substr(0, length) : std::wstring();
}

} // namespace

std::vector<std::string> StandInLogLines()
{
    std::vector<std::string> lines;
    const std::wstring path = WideEnvironment(L"STANDIN_LOG_WIN");
    std::ifstream file(path.c_str(), std::ios::binary);
    // A log that cannot be read would count no lines before and after alike.
    if (path.empty() || !file.is_open()) {
        ADD_FAILURE() << "the stand-in's request log cannot be opened: STANDIN_LOG_WIN=\"" << path << "\"";
        return lines;
    }
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
