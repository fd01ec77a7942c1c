#include "manager/SkinFiles.h"

#include "core/ZipArchiveApi.h"
#include "manager/WindowUIManager.h"

#include <stdlib.h>

namespace DirectUI {

bool ReadWholeFile(LPCWSTR path, DWORD maxSize, BYTE** bytes, DWORD* size, LPCWSTR* failure)
{
    *bytes = NULL;
    *size = 0;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        *failure = L"Error opening file";
        return false;
    }
    LARGE_INTEGER fileSize;
    if (!GetFileSizeEx(file, &fileSize) || fileSize.QuadPart > maxSize) {
        CloseHandle(file);
        *failure = L"File too large";
        return false;
    }
    DWORD length = static_cast<DWORD>(fileSize.QuadPart);
    if (length == 0) {
        CloseHandle(file);
        *failure = L"File is empty";
        return false;
    }
    BYTE* block = static_cast<BYTE*>(malloc(length));
    DWORD read = 0;
    bool ok = block != NULL && ReadFile(file, block, length, &read, NULL) && read == length;
    CloseHandle(file);
    if (!ok) {
        free(block);
        *failure = L"Could not read file";
        return false;
    }
    *bytes = block;
    *size = length;
    return true;
}

bool ReadSkinFile(LPCWSTR name, DWORD maxSize, BYTE** bytes, DWORD* size, LPCWSTR* failure)
{
    *bytes = NULL;
    *size = 0;
    if (name == NULL) {
        *failure = L"Error opening file";
        return false;
    }
    CUIString zipName = CWindowUIManager::GetSkinZipName();
    if (zipName.IsEmpty()) {
        CUIString path = CWindowUIManager::GetSkinPath() + name;
        return ReadWholeFile(path, maxSize, bytes, size, failure);
    }

    bool keptOpen = CWindowUIManager::IsSkinZipKeptOpen();
    HZIP zip = keptOpen ? CWindowUIManager::GetSkinZipHandle() : NULL;
    if (!keptOpen) {
        CUIString zipPath = CWindowUIManager::GetSkinPath() + zipName;
        zip = ZipArchiveOpen(zipPath.GetData(), 0, ZIP_FILENAME);
    }
    if (zip == NULL) {
        *failure = L"Error opening zip file";
        return false;
    }
    LPCWSTR problem = NULL;
    BYTE* block = NULL;
    DWORD produced = 0;
    int index = -1;
    ZipItemInfo item;
    if (ZipArchiveFindItem(zip, name, true, index, item) != ZR_OK) {
        problem = L"Could not find ziped file";
    } else if (item.uncompressedSize > maxSize) {
        problem = L"File too large";
    } else if (item.uncompressedSize == 0) {
        problem = L"File is empty";
    } else {
        block = static_cast<BYTE*>(malloc(item.uncompressedSize));
        DWORD code = block == NULL ? ZR_ARGS
                                   : ZipArchiveExtract(zip, index, block, item.uncompressedSize, ZIP_MEMORY, &produced);
        // Whole or not at all: the reader checks an entry's CRC once it has
        // given the size the directory declares, and a further read answers
        // ZR_OK only for an entry that was whole and passed. A stream that
        // ends early gives fewer bytes and is never checked.
        if (code == ZR_MORE && produced == item.uncompressedSize) {
            BYTE beyond = 0;
            DWORD more = 0;
            code = ZipArchiveExtract(zip, index, &beyond, 1, ZIP_MEMORY, &more);
            if (more != 0) code = ZR_FLATE;
        } else if (code == ZR_OK || code == ZR_MORE) {
            code = ZR_FLATE;
        }
        if (code != ZR_OK) problem = L"Could not unzip file";
    }
    if (!keptOpen) ZipArchiveClose(zip);
    if (problem != NULL) {
        free(block);
        *failure = problem;
        return false;
    }
    *bytes = block;
    *size = produced;
    return true;
}

} // namespace DirectUI
