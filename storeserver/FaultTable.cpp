#include "FaultTable.h"

#include <cstdlib>

namespace {

struct ModeName {
    FaultMode mode;
    const char* name;
    bool takesNumber;
};

const ModeName kModes[] = {
    {FaultMode::None, "none", false},
    {FaultMode::Slow, "slow", true},
    {FaultMode::Stall, "stall", true},
    {FaultMode::Cut, "cut", true},
    {FaultMode::IgnoreRange, "ignore-range", false},
    {FaultMode::NotFound, "404", false},
    {FaultMode::BadJson, "bad-json", false},
    {FaultMode::NoAnswer, "no-answer", false},
    {FaultMode::DelayHeaders, "delay-headers", true},
    {FaultMode::Chunked, "chunked", true},
    {FaultMode::Redirect, "redirect", false},
};

} // namespace

bool Fault::parse(const std::string& text, Fault& fault, std::string* error)
{
    size_t colon = text.find(':');
    std::string name = text.substr(0, colon);
    std::string argument = colon == std::string::npos ? std::string() : text.substr(colon + 1);
    for (const auto& mode : kModes) {
        if (name != mode.name)
            continue;
        Fault parsed;
        parsed.mode = mode.mode;
        if (mode.mode == FaultMode::Redirect) {
            if (argument.empty() || argument[0] != '/') {
                if (error)
                    *error = "redirect needs a target path starting with /";
                return false;
            }
            parsed.target = argument;
        } else if (!argument.empty()) {
            char* end = nullptr;
            long long number = std::strtoll(argument.c_str(), &end, 10);
            if (!mode.takesNumber || *end != '\0' || number < 0) {
                if (error)
                    *error = "bad argument for fault mode " + name;
                return false;
            }
            parsed.amount = number;
        }
        fault = parsed;
        return true;
    }
    if (error)
        *error = "unknown fault mode " + name;
    return false;
}

const char* Fault::modeName(FaultMode mode)
{
    for (const auto& entry : kModes)
        if (entry.mode == mode)
            return entry.name;
    return "none";
}

std::string Fault::describe() const
{
    std::string text = modeName(mode);
    if (mode == FaultMode::Redirect)
        text += ":" + target;
    else if (amount >= 0)
        text += ":" + std::to_string(amount);
    return text;
}

void FaultTable::set(const std::string& route, const Fault& fault)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (fault.mode == FaultMode::None)
        faults_.erase(route);
    else
        faults_[route] = fault;
}

void FaultTable::clear(const std::string& route)
{
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.erase(route);
}

void FaultTable::clearAll()
{
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.clear();
}

Fault FaultTable::lookup(const std::string& path) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto exact = faults_.find(path);
    if (exact != faults_.end())
        return exact->second;
    const Fault* best = nullptr;
    size_t bestLength = 0;
    for (const auto& entry : faults_) {
        const std::string& route = entry.first;
        if (route.empty() || route.back() != '*')
            continue;
        size_t length = route.size() - 1;
        if (path.compare(0, length, route, 0, length) == 0 && (!best || length > bestLength)) {
            best = &entry.second;
            bestLength = length;
        }
    }
    return best ? *best : Fault();
}
