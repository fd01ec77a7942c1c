#include "UpdateSwapRecord.h"

#include "ClientFolder.h"
#include "FolderTreeRemoval.h"
#include "FreshFile.h"

#include <windows.h>

namespace {

std::wstring InKept(const std::wstring& kept, const wchar_t* name)
{
    return LongPathOf(kept + L"\\" + name);
}

// The end mark is made new, never opened as it is: a name already there
// counts as the mark.
bool WriteEndMark(const std::wstring& kept)
{
    HANDLE mark = CreateFileW(InKept(kept, kSwapEndedName).c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (mark == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_EXISTS;
    static const char text[] = "update swap ended\r\n";
    DWORD written = 0;
    const bool complete = WriteFile(mark, text, sizeof(text) - 1, &written, NULL) && written == sizeof(text) - 1;
    CloseHandle(mark);
    return complete || KindOfPath(InKept(kept, kSwapEndedName)) == PathKind::File;
}

} // namespace

bool WriteSwapRecord(const std::wstring& kept)
{
    static const char text[] = "update swap not finished\r\n";
    return WriteFreshFile(InKept(kept, kSwapRecordName).c_str(), text, sizeof(text) - 1, FreshFileCheck::Bytes)
        == FreshFileResult::Written;
}

bool SwapUnfinished(const std::wstring& kept)
{
    const std::wstring record = InKept(kept, kSwapRecordName);
    return IsRealFolder(kept) && KindOfPath(record) == PathKind::File && IsEntryItself(record)
        && KindOfPath(InKept(kept, kSwapEndedName)) == PathKind::Missing;
}

bool EndSwap(const std::wstring& kept)
{
    // Gone, a link, no record of its own or marked already: nothing to end.
    if (!SwapUnfinished(kept) || RemoveEntryItself(InKept(kept, kSwapRecordName)))
        return true;
    return WriteEndMark(kept);
}

bool RemoveEndedSwap(const std::wstring& kept)
{
    EndSwap(kept);
    if (!IsRealFolder(kept))
        return RemoveFolderTree(kept);
    // The end mark goes last, once the record it stands beside is gone.
    for (const FolderEntry& entry : FolderEntriesOf(kept))
        if (CompareStringOrdinal(entry.name.c_str(), -1, kSwapEndedName, -1, TRUE) != CSTR_EQUAL)
            RemoveFolderTree(kept + L"\\" + entry.name);
    if (KindOfPath(InKept(kept, kSwapRecordName)) != PathKind::Missing)
        return false;
    return RemoveFolderTree(kept);
}
