#pragma once

#include "core/UIString.h"

namespace DirectUI {

class CControlUI;

// One line per control of a tree, indented two spaces per depth: class,
// "name", rectangle, visible or hidden, enabled or disabled, "text"; scroll
// bars add their range and position. Containers list their scroll bars
// before their children.
CUIString DumpControlTree(CControlUI* root);

} // namespace DirectUI
