#pragma once

#include "control/ProgressUI.h"

namespace DirectUI {

// A progress bar with a draggable thumb; reports "valuechanged" and, when
// asked, "movevaluechanged" while dragging.
class CSliderUI : public CProgressUI
{
public:
    CSliderUI();
    ~CSliderUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetEnabled(bool enabled = true) override;
    void HandleEvent(ControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintStateImage(HDC dc) override;

    void SetThumbSize(int cx, int cy);
    SIZE GetThumbSize() const { return m_szThumb; }
    void SetChangeStep(int step) { m_nStep = step; }
    int GetChangeStep() const { return m_nStep; }
    void SetCanSendMove(bool send) { m_bSendMove = send; }
    bool GetCanSendMove() const { return m_bSendMove; }
    void SetThumbImage(LPCWSTR image);
    void SetThumbHotImage(LPCWSTR image);
    void SetThumbPushedImage(LPCWSTR image);
    UINT GetThumbState() const { return m_uThumbState; }
    // Where the thumb sits for the current value.
    RECT GetThumbRect() const;

protected:
    // The value under a point (minimum to maximum).
    int ValueAt(POINT pt) const;
    // The wheel's change: dropped while the thumb is captured.
    void ChangeValue(int value);

    SIZE m_szThumb;
    UINT m_uThumbState;
    int m_nStep;
    CUIString m_sThumbImage;
    CUIString m_sThumbHotImage;
    CUIString m_sThumbPushedImage;
    bool m_bSendMove;
};

} // namespace DirectUI
