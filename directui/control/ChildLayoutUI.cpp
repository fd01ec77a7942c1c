#include "control/ChildLayoutUI.h"

#include "builder/DialogBuilder.h"

namespace DirectUI {

CChildLayoutUI::CChildLayoutUI() {}

CChildLayoutUI::~CChildLayoutUI() {}

LPCWSTR CChildLayoutUI::GetControlClass() const { return L"ChildLayoutUI"; }

LPVOID CChildLayoutUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"ChildLayout") == 0) return this;
    return CControlUI::GetInterface(name);
}

void CChildLayoutUI::Init()
{
    if (m_pstrXMLFile.IsEmpty()) return;
    // The scope stays while the built tree is adopted, since adoption
    // initialises nested child layouts: a file that names itself stops here.
    CDialogBuilder::NestingScope scope(m_pstrXMLFile, true);
    CControlUI* root = NULL;
    if (!scope.IsRefused()) {
        CDialogBuilder builder;
        root = builder.Build(m_pstrXMLFile, NULL, NULL, m_pManager, NULL);
    }
    if (root != NULL) Add(root);
    else RemoveAll();
}

void CChildLayoutUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"xmlfile") == 0) SetChildLayoutXML(value);
    else CContainerUI::SetAttribute(name, value);
}

} // namespace DirectUI
