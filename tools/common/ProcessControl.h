#pragma once

// Checks and stops the client's processes by executable name. A process counts
// only when its name matches and its image lies in the client folder (or any
// folder below it) or directly in that folder's parent (where the client puts
// its updater copy), so a program of the same name elsewhere is never touched.

// True when such a process runs; the name is compared case-sensitively.
bool IsProcessRunning(const wchar_t* exeName, const wchar_t* clientFolder);

// Terminates the first such process (name compared without regard to case)
// with exit code 0 and waits up to 5 s for its end. Failures are silent.
void KillProcessByName(const wchar_t* exeName, const wchar_t* clientFolder);
