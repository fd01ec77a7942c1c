#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// Temporary files the wizards write anew on every run (the package, the
// extractor): an old file of that name is deleted first, the new one is
// created (never opened as it is) and read back afterwards.

enum class FreshFileCheck {
    Size,   // the file holds as many bytes as were written
    Bytes,  // the file holds exactly the bytes written
};

enum class FreshFileResult { Written, Failed, Stopped };

// Writes the bytes in pieces; between pieces *stop (when given) is read, and
// a set flag ends the write and deletes the partial file (Stopped). Failed
// when the old file cannot be deleted, or a write or the check fails; the
// partial file is deleted then too.
FreshFileResult WriteFreshFile(const wchar_t* path, const void* bytes, size_t size, FreshFileCheck check,
                               const volatile LONG* stop = nullptr);

// The wizards' temporary package ("orbela.7z") and extractor ("7z.exe") in the
// temporary folder; false when that folder's path is unusable.
bool TemporaryPackagePaths(std::wstring& package, std::wstring& extractor);

// Deletes a file left by an earlier run; true when no file of that name is left.
bool DeleteStaleFile(const wchar_t* path);

// The bytes of one of the program's own resources; false when it is missing.
bool FindOwnResource(const wchar_t* type, int id, const void** bytes, size_t* size);
