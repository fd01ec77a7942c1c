#include "core/UIRect.h"

namespace DirectUI {

CUIRect::CUIRect()
{
    left = top = right = bottom = 0;
}

CUIRect::CUIRect(const RECT& src)
{
    left = src.left;
    top = src.top;
    right = src.right;
    bottom = src.bottom;
}

CUIRect::CUIRect(int l, int t, int r, int b)
{
    left = l;
    top = t;
    right = r;
    bottom = b;
}

void CUIRect::Join(const RECT& other)
{
    if (other.left < left) left = other.left;
    if (other.top < top) top = other.top;
    if (other.right > right) right = other.right;
    if (other.bottom > bottom) bottom = other.bottom;
}

void CUIRect::ResetOffset()
{
    ::OffsetRect(this, -left, -top);
}

void CUIRect::Offset(int dx, int dy)
{
    ::OffsetRect(this, dx, dy);
}

void CUIRect::Deflate(int dx, int dy)
{
    ::InflateRect(this, -dx, -dy);
}

RECT DeflatedRect(const RECT& rc, const RECT& edges)
{
    RECT result = { rc.left + edges.left, rc.top + edges.top, rc.right - edges.right, rc.bottom - edges.bottom };
    return result;
}

} // namespace DirectUI
