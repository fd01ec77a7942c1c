#include "control/ListLabelElementUI.h"

#include "control/ListItemRules.h"
#include "render/GdiPainter.h"

namespace DirectUI {

LPCWSTR CListLabelElementUI::GetControlClass() const { return L"ListLabelElementUI"; }

LPVOID CListLabelElementUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"ListLabelElement") == 0) return this;
    return CListElementUI::GetInterface(name);
}

int CListLabelElementUI::ItemTextHeight(const ListInfo& info) const
{
    int font = m_pManager != NULL ? m_pManager->GetFontEntry(info.nFont)->tm.tmHeight : 0;
    return font + info.rcTextPadding.top + info.rcTextPadding.bottom + 8;
}

SIZE CListLabelElementUI::PreferredSize(SIZE)
{
    SIZE size = { 0, 0 };
    if (m_pOwner == NULL) return size;
    const ListInfo& info = *m_pOwner->GetListInfo();
    size = m_cxyFixed;
    if (size.cx == 0 && m_pManager != NULL) {
        RECT rc = { 0, 0, 9999, 9999 };
        UINT style = (info.uTextStyle & ~(DT_CENTER | DT_RIGHT)) | DT_SINGLELINE | DT_CALCRECT;
        if (info.bShowHtml) {
            int links = 0;
            CGdiPainter::DrawMarkupText(m_pManager->GetPaintDC(), m_pManager, rc, m_sText, 0, NULL, NULL, links, style);
        } else {
            CGdiPainter::DrawText(m_pManager->GetPaintDC(), m_pManager, rc, m_sText, 0, info.nFont, style);
        }
        size.cx = rc.right - rc.left + info.rcTextPadding.left + info.rcTextPadding.right;
    }
    if (size.cy == 0) size.cy = ItemTextHeight(info);
    return size;
}

void CListLabelElementUI::Paint(HDC dc, const RECT& rcPaint)
{
    if (!IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return;
    DrawItemBackground(dc, m_rcItem);
    DrawItemText(dc, m_rcItem);
}

void CListLabelElementUI::DrawItemText(HDC dc, const RECT& rcItem)
{
    if (m_sText.IsEmpty() || m_pOwner == NULL) return;
    const ListInfo& info = *m_pOwner->GetListInfo();
    DWORD color = ListItemTextColor(info, this, m_bSelected, m_uButtonState);
    RECT rc = DeflatedRect(rcItem, info.rcTextPadding);
    if (info.bShowHtml) {
        int links = 0;
        CGdiPainter::DrawMarkupText(dc, m_pManager, rc, m_sText, color, NULL, NULL, links,
                                    info.uTextStyle | DT_SINGLELINE);
    } else {
        CGdiPainter::DrawText(dc, m_pManager, rc, m_sText, color, info.nFont, info.uTextStyle | DT_SINGLELINE);
    }
}

} // namespace DirectUI
