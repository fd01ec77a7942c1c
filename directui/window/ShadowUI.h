#pragma once

#include "core/UIString.h"

namespace DirectUI {

class CWindowUIManager;

// Soft shadow around a framework window: a layered, click-through window
// ("DalboShadowWnd") behind the shadowed one, its per-pixel alpha computed
// from the window's region or drawn from a nine-part image, following the
// window as it moves, sizes, hides and shows. Off unless "showshadow".
class CShadowUI
{
public:
    CShadowUI();
    virtual ~CShadowUI() {}

    static bool Initialize(HINSTANCE instance);
    static LPCWSTR GetWindowClass() { return L"DalboShadowWnd"; }
    // The shadow of a shadowed window, or null.
    static CShadowUI* FindShadow(HWND shadowed);

    void Create(CWindowUIManager* manager);
    void Update(HWND shadowed);

    bool SetSize(int size);
    bool SetSharpness(unsigned int sharpness);
    bool SetDarkness(unsigned int darkness);
    bool SetPosition(int x, int y);
    bool SetColor(COLORREF color);
    bool SetImage(LPCWSTR image);
    bool SetShadowCorner(const RECT& corner);
    void ShowShadow(bool show) { m_bIsShowShadow = show; }
    bool IsShowShadow() const { return m_bIsShowShadow; }
    int GetSize() const { return m_nSize; }
    int GetSharpness() const { return m_nSharpness; }
    int GetDarkness() const { return m_nDarkness; }
    POINT GetPosition() const { POINT pt = { m_nxOffset, m_nyOffset }; return pt; }
    COLORREF GetColor() const { return m_Color; }
    CUIString GetImage() const { return m_sShadowImage; }
    bool IsImageMode() const { return m_bIsImageMode; }
    RECT GetShadowCorner() const { return m_rcShadowCorner; }
    HWND GetShadowWindow() const { return m_hWnd; }
    bool IsUpdatePending() const { return m_bUpdate != 0; }

    // Fills a cleared top-down 32-bit bitmap of the shadowed window's size
    // plus twice the shadow size with the computed shadow.
    void MakeShadow(UINT32* bits, HWND shadowed, const RECT& rcParent);
    // A colour's three low bytes scaled by alpha / 255, alpha in the top byte.
    static DWORD PreMultiply(COLORREF color, unsigned char alpha);

private:
    static LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void SetShowing(bool shown);
    void UpdateIfShown();
    POINT ShadowOrigin(const RECT& rcParent) const;
    int GeometrySize() const { return m_nSize > 0 ? m_nSize : 0; }

    enum { kCreated = 1, kShown = 2, kParentVisible = 4 };

    CWindowUIManager* m_pManager;
    HWND m_hWnd;
    WNDPROC m_OriParentProc;
    BYTE m_Status;
    bool m_bIsImageMode;
    bool m_bIsShowShadow;
    BYTE m_nDarkness;
    BYTE m_nSharpness;
    signed char m_nSize;
    signed char m_nxOffset;
    signed char m_nyOffset;
    WORD m_WndSizeX;
    WORD m_WndSizeY;
    BYTE m_bUpdate;
    COLORREF m_Color;
    CUIString m_sShadowImage;
    RECT m_rcShadowCorner;
};

} // namespace DirectUI
