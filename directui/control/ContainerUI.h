#pragma once

#include "control/ControlUI.h"
#include "control/IContainerUI.h"
#include "core/PointerArray.h"

namespace DirectUI {

class CScrollBarUI;

// A control that owns child controls: places non-floating children over its
// inner rectangle (layouts replace that), scrolls, hit-tests and paints them.
class CContainerUI : public CControlUI, public IContainerUI
{
public:
    CContainerUI();
    ~CContainerUI() override;

    LPCWSTR GetControlClass() const override;
    LPVOID GetInterface(LPCWSTR name) override;

    void SetManager(CWindowUIManager* manager, CControlUI* parent, bool init = true) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool visible = true) override;
    void SetVisibleByParent(bool visible) override;
    void SetEnabled(bool enabled = true) override;
    void SetMouseEnabled(bool enabled = true) override;
    CControlUI* FindControl(FINDCONTROLPROC proc, LPVOID data, UINT flags) override;
    void HandleEvent(ControlEvent& event) override;
    void SetAttribute(LPCWSTR name, LPCWSTR value) override;
    void Paint(HDC dc, const RECT& rcPaint) override;

    virtual RECT GetInset() const;
    virtual void SetInset(RECT rc);
    virtual int GetChildPadding() const;
    virtual void SetChildPadding(int padding);
    virtual bool IsAutoDestroy() const;
    virtual void SetAutoDestroy(bool autoDestroy);
    virtual bool IsDelayedDestroy() const;
    virtual void SetDelayedDestroy(bool delayed);
    virtual bool IsMouseChildEnabled() const;
    virtual void SetMouseChildEnabled(bool enabled = true);
    virtual int FindSelectableItem(int index, bool forward = true) const;
    virtual SIZE GetScrollPos() const;
    virtual SIZE GetScrollRange() const;
    virtual void SetScrollPos(SIZE pos);
    virtual void SetScrollStepSize(int size);
    virtual int GetScrollStepSize() const;
    virtual void LineUp();
    virtual void LineDown();
    virtual void PageUp();
    virtual void PageDown();
    virtual void HomeUp();
    virtual void EndDown();
    virtual void LineLeft();
    virtual void LineRight();
    virtual void PageLeft();
    virtual void PageRight();
    virtual void HomeLeft();
    virtual void EndRight();
    virtual void EnableScrollBars(bool vertical = true, bool horizontal = false);
    virtual CScrollBarUI* GetVerticalScrollBar() const;
    virtual CScrollBarUI* GetHorizontalScrollBar() const;
    virtual void PlaceFloatingChild(int index);
    virtual void LayoutScrollBars(RECT rc, int cxNeeded, int cyNeeded);

    // After the container's own operations: this compiler gives overriders of
    // the second base entries in the first table, in declaration order.
    CControlUI* ItemAt(int index) const override;
    int IndexOf(CControlUI* control) const override;
    bool MoveItem(CControlUI* control, int newIndex) override;
    int Count() const override;
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

protected:
    void DisposeChild(CControlUI* control);
    // The control's rectangle less the inset; InnerRect also leaves out the
    // visible scroll bars.
    RECT InsetRect() const;
    RECT InnerRect() const;
    // The parts of Paint after the control's own painting.
    void PaintChildren(HDC dc, const RECT& rcPaint);
    void PaintScrollBars(HDC dc, const RECT& rcPaint);
    int VerticalLineStep() const;
    int HorizontalLineStep() const;
    int PageHeight() const;
    int PageWidth() const;
    void ScrollBy(int dx, int dy);

    CPointerArray m_items;
    RECT m_rcInset;
    int m_iChildPadding;
    bool m_bAutoDestroy;
    bool m_bDelayedDestroy;
    bool m_bMouseChildEnabled;
    bool m_bScrollProcess;
    int m_nScrollStepSize;
    CScrollBarUI* m_pVerticalScrollBar;
    CScrollBarUI* m_pHorizontalScrollBar;
};

} // namespace DirectUI
