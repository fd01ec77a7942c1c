#pragma once

#include "control/ContainerUI.h"
#include "control/ListInterfaces.h"

namespace DirectUI {

class CComboWnd;

// A drop-down selector: shows the selected item's text and opens a popup
// window that borrows its items while it is open.
class CComboUI : public CContainerUI, public IListOwnerUI
{
    friend class CComboWnd;

public:
    CComboUI();
    ~CComboUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    CUIString GetText() const override;
    void SetPos(RECT rc) override;
    void SetEnabled(bool enabled = true) override;
    void HandleEvent(ControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE PreferredSize(SIZE available) override;
    void Paint(HDC dc, const RECT& rcPaint) override;
    void PaintStateImage(HDC dc) override;
    void PaintText(HDC dc) override;

    bool MoveItem(CControlUI* control, int newIndex) override;
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    ListInfo* GetListInfo() override;
    int GetCurSel() const override;
    bool SelectItem(int index, bool takeFocus = false) override;
    void DoEvent(ControlEvent& event) override;

    CComboWnd* GetDropWindow() const { return m_pWindow; }
    RECT GetTextPadding() const { return m_rcTextPadding; }
    void SetTextPadding(RECT rc);
    CUIString GetDropBoxAttributeList() const { return m_sDropBoxAttributes; }
    SIZE GetDropBoxSize() const { return m_szDropBox; }
    void SetDropBoxSize(SIZE size) { m_szDropBox = size; }

protected:
    // The text rectangle: the combo less its text padding.
    RECT TextRect() const;
    void PaintSelectedItem(HDC dc, RECT rc);

    CComboWnd* m_pWindow;
    int m_iCurSel;
    RECT m_rcTextPadding;
    CUIString m_sDropBoxAttributes;
    SIZE m_szDropBox;
    UINT m_uButtonState;
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sPushedImage;
    CUIString m_sFocusedImage;
    CUIString m_sDisabledImage;
    ListInfo m_ListInfo;
};

} // namespace DirectUI
