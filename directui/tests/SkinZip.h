#pragma once

#include <windows.h>

#include <vector>

// The test archive (see fixtures/make_skin_zip.py): beside the test as
// "skin.zip" and built into the executable as ZIPRES resource 1.
const wchar_t kSkinZipFile[] = L"skin.zip";

bool LoadSkinZipResource(const BYTE** data, DWORD* size);
std::vector<BYTE> ReadFileBytes(const wchar_t* path);
