#pragma once

#include <windows.h>

#include <string>

// Runs the carried 7-Zip extractor the way the wizards unpack a package:
//   "EXTRACTOR" x "PACKAGE" -y -o"OUTPUT"
// hidden, with the output folder as its current folder, and waits for its end
// up to a limit that grows with the package (see ExtractorTimeLimitMs); an
// extractor still running then is ended and the run counts as failed.

// The command line above, every path quoted (a trailing backslash of the
// output folder doubled, so it does not escape the closing quote).
std::wstring ExtractorCommandLine(const std::wstring& extractor, const std::wstring& package,
                                  const std::wstring& outputFolder);

// How long the extractor may take for a package of that many bytes: a minute,
// and two seconds more for every MiB.
DWORD ExtractorTimeLimitMs(unsigned long long packageBytes);

// The extractor's exit code (0 is success); -1 when it could not be started
// or did not end in time (limitMs when given, else the package's limit).
long RunExtractor(const std::wstring& extractor, const std::wstring& package, const std::wstring& outputFolder,
                  DWORD limitMs = 0);

// Checks the archive without writing anything ("EXTRACTOR" t "PACKAGE", run
// hidden in workFolder and awaited): 0 when every file in it is whole.
long TestArchive(const std::wstring& extractor, const std::wstring& package, const std::wstring& workFolder);
