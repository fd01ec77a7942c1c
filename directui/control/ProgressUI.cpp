#include "control/ProgressUI.h"

#include "control/StateImage.h"
#include "core/SkinValues.h"

#include <string.h>

namespace DirectUI {

CProgressUI::CProgressUI() : m_bHorizontal(true), m_bStretchForeImage(true), m_nMax(100), m_nMin(0), m_nValue(0)
{
    m_uTextStyle = DT_SINGLELINE | DT_CENTER;
    m_cxyFixed.cy = 12;
}

CProgressUI::~CProgressUI() {}

LPCWSTR CProgressUI::GetControlClass() const { return L"ProgressUI"; }

LPVOID CProgressUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"Progress") == 0) return this;
    return CLabelUI::GetInterface(name);
}

void CProgressUI::SetHorizontal(bool horizontal)
{
    if (m_bHorizontal == horizontal) return;
    m_bHorizontal = horizontal;
    Invalidate();
}

void CProgressUI::SetStretchForeImage(bool stretch)
{
    if (m_bStretchForeImage == stretch) return;
    m_bStretchForeImage = stretch;
    Invalidate();
}

void CProgressUI::SetMinValue(int value)
{
    m_nMin = value;
    Invalidate();
}

void CProgressUI::SetMaxValue(int value)
{
    m_nMax = value;
    Invalidate();
}

void CProgressUI::SetValue(int value)
{
    if (value == m_nValue || value < m_nMin || value > m_nMax) return;
    m_nValue = value;
    Invalidate();
}

void CProgressUI::SetForeImage(LPCWSTR image)
{
    if (m_sForeImage == (image != NULL ? image : L"")) return;
    m_sForeImage = image;
    Invalidate();
}

void CProgressUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"foreimage") == 0) SetForeImage(value);
    else if (wcscmp(name, L"hor") == 0) SetHorizontal(ParseBoolValue(value));
    else if (wcscmp(name, L"min") == 0) SetMinValue(ParseIntValue(value));
    else if (wcscmp(name, L"max") == 0) SetMaxValue(ParseIntValue(value));
    else if (wcscmp(name, L"value") == 0) SetValue(ParseIntValue(value));
    else if (wcscmp(name, L"isstretchfore") == 0) SetStretchForeImage(ParseBoolValue(value));
    else CLabelUI::SetAttribute(name, value);
}

void CProgressUI::RepairRange()
{
    if (m_nMin >= m_nMax) m_nMax = m_nMin + 1;
    if (m_nValue > m_nMax) m_nValue = m_nMax;
    if (m_nValue < m_nMin) m_nValue = m_nMin;
}

void CProgressUI::PaintStateImage(HDC dc)
{
    RepairRange();
    // 64-bit products: a width times a large range must not overflow.
    LONGLONG range = static_cast<LONGLONG>(m_nMax) - m_nMin;
    int width = m_rcItem.right - m_rcItem.left, height = m_rcItem.bottom - m_rcItem.top;
    RECT part = { 0, 0, width, height };
    if (m_bHorizontal) part.right = static_cast<LONG>(width * (static_cast<LONGLONG>(m_nValue) - m_nMin) / range);
    else part.top = static_cast<LONG>(height * (static_cast<LONGLONG>(m_nMax) - m_nValue) / range);
    if (m_sForeImage.IsEmpty()) return;
    if (m_bStretchForeImage) {
        m_sForeImageModify.Format(L"dest='%d,%d,%d,%d'", part.left, part.top, part.right, part.bottom);
    } else {
        m_sForeImageModify.Format(L"dest='%d,%d,%d,%d' source='%d,%d,%d,%d'", part.left, part.top, part.right,
                                  part.bottom, part.left, part.top, part.right, part.bottom);
    }
    DrawImageOrForget(*this, dc, m_sForeImage, m_sForeImageModify);
}

} // namespace DirectUI
