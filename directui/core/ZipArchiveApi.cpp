#include "core/ZipArchiveApi.h"

#include "core/ZipArchive.h"

#include <new>

namespace DirectUI {

DWORD ZipLastError = ZR_OK;

namespace {
// The archive behind a handle, or null with the code in *code.
CZipArchive* ArchiveOf(HZIP zip, DWORD* code)
{
    if (zip == NULL) {
        *code = ZR_ARGS;
        return NULL;
    }
    if (zip->kind != 1 || zip->archive == NULL) {
        *code = ZR_NOTZIP;
        return NULL;
    }
    return zip->archive;
}
} // namespace

HZIP ZipArchiveOpen(LPCVOID source, DWORD size, DWORD kind)
{
    CZipArchive* archive = new (std::nothrow) CZipArchive;
    ZipHandle* handle = new (std::nothrow) ZipHandle;
    if (archive == NULL || handle == NULL) {
        delete archive;
        delete handle;
        ZipLastError = ZR_ARGS;
        return NULL;
    }
    ZipLastError = archive->Open(source, size, kind);
    if (ZipLastError != ZR_OK) {
        delete archive;
        delete handle;
        return NULL;
    }
    handle->kind = 1;
    handle->archive = archive;
    return handle;
}

DWORD ZipArchiveClose(HZIP zip)
{
    CZipArchive* archive = ArchiveOf(zip, &ZipLastError);
    if (archive == NULL) return ZipLastError;
    ZipLastError = archive->Close();
    delete archive;
    zip->kind = 0;
    zip->archive = NULL;
    delete zip;
    return ZipLastError;
}

DWORD ZipArchiveGetItem(HZIP zip, int index, ZipItemInfo& item)
{
    CZipArchive* archive = ArchiveOf(zip, &ZipLastError);
    if (archive == NULL) return ZipLastError;
    return ZipLastError = archive->GetItem(index, item);
}

DWORD ZipArchiveFindItem(HZIP zip, LPCWSTR name, bool ignoreCase, int& index, ZipItemInfo& item)
{
    CZipArchive* archive = ArchiveOf(zip, &ZipLastError);
    if (archive == NULL) return ZipLastError;
    return ZipLastError = archive->FindItem(name, ignoreCase, index, item);
}

DWORD ZipArchiveExtract(HZIP zip, int index, LPVOID target, DWORD size, DWORD kind, DWORD* produced)
{
    if (produced != NULL) *produced = 0;
    CZipArchive* archive = ArchiveOf(zip, &ZipLastError);
    if (archive == NULL) return ZipLastError;
    return ZipLastError = archive->Extract(index, target, size, kind, produced);
}

} // namespace DirectUI
