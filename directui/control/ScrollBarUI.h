#pragma once

#include "control/ControlUI.h"

namespace DirectUI {

class CContainerUI;

// A container's scroll bar: its orientation, range and position. The
// position always stays within 0..range.
class CScrollBarUI : public CControlUI
{
public:
    CScrollBarUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;

    CContainerUI* GetOwner() const { return m_pOwner; }
    void SetOwner(CContainerUI* owner) { m_pOwner = owner; }
    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool horizontal = true);
    int GetScrollRange() const { return m_nRange; }
    void SetScrollRange(int range);
    int GetScrollPos() const { return m_nScrollPos; }
    void SetScrollPos(int pos);

private:
    bool m_bHorizontal;
    int m_nRange;
    int m_nScrollPos;
    CContainerUI* m_pOwner;
};

} // namespace DirectUI
