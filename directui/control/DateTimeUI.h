#pragma once

#include "control/LabelUI.h"

namespace DirectUI {

class CDateTimeWnd;

// A label showing a date as "yyyy-mm-dd"; focusing or clicking it places
// the system date picker over it, and the date picked becomes the text.
class CDateTimeUI : public CLabelUI
{
    friend class CDateTimeWnd;

public:
    // What closing the picker does to the text.
    enum UpdateState { kUpdateNone = 0, kUpdateTaken = 1, kUpdateCleared = 2, kUpdateCancelled = 3 };

    CDateTimeUI();
    ~CDateTimeUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void HandleEvent(ControlEvent& event) override;

    void UpdateText();
    SYSTEMTIME& GetTime() { return m_sysTime; }
    void SetTime(const SYSTEMTIME& time);
    CDateTimeWnd* GetPicker() const { return m_pWindow; }

protected:
    void OpenPicker();

    SYSTEMTIME m_sysTime;
    int m_nDTUpdateFlag;
    CDateTimeWnd* m_pWindow;
};

} // namespace DirectUI
