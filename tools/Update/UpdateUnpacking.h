#pragma once

#include <string>

// Puts an update package over the client folder so that a failure leaves the
// old client whole. The package is unpacked into a staging folder inside the
// client folder (same volume, so every later step is a rename); then, file by
// file in name order, a file the package replaces is moved aside into a
// second folder there and the new one moved in. On any failure the new files
// go and the kept ones are put back; either way both folders are removed.
//
// The two folders' names inside the client folder.
const wchar_t* const kUpdateStagingFolder = L"~orbela-update-new";
const wchar_t* const kUpdateKeptFolder = L"~orbela-update-old";

// True when the package's files are all in place.
bool UnpackOverClient(const std::wstring& extractor, const std::wstring& package, const std::wstring& clientFolder);

// Removes a folder with everything in it (best effort); a missing folder is fine.
void RemoveFolderTree(const std::wstring& folder);
