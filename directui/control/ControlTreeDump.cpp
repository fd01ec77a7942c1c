#include "control/ControlTreeDump.h"

#include "control/ChildLayoutUI.h"
#include "control/ContainerUI.h"
#include "control/ScrollBarUI.h"

#include <stdio.h>

namespace DirectUI {

namespace {

// Quotes a text; line breaks and quotes are escaped so a line stays a line.
CUIString Quoted(const CUIString& text)
{
    CUIString out(L'"');
    for (int i = 0; i < text.GetLength(); ++i) {
        WCHAR ch = text.GetAt(i);
        if (ch == L'\n') out += L"\\n";
        else if (ch == L'\r') out += L"\\r";
        else if (ch == L'"') out += L"\\\"";
        else if (ch == L'\\') out += L"\\\\";
        else out += ch;
    }
    out += L'"';
    return out;
}

void DumpControl(CControlUI* control, int depth, CUIString& out)
{
    for (int i = 0; i < depth; ++i) out += L"  ";
    const RECT& rc = control->GetPos();
    wchar_t line[160];
    swprintf(line, 160, L" %ld,%ld,%ld,%ld %ls %ls ", rc.left, rc.top, rc.right, rc.bottom,
             control->IsVisible() ? L"visible" : L"hidden", control->IsEnabled() ? L"enabled" : L"disabled");
    out += control->GetControlClass();
    out += L" ";
    out += Quoted(control->GetName());
    out += line;
    out += Quoted(control->GetText());
    CScrollBarUI* bar = static_cast<CScrollBarUI*>(control->GetInterface(L"ScrollBar"));
    if (bar != NULL) {
        swprintf(line, 160, L" range=%d pos=%d", bar->GetScrollRange(), bar->GetScrollPos());
        out += line;
    }
    out += L"\n";

    // A child layout is a container that hides its container interfaces.
    CContainerUI* container = static_cast<CContainerUI*>(control->GetInterface(L"Container"));
    if (container == NULL) container = static_cast<CChildLayoutUI*>(control->GetInterface(L"ChildLayout"));
    if (container == NULL) return;
    if (container->GetVerticalScrollBar() != NULL) DumpControl(container->GetVerticalScrollBar(), depth + 1, out);
    if (container->GetHorizontalScrollBar() != NULL) DumpControl(container->GetHorizontalScrollBar(), depth + 1, out);
    for (int i = 0; i < container->Count(); ++i) DumpControl(container->ItemAt(i), depth + 1, out);
}

} // namespace

CUIString DumpControlTree(CControlUI* root)
{
    CUIString out;
    if (root != NULL) DumpControl(root, 0, out);
    return out;
}

} // namespace DirectUI
