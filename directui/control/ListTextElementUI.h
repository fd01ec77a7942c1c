#pragma once

#include "control/ListLabelElementUI.h"
#include "core/PointerArray.h"

namespace DirectUI {

// A list item with one text per header column; marked-up texts may hold
// up to 8 links.
class CListTextElementUI : public CListLabelElementUI
{
public:
    enum { kMaxLinks = 8 };

    CListTextElementUI();
    ~CListTextElementUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void HandleEvent(ControlEvent& event) override;
    SIZE PreferredSize(SIZE available) override;
    void SetOwner(CControlUI* owner) override;
    void DrawItemText(HDC dc, const RECT& rcItem) override;

    // The element's own text of a column, used when the list has no text
    // provider; a column never set reads as empty.
    CUIString GetText(int column) const;
    void SetText(int column, LPCWSTR text);
    using CListLabelElementUI::GetText;
    using CListLabelElementUI::SetText;
    int GetLinkCount() const { return m_nLinks; }
    RECT GetLinkRect(int index) const;

protected:
    int m_nLinks;
    RECT m_rcLinks[kMaxLinks];
    CUIString m_sLinks[kMaxLinks];
    int m_nHoverLink;
    IListUI* m_pOwnerList;
    CPointerArray m_aTexts;
};

} // namespace DirectUI
