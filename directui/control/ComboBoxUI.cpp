#include "control/ComboBoxUI.h"

#include "control/StateImage.h"
#include "core/SkinValues.h"

#include <stdio.h>

namespace DirectUI {

namespace {

// Cells of the arrow strip, in the order they lie in the image.
enum { kCellNormal, kCellHot, kCellPushed, kCellFocused, kCellDisabled, kCellCount };

} // namespace

CComboBoxUI::CComboBoxUI() : m_nArrowWidth(0) {}
CComboBoxUI::~CComboBoxUI() {}

LPCWSTR CComboBoxUI::GetControlClass() const { return L"ComboBoxUI"; }

void CComboBoxUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name != NULL && value != NULL && wcscmp(name, L"arrowimage") == 0) m_sArrowImage = value;
    else CComboUI::SetAttribute(name, value);
}

void CComboBoxUI::PaintStateImage(HDC dc)
{
    if (m_sArrowImage.IsEmpty()) {
        CComboUI::PaintStateImage(dc);
        return;
    }
    SyncFocusAndDisabledState(*this, m_uButtonState);

    // The source part runs from "source" to its closing quote; without it
    // the image cannot be cut into cells and nothing is drawn.
    LPCWSTR image = m_sArrowImage;
    LPCWSTR source = wcsstr(image, L"source");
    if (source == NULL) return;
    LPCWSTR open = source + 6;
    while (*open != L'\0' && *open != L'\'' && *open != L'"') ++open;
    if (*open == L'\0') return;
    LPCWSTR close = wcschr(open + 1, *open);
    if (close == NULL) return;
    CUIString numbers(open + 1, static_cast<int>(close - open - 1));
    RECT src = { 0, 0, 0, 0 };
    ParseRectValue(numbers, src);

    int width = (src.right - src.left) / kCellCount;
    m_nArrowWidth = width;
    int cell = kCellNormal;
    if ((m_uButtonState & UISTATE_DISABLED) != 0) cell = kCellDisabled;
    else if ((m_uButtonState & UISTATE_PUSHED) != 0) cell = kCellPushed;
    else if ((m_uButtonState & UISTATE_HOT) != 0) cell = kCellHot;
    else if ((m_uButtonState & UISTATE_FOCUSED) != 0) cell = kCellFocused;
    src.left += cell * width;
    src.right = src.left + width;

    RECT dest = { m_nBorderSize, m_nBorderSize, GetWidth() - m_nBorderSize, GetHeight() - m_nBorderSize };
    dest.left = dest.right - width;
    WCHAR part[128] = { 0 };
    _snwprintf(part, 127, L"source='%d,%d,%d,%d' dest='%d,%d,%d,%d'", static_cast<int>(src.left),
               static_cast<int>(src.top), static_cast<int>(src.right), static_cast<int>(src.bottom),
               static_cast<int>(dest.left), static_cast<int>(dest.top), static_cast<int>(dest.right),
               static_cast<int>(dest.bottom));
    CUIString drawn = CUIString(image, static_cast<int>(source - image)) + part + (close + 1);
    if (!DrawImage(dc, drawn)) m_sArrowImage.Empty();
}

void CComboBoxUI::PaintText(HDC dc)
{
    RECT rc = TextRect();
    rc.right -= m_nArrowWidth;
    PaintSelectedItem(dc, rc);
}

} // namespace DirectUI
