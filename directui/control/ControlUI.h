#pragma once

#include "core/DelegateList.h"
#include "core/UIRect.h"
#include "core/UISize.h"
#include "core/UIString.h"
#include "manager/WindowUIManager.h"

namespace DirectUI {

// Where a floating child sits when its container grows: the parent size it
// was designed for and the share (in percent) of the growth it moves and
// stretches by.
struct RelativePosUI
{
    bool bRelative;
    SIZE szParent;
    int nMoveXPercent;
    int nMoveYPercent;
    int nZoomXPercent;
    int nZoomYPercent;
};

// Base of every element of a framework window: a windowless rectangle with
// a name, a text, sizing rules, state, background, border and listeners.
class CControlUI
{
public:
    CControlUI();
    virtual ~CControlUI();

    // Controls of the process constructed and not yet destroyed; shows
    // whether a window's tree went with it.
    static LONG LiveCount();

    virtual CUIString GetName() const;
    virtual void SetName(LPCWSTR name);
    virtual LPCWSTR GetControlClass() const;
    virtual LPVOID GetInterface(LPCWSTR name);
    virtual UINT GetControlFlags() const;
    virtual bool Activate();
    virtual CWindowUIManager* GetManager() const;
    virtual void SetManager(CWindowUIManager* manager, CControlUI* parent, bool init = true);
    virtual CControlUI* GetParent() const;
    virtual CUIString GetText() const;
    virtual void SetText(LPCWSTR text);
    virtual const RECT& GetPos() const;
    virtual void SetPos(RECT rc);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetX() const;
    virtual int GetY() const;
    virtual RECT GetPadding() const;
    virtual void SetPadding(RECT rc);
    virtual SIZE GetFixedXY() const;
    virtual void SetFixedXY(SIZE xy);
    virtual int GetFixedWidth() const;
    virtual int GetFixedHeight() const;
    virtual void SetFixedWidth(int cx);
    virtual void SetFixedHeight(int cy);
    virtual int GetMinWidth() const;
    virtual int GetMaxWidth() const;
    virtual int GetMinHeight() const;
    virtual int GetMaxHeight() const;
    virtual void SetMinWidth(int cx);
    virtual void SetMaxWidth(int cx);
    virtual void SetMinHeight(int cy);
    virtual void SetMaxHeight(int cy);
    virtual void SetRelativePos(SIZE move, SIZE zoom);
    virtual void SetRelativeParentSize(SIZE size);
    virtual RelativePosUI GetRelativePos() const;
    virtual bool IsRelativePos() const;
    virtual CUIString GetToolTip() const;
    virtual void SetToolTip(LPCWSTR text);
    virtual void SetToolTipWidth(int width);
    virtual int GetToolTipWidth() const;
    virtual WCHAR GetShortcut() const;
    virtual void SetShortcut(WCHAR ch);
    virtual bool IsMenuEnabled() const;
    virtual void SetMenuEnabled(bool enabled);
    virtual CUIString GetUserData() const;
    virtual void SetUserData(LPCWSTR text);
    virtual UINT_PTR GetTag() const;
    virtual void SetTag(UINT_PTR tag);
    virtual bool IsVisible() const;
    virtual void SetVisible(bool visible = true);
    virtual void SetVisibleByParent(bool visible);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool enabled = true);
    virtual bool IsMouseEnabled() const;
    virtual void SetMouseEnabled(bool enabled = true);
    virtual bool IsKeyboardEnabled() const;
    virtual void SetKeyboardEnabled(bool enabled = true);
    virtual bool IsFocused() const;
    virtual void SetFocus();
    virtual bool IsFloat() const;
    virtual void SetFloat(bool floating = true);
    virtual CControlUI* FindControl(FINDCONTROLPROC proc, LPVOID data, UINT flags);
    virtual void Init();
    virtual void InitSelf();
    virtual void DispatchEvent(ControlEvent& event);
    virtual void HandleEvent(ControlEvent& event);
    virtual void SetAttribute(LPCWSTR name, LPCWSTR value);
    virtual SIZE PreferredSize(SIZE available);
    virtual void Paint(HDC dc, const RECT& rcPaint);
    virtual void PaintBackColor(HDC dc);
    virtual void PaintBackImage(HDC dc);
    virtual void PaintStateImage(HDC dc);
    virtual void PaintText(HDC dc);
    virtual void PaintBorder(HDC dc);
    virtual void PaintOverlay(HDC dc, const RECT& rcPaint);

    void Invalidate();
    void RequestLayout();
    void RequestParentLayout();
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    void ApplyAttributes(LPCWSTR list);
    bool DrawImage(HDC dc, LPCWSTR image, LPCWSTR modify = NULL);
    DWORD AdjustColor(DWORD color) const;
    CUIString GetVirtualWnd() const;
    void SetVirtualWnd(LPCWSTR name);

    DWORD GetBkColor() const { return m_dwBackColor; }
    void SetBkColor(DWORD color);
    DWORD GetBkColor2() const { return m_dwBackColor2; }
    void SetBkColor2(DWORD color);
    DWORD GetBkColor3() const { return m_dwBackColor3; }
    void SetBkColor3(DWORD color);
    CUIString GetBkImage() const { return m_sBkImage; }
    void SetBkImage(LPCWSTR image);
    DWORD GetBorderColor() const { return m_dwBorderColor; }
    void SetBorderColor(DWORD color);
    DWORD GetFocusBorderColor() const { return m_dwFocusBorderColor; }
    void SetFocusBorderColor(DWORD color);
    bool IsColorHsl() const { return m_bColorHsl; }
    void SetColorHsl(bool hsl);
    int GetBorderSize() const { return m_nBorderSize; }
    void SetBorderSize(int size);
    void SetBorderSize(RECT rc);
    SIZE GetBorderRound() const { return m_cxyBorderRound; }
    void SetBorderRound(SIZE round);
    int GetBorderStyle() const { return m_nBorderStyle; }
    void SetBorderStyle(int style);
    RECT GetSideBorderSize() const;
    void SetLeftBorderSize(int size);
    void SetTopBorderSize(int size);
    void SetRightBorderSize(int size);
    void SetBottomBorderSize(int size);

    CDelegateList OnInit;
    CDelegateList OnDestroy;
    CDelegateList OnSize;
    CDelegateList OnEvent;
    CDelegateList OnNotify;

protected:
    void InvalidateArea(RECT rc);

    CWindowUIManager* m_pManager;
    CControlUI* m_pParent;
    CUIString m_sVirtualWnd;
    CUIString m_sName;
    bool m_bUpdateNeeded;
    bool m_bMenuUsed;
    RECT m_rcItem;
    RECT m_rcPadding;
    SIZE m_cXY;
    SIZE m_cxyFixed;
    SIZE m_cxyMin;
    SIZE m_cxyMax;
    bool m_bVisible;
    bool m_bInternVisible;
    bool m_bEnabled;
    bool m_bMouseEnabled;
    bool m_bKeyboardEnabled;
    bool m_bFocused;
    bool m_bFloat;
    bool m_bSetPos;
    RelativePosUI m_tRelativePos;
    CUIString m_sText;
    CUIString m_sToolTip;
    WCHAR m_chShortcut;
    CUIString m_sUserData;
    UINT_PTR m_pTag;
    DWORD m_dwBackColor;
    DWORD m_dwBackColor2;
    DWORD m_dwBackColor3;
    CUIString m_sBkImage;
    DWORD m_dwBorderColor;
    DWORD m_dwFocusBorderColor;
    bool m_bColorHsl;
    int m_nBorderSize;
    int m_nBorderStyle;
    int m_nTooltipWidth;
    SIZE m_cxyBorderRound;
    RECT m_rcPaint;
    RECT m_rcBorderSize;

private:
    CControlUI(const CControlUI&);
    CControlUI& operator=(const CControlUI&);
};

} // namespace DirectUI
