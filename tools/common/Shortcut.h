#pragma once

#include <string>

// Writes a shell link at linkPath that points at target (no arguments, folder
// or icon). True when every step succeeded. Initialises COM for its own calls;
// a thread that already has COM keeps it.
bool CreateShortcut(const wchar_t* linkPath, const wchar_t* target);

// The target stored in a shell link file; empty when it cannot be read.
std::wstring ReadShortcutTarget(const wchar_t* linkPath);
