#include "FreshFile.h"

#include <cstring>
#include <vector>

namespace {

// Written and compared a megabyte at a time: under Wine on Linux a write of
// 2 MiB or more can make the kernel look for huge page-cache pages, which on a
// machine with fragmented memory costs several times the copy itself.
const DWORD kPieceBytes = 1 << 20;

bool FileMatches(const wchar_t* path, const unsigned char* bytes, size_t size, FreshFileCheck check)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER length = {};
    bool matches = GetFileSizeEx(file, &length) && static_cast<unsigned long long>(length.QuadPart) == size;
    if (matches && check == FreshFileCheck::Bytes) {
        std::vector<unsigned char> piece(kPieceBytes);
        for (size_t done = 0; matches && done < size;) {
            DWORD want = static_cast<DWORD>(size - done < kPieceBytes ? size - done : kPieceBytes);
            DWORD got = 0;
            matches = ReadFile(file, piece.data(), want, &got, NULL) && got == want
                && std::memcmp(piece.data(), bytes + done, want) == 0;
            done += want;
        }
    }
    CloseHandle(file);
    return matches;
}

} // namespace

bool TemporaryPackagePaths(std::wstring& package, std::wstring& extractor)
{
    wchar_t temp[MAX_PATH] = { 0 };
    DWORD length = GetTempPathW(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH - 16)
        return false;
    package = std::wstring(temp) + L"orbela.7z";
    extractor = std::wstring(temp) + L"7z.exe";
    return true;
}

bool DeleteStaleFile(const wchar_t* path)
{
    if (DeleteFileW(path))
        return true;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

FreshFileResult WriteFreshFile(const wchar_t* path, const void* bytes, size_t size, FreshFileCheck check,
                               const volatile LONG* stop)
{
    if (path == NULL || (bytes == NULL && size > 0) || !DeleteStaleFile(path))
        return FreshFileResult::Failed;
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FreshFileResult::Failed;
    const unsigned char* data = static_cast<const unsigned char*>(bytes);
    FreshFileResult result = FreshFileResult::Written;
    for (size_t done = 0; done < size;) {
        if (stop != NULL && *stop != 0) {
            result = FreshFileResult::Stopped;
            break;
        }
        DWORD want = static_cast<DWORD>(size - done < kPieceBytes ? size - done : kPieceBytes);
        DWORD written = 0;
        if (!WriteFile(file, data + done, want, &written, NULL) || written != want) {
            result = FreshFileResult::Failed;
            break;
        }
        done += want;
    }
    if (!CloseHandle(file) && result == FreshFileResult::Written)
        result = FreshFileResult::Failed;
    if (result == FreshFileResult::Written && !FileMatches(path, data, size, check))
        result = FreshFileResult::Failed;
    if (result != FreshFileResult::Written)
        DeleteFileW(path);
    return result;
}

bool FindOwnResource(const wchar_t* type, int id, const void** bytes, size_t* size)
{
    HMODULE module = GetModuleHandleW(NULL);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    HGLOBAL loaded = resource != NULL ? LoadResource(module, resource) : NULL;
    const void* data = loaded != NULL ? LockResource(loaded) : NULL;
    if (data == NULL)
        return false;
    *bytes = data;
    *size = SizeofResource(module, resource);
    return true;
}
