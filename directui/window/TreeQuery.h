#pragma once

#include "core/UIString.h"

#include <windows.h>

namespace DirectUI {

class CControlUI;

// A diagnostic seam for driving windows from outside (the wizard tests): a
// frame window of a process started with ORBELA_WIZARD_QUERY=1 answers a
// WM_COPYDATA query carrying TreeQueryId() by sending the asking window (the
// query's wParam) its laid-out control tree, also as WM_COPYDATA with that id.
// The answer is UTF-16 text: DumpControlTree's lines (skinprobe's --dump).
ULONG_PTR TreeQueryId();

// Answers the query when the message is one and queries are on; true then.
bool AnswerTreeQuery(CControlUI* root, WPARAM asker, LPARAM copyData, HWND self);

} // namespace DirectUI
