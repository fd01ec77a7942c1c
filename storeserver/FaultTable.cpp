#include "FaultTable.h"

#include <cstdlib>

namespace {

// What follows the colon of a mode.
enum class Argument {
    None,
    Number,  // optional, a count >= 0
    Path,    // required, starting with "/"
    Status,  // required, 100 to 599
    Range,   // required, "START-END/TOTAL"
    Length,  // required, digits with an optional "-": any value a lying server may state
};

struct ModeName {
    FaultMode mode;
    const char* name;
    Argument argument;
};

const ModeName kModes[] = {
    {FaultMode::None, "none", Argument::None},
    {FaultMode::Slow, "slow", Argument::Number},
    {FaultMode::Stall, "stall", Argument::Number},
    {FaultMode::Cut, "cut", Argument::Number},
    {FaultMode::IgnoreRange, "ignore-range", Argument::None},
    {FaultMode::NotFound, "404", Argument::None},
    {FaultMode::BadJson, "bad-json", Argument::None},
    {FaultMode::NoAnswer, "no-answer", Argument::None},
    {FaultMode::DelayHeaders, "delay-headers", Argument::Number},
    {FaultMode::Chunked, "chunked", Argument::Number},
    {FaultMode::Redirect, "redirect", Argument::Path},
    {FaultMode::Status, "status", Argument::Status},
    {FaultMode::RangeLie, "range-lie", Argument::Range},
    {FaultMode::LengthLie, "length-lie", Argument::Length},
    {FaultMode::GarbageStatus, "garbage-status", Argument::None},
    {FaultMode::Encoded, "encoded", Argument::None},
    {FaultMode::DripHeaders, "drip-headers", Argument::Number},
    {FaultMode::Answer, "answer", Argument::Path},
    {FaultMode::Drip, "drip", Argument::Number},
    {FaultMode::GzipBomb, "gzip-bomb", Argument::Number},
};

// Digits only, short enough to be read as a 64-bit count.
bool isCount(const std::string& text)
{
    return !text.empty() && text.size() <= 18 && text.find_first_not_of("0123456789") == std::string::npos;
}

bool isRangeStatement(const std::string& text)
{
    const size_t dash = text.find('-');
    const size_t slash = text.find('/');
    return dash != std::string::npos && slash != std::string::npos && dash < slash
        && isCount(text.substr(0, dash)) && isCount(text.substr(dash + 1, slash - dash - 1))
        && isCount(text.substr(slash + 1));
}

bool isLengthStatement(const std::string& text)
{
    const std::string digits = !text.empty() && text[0] == '-' ? text.substr(1) : text;
    return !digits.empty() && digits.size() <= 40 && digits.find_first_not_of("0123456789") == std::string::npos;
}

// Reads the argument into the fault; an empty text is the error.
std::string readArgument(Argument kind, const std::string& argument, Fault& fault)
{
    switch (kind) {
    case Argument::None:
        return argument.empty() ? std::string() : "takes no argument";
    case Argument::Number:
        if (argument.empty())
            return {};
        if (!isCount(argument))
            return "needs a count";
        fault.amount = std::strtoll(argument.c_str(), nullptr, 10);
        return {};
    case Argument::Path:
        if (argument.empty() || argument[0] != '/')
            return "needs a target path starting with /";
        fault.text = argument;
        return {};
    case Argument::Status: {
        const long long status = isCount(argument) ? std::strtoll(argument.c_str(), nullptr, 10) : 0;
        if (status < 100 || status > 599)
            return "needs a status from 100 to 599";
        fault.amount = status;
        return {};
    }
    case Argument::Range:
        if (!isRangeStatement(argument))
            return "needs START-END/TOTAL";
        fault.text = argument;
        return {};
    case Argument::Length:
        if (!isLengthStatement(argument))
            return "needs a length";
        fault.text = argument;
        return {};
    }
    return "unknown argument";
}

} // namespace

bool Fault::parse(const std::string& text, Fault& fault, std::string* error)
{
    const size_t plus = text.find('+');
    if (plus != std::string::npos) {
        Fault body, delivery;
        if (!parse(text.substr(0, plus), body, error) || !parse(text.substr(plus + 1), delivery, error))
            return false;
        if (body.mode != FaultMode::Answer || delivery.mode == FaultMode::Answer || delivery.mode == FaultMode::GzipBomb) {
            if (error)
                *error = "answer:PATH+MODE takes one file and one way to deliver it";
            return false;
        }
        delivery.answerFile = body.text;
        fault = delivery;
        return true;
    }
    size_t colon = text.find(':');
    std::string name = text.substr(0, colon);
    std::string argument = colon == std::string::npos ? std::string() : text.substr(colon + 1);
    for (const auto& mode : kModes) {
        if (name != mode.name)
            continue;
        Fault parsed;
        parsed.mode = mode.mode;
        const std::string problem = readArgument(mode.argument, argument, parsed);
        if (!problem.empty()) {
            if (error)
                *error = name + " " + problem;
            return false;
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
    std::string described = answerFile.empty() ? std::string() : "answer:" + answerFile + "+";
    described += modeName(mode);
    if (!text.empty())
        described += ":" + text;
    else if (amount >= 0)
        described += ":" + std::to_string(amount);
    return described;
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
