#include "core/ZipArchive.h"

#include "core/ZipSourceStream.h"

#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

namespace DirectUI {

namespace {
const DWORD kCopyChunk = 0x4000;

void UnixTimeToFileTime(DWORD unixTime, FILETIME* fileTime)
{
    ULONGLONG ticks = (ULONGLONG)unixTime * 10000000ULL + 116444736000000000ULL;
    fileTime->dwLowDateTime = (DWORD)ticks;
    fileTime->dwHighDateTime = (DWORD)(ticks >> 32);
}

DWORD ReadLittle32(const BYTE* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | ((DWORD)p[3] << 24);
}

// Applies an extended timestamp block ("UT") of an extra field; every block
// header and every time is checked against the field's length.
void ApplyExtendedTimes(const BYTE* extra, int length, ZipItemInfo& item)
{
    int pos = 0;
    while (pos + 4 <= length) {
        int tag = extra[pos] | (extra[pos + 1] << 8);
        int size = extra[pos + 2] | (extra[pos + 3] << 8);
        const BYTE* data = extra + pos + 4;
        if (pos + 4 + size > length) return;
        if (tag == 0x5455 && size >= 1) {
            BYTE flags = data[0];
            int at = 1;
            FILETIME* targets[3] = { &item.writeTime, &item.accessTime, &item.createTime };
            for (int bit = 0; bit < 3; ++bit) {
                if (!(flags & (1 << bit))) continue;
                if (at + 4 > size) return;
                UnixTimeToFileTime(ReadLittle32(data + at), targets[bit]);
                at += 4;
            }
            return;
        }
        pos += 4 + size;
    }
}

bool IsSeparator(WCHAR ch)
{
    return ch == L'\\' || ch == L'/';
}

bool HasParentComponent(LPCWSTR name)
{
    for (LPCWSTR p = name; *p != L'\0';) {
        LPCWSTR end = p;
        while (*end != L'\0' && !IsSeparator(*end)) ++end;
        if (end - p == 2 && p[0] == L'.' && p[1] == L'.') return true;
        p = *end != L'\0' ? end + 1 : end;
    }
    return false;
}
} // namespace

bool ZipCreateDirectories(LPCWSTR path)
{
    WCHAR buffer[MAX_PATH];
    size_t length = wcslen(path);
    if (length >= MAX_PATH) return false;
    wcscpy(buffer, path);
    bool ok = true;
    for (size_t i = 1; i < length; ++i) {
        if (!IsSeparator(buffer[i]) || buffer[i - 1] == L':') continue;
        WCHAR saved = buffer[i];
        buffer[i] = L'\0';
        if (!CreateDirectoryW(buffer, NULL) && GetLastError() != ERROR_ALREADY_EXISTS) ok = false;
        buffer[i] = saved;
    }
    return ok;
}

CZipArchive::CZipArchive()
    : m_hUnzip(NULL), m_pStream(NULL), m_nOpenIndex(-1), m_bOpenDrained(false), m_nCurrentIndex(-1),
      m_nCachedIndex(-1)
{
    memset(&m_cachedItem, 0, sizeof(m_cachedItem));
    m_szBaseDir[0] = L'\0';
}

CZipArchive::~CZipArchive()
{
    Close();
}

DWORD CZipArchive::Open(LPCVOID source, DWORD size, DWORD kind)
{
    if (m_hUnzip != NULL) return ZR_OPENED;
    DWORD code = ZR_OK;
    switch (kind) {
    case ZIP_HANDLE: m_pStream = ZipSourceStream::FromHandle((HANDLE)source, &code); break;
    case ZIP_FILENAME: m_pStream = ZipSourceStream::FromFile((LPCWSTR)source, &code); break;
    case ZIP_MEMORY:
        m_pStream = ZipSourceStream::FromMemory(source, size);
        if (m_pStream == NULL) code = ZR_ARGS;
        break;
    default: return ZR_ARGS;
    }
    if (m_pStream == NULL) return code;

    DWORD n = GetCurrentDirectoryW(MAX_PATH - 1, m_szBaseDir);
    if (n == 0 || n >= MAX_PATH - 1) {
        m_szBaseDir[0] = L'\0';
    } else if (!IsSeparator(m_szBaseDir[n - 1])) {
        m_szBaseDir[n] = L'\\';
        m_szBaseDir[n + 1] = L'\0';
    }

    zlib_filefunc64_def functions;
    ZipSourceStream::FillFunctions(&functions);
    m_hUnzip = unzOpen2_64(m_pStream, &functions);
    if (m_hUnzip == NULL) {
        delete m_pStream;
        m_pStream = NULL;
        return (DWORD)UNZ_BADZIPFILE;
    }
    m_nCurrentIndex = 0;
    return ZR_OK;
}

DWORD CZipArchive::Close()
{
    CloseEntry();
    if (m_hUnzip != NULL) unzClose(m_hUnzip);
    m_hUnzip = NULL;
    delete m_pStream;
    m_pStream = NULL;
    m_nCachedIndex = -1;
    m_nCurrentIndex = -1;
    return ZR_OK;
}

int CZipArchive::EntryCount() const
{
    unz_global_info64 info;
    if (m_hUnzip == NULL || unzGetGlobalInfo64(m_hUnzip, &info) != UNZ_OK) return 0;
    return info.number_entry > (ZPOS64_T)INT_MAX ? INT_MAX : (int)info.number_entry;
}

void CZipArchive::CloseEntry()
{
    if (m_nOpenIndex >= 0 && !m_bOpenDrained) unzCloseCurrentFile(m_hUnzip);
    m_nOpenIndex = -1;
    m_bOpenDrained = false;
}

bool CZipArchive::MoveTo(int index)
{
    if (m_nCurrentIndex < 0 || index < m_nCurrentIndex) {
        if (unzGoToFirstFile(m_hUnzip) != UNZ_OK) {
            m_nCurrentIndex = -1;
            return false;
        }
        m_nCurrentIndex = 0;
    }
    while (m_nCurrentIndex < index) {
        if (unzGoToNextFile(m_hUnzip) != UNZ_OK) {
            m_nCurrentIndex = -1;
            return false;
        }
        ++m_nCurrentIndex;
    }
    return true;
}

DWORD CZipArchive::ReadItem(int index, ZipItemInfo& item)
{
    CloseEntry();
    if (!MoveTo(index)) return ZR_ARGS;

    unz_file_info64 info;
    char name[MAX_PATH + 1];
    if (unzGetCurrentFileInfo64(m_hUnzip, &info, name, MAX_PATH, NULL, 0, NULL, 0) != UNZ_OK)
        return ZR_ARGS;
    name[info.size_filename < MAX_PATH ? info.size_filename : MAX_PATH] = '\0';

    ZipItemInfo record;
    memset(&record, 0, sizeof(record));
    record.index = index;
    WCHAR wide[MAX_PATH + 1];
    if (MultiByteToWideChar(CP_ACP, 0, name, -1, wide, MAX_PATH + 1) == 0) wide[0] = L'\0';
    wide[MAX_PATH - 1] = L'\0';
    wcscpy(record.name, wide);

    // The local header's extra field holds all three extended times.
    int method = 0, level = 0;
    if (unzOpenCurrentFile2(m_hUnzip, &method, &level, 1) != UNZ_OK) return ZR_LOCALHDR;
    int extraLength = unzGetLocalExtrafield(m_hUnzip, NULL, 0);
    BYTE* extra = NULL;
    if (extraLength > 0) {
        extra = (BYTE*)malloc(extraLength);
        if (extra == NULL || unzGetLocalExtrafield(m_hUnzip, extra, extraLength) != extraLength) {
            free(extra);
            unzCloseCurrentFile(m_hUnzip);
            return ZR_EXTRA;
        }
    } else if (extraLength < 0) {
        unzCloseCurrentFile(m_hUnzip);
        return ZR_EXTRA;
    }
    unzCloseCurrentFile(m_hUnzip);

    DWORD external = (DWORD)info.external_fa;
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if ((external & FILE_ATTRIBUTE_DIRECTORY) || (external & 0x40000000)) attributes = 0x90;
    attributes |= external & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    if ((external & FILE_ATTRIBUTE_READONLY) || !(external & 0x800000)) attributes |= FILE_ATTRIBUTE_READONLY;
    record.attributes = attributes;

    FILETIME dosTime;
    if (!DosDateTimeToFileTime(HIWORD(info.dosDate), LOWORD(info.dosDate), &dosTime))
        memset(&dosTime, 0, sizeof(dosTime));
    record.accessTime = record.createTime = record.writeTime = dosTime;
    if (extra != NULL) ApplyExtendedTimes(extra, extraLength, record);
    free(extra);

    record.compressedSize = (DWORD)info.compressed_size;
    record.uncompressedSize = (DWORD)info.uncompressed_size;
    item = record;
    m_cachedItem = record;
    m_nCachedIndex = index;
    return ZR_OK;
}

DWORD CZipArchive::GetItem(int index, ZipItemInfo& item)
{
    if (m_hUnzip == NULL) return ZR_ARGS;
    int count = EntryCount();
    if (index == -1) {
        memset(&item, 0, sizeof(item));
        item.index = count;
        return ZR_OK;
    }
    if (index < -1 || index >= count) return ZR_ARGS;
    if (index == m_nCachedIndex) {
        item = m_cachedItem;
        return ZR_OK;
    }
    return ReadItem(index, item);
}

DWORD CZipArchive::FindItem(LPCWSTR name, bool ignoreCase, int& index, ZipItemInfo& item)
{
    index = -1;
    item.index = -1;
    if (m_hUnzip == NULL || name == NULL) return ZR_ARGS;
    char ansi[MAX_PATH + 1];
    if (WideCharToMultiByte(CP_ACP, 0, name, -1, ansi, sizeof(ansi), NULL, NULL) == 0)
        return ZR_NOTFOUND;
    CloseEntry();
    if (unzLocateFile(m_hUnzip, ansi, ignoreCase ? 2 : 1) != UNZ_OK) return ZR_NOTFOUND;
    unz_file_pos position;
    if (unzGetFilePos(m_hUnzip, &position) != UNZ_OK) {
        m_nCurrentIndex = -1;
        return ZR_NOTFOUND;
    }
    m_nCurrentIndex = (int)position.num_of_file;
    DWORD code = GetItem(m_nCurrentIndex, item);
    if (code == ZR_OK) index = item.index;
    return code;
}

DWORD CZipArchive::Extract(int index, LPVOID target, DWORD size, DWORD kind, DWORD* produced)
{
    DWORD ignored = 0;
    if (produced == NULL) produced = &ignored;
    *produced = 0;
    if (m_hUnzip == NULL) return ZR_ARGS;
    switch (kind) {
    case ZIP_MEMORY: return ExtractToMemory(index, (BYTE*)target, size, produced);
    case ZIP_HANDLE: return ExtractToFile(index, (HANDLE)target, NULL, produced);
    case ZIP_FILENAME: return ExtractToFile(index, NULL, (LPCWSTR)target, produced);
    default: return ZR_ARGS;
    }
}

DWORD CZipArchive::ExtractToMemory(int index, BYTE* block, DWORD size, DWORD* produced)
{
    if (block == NULL && size > 0) return ZR_ARGS;
    // -1 also names "no open entry"; it must never reach the reader.
    if (index < 0) return ZR_ARGS;
    if (index != m_nOpenIndex) {
        CloseEntry();
        if (index < 0 || index >= EntryCount() || !MoveTo(index)) return ZR_ARGS;
        if (unzOpenCurrentFile(m_hUnzip) != UNZ_OK) return ZR_LOCALHDR;
        m_nOpenIndex = index;
    }
    if (m_bOpenDrained) {
        CloseEntry();
        return ZR_OK;
    }
    if (size > (DWORD)INT_MAX) size = INT_MAX;
    int n = unzReadCurrentFile(m_hUnzip, block, size);
    if (n > 0) {
        *produced = (DWORD)n;
        // Check the entry as soon as it is complete, so that a caller that
        // stops at a full block never takes damaged bytes for good ones.
        if (unzeof(m_hUnzip)) {
            int closed = unzCloseCurrentFile(m_hUnzip);
            if (closed != UNZ_OK) {
                m_nOpenIndex = -1;
                return ZR_FLATE;
            }
            m_bOpenDrained = true;
        }
        return ZR_MORE;
    }
    int closed = m_bOpenDrained ? UNZ_OK : unzCloseCurrentFile(m_hUnzip);
    m_nOpenIndex = -1;
    m_bOpenDrained = false;
    return (n == 0 && closed == UNZ_OK) ? ZR_OK : ZR_FLATE;
}

bool CZipArchive::ResolveTarget(LPCWSTR name, LPWSTR path, bool* createParents) const
{
    *createParents = false;
    if (name == NULL || name[0] == L'\0') return false;
    if (IsSeparator(name[0]) || name[1] == L':') {
        // A full path chosen by the caller; its folders are the caller's business.
        if (wcslen(name) >= MAX_PATH) return false;
        wcscpy(path, name);
        return true;
    }
    // A relative name stays under the base folder.
    if (HasParentComponent(name)) return false;
    if (wcslen(m_szBaseDir) + wcslen(name) >= MAX_PATH) return false;
    wcscpy(path, m_szBaseDir);
    wcscat(path, name);
    for (LPWSTR p = path; *p != L'\0'; ++p) {
        if (*p == L'/') *p = L'\\';
    }
    *createParents = wcspbrk(name, L"\\/") != NULL;
    return true;
}

DWORD CZipArchive::ExtractToFile(int index, HANDLE handle, LPCWSTR fileName, DWORD* produced)
{
    if (index < 0 || index >= EntryCount()) return ZR_ARGS;
    ZipItemInfo item;
    DWORD code = GetItem(index, item);
    if (code != ZR_OK) return code;
    CloseEntry();
    if (!MoveTo(index)) return ZR_ARGS;

    WCHAR path[MAX_PATH];
    bool createParents = false;
    if (fileName != NULL && !ResolveTarget(fileName, path, &createParents)) return ZR_NOFILE;

    if (item.attributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (fileName != NULL) {
            size_t n = wcslen(path);
            if (n + 1 < MAX_PATH && !IsSeparator(path[n - 1])) wcscat(path, L"\\");
            ZipCreateDirectories(path);
        }
        return ZR_OK;
    }

    if (fileName != NULL) {
        if (createParents) ZipCreateDirectories(path);
        handle = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, item.attributes, NULL);
        if (handle == INVALID_HANDLE_VALUE) return ZR_NOFILE;
    }

    code = ZR_OK;
    if (unzOpenCurrentFile(m_hUnzip) != UNZ_OK) {
        code = ZR_WRITE;
    } else {
        BYTE* chunk = (BYTE*)malloc(kCopyChunk);
        if (chunk == NULL) code = ZR_WRITE;
        while (code == ZR_OK) {
            int n = unzReadCurrentFile(m_hUnzip, chunk, kCopyChunk);
            if (n == 0) break;
            DWORD written = 0;
            if (n < 0 || !WriteFile(handle, chunk, (DWORD)n, &written, NULL) || written != (DWORD)n) {
                code = ZR_WRITE;
                break;
            }
            *produced += written;
        }
        free(chunk);
        // Closing checks the entry's checksum once it was read to its end.
        if (unzCloseCurrentFile(m_hUnzip) != UNZ_OK && code == ZR_OK) code = ZR_WRITE;
    }

    if (code == ZR_OK && GetFileType(handle) == FILE_TYPE_DISK)
        SetFileTime(handle, &item.createTime, &item.accessTime, &item.writeTime);
    if (fileName != NULL) {
        CloseHandle(handle);
        // A damaged entry leaves no file that could pass for the real one.
        if (code != ZR_OK) {
            SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path);
        }
    }
    return code;
}

} // namespace DirectUI
