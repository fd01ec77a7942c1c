#pragma once

#include "control/HorizontalLayoutUI.h"
#include "control/ListInterfaces.h"

namespace DirectUI {

// A list item made of any controls in a row; its children follow the
// list's header columns.
class CListContainerElementUI : public CHorizontalLayoutUI, public IListItemUI
{
public:
    CListContainerElementUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    void SetPos(RECT rc) override;
    void SetVisible(bool visible = true) override;
    void SetEnabled(bool enabled = true) override;
    void HandleEvent(ControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void Paint(HDC dc, const RECT& rcPaint) override;

    virtual void DrawItemBackground(HDC dc, const RECT& rcItem);

    int GetIndex() const override;
    void SetIndex(int index) override;
    IListOwnerUI* GetOwner() override;
    void SetOwner(CControlUI* owner) override;
    bool IsSelected() const override;
    bool Select(bool select = true) override;
    bool IsExpanded() const override;
    bool Expand(bool expand = true) override;
    void DrawItemText(HDC dc, const RECT& rcItem) override;

protected:
    int m_iIndex;
    bool m_bSelected;
    UINT m_uButtonState;
    IListOwnerUI* m_pOwner;
};

} // namespace DirectUI
