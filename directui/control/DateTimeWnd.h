#pragma once

#include "window/WindowWnd.h"

namespace DirectUI {

class CDateTimeUI;

// The system date picker placed over a date control while it is edited; it
// deletes itself when its window ends.
class CDateTimeWnd : public CWindowWnd
{
    friend class CDateTimeUI;

public:
    CDateTimeWnd();

    // Creates the picker over owner on first use, shows the owner's date
    // (today for an empty control) and focuses it.
    void Init(CDateTimeUI* owner);
    RECT CalPos() const;

protected:
    LPCWSTR GetWindowClassName() const override;
    LPCWSTR GetSuperClassName() const override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnNcDestroyed(HWND hWnd) override;

private:
    CDateTimeUI* m_pOwner;
    HBRUSH m_hBkBrush;
    bool m_bInit;
};

} // namespace DirectUI
