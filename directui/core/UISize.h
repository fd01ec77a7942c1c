#pragma once

#include <windows.h>

namespace DirectUI {

// The platform size record.
class CUISize : public SIZE
{
public:
    CUISize() { cx = cy = 0; }
    CUISize(const SIZE& src) { cx = src.cx; cy = src.cy; }
    CUISize(int x, int y) { cx = x; cy = y; }
};

} // namespace DirectUI
