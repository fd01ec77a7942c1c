#pragma once

#include <string>

// The uninstaller deletes itself through a batch file in the temporary folder
// ("DeleteBat.bat") that cmd runs once the process has ended.

// A path as a batch line must spell it so that cmd reads the path itself:
// every "%" doubled (cmd would otherwise drop a lone one and expand "%NAME%").
std::wstring BatchLiteral(const std::wstring& path);

// The batch's text for the uninstaller at exePath; clientFolder is the folder
// this run removed (empty when none). Paths are written as batch literals.
std::wstring CleanupBatchText(const std::wstring& exePath, const std::wstring& clientFolder);

// A path as cmd reads it from a batch in the OEM code page: the path itself
// when that code page holds it, else its 8.3 short name.
std::wstring PathForBatch(const std::wstring& path);

// Writes the batch anew, starts it hidden and ends the process with code 0.
void DeleteSelfAndExit(const std::wstring& clientFolder);
