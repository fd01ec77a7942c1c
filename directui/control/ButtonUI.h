#pragma once

#include "control/LabelUI.h"

namespace DirectUI {

// A label with state images and colours that sends "click" and may switch
// a tab layout by name.
class CButtonUI : public CLabelUI
{
public:
    CButtonUI();
    ~CButtonUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    bool Activate() override;
    void SetEnabled(bool enabled = true) override;
    void HandleEvent(ControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE PreferredSize(SIZE available) override;
    void PaintStateImage(HDC dc) override;
    void PaintText(HDC dc) override;

    void SetNormalImage(LPCWSTR image);
    void SetHotImage(LPCWSTR image);
    void SetHotForeImage(LPCWSTR image);
    void SetPushedImage(LPCWSTR image);
    void SetFocusedImage(LPCWSTR image);
    void SetDisabledImage(LPCWSTR image);
    void SetForeImage(LPCWSTR image);
    CUIString GetNormalImage() const { return m_sNormalImage; }
    CUIString GetHotImage() const { return m_sHotImage; }
    CUIString GetPushedImage() const { return m_sPushedImage; }
    CUIString GetFocusedImage() const { return m_sFocusedImage; }
    CUIString GetDisabledImage() const { return m_sDisabledImage; }
    CUIString GetForeImage() const { return m_sForeImage; }
    void SetHotBkColor(DWORD color) { m_dwHotBkColor = color; }
    DWORD GetHotBkColor() const { return m_dwHotBkColor; }
    void SetHotTextColor(DWORD color) { m_dwHotTextColor = color; }
    DWORD GetHotTextColor() const { return m_dwHotTextColor; }
    void SetPushedTextColor(DWORD color) { m_dwPushedTextColor = color; }
    DWORD GetPushedTextColor() const { return m_dwPushedTextColor; }
    void SetFocusedTextColor(DWORD color) { m_dwFocusedTextColor = color; }
    DWORD GetFocusedTextColor() const { return m_dwFocusedTextColor; }
    void SetBindTabIndex(int index);
    int GetBindTabIndex() const { return m_iBindTabIndex; }
    void SetBindTabLayoutName(LPCWSTR name);
    CUIString GetBindTabLayoutName() const { return m_sBindTabLayoutName; }
    UINT GetButtonState() const { return m_uButtonState; }

protected:
    UINT m_uButtonState;
    DWORD m_dwHotBkColor;
    DWORD m_dwHotTextColor;
    DWORD m_dwPushedTextColor;
    DWORD m_dwFocusedTextColor;
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sHotForeImage;
    CUIString m_sPushedImage;
    CUIString m_sFocusedImage;
    CUIString m_sDisabledImage;
    CUIString m_sForeImage;
    int m_iBindTabIndex;
    CUIString m_sBindTabLayoutName;
};

} // namespace DirectUI
