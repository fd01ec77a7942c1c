#pragma once

#include "control/ContainerUI.h"
#include "control/LayoutSeparator.h"

namespace DirectUI {

// Stacks its children from top to bottom; children of height 0 share what
// the others leave. An optional separator strip resizes the layout itself.
class CVerticalLayoutUI : public CContainerUI
{
public:
    CVerticalLayoutUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetPos(RECT rc) override;
    void HandleEvent(ControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintOverlay(HDC dc, const RECT& rcPaint) override;

    void SetSepHeight(int height) { m_separator.SetSize(height); }
    int GetSepHeight() const { return m_separator.GetSize(); }
    void SetSepImmMode(bool immediate) { m_separator.SetImmediate(this, immediate); }
    bool IsSepImmMode() const { return m_separator.IsImmediate(); }
    RECT GetThumbRect(bool useNew = false) const;

protected:
    CLayoutSeparator m_separator;
};

} // namespace DirectUI
