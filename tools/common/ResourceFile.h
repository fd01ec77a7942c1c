#pragma once

#include <windows.h>

// Writes the bytes of a resource of the program's own module into a file
// (created or truncated). True when all bytes were written.
bool WriteResourceToFile(const wchar_t* path, HRSRC resource);
