#include "control/ScrollBarUI.h"

namespace DirectUI {

CScrollBarUI::CScrollBarUI() : m_bHorizontal(false), m_nRange(100), m_nScrollPos(0), m_pOwner(NULL)
{
    m_cxyFixed.cx = 16;
}

LPCWSTR CScrollBarUI::GetControlClass() const { return L"ScrollBarUI"; }

LPVOID CScrollBarUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"ScrollBar") == 0) return this;
    return CControlUI::GetInterface(name);
}

void CScrollBarUI::SetHorizontal(bool horizontal)
{
    if (m_bHorizontal == horizontal) return;
    m_bHorizontal = horizontal;
    if (horizontal) {
        m_cxyFixed.cy = m_cxyFixed.cx != 0 ? m_cxyFixed.cx : 16;
        m_cxyFixed.cx = 0;
    } else {
        m_cxyFixed.cx = m_cxyFixed.cy != 0 ? m_cxyFixed.cy : 16;
        m_cxyFixed.cy = 0;
    }
    RequestParentLayout();
}

void CScrollBarUI::SetScrollRange(int range)
{
    if (range < 0) range = 0;
    if (m_nRange == range) return;
    m_nRange = range;
    if (m_nScrollPos > m_nRange) m_nScrollPos = m_nRange;
    Invalidate();
}

void CScrollBarUI::SetScrollPos(int pos)
{
    if (pos < 0) pos = 0;
    if (pos > m_nRange) pos = m_nRange;
    if (m_nScrollPos == pos) return;
    m_nScrollPos = pos;
    Invalidate();
}

} // namespace DirectUI
