#pragma once

#include "control/ControlUI.h"

namespace DirectUI {

// One text with a font, colours, alignment and padding, plain or marked up.
class CLabelUI : public CControlUI
{
public:
    CLabelUI();
    ~CLabelUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    CUIString GetText() const override;
    void SetText(LPCWSTR text) override;
    void HandleEvent(ControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE PreferredSize(SIZE available) override;
    void PaintText(HDC dc) override;

    virtual bool IsAutoCalcWidth() const;
    virtual void SetAutoCalcWidth(bool autoWidth);

    void SetFont(int index);
    int GetFont() const { return m_iFont; }
    void SetTextColor(DWORD color);
    DWORD GetTextColor() const { return m_dwTextColor; }
    void SetDisabledTextColor(DWORD color);
    DWORD GetDisabledTextColor() const { return m_dwDisabledTextColor; }
    void SetTextPadding(RECT rc);
    RECT GetTextPadding() const { return m_rcTextPadding; }
    void SetShowHtml(bool show);
    bool IsShowHtml() const { return m_bShowHtml; }
    UINT GetTextStyle() const { return m_uTextStyle; }
    void SetTextStyle(UINT style);
    bool IsEffectEnabled() const { return m_bEnableEffect; }

protected:
    // Fills unset text colours from the window's defaults, once.
    void TakeDefaultColors();
    // The text rectangle: the control less the text padding.
    RECT TextRect() const;
    // Draws text in rc as markup or plain text with this label's font.
    void DrawLabelText(HDC dc, RECT& rc, LPCWSTR text, DWORD color, UINT style);
    int FontHeight() const;

    DWORD m_dwTextColor;
    DWORD m_dwDisabledTextColor;
    int m_iFont;
    UINT m_uTextStyle;
    RECT m_rcTextPadding;
    bool m_bShowHtml;
    bool m_bAutoCalcWidth;

    // Effect settings the skins may carry; stored, never drawn.
    bool m_bEnableEffect;
    bool m_bEnableStroke;
    bool m_bEnableShadow;
    int m_nTransShadow;
    int m_nTransText;
    int m_nTransShadow1;
    int m_nTransText1;
    int m_nTransStroke;
    int m_nGradientAngle;
    int m_nGradientLength;
    DWORD m_dwTextColor1;
    DWORD m_dwTextShadowColorA;
    DWORD m_dwTextShadowColorB;
    DWORD m_dwStrokeColor;
    CUIString m_sEffectText;
};

} // namespace DirectUI
