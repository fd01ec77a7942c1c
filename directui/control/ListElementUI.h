#pragma once

#include "control/ControlUI.h"
#include "control/ListInterfaces.h"

namespace DirectUI {

// Base of the items a list draws itself from its item settings.
class CListElementUI : public CControlUI, public IListItemUI
{
public:
    CListElementUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    void SetVisible(bool visible = true) override;
    void SetEnabled(bool enabled = true) override;
    void HandleEvent(ControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;

    int GetIndex() const override;
    void SetIndex(int index) override;
    IListOwnerUI* GetOwner() override;
    void SetOwner(CControlUI* owner) override;
    bool IsSelected() const override;
    bool Select(bool select = true) override;
    bool IsExpanded() const override;
    bool Expand(bool expand = true) override;

    void DrawItemBackground(HDC dc, const RECT& rcItem);

protected:
    int m_iIndex;
    bool m_bSelected;
    UINT m_uButtonState;
    IListOwnerUI* m_pOwner;
};

} // namespace DirectUI
