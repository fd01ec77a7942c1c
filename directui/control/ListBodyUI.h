#pragma once

#include "control/VerticalLayoutUI.h"

namespace DirectUI {

class CListUI;

// The scrolling part of a list: stacks the items, lets them follow the
// header's columns and hands every event to the list.
class CListBodyUI : public CVerticalLayoutUI
{
public:
    explicit CListBodyUI(CListUI* owner);

    void SetPos(RECT rc) override;
    void HandleEvent(ControlEvent& event) override;
    void SetScrollPos(SIZE pos) override;

protected:
    CListUI* m_pOwner;
};

} // namespace DirectUI
