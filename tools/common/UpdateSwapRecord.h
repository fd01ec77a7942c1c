#pragma once

#include <string>

// The record of an update's swap, in its kept folder (kUpdateKeptFolder). The
// updater writes it before the first file moves and ends it after the last,
// so the next run knows whether to put the kept files back: only those of a
// swap cut off part way are. A swap is ended when its record is gone, or,
// where the record cannot be deleted (another program holds it), by an end
// mark beside it; either alone marks it finished, so nothing held in the kept
// folder can make a finished swap look cut off. A new install ends a swap it
// cannot remove the same way.

// The names of the record and the end mark; a package may not put a file of
// either name at its top level, where the kept folder would keep it.
const wchar_t* const kSwapRecordName = L"~orbela-update-swap";
const wchar_t* const kSwapEndedName = L"~orbela-update-ended";

// Writes the record into a new kept folder; false when it cannot be written.
bool WriteSwapRecord(const std::wstring& kept);

// True when the kept folder is a real folder holding the record, as a file
// that is itself (never a link Wine hides), and no end mark.
bool SwapUnfinished(const std::wstring& kept);

// Ends the swap of the kept folder: deletes the record, and when it stays,
// writes the end mark. True when the swap counts as finished (the kept
// folder gone included).
bool EndSwap(const std::wstring& kept);

// Ends the swap (see EndSwap) and removes the kept folder with everything in
// it; the end mark stays as long as the record does. True when the folder is
// gone.
bool RemoveEndedSwap(const std::wstring& kept);
