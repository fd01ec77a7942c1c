#pragma once

// Writes a shell link at linkPath that points at target (no arguments, folder
// or icon). True when every step succeeded. Initialises COM for its own calls;
// a thread that already has COM keeps it.
bool CreateShortcut(const wchar_t* linkPath, const wchar_t* target);
