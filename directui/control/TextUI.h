#pragma once

#include "control/LabelUI.h"

namespace DirectUI {

// Multi-line text whose markup may hold up to 8 links, reported as "link"
// with the link's index in text order.
class CTextUI : public CLabelUI
{
public:
    enum { kMaxLinks = 8 };

    CTextUI();
    ~CTextUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void HandleEvent(ControlEvent& event) override;
    SIZE PreferredSize(SIZE available) override;
    void PaintText(HDC dc) override;

    int GetLinkCount() const { return m_nLinks; }
    CUIString GetLinkContent(int index) const;
    // Where a recorded link piece lies (one piece per line a link covers).
    RECT GetLinkRect(int slot) const;
    // The link index (text order) under pt, or -1.
    int LinkAt(POINT pt) const;

protected:
    // Slots hold one piece per line a link covers; this counts links.
    int LinkOfSlot(int slot) const;

    int m_nLinks;
    RECT m_rcLinks[kMaxLinks];
    CUIString m_sLinks[kMaxLinks];
    int m_nHoverLink;
};

} // namespace DirectUI
