#include "control/ListTextElementUI.h"

#include "control/ListItemRules.h"
#include "render/GdiPainter.h"

namespace DirectUI {

CListTextElementUI::CListTextElementUI() : m_nLinks(0), m_nHoverLink(-1), m_pOwnerList(NULL)
{
    ZeroMemory(m_rcLinks, sizeof(m_rcLinks));
}

CListTextElementUI::~CListTextElementUI()
{
    for (int i = 0; i < m_aTexts.GetSize(); ++i) delete static_cast<CUIString*>(m_aTexts[i]);
}

LPCWSTR CListTextElementUI::GetControlClass() const { return L"ListTextElementUI"; }

LPVOID CListTextElementUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"ListTextElement") == 0) return this;
    return CListLabelElementUI::GetInterface(name);
}

UINT CListTextElementUI::GetControlFlags() const
{
    return UIFLAG_WANTRETURN | (m_nLinks > 0 ? UIFLAG_SETCURSOR : 0);
}

CUIString CListTextElementUI::GetText(int column) const
{
    CUIString* text = static_cast<CUIString*>(m_aTexts.GetAt(column));
    return text != NULL ? *text : CUIString();
}

void CListTextElementUI::SetText(int column, LPCWSTR text)
{
    // Columns beyond the 32 a list has are never drawn.
    if (column < 0 || column >= ListInfo::kMaxColumns) return;
    while (m_aTexts.GetSize() <= column) m_aTexts.Add(NULL);
    CUIString* stored = static_cast<CUIString*>(m_aTexts[column]);
    if (stored == NULL) {
        stored = new CUIString;
        m_aTexts.Remove(column);
        m_aTexts.InsertAt(column, stored);
    }
    *stored = text;
    InvalidateListItem(this);
}

RECT CListTextElementUI::GetLinkRect(int index) const
{
    RECT none = { 0, 0, 0, 0 };
    return index >= 0 && index < m_nLinks ? m_rcLinks[index] : none;
}

void CListTextElementUI::SetOwner(CControlUI* owner)
{
    CListElementUI::SetOwner(owner);
    m_pOwnerList = owner != NULL ? static_cast<IListUI*>(owner->GetInterface(L"IList")) : NULL;
}

void CListTextElementUI::HandleEvent(ControlEvent& event)
{
    int link = -1;
    for (int i = 0; i < m_nLinks; ++i) {
        if (PtInRect(&m_rcLinks[i], event.ptMouse)) {
            link = i;
            break;
        }
    }
    switch (event.Type) {
    case UIEVENT_SETCURSOR:
        if (link >= 0) {
            ::SetCursor(::LoadCursor(NULL, IDC_HAND));
            return;
        }
        break;
    case UIEVENT_BUTTONUP:
        if (link >= 0 && IsEnabled() && m_pManager != NULL) m_pManager->SendNotify(this, L"link", link);
        break;
    case UIEVENT_MOUSEMOVE:
        if (m_nLinks > 0 && link != m_nHoverLink) {
            m_nHoverLink = link;
            InvalidateListItem(this);
        }
        break;
    case UIEVENT_MOUSELEAVE:
        if (m_nHoverLink != -1) {
            m_nHoverLink = -1;
            InvalidateListItem(this);
        }
        break;
    default:
        break;
    }
    CListLabelElementUI::HandleEvent(event);
}

SIZE CListTextElementUI::PreferredSize(SIZE)
{
    SIZE size = m_cxyFixed;
    if (size.cy == 0 && m_pOwner != NULL) size.cy = ItemTextHeight(*m_pOwner->GetListInfo());
    return size;
}

void CListTextElementUI::DrawItemText(HDC dc, const RECT& rcItem)
{
    if (m_pOwner == NULL) return;
    const ListInfo& info = *m_pOwner->GetListInfo();
    DWORD color = ListItemTextColor(info, this, m_bSelected, m_uButtonState);
    ListTextProvider* provider = m_pOwnerList != NULL ? m_pOwnerList->GetTextProvider() : NULL;
    int columns = info.nColumns < ListInfo::kMaxColumns ? info.nColumns : ListInfo::kMaxColumns;
    m_nLinks = 0;
    for (int i = 0; i < columns; ++i) {
        RECT rc = { info.rcColumn[i].left + info.rcTextPadding.left, rcItem.top + info.rcTextPadding.top,
                    info.rcColumn[i].right - info.rcTextPadding.right, rcItem.bottom - info.rcTextPadding.bottom };
        CUIString text = provider != NULL ? provider->GetItemText(this, m_iIndex, i) : GetText(i);
        if (info.bShowHtml) {
            // Each column gets the link slots still free.
            int links = kMaxLinks - m_nLinks;
            CGdiPainter::DrawMarkupText(dc, m_pManager, rc, text, color, &m_rcLinks[m_nLinks], &m_sLinks[m_nLinks],
                                        links, info.uTextStyle | DT_SINGLELINE);
            if (links > 0) m_nLinks += links;
            if (m_nLinks > kMaxLinks) m_nLinks = kMaxLinks;
        } else {
            CGdiPainter::DrawText(dc, m_pManager, rc, text, color, info.nFont, info.uTextStyle | DT_SINGLELINE);
        }
    }
    for (int i = m_nLinks; i < kMaxLinks; ++i) {
        SetRectEmpty(&m_rcLinks[i]);
        m_sLinks[i].Empty();
    }
}

} // namespace DirectUI
