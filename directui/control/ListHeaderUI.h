#pragma once

#include "control/HorizontalLayoutUI.h"

namespace DirectUI {

// The column header of a list: its items are the columns.
class CListHeaderUI : public CHorizontalLayoutUI
{
public:
    CListHeaderUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetPos(RECT rc) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE PreferredSize(SIZE available) override;

    bool IsScaleHeader() const { return m_bIsScaleHeader; }
    void SetScaleHeader(bool scale) { m_bIsScaleHeader = scale; }

protected:
    bool m_bIsScaleHeader;
};

} // namespace DirectUI
