#pragma once

#include "core/ZipArchiveApi.h"

#include <minizip/unzip.h>

namespace DirectUI {

class ZipSourceStream;

// One open zip archive over a file, a handle or a memory block.
class CZipArchive
{
public:
    CZipArchive();
    ~CZipArchive();

    DWORD Open(LPCVOID source, DWORD size, DWORD kind);
    DWORD Close();
    DWORD GetItem(int index, ZipItemInfo& item);
    DWORD FindItem(LPCWSTR name, bool ignoreCase, int& index, ZipItemInfo& item);
    DWORD Extract(int index, LPVOID target, DWORD size, DWORD kind, DWORD* produced);

private:
    CZipArchive(const CZipArchive&);
    CZipArchive& operator=(const CZipArchive&);

    int EntryCount() const;
    void CloseEntry();
    bool MoveTo(int index);
    DWORD ReadItem(int index, ZipItemInfo& item);
    DWORD ExtractToMemory(int index, BYTE* block, DWORD size, DWORD* produced);
    DWORD ExtractToFile(int index, HANDLE handle, LPCWSTR fileName, DWORD* produced);
    bool ResolveTarget(LPCWSTR name, LPWSTR path, bool* createParents) const;

    unzFile m_hUnzip;
    ZipSourceStream* m_pStream;
    int m_nOpenIndex;
    bool m_bOpenDrained; // the open entry was read to its end and checked
    int m_nCurrentIndex; // entry the reader stands on, -1 when unknown
    ZipItemInfo m_cachedItem;
    int m_nCachedIndex;
    WCHAR m_szBaseDir[MAX_PATH];
};

} // namespace DirectUI
