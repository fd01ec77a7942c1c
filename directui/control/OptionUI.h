#pragma once

#include "control/ButtonUI.h"

namespace DirectUI {

// A selectable button: a toggle alone, a radio button in a named group.
class COptionUI : public CButtonUI
{
public:
    COptionUI();
    ~COptionUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    bool Activate() override;
    void SetManager(CWindowUIManager* manager, CControlUI* parent, bool init = true) override;
    void SetEnabled(bool enabled = true) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintStateImage(HDC dc) override;
    void PaintText(HDC dc) override;

    virtual void Select(bool selected);

    bool IsSelected() const { return m_bSelected; }
    CUIString GetGroup() const { return m_sGroupName; }
    void SetGroup(LPCWSTR name);
    void SetSelectedImage(LPCWSTR image);
    void SetSelectedHotImage(LPCWSTR image);
    void SetSelectedPushedImage(LPCWSTR image);
    void SetForeImage(LPCWSTR image);
    void SetSelectedForeImage(LPCWSTR image);
    void SetSelectedBkColor(DWORD color) { m_dwSelectedBkColor = color; }
    DWORD GetSelectedBkColor() const { return m_dwSelectedBkColor; }
    void SetSelectedTextColor(DWORD color) { m_dwSelectedTextColor = color; }
    DWORD GetSelectedTextColor() const { return m_dwSelectedTextColor; }
    CUIString GetSelectedImage() const { return m_sSelectedImage; }

protected:
    bool m_bSelected;
    CUIString m_sGroupName;
    DWORD m_dwSelectedBkColor;
    DWORD m_dwSelectedTextColor;
    CUIString m_sSelectedImage;
    CUIString m_sSelectedHotImage;
    CUIString m_sSelectedPushedImage;
    CUIString m_sOptionForeImage;
    CUIString m_sSelectedForeImage;
};

} // namespace DirectUI
