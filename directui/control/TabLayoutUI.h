#pragma once

#include "control/ContainerUI.h"

namespace DirectUI {

// Shows one child page at a time over its inner rectangle; SelectTab
// switches pages and sends "tabselect" (new index, old index).
class CTabLayoutUI : public CContainerUI
{
public:
    CTabLayoutUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetPos(RECT rc) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;

    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    void RemoveAll() override;

    virtual bool SelectTabByControl(CControlUI* control);
    virtual bool SelectTab(int index);

    int GetCurSel() const { return m_iCurSel; }

private:
    int m_iCurSel;
};

} // namespace DirectUI
