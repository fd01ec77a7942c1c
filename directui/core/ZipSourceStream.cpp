#include "core/ZipSourceStream.h"

#include "core/ZipArchiveApi.h"

#include <new>
#include <string.h>

namespace DirectUI {

ZipSourceStream::ZipSourceStream()
    : m_bIsFile(false), m_bSeekable(false), m_hFile(INVALID_HANDLE_VALUE), m_bError(false),
      m_nBaseOffset(0), m_pMemory(NULL), m_nMemorySize(0), m_nPosition(0)
{
}

ZipSourceStream::~ZipSourceStream()
{
    if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
}

bool ZipSourceStream::InitFile(HANDLE handle)
{
    m_bIsFile = true;
    m_hFile = handle;
    m_bSeekable = GetFileType(handle) == FILE_TYPE_DISK;
    if (m_bSeekable) {
        LARGE_INTEGER zero, position;
        zero.QuadPart = 0;
        if (!SetFilePointerEx(handle, zero, &position, FILE_CURRENT)) return false;
        m_nBaseOffset = (ULONGLONG)position.QuadPart;
    }
    return true;
}

ZipSourceStream* ZipSourceStream::FromHandle(HANDLE handle, DWORD* code)
{
    HANDLE own = NULL;
    if (!DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &own, 0, FALSE,
                         DUPLICATE_SAME_ACCESS)) {
        *code = ZR_NODUPH;
        return NULL;
    }
    ZipSourceStream* stream = new (std::nothrow) ZipSourceStream;
    if (stream == NULL) {
        CloseHandle(own);
        *code = ZR_ARGS;
        return NULL;
    }
    if (!stream->InitFile(own) || !stream->m_bSeekable) {
        delete stream;
        *code = ZR_SEEK;
        return NULL;
    }
    return stream;
}

ZipSourceStream* ZipSourceStream::FromFile(LPCWSTR fileName, DWORD* code)
{
    if (fileName == NULL) {
        *code = ZR_ARGS;
        return NULL;
    }
    HANDLE handle = CreateFileW(fileName, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    if (handle == INVALID_HANDLE_VALUE) {
        *code = ZR_NOFILE;
        return NULL;
    }
    ZipSourceStream* stream = new (std::nothrow) ZipSourceStream;
    if (stream == NULL) {
        CloseHandle(handle);
        *code = ZR_ARGS;
        return NULL;
    }
    if (!stream->InitFile(handle)) {
        delete stream;
        *code = ZR_NOFILE;
        return NULL;
    }
    return stream;
}

ZipSourceStream* ZipSourceStream::FromMemory(LPCVOID block, DWORD size)
{
    if (block == NULL && size != 0) return NULL;
    ZipSourceStream* stream = new (std::nothrow) ZipSourceStream;
    if (stream == NULL) return NULL;
    stream->m_pMemory = (const BYTE*)block;
    stream->m_nMemorySize = size;
    return stream;
}

ULONG ZipSourceStream::Read(void* buffer, ULONG size)
{
    if (m_bIsFile) {
        DWORD read = 0;
        if (!ReadFile(m_hFile, buffer, size, &read, NULL)) {
            m_bError = true;
            return 0;
        }
        return read;
    }
    if (m_nPosition >= m_nMemorySize) return 0;
    DWORD left = m_nMemorySize - m_nPosition;
    if (size > left) size = left;
    memcpy(buffer, m_pMemory + m_nPosition, size);
    m_nPosition += size;
    return size;
}

long ZipSourceStream::Seek(ZPOS64_T offset, int origin)
{
    if (m_bIsFile) {
        if (!m_bSeekable) return -1;
        LARGE_INTEGER distance;
        DWORD method;
        switch (origin) {
        case ZLIB_FILEFUNC_SEEK_SET:
            distance.QuadPart = (LONGLONG)(offset + m_nBaseOffset);
            method = FILE_BEGIN;
            break;
        case ZLIB_FILEFUNC_SEEK_CUR:
            distance.QuadPart = (LONGLONG)offset;
            method = FILE_CURRENT;
            break;
        case ZLIB_FILEFUNC_SEEK_END:
            distance.QuadPart = (LONGLONG)offset;
            method = FILE_END;
            break;
        default:
            return -1;
        }
        return SetFilePointerEx(m_hFile, distance, NULL, method) ? 0 : -1;
    }
    // Offsets are unsigned for "begin"; "current" and "end" take them as
    // signed. A position outside the block is refused, so no later read can
    // start past its end.
    LONGLONG target;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: target = (LONGLONG)offset; break;
    case ZLIB_FILEFUNC_SEEK_CUR: target = (LONGLONG)m_nPosition + (LONGLONG)offset; break;
    case ZLIB_FILEFUNC_SEEK_END: target = (LONGLONG)m_nMemorySize + (LONGLONG)offset; break;
    default: return -1;
    }
    if (target < 0 || target > (LONGLONG)m_nMemorySize) return -1;
    m_nPosition = (DWORD)target;
    return 0;
}

ZPOS64_T ZipSourceStream::Tell()
{
    if (!m_bIsFile) return m_nPosition;
    if (!m_bSeekable) return 0;
    LARGE_INTEGER zero, position;
    zero.QuadPart = 0;
    if (!SetFilePointerEx(m_hFile, zero, &position, FILE_CURRENT)) return (ZPOS64_T)-1;
    return (ZPOS64_T)position.QuadPart - m_nBaseOffset;
}

namespace {
voidpf ZCALLBACK OpenStream(voidpf, const void* path, int) { return (voidpf)path; }
uLong ZCALLBACK ReadStream(voidpf, voidpf stream, void* buffer, uLong size)
{
    return ((ZipSourceStream*)stream)->Read(buffer, size);
}
uLong ZCALLBACK WriteStream(voidpf, voidpf, const void*, uLong) { return 0; }
ZPOS64_T ZCALLBACK TellStream(voidpf, voidpf stream) { return ((ZipSourceStream*)stream)->Tell(); }
long ZCALLBACK SeekStream(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    return ((ZipSourceStream*)stream)->Seek(offset, origin);
}
int ZCALLBACK CloseStream(voidpf, voidpf) { return 0; } // the archive deletes the stream
int ZCALLBACK StreamError(voidpf, voidpf stream) { return ((ZipSourceStream*)stream)->HasError() ? 1 : 0; }
} // namespace

void ZipSourceStream::FillFunctions(zlib_filefunc64_def* functions)
{
    functions->zopen64_file = OpenStream;
    functions->zread_file = ReadStream;
    functions->zwrite_file = WriteStream;
    functions->ztell64_file = TellStream;
    functions->zseek64_file = SeekStream;
    functions->zclose_file = CloseStream;
    functions->zerror_file = StreamError;
    functions->opaque = NULL;
}

} // namespace DirectUI
