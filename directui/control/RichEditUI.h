#pragma once

#include "control/ContainerUI.h"
#include "manager/ManagerInterfaces.h"

namespace DirectUI {

class CTxtWinHost;

// A windowless rich-text edit: the system's text services keep and draw the
// text; the control feeds them its window's messages and owns the scroll bars.
class CRichEditUI : public CContainerUI, public IMessageFilterUI
{
public:
    CRichEditUI();
    ~CRichEditUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    CUIString GetText() const override;
    void SetText(LPCWSTR text) override;
    void SetPos(RECT rc) override;
    void SetEnabled(bool enabled = true) override;
    void InitSelf() override;
    void HandleEvent(ControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE PreferredSize(SIZE available) override;
    void Paint(HDC dc, const RECT& rcPaint) override;
    void PaintStateImage(HDC dc) override;
    void SetScrollPos(SIZE pos) override;
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;
    void HomeUp() override;
    void EndDown() override;
    void LineLeft() override;
    void LineRight() override;
    void PageLeft() override;
    void PageRight() override;
    void HomeLeft() override;
    void EndRight() override;

    virtual HRESULT TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) const;
    virtual bool OnTxViewChanged();
    virtual void OnTxNotify(DWORD code, void* data);

    LRESULT FilterMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;

    bool IsRich() const { return m_bRich; }
    void SetRich(bool rich) { m_bRich = rich; }
    bool IsWantTab() const { return m_bWantTab; }
    void SetWantTab(bool want) { m_bWantTab = want; }
    bool IsWantReturn() const { return m_bWantReturn; }
    void SetWantReturn(bool want) { m_bWantReturn = want; }
    bool IsWantCtrlReturn() const { return m_bWantCtrlReturn; }
    void SetWantCtrlReturn(bool want) { m_bWantCtrlReturn = want; }
    bool IsReadOnly() const { return m_bReadOnly; }
    int GetFont() const { return m_iFont; }
    void SetFont(int index);
    DWORD GetTextColor() const { return m_dwTextColor; }
    void SetTextColor(DWORD color);
    int GetLimitText() const { return m_iLimitText; }
    void SetLimitText(int length);
    DWORD GetWinStyle() const { return m_lTwhStyle; }
    void SetNormalImage(LPCWSTR image);
    void SetHotImage(LPCWSTR image);
    void SetFocusedImage(LPCWSTR image);
    void SetDisabledImage(LPCWSTR image);
    RECT GetTextPadding() const { return m_rcTextPadding; }
    void SetTextPadding(RECT rc);
    CUIString GetTipValue() const { return m_sTipValue; }
    void SetTipValue(LPCWSTR text) { m_sTipValue = text; }
    DWORD GetTipValueColor() const { return m_dwTipValueColor; }
    void SetTipValueColor(DWORD color) { m_dwTipValueColor = color; }
    // Selection and editing through the text services.
    LRESULT SetSel(long start, long end);
    void ReplaceSel(LPCWSTR text, bool canUndo);
    long GetTextLength() const;
    // True when the text services exist (msftedit was found and answered).
    bool HasTextServices() const { return m_pTwh != NULL; }
    // Where the text services draw, in window coordinates.
    RECT GetTextClientRect() const;

protected:
    // Lays the text client rectangle and the scroll bars out again when the
    // text services show or hide a bar.
    void OnScrollBarsChanged();
    void SendScroll(UINT msg, WORD code);
    void ApplyTextColor(DWORD color);
    // Shows the tip text in the tip colour.
    void ShowTip();

    CTxtWinHost* m_pTwh;
    bool m_bWantTab;
    bool m_bWantReturn;
    bool m_bWantCtrlReturn;
    bool m_bRich;
    bool m_bReadOnly;
    DWORD m_dwTextColor;
    int m_iFont;
    int m_iLimitText;
    DWORD m_lTwhStyle;
    bool m_bInited;
    UINT m_uButtonState;
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sFocusedImage;
    CUIString m_sDisabledImage;
    RECT m_rcTextPadding;
    CUIString m_sTipValue;
    DWORD m_dwTipValueColor;
    bool m_bLayingOut;

    friend class CTxtWinHost;
};

} // namespace DirectUI
