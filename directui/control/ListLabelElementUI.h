#pragma once

#include "control/ListElementUI.h"

namespace DirectUI {

// A list item showing one text in the list's item style.
class CListLabelElementUI : public CListElementUI
{
public:
    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    SIZE PreferredSize(SIZE available) override;
    void Paint(HDC dc, const RECT& rcPaint) override;
    void DrawItemText(HDC dc, const RECT& rcItem) override;

protected:
    // Height of one line in the list's item font, with its text padding.
    int ItemTextHeight(const ListInfo& info) const;
};

} // namespace DirectUI
