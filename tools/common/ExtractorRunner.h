#pragma once

#include <string>

// Runs the carried 7-Zip extractor the way the wizards unpack a package:
//   "EXTRACTOR" x "PACKAGE" -y -o"OUTPUT"
// hidden, with the output folder as its current folder, and waits for its end.

// The command line above, every path quoted.
std::wstring ExtractorCommandLine(const std::wstring& extractor, const std::wstring& package,
                                  const std::wstring& outputFolder);

// The extractor's exit code (0 is success); -1 when it could not be started.
long RunExtractor(const std::wstring& extractor, const std::wstring& package, const std::wstring& outputFolder);

// Checks the archive without writing anything ("EXTRACTOR" t "PACKAGE", run
// hidden in workFolder and awaited): 0 when every file in it is whole.
long TestArchive(const std::wstring& extractor, const std::wstring& package, const std::wstring& workFolder);
