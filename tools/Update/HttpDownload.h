#pragma once

#include <windows.h>

// The updater's progress message: wParam the percent (0 to 100).
const UINT WM_UPDATE_PROGRESS = WM_USER + 110;

// Downloads the URL with WinINet into a new file at path (an old file of that
// name is deleted first), posting WM_UPDATE_PROGRESS to the window as bytes
// arrive and 99 at a good end. True only when the address opened, the answer
// is 200, bytes arrived, their count equals the Content-Length when one was
// sent and the file holds them all. A set *stop (read between reads) ends the
// download as a failure. The file is deleted on every failure.
bool HttpDownloadToFile(const wchar_t* url, const wchar_t* path, HWND window, const volatile LONG* stop);
