#include "control/TextUI.h"

#include "render/GdiPainter.h"

#include <string.h>

namespace DirectUI {

CTextUI::CTextUI() : m_nLinks(0), m_nHoverLink(-1)
{
    m_uTextStyle = DT_WORDBREAK;
    m_rcTextPadding.left = 2;
    m_rcTextPadding.right = 2;
    for (int i = 0; i < kMaxLinks; ++i) SetRectEmpty(&m_rcLinks[i]);
}

CTextUI::~CTextUI() {}

LPCWSTR CTextUI::GetControlClass() const { return L"TextUI"; }

LPVOID CTextUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"Text") == 0) return this;
    return CLabelUI::GetInterface(name);
}

UINT CTextUI::GetControlFlags() const { return IsEnabled() && m_nLinks > 0 ? UIFLAG_SETCURSOR : 0; }

CUIString CTextUI::GetLinkContent(int index) const
{
    if (index < 0 || index >= m_nLinks) return CUIString();
    return m_sLinks[index];
}

RECT CTextUI::GetLinkRect(int slot) const
{
    RECT none = { 0, 0, 0, 0 };
    if (slot < 0 || slot >= m_nLinks) return none;
    return m_rcLinks[slot];
}

int CTextUI::LinkOfSlot(int slot) const
{
    RECT text = TextRect();
    int link = -1;
    for (int i = 0; i <= slot; ++i) {
        // A piece at the start of a lower line with its predecessor's name
        // continues that link.
        bool continues = i > 0 && m_rcLinks[i].top > m_rcLinks[i - 1].top && m_rcLinks[i].left <= text.left
                         && m_sLinks[i] == m_sLinks[i - 1].GetData();
        if (!continues) ++link;
    }
    return link;
}

int CTextUI::LinkAt(POINT pt) const
{
    for (int i = 0; i < m_nLinks; ++i)
        if (PtInRect(&m_rcLinks[i], pt)) return LinkOfSlot(i);
    return -1;
}

void CTextUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && event.Type >= UIEVENT_MOUSEBEGIN && event.Type <= UIEVENT_MOUSEEND) {
        if (m_pParent != NULL) m_pParent->HandleEvent(event);
        else CLabelUI::HandleEvent(event);
        return;
    }
    int link = LinkAt(event.ptMouse);
    switch (event.Type) {
    case UIEVENT_SETCURSOR:
        if (link >= 0) {
            ::SetCursor(LoadCursor(NULL, IDC_HAND));
            return;
        }
        break;
    case UIEVENT_BUTTONDOWN:
        if (link >= 0) {
            Invalidate();
            return;
        }
        break;
    case UIEVENT_DBLCLICK:
        if (link >= 0 && IsEnabled()) {
            Invalidate();
            return;
        }
        break;
    case UIEVENT_BUTTONUP:
        if (link >= 0 && IsEnabled()) {
            if (m_pManager != NULL) m_pManager->SendNotify(this, L"link", link);
            return;
        }
        break;
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_MOUSEMOVE:
        if (IsEnabled() && m_nLinks > 0) {
            if (link != m_nHoverLink) {
                m_nHoverLink = link;
                Invalidate();
                return;
            }
        }
        break;
    case UIEVENT_MOUSELEAVE:
        if (IsEnabled() && m_nLinks > 0 && m_nHoverLink != -1) {
            m_nHoverLink = -1;
            Invalidate();
            return;
        }
        break;
    default:
        break;
    }
    CLabelUI::HandleEvent(event);
}

SIZE CTextUI::PreferredSize(SIZE available)
{
    if (m_pManager != NULL) {
        RECT rc = { m_rcTextPadding.left, 0, 0, 9999 };
        rc.right = (m_bAutoCalcWidth ? 9999 : m_cxyFixed.cx) - m_rcTextPadding.right;
        UINT style = m_uTextStyle | DT_CALCRECT;
        HDC dc = m_pManager->GetPaintDC();
        if (m_bShowHtml) {
            int links = 0;
            CGdiPainter::DrawMarkupText(dc, m_pManager, rc, m_sText, 0, NULL, NULL, links, style);
        } else {
            CGdiPainter::DrawText(dc, m_pManager, rc, m_sText, 0, m_iFont, style);
        }
        // Stored directly: measuring must not ask for another layout pass.
        if (m_bAutoCalcWidth)
            m_cxyFixed.cx = rc.right - rc.left + m_rcTextPadding.left + m_rcTextPadding.right;
    }
    return CControlUI::PreferredSize(available);
}

void CTextUI::PaintText(HDC dc)
{
    if (m_sText.IsEmpty()) {
        m_nLinks = 0;
        return;
    }
    TakeDefaultColors();
    RECT rc = TextRect();
    DWORD color = IsEnabled() ? m_dwTextColor : m_dwDisabledTextColor;
    m_nLinks = kMaxLinks;
    if (m_bShowHtml) {
        CGdiPainter::DrawMarkupText(dc, m_pManager, rc, m_sText, color, m_rcLinks, m_sLinks, m_nLinks, m_uTextStyle);
    } else {
        CGdiPainter::DrawText(dc, m_pManager, rc, m_sText, color, m_iFont, m_uTextStyle);
    }
}

} // namespace DirectUI
