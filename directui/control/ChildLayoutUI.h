#pragma once

#include "control/ContainerUI.h"

namespace DirectUI {

// Fills itself from a second skin file ("xmlfile") when it is initialised.
// It answers no container interface, so a skin cannot give it children.
class CChildLayoutUI : public CContainerUI
{
public:
    CChildLayoutUI();
    ~CChildLayoutUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void Init() override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;

    void SetChildLayoutXML(LPCWSTR fileName) { m_pstrXMLFile = fileName; }
    CUIString GetChildLayoutXML() const { return m_pstrXMLFile; }

private:
    CUIString m_pstrXMLFile;
};

} // namespace DirectUI
