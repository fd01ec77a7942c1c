#pragma once

#include <string>

// The client starts its updater from a copy it puts in the folder above its
// own ("Update.exe" in the install root). That copy goes with the client, so
// an install root that held nothing else is left empty and removed.

// True when the file is an Orbela updater: it carries the updater's skin
// ("ZIPRES" 131) and extractor ("EXE" 130) resources.
bool IsOrbelaUpdater(const std::wstring& path);

// Deletes "Update.exe" in the install root when it is an Orbela updater and
// itself; a program of that name from anyone else, or a link Wine shows as
// a file, stays.
void DeleteUpdaterCopy(const std::wstring& installRoot);
