#include "control/OptionUI.h"

#include "control/DeletionWatch.h"
#include "control/StateImage.h"
#include "core/PointerArray.h"
#include "core/SkinValues.h"
#include "render/GdiPainter.h"

#include <string.h>

namespace DirectUI {

COptionUI::COptionUI() : m_bSelected(false), m_dwSelectedBkColor(0), m_dwSelectedTextColor(0) {}

COptionUI::~COptionUI()
{
    if (!m_sGroupName.IsEmpty() && m_pManager != NULL) m_pManager->LeaveOptionGroup(m_sGroupName, this);
}

LPCWSTR COptionUI::GetControlClass() const { return L"OptionUI"; }

LPVOID COptionUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"Option") == 0) return this;
    return CButtonUI::GetInterface(name);
}

void COptionUI::SetManager(CWindowUIManager* manager, CControlUI* parent, bool init)
{
    CButtonUI::SetManager(manager, parent, init);
    if (init && !m_sGroupName.IsEmpty() && m_pManager != NULL) m_pManager->JoinOptionGroup(m_sGroupName, this);
}

void COptionUI::SetGroup(LPCWSTR name)
{
    CUIString group(name);
    if (m_sGroupName == group) return;
    if (!m_sGroupName.IsEmpty() && m_pManager != NULL) m_pManager->LeaveOptionGroup(m_sGroupName, this);
    m_sGroupName = group;
    if (!m_sGroupName.IsEmpty() && m_pManager != NULL) m_pManager->JoinOptionGroup(m_sGroupName, this);
    Select(m_bSelected);
}

void COptionUI::Select(bool selected)
{
    m_bSelected = selected;
    if (m_bSelected) m_uButtonState |= UISTATE_SELECTED;
    else m_uButtonState &= ~UISTATE_SELECTED;
    if (m_pManager == NULL) {
        Invalidate();
        return;
    }
    // The manager outlives a handler that deletes this option.
    CWindowUIManager* manager = m_pManager;
    if (!m_sGroupName.IsEmpty()) {
        if (m_bSelected) {
            CPointerArray* group = manager->GetOptionGroup(m_sGroupName);
            for (int i = 0; group != NULL && i < group->GetSize(); ++i) {
                COptionUI* other = static_cast<COptionUI*>((*group)[i]);
                if (other != this) other->Select(false);
            }
            Invalidate();
            manager->SendNotify(this, L"selectchanged");
            return;
        }
    } else {
        Invalidate();
        manager->SendNotify(this, L"selectchanged");
        return;
    }
    Invalidate();
}

bool COptionUI::Activate()
{
    // "click" goes first, and its handler may delete this option: then
    // there is nothing left to select.
    CDeletionWatch watch(this);
    if (!CButtonUI::Activate()) return false;
    if (watch.IsDeleted()) return true;
    if (!m_sGroupName.IsEmpty()) Select(true);
    else Select(!m_bSelected);
    return true;
}

void COptionUI::SetEnabled(bool enabled)
{
    CControlUI::SetEnabled(enabled);
    if (!IsEnabled()) m_uButtonState = m_bSelected ? UISTATE_SELECTED : 0;
}

void COptionUI::SetSelectedImage(LPCWSTR image)
{
    m_sSelectedImage = image;
    Invalidate();
}

void COptionUI::SetSelectedHotImage(LPCWSTR image)
{
    m_sSelectedHotImage = image;
    Invalidate();
}

void COptionUI::SetSelectedPushedImage(LPCWSTR image)
{
    m_sSelectedPushedImage = image;
    Invalidate();
}

void COptionUI::SetForeImage(LPCWSTR image)
{
    m_sOptionForeImage = image;
    Invalidate();
}

void COptionUI::SetSelectedForeImage(LPCWSTR image)
{
    m_sSelectedForeImage = image;
    Invalidate();
}

void COptionUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"group") == 0) SetGroup(value);
    else if (wcscmp(name, L"selected") == 0) Select(ParseBoolValue(value));
    else if (wcscmp(name, L"selectedimage") == 0) SetSelectedImage(value);
    else if (wcscmp(name, L"selectedhotimage") == 0) SetSelectedHotImage(value);
    else if (wcscmp(name, L"selectedpushedimage") == 0) SetSelectedPushedImage(value);
    else if (wcscmp(name, L"foreimage") == 0) SetForeImage(value);
    else if (wcscmp(name, L"selectedforeimage") == 0) SetSelectedForeImage(value);
    else if (wcscmp(name, L"selectedbkcolor") == 0) SetSelectedBkColor(ParseColorValue(value));
    else if (wcscmp(name, L"selectedtextcolor") == 0) SetSelectedTextColor(ParseColorValue(value));
    else CButtonUI::SetAttribute(name, value);
}

void COptionUI::PaintStateImage(HDC dc)
{
    bool selected = (m_uButtonState & UISTATE_SELECTED) != 0;
    bool painted = false;
    if (selected && (m_uButtonState & UISTATE_PUSHED) != 0 && !m_sSelectedPushedImage.IsEmpty()) {
        painted = DrawImageOrForget(*this, dc, m_sSelectedPushedImage);
        if (!painted) CButtonUI::PaintStateImage(dc);
        painted = true;
    } else if (selected && (m_uButtonState & UISTATE_HOT) != 0 && !m_sSelectedHotImage.IsEmpty()) {
        painted = DrawImageOrForget(*this, dc, m_sSelectedHotImage);
        if (!painted) CButtonUI::PaintStateImage(dc);
        painted = true;
    }
    if (!painted) {
        if (selected && !m_sSelectedImage.IsEmpty()) {
            if (!DrawImageOrForget(*this, dc, m_sSelectedImage)) CButtonUI::PaintStateImage(dc);
        } else if (selected && m_dwSelectedBkColor != 0) {
            CGdiPainter::DrawColor(dc, m_rcPaint, AdjustColor(m_dwSelectedBkColor));
            return;
        } else {
            CButtonUI::PaintStateImage(dc);
        }
    }
    if (selected && !m_sSelectedForeImage.IsEmpty()) DrawImageOrForget(*this, dc, m_sSelectedForeImage);
    else DrawImageOrForget(*this, dc, m_sOptionForeImage);
}

void COptionUI::PaintText(HDC dc)
{
    if ((m_uButtonState & UISTATE_SELECTED) == 0) {
        CButtonUI::PaintText(dc);
        return;
    }
    TakeDefaultColors();
    if (m_sText.IsEmpty()) return;
    RECT rc = TextRect();
    DWORD color = m_dwSelectedTextColor != 0 ? m_dwSelectedTextColor : m_dwTextColor;
    if (!IsEnabled()) color = m_dwDisabledTextColor;
    DrawLabelText(dc, rc, m_sText, color, m_uTextStyle);
}

} // namespace DirectUI
