#pragma once

#include <windows.h>

// The uninstaller's waits that a test must be able to reach, set through the
// environment: a bound is met without waiting minutes, and the removal can be
// held back while the window is watched.

// How long a close asked while the folders are still being removed waits for
// their end before the window closes anyway: 130 s, or
// ORBELA_UNINSTALL_CLOSE_WAIT_MS.
DWORD CloseWaitMs();

// Holds the folders' removal back while the file named by
// ORBELA_UNINSTALL_REMOVAL_HOLD exists (10 minutes at most); at once when the
// variable is not set.
void WaitWhileRemovalHeld();
