#pragma once

#include <windows.h>

#include <minizip/ioapi.h>

namespace DirectUI {

// Byte source under the zip directory reader: a disk file (own handle) or a
// memory block (not owned). Every read and seek is bounded by the source.
class ZipSourceStream
{
public:
    // Each answers null on failure and leaves a result code in *code.
    static ZipSourceStream* FromHandle(HANDLE handle, DWORD* code);
    static ZipSourceStream* FromFile(LPCWSTR fileName, DWORD* code);
    static ZipSourceStream* FromMemory(LPCVOID block, DWORD size);
    ~ZipSourceStream();

    ULONG Read(void* buffer, ULONG size);
    long Seek(ZPOS64_T offset, int origin);
    ZPOS64_T Tell();
    bool HasError() const { return m_bError; }
    HANDLE GetFileHandle() const { return m_hFile; }
    bool IsFile() const { return m_bIsFile; }
    bool IsSeekable() const { return m_bSeekable; }

    // Callbacks for the directory reader; the stream itself is the "path".
    static void FillFunctions(zlib_filefunc64_def* functions);

private:
    ZipSourceStream();
    ZipSourceStream(const ZipSourceStream&);
    ZipSourceStream& operator=(const ZipSourceStream&);
    bool InitFile(HANDLE handle);

    bool m_bIsFile;
    bool m_bSeekable;
    HANDLE m_hFile;
    bool m_bError;
    ULONGLONG m_nBaseOffset;
    const BYTE* m_pMemory;
    DWORD m_nMemorySize;
    DWORD m_nPosition;
};

} // namespace DirectUI
