#include "HttpDownload.h"

#include "FreshFile.h"

#include <wininet.h>
#include <mmsystem.h>

#include <cstdio>
#include <cwchar>

namespace {

const DWORD kReadBytes = 2048;
const DWORD kProgressStepMs = 100;
const DWORD kConnectTimeoutMs = 15000;
const DWORD kReceiveTimeoutMs = 30000;

bool StatusIsOk(HINTERNET request)
{
    DWORD status = 0;
    DWORD size = sizeof(status);
    return HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, NULL)
        && status == 200;
}

// The Content-Length the server sent; false when it sent none (or no number).
bool ContentLength(HINTERNET request, unsigned long long& length)
{
    wchar_t text[32] = { 0 };
    DWORD size = sizeof(text) - sizeof(wchar_t);
    if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, NULL) || text[0] == L'\0')
        return false;
    length = 0;
    for (const wchar_t* c = text; *c; ++c) {
        if (*c < L'0' || *c > L'9' || length > (~0ULL - 9) / 10)
            return false;
        length = length * 10 + static_cast<unsigned>(*c - L'0');
    }
    return true;
}

unsigned long long FileSize(const wchar_t* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        return ~0ULL;
    return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Reads the answer's body into the file; true at a good end (see the header).
bool ReceiveBody(HINTERNET request, const wchar_t* path, HWND window, const volatile LONG* stop)
{
    if (!StatusIsOk(request))
        return false;
    unsigned long long total = 0;
    bool lengthKnown = ContentLength(request, total);
    if (!DeleteStaleFile(path))
        return false;
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const DWORD start = timeGetTime();
    DWORD mark = 0;
    unsigned long long received = 0;
    char buffer[kReadBytes];
    bool ended = false;
    bool failed = false;
    while (!ended && !failed) {
        if (stop != NULL && *stop != 0) {
            failed = true;
            break;
        }
        DWORD got = 0;
        if (!InternetReadFile(request, buffer, kReadBytes, &got)) {
            failed = true;
        } else if (got == 0) {
            ended = true;
        } else {
            DWORD written = 0;
            if (!WriteFile(file, buffer, got, &written, NULL) || written != got) {
                failed = true;
                break;
            }
            received += got;
            if (lengthKnown && received > total) {
                failed = true;
                break;
            }
            if (timeGetTime() - start > mark) {
                if (lengthKnown && received < total)
                    PostMessageW(window, WM_UPDATE_PROGRESS,
                                 static_cast<WPARAM>(static_cast<float>(received) / total * 100), 0);
                mark += kProgressStepMs;
            }
        }
    }
    if (!CloseHandle(file))
        failed = true;
    bool complete = !failed && received > 0 && (!lengthKnown || received == total) && FileSize(path) == received;
    if (!complete) {
        DeleteFileW(path);
        return false;
    }
    PostMessageW(window, WM_UPDATE_PROGRESS, 99, 0);
    return true;
}

} // namespace

bool HttpDownloadToFile(const wchar_t* url, const wchar_t* path, HWND window, const volatile LONG* stop)
{
    DWORD state = 0;
    BOOL connected = InternetGetConnectedState(&state, 0);
    char agent[32];
    std::snprintf(agent, sizeof(agent), "Agent%ld", static_cast<long>(timeGetTime()));
    DWORD access = connected && (state & INTERNET_CONNECTION_PROXY) ? INTERNET_OPEN_TYPE_PRECONFIG
                                                                    : INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY;
    HINTERNET session = InternetOpenA(agent, access, NULL, NULL, 0);
    if (session == NULL) {
        OutputDebugStringW(L"Internet连接错误!");
        return false;
    }
    // A server that stops answering ends the download instead of holding it.
    DWORD timeout = kConnectTimeoutMs;
    InternetSetOptionW(session, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof(timeout));
    timeout = kReceiveTimeoutMs;
    InternetSetOptionW(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof(timeout));
    static const wchar_t headers[] = L"Accept: */*\r\n\r\n";
    HINTERNET request = InternetOpenUrlW(session, url, headers, lstrlenW(headers),
                                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE, 0);
    bool downloaded = request != NULL && ReceiveBody(request, path, window, stop);
    if (request != NULL)
        InternetCloseHandle(request);
    InternetCloseHandle(session);
    return downloaded;
}
