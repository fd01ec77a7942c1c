#pragma once

#include <windows.h>

namespace DirectUI {

// Result codes of the zip reader; 0 is success. The last one is also kept in
// ZipLastError after every call.
enum ZipResult : DWORD {
    ZR_OK = 0,
    ZR_NODUPH = 0x100,     // the caller's handle could not be duplicated
    ZR_NOFILE = 0x200,     // a file could not be opened or created
    ZR_WRITE = 0x400,      // writing an entry failed or reading it failed midway
    ZR_NOTFOUND = 0x500,   // no entry of that name
    ZR_MORE = 0x600,       // memory extraction filled the block; the entry may go on
    ZR_LOCALHDR = 0x700,   // the entry's local header could not be read
    ZR_EXTRA = 0x800,      // the entry's extra field could not be read
    ZR_ARGS = 0x10000,     // null archive, index out of range, unknown kind
    ZR_NOTZIP = 0x80000,   // not an archive handle
    ZR_OPENED = 0x1000000, // the archive object is already open
    ZR_SEEK = 0x2000000,   // a handle source is not a disk file
    ZR_FLATE = 0x5000000,  // inflating failed (or the entry's checksum is wrong)
};

// Source and target kinds.
enum ZipKind { ZIP_HANDLE = 1, ZIP_FILENAME = 2, ZIP_MEMORY = 3 };

// One entry of an archive (for index -1: the number of entries in index).
struct ZipItemInfo
{
    int index;
    WCHAR name[MAX_PATH];
    DWORD attributes;
    FILETIME accessTime, createTime, writeTime;
    DWORD compressedSize;
    DWORD uncompressedSize;
};

class CZipArchive;
struct ZipHandle
{
    DWORD kind; // 1 = archive; anything else is refused
    CZipArchive* archive;
};
typedef ZipHandle* HZIP;

extern DWORD ZipLastError;

HZIP ZipArchiveOpen(LPCVOID source, DWORD size, DWORD kind);
DWORD ZipArchiveClose(HZIP zip);
DWORD ZipArchiveGetItem(HZIP zip, int index, ZipItemInfo& item);
DWORD ZipArchiveFindItem(HZIP zip, LPCWSTR name, bool ignoreCase, int& index, ZipItemInfo& item);
// produced (optional) receives the number of bytes this call wrote.
DWORD ZipArchiveExtract(HZIP zip, int index, LPVOID target, DWORD size, DWORD kind, DWORD* produced = NULL);

// Creates every folder of path (a full path ending in a file or folder name).
bool ZipCreateDirectories(LPCWSTR path);

} // namespace DirectUI
