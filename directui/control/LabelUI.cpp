#include "control/LabelUI.h"

#include "core/SkinValues.h"
#include "render/GdiPainter.h"

#include <string.h>

namespace DirectUI {

CLabelUI::CLabelUI()
    : m_dwTextColor(0), m_dwDisabledTextColor(0), m_iFont(-1), m_uTextStyle(DT_VCENTER), m_bShowHtml(false),
      m_bAutoCalcWidth(false), m_bEnableEffect(false), m_bEnableStroke(false), m_bEnableShadow(false),
      m_nTransShadow(0), m_nTransText(0), m_nTransShadow1(0), m_nTransText1(0), m_nTransStroke(0),
      m_nGradientAngle(0), m_nGradientLength(0), m_dwTextColor1(0), m_dwTextShadowColorA(0),
      m_dwTextShadowColorB(0), m_dwStrokeColor(0)
{
    SetRectEmpty(&m_rcTextPadding);
}

CLabelUI::~CLabelUI() {}

LPCWSTR CLabelUI::GetControlClass() const { return L"LabelUI"; }

LPVOID CLabelUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"Label") == 0) return this;
    return CControlUI::GetInterface(name);
}

CUIString CLabelUI::GetText() const
{
    if (m_bEnableEffect) return m_sEffectText;
    return CControlUI::GetText();
}

void CLabelUI::SetText(LPCWSTR text)
{
    if (m_bEnableEffect) {
        m_sEffectText = text;
        return;
    }
    CControlUI::SetText(text);
}

void CLabelUI::HandleEvent(ControlEvent& event)
{
    if (event.Type == UIEVENT_SETFOCUS) {
        m_bFocused = true;
        return;
    }
    if (event.Type == UIEVENT_KILLFOCUS) {
        m_bFocused = false;
        return;
    }
    CControlUI::HandleEvent(event);
}

bool CLabelUI::IsAutoCalcWidth() const { return m_bAutoCalcWidth; }
void CLabelUI::SetAutoCalcWidth(bool autoWidth) { m_bAutoCalcWidth = autoWidth; }

void CLabelUI::SetFont(int index)
{
    m_iFont = index;
    Invalidate();
}

void CLabelUI::SetTextColor(DWORD color)
{
    m_dwTextColor = color;
    Invalidate();
}

void CLabelUI::SetDisabledTextColor(DWORD color)
{
    m_dwDisabledTextColor = color;
    Invalidate();
}

void CLabelUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    Invalidate();
}

void CLabelUI::SetShowHtml(bool show)
{
    if (m_bShowHtml == show) return;
    m_bShowHtml = show;
    Invalidate();
}

void CLabelUI::SetTextStyle(UINT style)
{
    m_uTextStyle = style;
    Invalidate();
}

void CLabelUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"align") == 0) {
        if (wcsstr(value, L"left") != NULL) m_uTextStyle &= ~(DT_CENTER | DT_RIGHT | DT_SINGLELINE);
        if (wcsstr(value, L"center") != NULL) {
            m_uTextStyle &= ~DT_RIGHT;
            m_uTextStyle |= DT_CENTER;
        }
        if (wcsstr(value, L"right") != NULL) {
            m_uTextStyle &= ~(DT_CENTER | DT_SINGLELINE);
            m_uTextStyle |= DT_RIGHT;
        }
    } else if (wcscmp(name, L"valign") == 0) {
        if (wcsstr(value, L"top") != NULL) {
            m_uTextStyle &= ~(DT_BOTTOM | DT_VCENTER);
            m_uTextStyle |= DT_SINGLELINE;
        }
        if (wcsstr(value, L"vcenter") != NULL) {
            m_uTextStyle &= ~DT_BOTTOM;
            m_uTextStyle |= DT_VCENTER | DT_SINGLELINE;
        }
        if (wcsstr(value, L"bottom") != NULL) {
            m_uTextStyle &= ~DT_VCENTER;
            m_uTextStyle |= DT_BOTTOM | DT_SINGLELINE;
        }
    } else if (wcscmp(name, L"endellipsis") == 0) {
        if (ParseBoolValue(value)) m_uTextStyle |= DT_END_ELLIPSIS;
        else m_uTextStyle &= ~DT_END_ELLIPSIS;
    } else if (wcscmp(name, L"font") == 0) {
        SetFont(ParseIntValue(value));
    } else if (wcscmp(name, L"textcolor") == 0) {
        SetTextColor(ParseColorValue(value));
    } else if (wcscmp(name, L"disabledtextcolor") == 0) {
        SetDisabledTextColor(ParseColorValue(value));
    } else if (wcscmp(name, L"textpadding") == 0) {
        RECT rc = { 0, 0, 0, 0 };
        ParseRectValue(value, rc);
        SetTextPadding(rc);
    } else if (wcscmp(name, L"showhtml") == 0) {
        SetShowHtml(ParseBoolValue(value));
    } else if (wcscmp(name, L"autocalcwidth") == 0) {
        SetAutoCalcWidth(ParseBoolValue(value));
    } else if (wcscmp(name, L"enabledeffect") == 0) {
        bool on = ParseBoolValue(value);
        if (on && !m_bEnableEffect) {
            // The text moves into the effect slot, which is never painted.
            m_sEffectText = m_sText;
        } else if (!on && m_bEnableEffect) {
            m_sText = m_sEffectText;
        }
        m_bEnableEffect = on;
    } else if (wcscmp(name, L"enabledstroke") == 0) {
        m_bEnableStroke = ParseBoolValue(value);
    } else if (wcscmp(name, L"enabledshadow") == 0) {
        m_bEnableShadow = ParseBoolValue(value);
    } else if (wcscmp(name, L"transshadow") == 0) {
        m_nTransShadow = ParseIntValue(value);
    } else if (wcscmp(name, L"transtext") == 0) {
        m_nTransText = ParseIntValue(value);
    } else if (wcscmp(name, L"transshadow1") == 0) {
        m_nTransShadow1 = ParseIntValue(value);
    } else if (wcscmp(name, L"transtext1") == 0) {
        m_nTransText1 = ParseIntValue(value);
    } else if (wcscmp(name, L"transstroke") == 0) {
        m_nTransStroke = ParseIntValue(value);
    } else if (wcscmp(name, L"gradientangle") == 0) {
        m_nGradientAngle = ParseIntValue(value);
    } else if (wcscmp(name, L"gradientlength") == 0) {
        m_nGradientLength = ParseIntValue(value);
    } else if (wcscmp(name, L"shadowoffset") == 0) {
        SIZE offset = { 0, 0 };
        ParseSizeValue(value, offset); // read within bounds, then dropped
    } else if (wcscmp(name, L"textcolor1") == 0) {
        m_dwTextColor1 = ParseColorValue(value);
    } else if (wcscmp(name, L"textshadowcolora") == 0) {
        m_dwTextShadowColorA = ParseColorValue(value);
    } else if (wcscmp(name, L"textshadowcolorb") == 0) {
        m_dwTextShadowColorB = ParseColorValue(value);
    } else if (wcscmp(name, L"strokecolor") == 0) {
        m_dwStrokeColor = ParseColorValue(value);
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

int CLabelUI::FontHeight() const
{
    if (m_pManager == NULL) return 0;
    return m_pManager->GetFontEntry(m_iFont)->tm.tmHeight;
}

SIZE CLabelUI::PreferredSize(SIZE available)
{
    if (m_bAutoCalcWidth && m_pManager != NULL) {
        RECT rc = { 0, 0, 0, 0 };
        DrawLabelText(m_pManager->GetPaintDC(), rc, GetText(), 0, m_uTextStyle | DT_CALCRECT);
        // Stored directly: measuring must not ask for another layout pass.
        m_cxyFixed.cx = rc.right - rc.left + m_rcTextPadding.left + m_rcTextPadding.right;
    }
    if (m_cxyFixed.cy != 0) return CControlUI::PreferredSize(available);
    SIZE size = { m_cxyFixed.cx, FontHeight() + 4 };
    return size;
}

void CLabelUI::TakeDefaultColors()
{
    if (m_pManager == NULL) return;
    if (m_dwTextColor == 0) m_dwTextColor = m_pManager->GetDefaultFontColor();
    if (m_dwDisabledTextColor == 0) m_dwDisabledTextColor = m_pManager->GetDefaultDisabledColor();
}

RECT CLabelUI::TextRect() const { return DeflatedRect(m_rcItem, m_rcTextPadding); }

void CLabelUI::DrawLabelText(HDC dc, RECT& rc, LPCWSTR text, DWORD color, UINT style)
{
    if (m_bShowHtml) {
        int links = 0;
        CGdiPainter::DrawMarkupText(dc, m_pManager, rc, text, color, NULL, NULL, links, style);
    } else {
        CGdiPainter::DrawText(dc, m_pManager, rc, text, color, m_iFont, style);
    }
}

void CLabelUI::PaintText(HDC dc)
{
    TakeDefaultColors();
    RECT rc = TextRect();
    if (m_bEnableEffect || m_sText.IsEmpty()) return;
    DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    DrawLabelText(dc, rc, m_sText, color, m_uTextStyle | DT_SINGLELINE);
}

} // namespace DirectUI
