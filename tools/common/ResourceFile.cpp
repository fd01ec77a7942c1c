#include "ResourceFile.h"

#include <cstdio>

bool WriteResourceToFile(const wchar_t* path, HRSRC resource)
{
    if (!path || !resource)
        return false;
    HMODULE module = GetModuleHandleW(NULL);
    HGLOBAL loaded = LoadResource(module, resource);
    const void* bytes = loaded ? LockResource(loaded) : NULL;
    DWORD size = SizeofResource(module, resource);
    if (!bytes)
        return false;
    FILE* file = _wfopen(path, L"wb+");
    bool written = false;
    if (file) {
        written = std::fwrite(bytes, 1, size, file) == size;
        written = std::fclose(file) == 0 && written;
    }
    FreeResource(loaded);
    return written;
}
