#pragma once

#include <string>

// The uninstaller deletes itself through a batch file in the temporary folder
// ("DeleteBat.bat") that cmd runs once the process has ended.

// A path as a batch line must spell it so that cmd reads the path itself:
// every "%" doubled (cmd would otherwise drop a lone one and expand "%NAME%").
std::wstring BatchLiteral(const std::wstring& path);

// How often the batch tries to delete the uninstaller, about a second apart.
const int kCleanupBatchTries = 30;

// The batch's text for the uninstaller at exePath. clientFolder is the
// folder it ran from and installRoot the folder above it, each empty when the
// batch must not remove it: once the uninstaller's file is deleted, they go
// in that order by a plain "rd", which takes a folder only when it is empty,
// so the batch never removes more than the uninstaller left. A drive or share
// root is never named. Paths are written as batch literals.
std::wstring CleanupBatchText(const std::wstring& exePath, const std::wstring& clientFolder,
                              const std::wstring& installRoot, int tries = kCleanupBatchTries);

// The command line that runs the batch with cmd at cmdPath: "/d" so no AutoRun
// command of the registry runs first, "/v:off" so no "!" in a path is read as
// a variable whatever the registry says about delayed expansion.
std::wstring CleanupBatchCommandLine(const std::wstring& cmdPath, const std::wstring& batchPath);

// A path as cmd reads it from a batch in the OEM code page: the path itself
// when that code page holds it, else its 8.3 short name.
std::wstring PathForBatch(const std::wstring& path);

// The uninstaller's own path; empty when it does not fit MAX_PATH.
std::wstring SelfPath();

// Writes the batch anew, starts it hidden and ends the process with code 0.
// clientFolder is the folder this run removed (empty when none) and
// runsFromFolder the uninstall's one answer to RunsFromFolder. The batch
// names the folder only when the uninstaller runs from it, and the folder,
// then its install root, only while each is a real folder that is itself
// (never a link or junction in its place). An uninstaller that is not itself
// (a link Wine hides) is never deleted: no batch runs then.
void DeleteSelfAndExit(const std::wstring& clientFolder, bool runsFromFolder);
