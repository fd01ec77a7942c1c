#pragma once

namespace DirectUI {

// A child's size held within its minimum, then its maximum (a maximum below
// the minimum wins, as the layouts have always done).
inline int ClampToLimits(int value, int minimum, int maximum)
{
    if (value < minimum) value = minimum;
    if (value > maximum) value = maximum;
    return value;
}

} // namespace DirectUI
