#include "window/TreeQuery.h"

#include "control/ControlTreeDump.h"

namespace DirectUI {

namespace {

bool QueriesEnabled()
{
    static int enabled = -1;
    if (enabled < 0) {
        WCHAR value[8] = {0};
        DWORD length = ::GetEnvironmentVariableW(L"ORBELA_WIZARD_QUERY", value, 8);
        enabled = (length == 1 && value[0] == L'1') ? 1 : 0;
    }
    return enabled == 1;
}

} // namespace

ULONG_PTR TreeQueryId()
{
    static UINT id = ::RegisterWindowMessageW(L"OrbelaWizardTreeQuery");
    return id;
}

bool AnswerTreeQuery(CControlUI* root, WPARAM asker, LPARAM copyData, HWND self)
{
    const COPYDATASTRUCT* query = reinterpret_cast<const COPYDATASTRUCT*>(copyData);
    if (query == NULL || query->dwData != TreeQueryId() || !QueriesEnabled()) return false;
    HWND askingWindow = reinterpret_cast<HWND>(asker);
    if (!::IsWindow(askingWindow)) return true;
    CUIString lines = DumpControlTree(root);
    COPYDATASTRUCT answer;
    answer.dwData = TreeQueryId();
    answer.cbData = static_cast<DWORD>((lines.GetLength() + 1) * sizeof(WCHAR));
    answer.lpData = const_cast<LPWSTR>(lines.GetData());
    ::SendMessageW(askingWindow, WM_COPYDATA, reinterpret_cast<WPARAM>(self), reinterpret_cast<LPARAM>(&answer));
    return true;
}

} // namespace DirectUI
