#include "SkinZip.h"

bool LoadSkinZipResource(const BYTE** data, DWORD* size)
{
    HRSRC resource = FindResourceW(NULL, MAKEINTRESOURCEW(1), L"ZIPRES");
    if (resource == NULL) return false;
    HGLOBAL loaded = LoadResource(NULL, resource);
    if (loaded == NULL) return false;
    *data = static_cast<const BYTE*>(LockResource(loaded));
    *size = SizeofResource(NULL, resource);
    return *data != NULL && *size > 0;
}

std::vector<BYTE> ReadFileBytes(const wchar_t* path)
{
    std::vector<BYTE> bytes;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    DWORD size = GetFileSize(file, NULL);
    bytes.resize(size);
    DWORD read = 0;
    if (size == INVALID_FILE_SIZE || !ReadFile(file, bytes.data(), size, &read, NULL) || read != size)
        bytes.clear();
    CloseHandle(file);
    return bytes;
}
