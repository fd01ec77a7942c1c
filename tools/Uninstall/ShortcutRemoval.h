#pragma once

// Removing the client's links from the user's special folders. Each takes a
// special-folder id (CSIDL) and a name relative to that folder; for
// CSIDL_APPDATA the Quick Launch folder below it is meant. A folder whose
// path cannot be obtained makes them do nothing.

// Quick Launch: unpins the link from the taskbar and the Start menu (waiting
// at most 10 s for the shell), then deletes it.
void UnpinAndDeleteShortcut(int folderId, const wchar_t* linkName);

// Non-zero when the name is found in that folder.
int FindInSpecialFolder(int folderId, const wchar_t* name);

// Deletes the file, or removes the folder when it is empty.
void DeleteInSpecialFolder(int folderId, const wchar_t* name, bool isFolder);
