#pragma once

#include "manager/ControlEvent.h"

namespace DirectUI {

class CControlUI;

// The drag strip of a vertical or horizontal layout: a band along its bottom
// (right) edge, or its top (left) edge for a negative size, that the user
// drags to change the layout's own fixed height (width).
class CLayoutSeparator
{
public:
    explicit CLayoutSeparator(bool vertical);

    int GetSize() const { return m_iSepSize; }
    void SetSize(int size) { m_iSepSize = size; }
    bool IsImmediate() const { return m_bImmediateMode; }
    void SetImmediate(CControlUI* layout, bool immediate);
    bool IsDragging() const { return (m_uButtonState & 0x40) != 0; }
    RECT GetNewPos() const { return m_rcNewPos; }

    // The strip of a layout placed at rc.
    RECT Strip(const RECT& rc) const;
    // Handles the separator's part of an event; false when the layout's
    // container should see it.
    bool HandleEvent(CControlUI* layout, ControlEvent& event);
    // The shade where the dragged edge will go.
    void PaintOverlay(HDC dc) const;

private:
    bool m_bVertical;
    int m_iSepSize;
    UINT m_uButtonState;
    POINT m_ptLastMouse;
    RECT m_rcNewPos;
    bool m_bImmediateMode;
};

} // namespace DirectUI
