#pragma once

#include <string>

// One UTF-8 line on standard output, written at once (the diagnostics' answers).
void PrintLine(const std::wstring& line);
