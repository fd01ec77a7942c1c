#pragma once

#include "window/WindowWnd.h"

namespace DirectUI {

class CActiveXCtrl;

// The child window a windowed object activates in; the object paints it.
class CActiveXWnd : public CWindowWnd
{
public:
    CActiveXWnd();

    HWND Init(CActiveXCtrl* owner, HWND parent);
    // Every host window created and not yet destroyed, for leak checks.
    static LONG LiveCount();

protected:
    LPCWSTR GetWindowClassName() const override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnNcDestroyed(HWND hWnd) override;

private:
    void DoVerb(LONG verb);

    CActiveXCtrl* m_pOwner;
};

} // namespace DirectUI
