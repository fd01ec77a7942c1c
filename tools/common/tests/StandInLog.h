#pragma once

#include <string>
#include <vector>

// The lines of the store stand-in's request log, which the test runner names
// in STANDIN_LOG_WIN; a log that cannot be opened fails the running test.
std::vector<std::string> StandInLogLines();

// The text of a string member ("key":"...") of one JSON log line, unescaped
// for the few escapes the log writes; empty when absent.
std::string JsonMember(const std::string& line, const std::string& key);

// The store stand-in's address ("127.0.0.1:<port>").
std::string StandInHost();
