#pragma once

#include "window/WindowWnd.h"

namespace DirectUI {

class CEditUI;

// The system edit control laid over a CEditUI while it has the focus: it
// does the typing and copies each change back into the field.
class CEditWnd : public CWindowWnd
{
public:
    CEditWnd();

    void Init(CEditUI* owner);
    // Where the native edit goes: the field less its text padding, narrowed
    // to its font's height and centred vertically.
    RECT CalPos() const;
    // The field is going away: nothing may reach it any more.
    void Detach() { m_pOwner = NULL; }

protected:
    LPCWSTR GetWindowClassName() const override;
    LPCWSTR GetSuperClassName() const override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnNcDestroyed(HWND hWnd) override;

private:
    void OnEditChanged();

    CEditUI* m_pOwner;
    HBRUSH m_hBkBrush;
    bool m_bInit;
};

} // namespace DirectUI
