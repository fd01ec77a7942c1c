#pragma once

#include <windows.h>

// Writes one line to standard output as UTF-8, unbuffered, so nothing is
// lost when the process ends at once. Safe from any thread.
void ProbeOut(LPCWSTR format, ...);
