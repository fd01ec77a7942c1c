#include "control/CheckBoxUI.h"

namespace DirectUI {

// Only the class name differs: it answers the option's interface names.
LPCWSTR CCheckBoxUI::GetControlClass() const { return L"CheckBoxUI"; }

} // namespace DirectUI
