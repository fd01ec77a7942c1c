#pragma once

#include "core/UIString.h"

#include <windows.h>

namespace DirectUI {

class CControlUI;

// A diagnostic seam for driving windows from outside (the wizard tests): a
// frame window of a process started with ORBELA_WIZARD_QUERY=1 answers a
// WM_COPYDATA query carrying TreeQueryId() by sending the asking window (the
// query's wParam) its laid-out control tree, also as WM_COPYDATA with that id.
// The answer is UTF-16 text, one line per control in tree order:
//   class TAB name TAB left,top,right,bottom TAB visible TAB enabled TAB text
// (visible and enabled are 1 or 0; tabs, line feeds and backslashes in names
// and texts are written as \t, \n and \\).
ULONG_PTR TreeQueryId();

// The tree as those lines.
CUIString DumpControlTree(CControlUI* root);

// Answers the query when the message is one and queries are on; true then.
bool AnswerTreeQuery(CControlUI* root, WPARAM asker, LPARAM copyData, HWND self);

} // namespace DirectUI
