#include "control/ContainerUI.h"

#include "control/LayoutMath.h"

#include "control/ScrollBarUI.h"
#include "core/SkinValues.h"
#include "render/ClipScope.h"

namespace DirectUI {

CContainerUI::CContainerUI()
    : m_iChildPadding(0), m_bAutoDestroy(true), m_bDelayedDestroy(true), m_bMouseChildEnabled(true),
      m_bScrollProcess(false), m_nScrollStepSize(0), m_pVerticalScrollBar(NULL), m_pHorizontalScrollBar(NULL)
{
    SetRectEmpty(&m_rcInset);
}

CContainerUI::~CContainerUI()
{
    m_bDelayedDestroy = false;
    RemoveAll();
    delete m_pVerticalScrollBar;
    delete m_pHorizontalScrollBar;
}

LPCWSTR CContainerUI::GetControlClass() const { return L"ContainerUI"; }

LPVOID CContainerUI::GetInterface(LPCWSTR name)
{
    if (name != NULL && wcscmp(name, L"IContainer") == 0) return static_cast<IContainerUI*>(this);
    if (name != NULL && wcscmp(name, L"Container") == 0) return static_cast<CContainerUI*>(this);
    return CControlUI::GetInterface(name);
}

// The container's own loops call CContainerUI::ItemAt by name: a list
// answers ItemAt with the items of its body, not with its own children.
CControlUI* CContainerUI::ItemAt(int index) const
{
    if (index < 0 || index >= m_items.GetSize()) return NULL;
    return static_cast<CControlUI*>(m_items[index]);
}

int CContainerUI::IndexOf(CControlUI* control) const { return m_items.Find(control); }
int CContainerUI::Count() const { return m_items.GetSize(); }

bool CContainerUI::MoveItem(CControlUI* control, int newIndex)
{
    int index = m_items.Find(control);
    if (index < 0) return false;
    RequestLayout();
    m_items.Remove(index);
    return m_items.InsertAt(newIndex, control);
}

bool CContainerUI::Add(CControlUI* control)
{
    if (control == NULL) return false;
    if (m_pManager != NULL) m_pManager->AdoptControls(control, this);
    if (IsVisible()) RequestLayout();
    else control->SetVisibleByParent(false);
    return m_items.Add(control);
}

bool CContainerUI::AddAt(CControlUI* control, int index)
{
    if (control == NULL) return false;
    if (m_pManager != NULL) m_pManager->AdoptControls(control, this);
    if (IsVisible()) RequestLayout();
    else control->SetVisibleByParent(false);
    if (index == m_items.GetSize()) return m_items.Add(control);
    return m_items.InsertAt(index, control);
}

void CContainerUI::DisposeChild(CControlUI* control)
{
    if (!m_bAutoDestroy) return;
    if (m_bDelayedDestroy && m_pManager != NULL) m_pManager->QueueDeletion(control);
    else delete control;
}

bool CContainerUI::Remove(CControlUI* control)
{
    if (control == NULL) return false;
    int index = m_items.Find(control);
    if (index < 0) return false;
    RequestLayout();
    m_items.Remove(index);
    // A child that is only unlinked goes back to the caller without a parent.
    if (!m_bAutoDestroy) control->SetManager(control->GetManager(), NULL, false);
    DisposeChild(control);
    return true;
}

bool CContainerUI::RemoveAt(int index)
{
    CControlUI* control = ItemAt(index);
    if (control == NULL) return false;
    return Remove(control);
}

void CContainerUI::RemoveAll()
{
    // The list is emptied first, so a child's destructor never sees itself
    // among its container's children.
    CPointerArray children(m_items);
    m_items.Empty();
    if (m_bAutoDestroy) {
        for (int i = 0; i < children.GetSize(); ++i) DisposeChild(static_cast<CControlUI*>(children[i]));
    }
    RequestLayout();
}

void CContainerUI::SetManager(CWindowUIManager* manager, CControlUI* parent, bool init)
{
    for (int i = 0; i < m_items.GetSize(); ++i) CContainerUI::ItemAt(i)->SetManager(manager, this, init);
    if (m_pVerticalScrollBar != NULL) m_pVerticalScrollBar->SetManager(manager, this, init);
    if (m_pHorizontalScrollBar != NULL) m_pHorizontalScrollBar->SetManager(manager, this, init);
    CControlUI::SetManager(manager, parent, init);
}

RECT CContainerUI::InsetRect() const { return DeflatedRect(m_rcItem, m_rcInset); }

RECT CContainerUI::InnerRect() const
{
    RECT rc = InsetRect();
    if (m_pVerticalScrollBar != NULL && m_pVerticalScrollBar->IsVisible())
        rc.right -= m_pVerticalScrollBar->GetFixedWidth();
    if (m_pHorizontalScrollBar != NULL && m_pHorizontalScrollBar->IsVisible())
        rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
    return rc;
}

void CContainerUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    if (m_items.IsEmpty()) return;
    rc = InsetRect();
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = CContainerUI::ItemAt(i);
        if (!child->IsVisible()) continue;
        if (child->IsFloat()) PlaceFloatingChild(i);
        else child->SetPos(rc);
    }
}

void CContainerUI::PlaceFloatingChild(int index)
{
    CControlUI* child = CContainerUI::ItemAt(index);
    if (child == NULL || !child->IsVisible() || !child->IsFloat()) return;
    SIZE xy = child->GetFixedXY();
    int w = child->GetFixedWidth(), h = child->GetFixedHeight();
    RECT rc;
    if (xy.cx >= 0) {
        rc.left = m_rcItem.left + xy.cx;
        rc.right = rc.left + w;
    } else {
        rc.right = m_rcItem.right + xy.cx;
        rc.left = rc.right - w;
    }
    if (xy.cy >= 0) {
        rc.top = m_rcItem.top + xy.cy;
        rc.bottom = rc.top + h;
    } else {
        rc.bottom = m_rcItem.bottom + xy.cy;
        rc.top = rc.bottom - h;
    }
    if (child->IsRelativePos()) {
        RelativePosUI rel = child->GetRelativePos();
        if (rel.szParent.cx != 0) {
            int dx = (m_rcItem.right - m_rcItem.left) - rel.szParent.cx;
            int dy = (m_rcItem.bottom - m_rcItem.top) - rel.szParent.cy;
            rc.left += dx * rel.nMoveXPercent / 100;
            rc.top += dy * rel.nMoveYPercent / 100;
            rc.right = rc.left + dx * rel.nZoomXPercent / 100 + w;
            rc.bottom = rc.top + dy * rel.nZoomYPercent / 100 + h;
        }
        SIZE size = { m_rcItem.right - m_rcItem.left, m_rcItem.bottom - m_rcItem.top };
        child->SetRelativeParentSize(size);
    }
    child->SetPos(rc);
}

void CContainerUI::LayoutScrollBars(RECT rc, int, int cyNeeded)
{
    if (m_pHorizontalScrollBar != NULL && m_pHorizontalScrollBar->IsVisible()) {
        RECT bar = { rc.left, rc.bottom, rc.right, rc.bottom + m_pHorizontalScrollBar->GetFixedHeight() };
        m_pHorizontalScrollBar->SetPos(bar);
    }
    if (m_pVerticalScrollBar == NULL) return;
    int height = rc.bottom - rc.top;
    if (cyNeeded > height && !m_pVerticalScrollBar->IsVisible()) {
        m_pVerticalScrollBar->SetVisible(true);
        m_pVerticalScrollBar->SetScrollRange(cyNeeded - height);
        m_pVerticalScrollBar->SetScrollPos(0);
        m_bScrollProcess = true;
        SetPos(m_rcItem);
        m_bScrollProcess = false;
        return;
    }
    if (!m_pVerticalScrollBar->IsVisible()) return;
    int scroll = cyNeeded - height;
    if (scroll <= 0 && !m_bScrollProcess) {
        m_pVerticalScrollBar->SetVisible(false);
        m_pVerticalScrollBar->SetScrollPos(0);
        m_pVerticalScrollBar->SetScrollRange(0);
        SetPos(m_rcItem);
        return;
    }
    RECT bar = { rc.right, rc.top, rc.right + m_pVerticalScrollBar->GetFixedWidth(), rc.bottom };
    m_pVerticalScrollBar->SetPos(bar);
    if (m_pVerticalScrollBar->GetScrollRange() != scroll) {
        int before = m_pVerticalScrollBar->GetScrollPos();
        m_pVerticalScrollBar->SetScrollRange(scroll < 0 ? -scroll : scroll);
        if (m_pVerticalScrollBar->GetScrollRange() == 0) {
            m_pVerticalScrollBar->SetVisible(false);
            m_pVerticalScrollBar->SetScrollPos(0);
        }
        if (before > m_pVerticalScrollBar->GetScrollPos()) SetPos(m_rcItem);
    }
}

SIZE CContainerUI::GetScrollPos() const
{
    SIZE pos = { 0, 0 };
    if (m_pVerticalScrollBar != NULL && m_pVerticalScrollBar->IsVisible()) pos.cy = m_pVerticalScrollBar->GetScrollPos();
    if (m_pHorizontalScrollBar != NULL && m_pHorizontalScrollBar->IsVisible())
        pos.cx = m_pHorizontalScrollBar->GetScrollPos();
    return pos;
}

SIZE CContainerUI::GetScrollRange() const
{
    SIZE range = { 0, 0 };
    if (m_pVerticalScrollBar != NULL && m_pVerticalScrollBar->IsVisible())
        range.cy = m_pVerticalScrollBar->GetScrollRange();
    if (m_pHorizontalScrollBar != NULL && m_pHorizontalScrollBar->IsVisible())
        range.cx = m_pHorizontalScrollBar->GetScrollRange();
    return range;
}

StackMeasure CContainerUI::MeasureStack(SIZE available, bool vertical) const
{
    StackMeasure measure = { 0, 0, 0, 0 };
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = CContainerUI::ItemAt(i);
        if (!child->IsVisible() || child->IsFloat()) continue;
        SIZE size = child->PreferredSize(available);
        RECT padding = child->GetPadding();
        int along = vertical ? size.cy : size.cx;
        if (along == 0) ++measure.adjustables;
        else if (vertical) measure.fixedTotal += ClampToLimits(along, child->GetMinHeight(), child->GetMaxHeight());
        else measure.fixedTotal += ClampToLimits(along, child->GetMinWidth(), child->GetMaxWidth());
        measure.fixedTotal += vertical ? padding.top + padding.bottom : padding.left + padding.right;
        ++measure.counted;
    }
    if (measure.adjustables > 0) {
        int room = vertical ? available.cy : available.cx;
        measure.share = (room - m_iChildPadding * (measure.counted - 1) - measure.fixedTotal) / measure.adjustables;
        if (measure.share < 0) measure.share = 0;
    }
    return measure;
}

void CContainerUI::FitHorizontalScrollBar(RECT& rc, int cxNeeded)
{
    if (m_pHorizontalScrollBar == NULL) return;
    const bool shown = m_pHorizontalScrollBar->IsVisible();
    const int width = rc.right - rc.left;
    if (cxNeeded > width) {
        if (!shown) m_pHorizontalScrollBar->SetVisible(true);
        m_pHorizontalScrollBar->SetScrollRange(cxNeeded - width);
        if (!shown) {
            m_pHorizontalScrollBar->SetScrollPos(0);
            rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
        }
    } else if (shown) {
        m_pHorizontalScrollBar->SetVisible(false);
        m_pHorizontalScrollBar->SetScrollRange(0);
        m_pHorizontalScrollBar->SetScrollPos(0);
        rc.bottom += m_pHorizontalScrollBar->GetFixedHeight();
    }
}

SIZE CContainerUI::MoveScrollBars(SIZE pos)
{
    SIZE moved = { 0, 0 };
    if (m_pVerticalScrollBar != NULL && m_pVerticalScrollBar->IsVisible()) {
        int old = m_pVerticalScrollBar->GetScrollPos();
        m_pVerticalScrollBar->SetScrollPos(pos.cy);
        moved.cy = m_pVerticalScrollBar->GetScrollPos() - old;
    }
    if (m_pHorizontalScrollBar != NULL && m_pHorizontalScrollBar->IsVisible()) {
        int old = m_pHorizontalScrollBar->GetScrollPos();
        m_pHorizontalScrollBar->SetScrollPos(pos.cx);
        moved.cx = m_pHorizontalScrollBar->GetScrollPos() - old;
    }
    return moved;
}

void CContainerUI::ShiftChildren(int dx, int dy)
{
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = CContainerUI::ItemAt(i);
        if (!child->IsVisible() || child->IsFloat()) continue;
        RECT rc = child->GetPos();
        OffsetRect(&rc, -dx, -dy);
        child->SetPos(rc);
    }
    Invalidate();
}

void CContainerUI::SetScrollPos(SIZE pos)
{
    SIZE moved = MoveScrollBars(pos);
    if (moved.cx == 0 && moved.cy == 0) return;
    ShiftChildren(moved.cx, moved.cy);
}

void CContainerUI::SetScrollStepSize(int size)
{
    if (size > 0) m_nScrollStepSize = size;
}

int CContainerUI::GetScrollStepSize() const { return m_nScrollStepSize; }

int CContainerUI::VerticalLineStep() const
{
    if (m_nScrollStepSize != 0) return m_nScrollStepSize;
    if (m_pManager == NULL) return 8;
    return m_pManager->GetDefaultFontEntry()->tm.tmHeight + 8;
}

void CContainerUI::ScrollBy(int dx, int dy)
{
    SIZE pos = GetScrollPos();
    pos.cx += dx;
    pos.cy += dy;
    SetScrollPos(pos);
}

int CContainerUI::PageHeight() const
{
    int page = GetHeight() - m_rcInset.top - m_rcInset.bottom;
    if (m_pHorizontalScrollBar != NULL && m_pHorizontalScrollBar->IsVisible()) page -= m_pHorizontalScrollBar->GetFixedHeight();
    return page;
}

int CContainerUI::PageWidth() const
{
    int page = GetWidth() - m_rcInset.left - m_rcInset.right;
    if (m_pVerticalScrollBar != NULL && m_pVerticalScrollBar->IsVisible()) page -= m_pVerticalScrollBar->GetFixedWidth();
    return page;
}

int CContainerUI::HorizontalLineStep() const { return m_nScrollStepSize != 0 ? m_nScrollStepSize : 8; }

void CContainerUI::LineUp() { ScrollBy(0, -VerticalLineStep()); }
void CContainerUI::LineDown() { ScrollBy(0, VerticalLineStep()); }
void CContainerUI::PageUp() { ScrollBy(0, -PageHeight()); }
void CContainerUI::PageDown() { ScrollBy(0, PageHeight()); }
void CContainerUI::HomeUp() { ScrollBy(0, -GetScrollPos().cy); }
void CContainerUI::EndDown() { ScrollBy(0, GetScrollRange().cy - GetScrollPos().cy); }
void CContainerUI::LineLeft() { ScrollBy(-HorizontalLineStep(), 0); }
void CContainerUI::LineRight() { ScrollBy(HorizontalLineStep(), 0); }
void CContainerUI::PageLeft() { ScrollBy(-PageWidth(), 0); }
void CContainerUI::PageRight() { ScrollBy(PageWidth(), 0); }
void CContainerUI::HomeLeft() { ScrollBy(-GetScrollPos().cx, 0); }
void CContainerUI::EndRight() { ScrollBy(GetScrollRange().cx - GetScrollPos().cx, 0); }

void CContainerUI::EnableScrollBars(bool vertical, bool horizontal)
{
    if (!vertical && m_pVerticalScrollBar != NULL) {
        delete m_pVerticalScrollBar;
        m_pVerticalScrollBar = NULL;
    } else if (vertical && m_pVerticalScrollBar == NULL) {
        m_pVerticalScrollBar = new CScrollBarUI;
        m_pVerticalScrollBar->SetOwner(this);
        m_pVerticalScrollBar->SetManager(m_pManager, NULL, false);
        LPCWSTR defaults = m_pManager != NULL ? m_pManager->GetDefaultAttributes(L"VScrollBar") : NULL;
        if (defaults != NULL) m_pVerticalScrollBar->ApplyAttributes(defaults);
    }
    if (!horizontal && m_pHorizontalScrollBar != NULL) {
        delete m_pHorizontalScrollBar;
        m_pHorizontalScrollBar = NULL;
    } else if (horizontal && m_pHorizontalScrollBar == NULL) {
        m_pHorizontalScrollBar = new CScrollBarUI;
        m_pHorizontalScrollBar->SetHorizontal(true);
        m_pHorizontalScrollBar->SetOwner(this);
        m_pHorizontalScrollBar->SetManager(m_pManager, NULL, false);
        LPCWSTR defaults = m_pManager != NULL ? m_pManager->GetDefaultAttributes(L"HScrollBar") : NULL;
        if (defaults != NULL) m_pHorizontalScrollBar->ApplyAttributes(defaults);
    }
    RequestLayout();
}

CScrollBarUI* CContainerUI::GetVerticalScrollBar() const { return m_pVerticalScrollBar; }
CScrollBarUI* CContainerUI::GetHorizontalScrollBar() const { return m_pHorizontalScrollBar; }

RECT CContainerUI::GetInset() const { return m_rcInset; }

void CContainerUI::SetInset(RECT rc)
{
    m_rcInset = rc;
    RequestLayout();
}

int CContainerUI::GetChildPadding() const { return m_iChildPadding; }

void CContainerUI::SetChildPadding(int padding)
{
    m_iChildPadding = padding;
    RequestLayout();
}

bool CContainerUI::IsAutoDestroy() const { return m_bAutoDestroy; }
void CContainerUI::SetAutoDestroy(bool autoDestroy) { m_bAutoDestroy = autoDestroy; }
bool CContainerUI::IsDelayedDestroy() const { return m_bDelayedDestroy; }
void CContainerUI::SetDelayedDestroy(bool delayed) { m_bDelayedDestroy = delayed; }
bool CContainerUI::IsMouseChildEnabled() const { return m_bMouseChildEnabled; }
void CContainerUI::SetMouseChildEnabled(bool enabled) { m_bMouseChildEnabled = enabled; }

int CContainerUI::FindSelectableItem(int index, bool forward) const
{
    int count = m_items.GetSize();
    if (count == 0) return -1;
    if (index < 0) index = 0;
    if (index >= count) index = count - 1;
    CContainerUI* self = const_cast<CContainerUI*>(this);
    struct Selectable
    {
        static bool Is(CControlUI* c) { return c->GetInterface(L"ListItem") != NULL && c->IsVisible() && c->IsEnabled(); }
    };
    if (forward) {
        for (int i = index; i < count; ++i)
            if (Selectable::Is(self->ItemAt(i))) return i;
        return -1;
    }
    for (int i = index; i >= 0; --i)
        if (Selectable::Is(self->ItemAt(i))) return i;
    return FindSelectableItem(0, true);
}

void CContainerUI::SetVisible(bool visible)
{
    if (m_bVisible == visible) return;
    CControlUI::SetVisible(visible);
    for (int i = 0; i < m_items.GetSize(); ++i) CContainerUI::ItemAt(i)->SetVisibleByParent(IsVisible());
}

void CContainerUI::SetVisibleByParent(bool visible)
{
    CControlUI::SetVisibleByParent(visible);
    for (int i = 0; i < m_items.GetSize(); ++i) CContainerUI::ItemAt(i)->SetVisibleByParent(IsVisible());
}

void CContainerUI::SetEnabled(bool enabled)
{
    if (m_bEnabled == enabled) return;
    m_bEnabled = enabled;
    for (int i = 0; i < m_items.GetSize(); ++i) CContainerUI::ItemAt(i)->SetEnabled(enabled);
    Invalidate();
}

void CContainerUI::SetMouseEnabled(bool enabled)
{
    if (m_pVerticalScrollBar != NULL) m_pVerticalScrollBar->SetMouseEnabled(enabled);
    if (m_pHorizontalScrollBar != NULL) m_pHorizontalScrollBar->SetMouseEnabled(enabled);
    CControlUI::SetMouseEnabled(enabled);
}

CControlUI* CContainerUI::FindControl(FINDCONTROLPROC proc, LPVOID data, UINT flags)
{
    if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible()) return NULL;
    if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled()) return NULL;
    if ((flags & UIFIND_HITTEST) != 0) {
        if (!PtInRect(&m_rcItem, *static_cast<LPPOINT>(data))) return NULL;
        if (!m_bMouseChildEnabled) {
            CControlUI* found = NULL;
            if (m_pVerticalScrollBar != NULL) found = m_pVerticalScrollBar->FindControl(proc, data, flags);
            if (found == NULL && m_pHorizontalScrollBar != NULL) found = m_pHorizontalScrollBar->FindControl(proc, data, flags);
            if (found == NULL) found = CControlUI::FindControl(proc, data, flags);
            return found;
        }
    }
    CControlUI* found = NULL;
    if (m_pVerticalScrollBar != NULL) found = m_pVerticalScrollBar->FindControl(proc, data, flags);
    if (found == NULL && m_pHorizontalScrollBar != NULL) found = m_pHorizontalScrollBar->FindControl(proc, data, flags);
    if (found != NULL) return found;

    if ((flags & UIFIND_ME_FIRST) != 0) {
        found = CControlUI::FindControl(proc, data, flags);
        if (found != NULL) return found;
    }
    RECT inner = InnerRect();
    int count = m_items.GetSize();
    for (int n = 0; n < count; ++n) {
        int i = (flags & UIFIND_TOP_FIRST) != 0 ? count - 1 - n : n;
        CControlUI* child = CContainerUI::ItemAt(i);
        if (child == NULL) continue;
        found = child->FindControl(proc, data, flags);
        if (found == NULL) continue;
        if ((flags & UIFIND_HITTEST) == 0) return found;
        if (found->IsFloat() || PtInRect(&inner, *static_cast<LPPOINT>(data))) return found;
    }
    if ((flags & UIFIND_ME_FIRST) != 0) return NULL;
    return CControlUI::FindControl(proc, data, flags);
}

void CContainerUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && event.Type >= UIEVENT_MOUSEBEGIN && event.Type <= UIEVENT_MOUSEEND) {
        if (m_pParent != NULL) m_pParent->HandleEvent(event);
        else CControlUI::HandleEvent(event);
        return;
    }
    if (event.Type == UIEVENT_SETFOCUS) {
        m_bFocused = true;
        return;
    }
    if (event.Type == UIEVENT_KILLFOCUS) {
        m_bFocused = false;
        return;
    }
    if (m_pVerticalScrollBar != NULL && m_pVerticalScrollBar->IsVisible() && m_pVerticalScrollBar->IsEnabled()) {
        if (event.Type == UIEVENT_KEYDOWN) {
            switch (event.chKey) {
            case VK_DOWN: LineDown(); return;
            case VK_UP: LineUp(); return;
            case VK_NEXT: PageDown(); return;
            case VK_PRIOR: PageUp(); return;
            case VK_HOME: HomeUp(); return;
            case VK_END: EndDown(); return;
            default: break;
            }
        } else if (event.Type == UIEVENT_SCROLLWHEEL) {
            if (LOWORD(event.wParam) == 0) { LineUp(); return; }
            if (LOWORD(event.wParam) == 1) { LineDown(); return; }
        }
    } else if (m_pHorizontalScrollBar != NULL && m_pHorizontalScrollBar->IsVisible() && m_pHorizontalScrollBar->IsEnabled()) {
        if (event.Type == UIEVENT_KEYDOWN) {
            switch (event.chKey) {
            case VK_DOWN: LineRight(); return;
            case VK_UP: LineLeft(); return;
            case VK_NEXT: PageRight(); return;
            case VK_PRIOR: PageLeft(); return;
            case VK_HOME: HomeLeft(); return;
            case VK_END: EndRight(); return;
            default: break;
            }
        } else if (event.Type == UIEVENT_SCROLLWHEEL) {
            if (LOWORD(event.wParam) == 0) { LineLeft(); return; }
            if (LOWORD(event.wParam) == 1) { LineRight(); return; }
        }
    }
    CControlUI::HandleEvent(event);
}

void CContainerUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"inset") == 0) {
        RECT rc = { 0, 0, 0, 0 };
        ParseRectValue(value, rc);
        SetInset(rc);
    } else if (wcscmp(name, L"mousechild") == 0) {
        SetMouseChildEnabled(ParseBoolValue(value));
    } else if (wcscmp(name, L"vscrollbar") == 0) {
        EnableScrollBars(ParseBoolValue(value), m_pHorizontalScrollBar != NULL);
    } else if (wcscmp(name, L"vscrollbarstyle") == 0) {
        EnableScrollBars(true, m_pHorizontalScrollBar != NULL);
        if (m_pVerticalScrollBar != NULL) m_pVerticalScrollBar->ApplyAttributes(value);
    } else if (wcscmp(name, L"hscrollbar") == 0) {
        EnableScrollBars(m_pVerticalScrollBar != NULL, ParseBoolValue(value));
    } else if (wcscmp(name, L"hscrollbarstyle") == 0) {
        EnableScrollBars(m_pVerticalScrollBar != NULL, true);
        if (m_pHorizontalScrollBar != NULL) m_pHorizontalScrollBar->ApplyAttributes(value);
    } else if (wcscmp(name, L"childpadding") == 0) {
        SetChildPadding(ParseIntValue(value));
    } else if (wcscmp(name, L"scrollstepsize") == 0) {
        SetScrollStepSize(ParseIntValue(value));
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

void CContainerUI::Paint(HDC dc, const RECT& rcPaint)
{
    RECT rcTemp;
    if (!IntersectRect(&rcTemp, &rcPaint, &m_rcItem)) return;
    CClipScope clip;
    CClipScope::ClipToRect(dc, rcTemp, clip);
    CControlUI::Paint(dc, rcPaint);
    PaintChildren(dc, rcPaint);
    PaintScrollBars(dc, rcPaint);
}

void CContainerUI::PaintChildren(HDC dc, const RECT& rcPaint)
{
    if (m_items.IsEmpty()) return;
    RECT rcTemp;
    RECT inner = InnerRect();
    RECT childArea;
    if (IntersectRect(&childArea, &rcPaint, &inner)) {
        CClipScope childClip;
        CClipScope::ClipToRect(dc, childArea, childClip);
        for (int i = 0; i < m_items.GetSize(); ++i) {
            CControlUI* child = CContainerUI::ItemAt(i);
            if (!child->IsVisible()) continue;
            const RECT& pos = child->GetPos();
            if (!IntersectRect(&rcTemp, &rcPaint, &pos)) continue;
            if (child->IsFloat()) {
                if (!IntersectRect(&rcTemp, &m_rcItem, &pos)) continue;
                childClip.SelectSaved();
                child->Paint(dc, rcPaint);
                childClip.SelectNew();
            } else {
                if (!IntersectRect(&rcTemp, &inner, &pos)) continue;
                child->Paint(dc, rcPaint);
            }
        }
    } else {
        for (int i = 0; i < m_items.GetSize(); ++i) {
            CControlUI* child = CContainerUI::ItemAt(i);
            if (!child->IsVisible() || !child->IsFloat()) continue;
            const RECT& pos = child->GetPos();
            if (!IntersectRect(&rcTemp, &rcPaint, &pos)) continue;
            if (!IntersectRect(&rcTemp, &m_rcItem, &pos)) continue;
            child->Paint(dc, rcPaint);
        }
    }
}

void CContainerUI::PaintScrollBars(HDC dc, const RECT& rcPaint)
{
    RECT rcTemp;
    if (m_pVerticalScrollBar != NULL && m_pVerticalScrollBar->IsVisible()) {
        const RECT& pos = m_pVerticalScrollBar->GetPos();
        if (IntersectRect(&rcTemp, &rcPaint, &pos)) m_pVerticalScrollBar->Paint(dc, rcPaint);
    }
    if (m_pHorizontalScrollBar != NULL && m_pHorizontalScrollBar->IsVisible()) {
        const RECT& pos = m_pHorizontalScrollBar->GetPos();
        if (IntersectRect(&rcTemp, &rcPaint, &pos)) m_pHorizontalScrollBar->Paint(dc, rcPaint);
    }
}

} // namespace DirectUI
