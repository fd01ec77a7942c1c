#pragma once

#include "control/ControlUI.h"

namespace DirectUI {

class CContainerUI;

// A scroll bar of two arrow buttons, a rail and a thumb. With an owner it
// turns presses, drags and the repeat timer into the owner's scrolling
// commands; without one it keeps its own position and sends "scroll".
class CScrollBarUI : public CControlUI
{
public:
    enum { kRepeatTimerId = 10, kRepeatElapse = 50, kRepeatDelayTicks = 5, kDefaultThickness = 16 };

    CScrollBarUI();
    ~CScrollBarUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool visible = true) override;
    void SetEnabled(bool enabled = true) override;
    void SetFocus() override;
    void HandleEvent(ControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void Paint(HDC dc, const RECT& rcPaint) override;

    CContainerUI* GetOwner() const { return m_pOwner; }
    void SetOwner(CContainerUI* owner) { m_pOwner = owner; }
    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool horizontal = true);
    int GetScrollRange() const { return m_nRange; }
    void SetScrollRange(int range);
    int GetScrollPos() const { return m_nScrollPos; }
    void SetScrollPos(int pos);
    int GetLineSize() const { return m_nLineSize; }
    void SetLineSize(int size) { m_nLineSize = size; }
    bool GetShowButton1() const { return m_bShowButton1; }
    void SetShowButton1(bool show);
    bool GetShowButton2() const { return m_bShowButton2; }
    void SetShowButton2(bool show);

    // The parts as last laid out, in window coordinates.
    RECT GetButton1Rect() const { return m_rcButton1; }
    RECT GetButton2Rect() const { return m_rcButton2; }
    RECT GetThumbRect() const { return m_rcThumb; }
    UINT GetButton1State() const { return m_uButton1State; }
    UINT GetButton2State() const { return m_uButton2State; }
    UINT GetThumbState() const { return m_uThumbState; }

    // Images of the parts, indexed by PartImage.
    enum PartImage { kNormal = 0, kHot = 1, kPushed = 2, kDisabled = 3 };
    CUIString GetBkImage(PartImage which) const { return m_sBkImages[which]; }
    void SetBkImage(PartImage which, LPCWSTR image);
    CUIString GetButton1Image(PartImage which) const { return m_sButton1Images[which]; }
    void SetButton1Image(PartImage which, LPCWSTR image);
    CUIString GetButton2Image(PartImage which) const { return m_sButton2Images[which]; }
    void SetButton2Image(PartImage which, LPCWSTR image);
    CUIString GetThumbImage(PartImage which) const { return m_sThumbImages[which]; }
    void SetThumbImage(PartImage which, LPCWSTR image);
    CUIString GetRailImage(PartImage which) const { return m_sRailImages[which]; }
    void SetRailImage(PartImage which, LPCWSTR image);

private:
    int Thickness() const;
    void StepBack();
    void StepForward();
    void PageBack();
    void PageForward();
    void MoveTo(int pos);
    void NotifyScroll();
    void SetPartImage(CUIString* images, PartImage which, LPCWSTR image);
    static CUIString* ImageForState(CUIString* images, UINT state);
    void DrawPart(HDC dc, CUIString* images, UINT state, const RECT& part, bool outline);

    bool m_bHorizontal;
    int m_nRange;
    int m_nScrollPos;
    int m_nLineSize;
    CContainerUI* m_pOwner;
    POINT m_ptLastMouse;
    int m_nLastScrollPos;
    int m_nLastScrollOffset;
    int m_nScrollRepeatDelay;
    CUIString m_sBkImages[4];
    bool m_bShowButton1;
    RECT m_rcButton1;
    UINT m_uButton1State;
    CUIString m_sButton1Images[4];
    bool m_bShowButton2;
    RECT m_rcButton2;
    UINT m_uButton2State;
    CUIString m_sButton2Images[4];
    RECT m_rcThumb;
    UINT m_uThumbState;
    CUIString m_sThumbImages[4];
    CUIString m_sRailImages[4];
};

} // namespace DirectUI
