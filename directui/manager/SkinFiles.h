#pragma once

#include <windows.h>

namespace DirectUI {

// Reads one skin file: skin path + name from disk when no skin zip is set,
// otherwise the entry of that name (any case) from the skin zip. Files above
// maxSize are refused. On success *bytes is a malloc block the caller frees;
// on failure *failure names what went wrong in the XML reader's words.
bool ReadSkinFile(LPCWSTR name, DWORD maxSize, BYTE** bytes, DWORD* size, LPCWSTR* failure);

// Reads a whole file from a path as it is.
bool ReadWholeFile(LPCWSTR path, DWORD maxSize, BYTE** bytes, DWORD* size, LPCWSTR* failure);

} // namespace DirectUI
