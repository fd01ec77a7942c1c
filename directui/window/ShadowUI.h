#pragma once

#include "core/UIString.h"

namespace DirectUI {

class CWindowUIManager;

// Soft shadow around a framework window. So far it validates and holds its
// settings and registers its window class; Create makes no shadow window yet
// (nothing can enable "showshadow" before the skin builder exists).
class CShadowUI
{
public:
    CShadowUI();
    virtual ~CShadowUI() {}

    static bool Initialize(HINSTANCE instance);
    static LPCWSTR GetWindowClass() { return L"DalboShadowWnd"; }

    void Create(CWindowUIManager* manager);

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

private:
    CWindowUIManager* m_pManager;
    HWND m_hWnd;
    bool m_bIsImageMode;
    bool m_bIsShowShadow;
    BYTE m_nDarkness;
    BYTE m_nSharpness;
    signed char m_nSize;
    signed char m_nxOffset;
    signed char m_nyOffset;
    COLORREF m_Color;
    CUIString m_sShadowImage;
    RECT m_rcShadowCorner;
};

} // namespace DirectUI
