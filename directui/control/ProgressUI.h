#pragma once

#include "control/LabelUI.h"

namespace DirectUI {

// A fore image cut or stretched to the share of a value between a minimum
// and a maximum, growing to the right or upwards.
class CProgressUI : public CLabelUI
{
public:
    CProgressUI();
    ~CProgressUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintStateImage(HDC dc) override;

    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool horizontal);
    bool IsStretchForeImage() const { return m_bStretchForeImage; }
    void SetStretchForeImage(bool stretch);
    int GetMinValue() const { return m_nMin; }
    void SetMinValue(int value);
    int GetMaxValue() const { return m_nMax; }
    void SetMaxValue(int value);
    int GetValue() const { return m_nValue; }
    void SetValue(int value);
    CUIString GetForeImage() const { return m_sForeImage; }
    void SetForeImage(LPCWSTR image);

protected:
    // Minimum below maximum and the value between them; the repair is kept.
    void RepairRange();

    bool m_bHorizontal;
    bool m_bStretchForeImage;
    int m_nMax;
    int m_nMin;
    int m_nValue;
    CUIString m_sForeImage;
    CUIString m_sForeImageModify;
};

} // namespace DirectUI
