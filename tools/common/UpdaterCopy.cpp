#include "UpdaterCopy.h"

#include "FolderTreeRemoval.h"

#include <windows.h>

bool IsOrbelaUpdater(const std::wstring& path)
{
    HMODULE image = LoadLibraryExW(path.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (image == NULL)
        return false;
    bool ours = FindResourceW(image, MAKEINTRESOURCEW(131), L"ZIPRES") != NULL
        && FindResourceW(image, MAKEINTRESOURCEW(130), L"EXE") != NULL;
    FreeLibrary(image);
    return ours;
}

void DeleteUpdaterCopy(const std::wstring& installRoot)
{
    const std::wstring copy = installRoot + L"\\Update.exe";
    if (IsOrbelaUpdater(copy))
        RemoveEntryItself(copy);
}
