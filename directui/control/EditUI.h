#pragma once

#include "control/LabelUI.h"

namespace DirectUI {

class CEditWnd;

// A one-line text field: drawn like a label while idle, edited in a native
// edit control (CEditWnd) while it has the focus.
class CEditUI : public CLabelUI
{
    friend class CEditWnd;

public:
    CEditUI();
    ~CEditUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetText(LPCWSTR text) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool visible = true) override;
    void SetVisibleByParent(bool visible) override;
    void SetEnabled(bool enabled = true) override;
    void HandleEvent(ControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE PreferredSize(SIZE available) override;
    void PaintStateImage(HDC dc) override;
    void PaintText(HDC dc) override;

    void SetMaxChar(int count);
    int GetMaxChar() const { return m_iMaxChar; }
    void SetReadOnly(bool readOnly);
    bool IsReadOnly() const { return m_bReadOnly; }
    void SetPasswordMode(bool password);
    bool IsPasswordMode() const { return m_bPasswordMode; }
    void SetPasswordChar(WCHAR ch);
    WCHAR GetPasswordChar() const { return m_cPasswordChar; }
    void SetNumberOnly(bool numberOnly);
    bool IsNumberOnly() const { return (m_iWindowStyles & ES_NUMBER) != 0; }
    int GetWindowStyles() const { return m_iWindowStyles; }
    void SetNormalImage(LPCWSTR image);
    void SetHotImage(LPCWSTR image);
    void SetFocusedImage(LPCWSTR image);
    void SetDisabledImage(LPCWSTR image);
    void SetTipValue(LPCWSTR text) { m_sTipValue = text; }
    CUIString GetTipValue() const { return m_sTipValue; }
    void SetTipValueColor(DWORD color) { m_dwTipValueColor = color; }
    DWORD GetTipValueColor() const { return m_dwTipValueColor; }
    void SetNativeEditTextColor(DWORD color) { m_dwEditTextColor = color; }
    DWORD GetNativeEditTextColor() const { return m_dwEditTextColor; }
    void SetNativeEditBkColor(DWORD color) { m_dwEditBkColor = color; }
    DWORD GetNativeEditBkColor() const { return m_dwEditBkColor; }
    // The native window while editing, else NULL.
    HWND GetNativeWindow() const;

protected:
    bool OpenNativeEdit();
    void SelectAllNative();

    CEditWnd* m_pWindow;
    int m_iMaxChar;
    bool m_bReadOnly;
    bool m_bPasswordMode;
    WCHAR m_cPasswordChar;
    UINT m_uButtonState;
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sFocusedImage;
    CUIString m_sDisabledImage;
    CUIString m_sTipValue;
    DWORD m_dwTipValueColor;
    DWORD m_dwEditBkColor;
    DWORD m_dwEditTextColor;
    int m_iWindowStyles;
};

} // namespace DirectUI
