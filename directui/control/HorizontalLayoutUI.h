#pragma once

#include "control/ContainerUI.h"
#include "control/LayoutSeparator.h"

namespace DirectUI {

// Places its children from left to right; children of width 0 share what
// the others leave. An optional separator strip resizes the layout itself.
class CHorizontalLayoutUI : public CContainerUI
{
public:
    CHorizontalLayoutUI();

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetPos(RECT rc) override;
    void HandleEvent(ControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintOverlay(HDC dc, const RECT& rcPaint) override;

    void SetSepWidth(int width) { m_separator.SetSize(width); }
    int GetSepWidth() const { return m_separator.GetSize(); }
    void SetSepImmMode(bool immediate) { m_separator.SetImmediate(this, immediate); }
    bool IsSepImmMode() const { return m_separator.IsImmediate(); }
    RECT GetThumbRect(bool useNew = false) const;

protected:
    CLayoutSeparator m_separator;
};

} // namespace DirectUI
