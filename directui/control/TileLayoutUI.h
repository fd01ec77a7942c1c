#pragma once

#include "control/ContainerUI.h"

namespace DirectUI {

// Arranges its children in a grid of equal tiles, each child centred in its
// tile; an item width fixes the number of columns by the width available.
class CTileLayoutUI : public CContainerUI
{
public:
    CTileLayoutUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetPos(RECT rc) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;

    SIZE GetItemSize() const { return m_szItem; }
    void SetItemSize(SIZE size);
    int GetColumns() const { return m_nColumns; }
    void SetColumns(int columns);

private:
    SIZE m_szItem;
    int m_nColumns;
};

} // namespace DirectUI
