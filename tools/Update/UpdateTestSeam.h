#pragma once

#include <windows.h>

// Points where the updater's test build ("UpdateSeamed.exe", built with
// ORBELA_UPDATE_TEST_SEAM) lets a test step in; in the shipped updater they
// are empty and read nothing.
//   ORBELA_UPDATE_HOLD_AFTER_MOVE=N, ORBELA_UPDATE_HOLD_FILE=PATH: after the
//     N-th rename of the swap the worker creates PATH and waits while it
//     exists, so a test can end the updater between two moves, or hold a file
//     open, before it goes on.
//   ORBELA_UPDATE_CLIENT_END_MS, ORBELA_UPDATE_EXTRACT_MS: the limit of the
//     wait for the client's end, of the extractor's run, in ms.

#ifdef ORBELA_UPDATE_TEST_SEAM
void HoldAfterMoveForTest(int moves);
DWORD WaitLimitForTest(const wchar_t* variable, DWORD limitMs);
#else
inline void HoldAfterMoveForTest(int) {}
inline DWORD WaitLimitForTest(const wchar_t*, DWORD limitMs) { return limitMs; }
#endif
