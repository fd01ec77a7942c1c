#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Checks and stops the client's processes by executable name. A process counts
// only when its name matches and its image lies in the client folder (or any
// folder below it), or directly in that folder's parent (where the client puts
// its updater copy) when the image is an Orbela updater; a program of the same
// name elsewhere, or someone else's in a shared parent, is never touched.

// True when such a process runs; the name is compared case-sensitively.
bool IsProcessRunning(const wchar_t* exeName, const wchar_t* clientFolder);

// Terminates the first such process (name compared without regard to case)
// with exit code 0 and waits up to 5 s for its end. Failures are silent.
void KillProcessByName(const wchar_t* exeName, const wchar_t* clientFolder);

// Before files are replaced: waits up to waitMs for every process whose image
// is one of the given files (full paths, compared without regard to case) to
// end, then terminates those still running. Never the calling process, never
// a process of any other image. True when none is left.
bool StopProcessesWithImages(const std::vector<std::wstring>& images, DWORD waitMs);
