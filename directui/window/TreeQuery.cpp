#include "window/TreeQuery.h"

#include "control/ControlUI.h"
#include "control/IContainerUI.h"

namespace DirectUI {

namespace {

const int kMaxDumpDepth = 64;

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

void AppendEscaped(CUIString& out, LPCWSTR text)
{
    for (; text != NULL && *text != L'\0'; ++text) {
        if (*text == L'\t') out += L"\\t";
        else if (*text == L'\n') out += L"\\n";
        else if (*text == L'\\') out += L"\\\\";
        else out += *text;
    }
}

void DumpControl(CControlUI* control, int depth, CUIString& out)
{
    if (control == NULL || depth > kMaxDumpDepth) return;
    const RECT& rc = control->GetPos();
    CUIString line;
    AppendEscaped(line, control->GetControlClass());
    line += L'\t';
    AppendEscaped(line, control->GetName());
    CUIString numbers;
    numbers.SmallFormat(L"\t%d,%d,%d,%d\t%d\t%d\t", rc.left, rc.top, rc.right, rc.bottom,
                        control->IsVisible() ? 1 : 0, control->IsEnabled() ? 1 : 0);
    line += numbers;
    AppendEscaped(line, control->GetText());
    line += L'\n';
    out += line;
    IContainerUI* container = static_cast<IContainerUI*>(control->GetInterface(L"IContainer"));
    if (container == NULL) return;
    for (int i = 0; i < container->Count(); ++i)
        DumpControl(container->ItemAt(i), depth + 1, out);
}

} // namespace

ULONG_PTR TreeQueryId()
{
    static UINT id = ::RegisterWindowMessageW(L"OrbelaWizardTreeQuery");
    return id;
}

CUIString DumpControlTree(CControlUI* root)
{
    CUIString out;
    DumpControl(root, 0, out);
    return out;
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
