#pragma once

#include <windows.h>

namespace DirectUI {

// The platform rectangle with the few operations layouts need.
class CUIRect : public RECT
{
public:
    CUIRect();
    CUIRect(const RECT& src);
    CUIRect(int l, int t, int r, int b);

    int GetWidth() const { return right - left; }
    int GetHeight() const { return bottom - top; }
    void Join(const RECT& other);
    void ResetOffset();
    void Offset(int dx, int dy);
    void Deflate(int dx, int dy);
};

// rc less the widths edges gives for each side (an inset or a padding).
RECT DeflatedRect(const RECT& rc, const RECT& edges);

} // namespace DirectUI
