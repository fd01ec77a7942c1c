#pragma once

#include "control/OptionUI.h"

namespace DirectUI {

// An option under another class name; its checked state is IsSelected.
class CCheckBoxUI : public COptionUI
{
public:
    LPCWSTR GetControlClass() const override;
};

} // namespace DirectUI
