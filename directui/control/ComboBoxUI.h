#pragma once

#include "control/ComboUI.h"

namespace DirectUI {

// A combo with an arrow drawn from one strip image of five state cells:
// normal, hot, pushed, focused and disabled.
class CComboBoxUI : public CComboUI
{
public:
    CComboBoxUI();
    ~CComboBoxUI() override;

    LPCWSTR GetControlClass() const override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintStateImage(HDC dc) override;
    void PaintText(HDC dc) override;

    int GetArrowWidth() const { return m_nArrowWidth; }

protected:
    CUIString m_sArrowImage;
    int m_nArrowWidth;
};

} // namespace DirectUI
