#pragma once

#include "control/ContainerUI.h"

namespace DirectUI {

// One column of a list header: a text, state images and a separator strip
// that resizes the column when dragged.
class CListHeaderItemUI : public CContainerUI
{
public:
    enum { kDefaultMinWidth = 16 };

    CListHeaderItemUI();
    ~CListHeaderItemUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetEnabled(bool enabled = true) override;
    void HandleEvent(ControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE PreferredSize(SIZE available) override;
    void PaintStateImage(HDC dc) override;
    void PaintText(HDC dc) override;

    bool IsDragable() const { return m_bDragable; }
    void SetDragable(bool dragable);
    int GetSepWidth() const { return m_iSepWidth; }
    void SetSepWidth(int width) { m_iSepWidth = width; }
    int GetScale() const { return m_nScale; }
    void SetScale(int scale) { m_nScale = scale; }
    UINT GetTextStyle() const { return m_uTextStyle; }
    DWORD GetTextColor() const { return m_dwTextColor; }
    void SetTextColor(DWORD color) { m_dwTextColor = color; }
    void SetFont(int font) { m_iFont = font; }
    void SetTextPadding(RECT rc) { m_rcTextPadding = rc; }
    void SetShowHtml(bool show) { m_bShowHtml = show; }
    void SetNormalImage(LPCWSTR image) { m_sNormalImage = image; Invalidate(); }
    void SetHotImage(LPCWSTR image) { m_sHotImage = image; Invalidate(); }
    void SetPushedImage(LPCWSTR image) { m_sPushedImage = image; Invalidate(); }
    void SetFocusedImage(LPCWSTR image) { m_sFocusedImage = image; Invalidate(); }
    void SetSepImage(LPCWSTR image) { m_sSepImage = image; Invalidate(); }
    // The separator strip in window coordinates, not widened.
    RECT GetThumbRect() const;

protected:
    POINT ptLastMouse;
    bool m_bDragable;
    UINT m_uButtonState;
    int m_iSepWidth;
    DWORD m_dwTextColor;
    int m_iFont;
    UINT m_uTextStyle;
    bool m_bShowHtml;
    RECT m_rcTextPadding;
    CUIString m_sNormalImage;
    CUIString m_sHotImage;
    CUIString m_sPushedImage;
    CUIString m_sFocusedImage;
    CUIString m_sSepImage;
    int m_nScale;
};

} // namespace DirectUI
