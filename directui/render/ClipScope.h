#pragma once

#include <windows.h>

namespace DirectUI {

// Narrows a device context's clip region for one control's painting and puts
// the earlier region back when it goes out of scope.
class CClipScope
{
public:
    CClipScope();
    ~CClipScope();

    static void ClipToRect(HDC dc, const RECT& rc, CClipScope& scope);
    static void ClipToRoundRect(HDC dc, const RECT& rc, int width, int height, CClipScope& scope);

    void SelectSaved();
    void SelectNew();

private:
    CClipScope(const CClipScope&);
    CClipScope& operator=(const CClipScope&);
    void Begin(HDC dc, const RECT& rc);
    void Restore();

    RECT m_rcItem;
    HDC m_hDC;
    HRGN m_hRgn;
    HRGN m_hOldRgn;
};

} // namespace DirectUI
