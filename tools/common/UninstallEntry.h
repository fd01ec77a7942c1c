#pragma once

#include <string>

// The product's uninstall entry under HKEY_LOCAL_MACHINE.
extern const wchar_t* const kUninstallKeyPath;

// Creates the entry when missing and stores one REG_SZ value; true when it was stored.
bool WriteUninstallValue(const wchar_t* name, const wchar_t* text);

// Reads one REG_SZ value of the entry; false when the entry or value is missing.
bool ReadUninstallValue(const wchar_t* name, std::wstring& value);

// Writes the entry's seven values for a client directory, in their fixed order
// ("DisplayIcon", "InstallLocation", "UninstallString" quoted, "Publisher",
// "DisplayVersion", "DisplayName", "URLInfoAbout"). A value that cannot be
// stored deletes the entry again and answers false: no half entry is left.
bool WriteUninstallEntry(const std::wstring& clientFolder, const std::wstring& version);

// Deletes the entry with its values; true when it is gone (or was never there).
bool DeleteUninstallEntry();
