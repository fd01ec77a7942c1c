#include "control/ComboWnd.h"

#include "control/ComboUI.h"
#include "control/ScrollBarUI.h"
#include "control/VerticalLayoutUI.h"

namespace DirectUI {

CComboWnd::CComboWnd() : m_pOwner(NULL), m_pLayout(NULL), m_iOldSel(-1), m_bItemsReturned(false) {}

LPCWSTR CComboWnd::GetWindowClassName() const { return L"ComboWnd"; }
UINT CComboWnd::GetClassStyle() const { return CS_DROPSHADOW; }

void CComboWnd::Init(CComboUI* owner)
{
    m_pOwner = owner;
    m_iOldSel = owner->GetCurSel();
    SIZE box = owner->GetDropBoxSize();

    RECT rc = owner->GetPos();
    rc.top = rc.bottom;
    if (box.cx > 0) rc.right = rc.left + box.cx;
    SIZE room = { rc.right - rc.left, box.cy };
    int height = 0;
    for (int i = 0; i < owner->Count(); ++i) {
        CControlUI* item = owner->ItemAt(i);
        if (!item->IsVisible()) continue;
        height += item->PreferredSize(room).cy;
    }
    height += 4;
    if (height > box.cy) height = box.cy;
    rc.bottom = rc.top + height;

    HWND ownerWnd = owner->GetManager()->GetPaintWindow();
    ::MapWindowPoints(ownerWnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);
    RECT work = { 0, 0, 0, 0 };
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    if (rc.bottom > work.bottom) {
        // No room below: open above the combo, same size.
        RECT combo = owner->GetPos();
        ::MapWindowPoints(ownerWnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&combo), 2);
        rc.bottom = combo.top;
        rc.top = rc.bottom - height;
    }
    // A failed creation may have deleted this object already.
    if (Create(ownerWnd, NULL, WS_POPUP, WS_EX_TOOLWINDOW, rc) == NULL) return;
    // The owner keeps its active title while its drop-down has the focus.
    HWND top = ownerWnd;
    while (::GetParent(top) != NULL) top = ::GetParent(top);
    ::ShowWindow(m_hWnd, SW_SHOW);
    ::SendMessageW(top, WM_NCACTIVATE, TRUE, 0);
}

void CComboWnd::Notify(NotifyRecord& msg)
{
    if (msg.sType == L"windowinit" && m_pOwner != NULL) EnsureVisible(m_pOwner->GetCurSel());
}

void CComboWnd::EnsureVisible(int index)
{
    if (m_pOwner == NULL || m_pLayout == NULL || m_pOwner->GetCurSel() < 0) return;
    CControlUI* item = m_pLayout->ItemAt(index);
    if (item == NULL) return;
    RECT area = m_pLayout->GetPos();
    CScrollBarUI* hbar = m_pLayout->GetHorizontalScrollBar();
    if (hbar != NULL && hbar->IsVisible()) area.bottom -= hbar->GetFixedHeight();
    RECT rc = item->GetPos();
    int dy = 0;
    if (rc.top < area.top) dy = rc.top - area.top;
    else if (rc.bottom >= area.bottom) dy = rc.bottom - area.bottom;
    if (dy == 0) return;
    SIZE pos = m_pLayout->GetScrollPos();
    pos.cy += dy;
    m_pLayout->SetScrollPos(pos);
}

void CComboWnd::ReturnItems()
{
    if (m_bItemsReturned || m_pOwner == NULL) return;
    m_bItemsReturned = true;
    m_pOwner->SetManager(m_pOwner->GetManager(), m_pOwner->GetParent(), false);
}

void CComboWnd::CloseSoon() { PostMessage(WM_KILLFOCUS); }

LRESULT CComboWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE: {
        m_pm.AttachWindow(m_hWnd);
        m_pm.SetParentManager(m_pOwner->GetManager());
        m_pLayout = new CVerticalLayoutUI;
        m_pLayout->SetManager(&m_pm, NULL, true);
        LPCWSTR defaults = m_pOwner->GetManager()->GetDefaultAttributes(L"VerticalLayout");
        if (defaults != NULL) m_pLayout->ApplyAttributes(defaults);
        RECT inset = { 1, 1, 1, 1 };
        m_pLayout->SetInset(inset);
        m_pLayout->SetBkColor(0xFFFFFFFF);
        m_pLayout->SetBorderColor(0xFFC6C7D2);
        m_pLayout->SetBorderSize(1);
        m_pLayout->SetAutoDestroy(false);
        m_pLayout->EnableScrollBars();
        m_pLayout->ApplyAttributes(m_pOwner->GetDropBoxAttributeList());
        // Lent, not given: the layout never owns the combo's items.
        for (int i = 0; i < m_pOwner->Count(); ++i) m_pLayout->Add(m_pOwner->ItemAt(i));
        m_pm.AttachRoot(m_pLayout);
        m_pm.AddNotifier(this);
        return 0;
    }
    case WM_KILLFOCUS:
        if (m_hWnd != reinterpret_cast<HWND>(wParam)) PostMessage(WM_CLOSE);
        break;
    case WM_CLOSE:
        ReturnItems();
        m_pOwner->SetPos(m_pOwner->GetPos());
        m_pOwner->SetFocus();
        break;
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_RETURN:
            CloseSoon();
            return 0;
        case VK_ESCAPE:
            m_pOwner->SelectItem(m_iOldSel, true);
            EnsureVisible(m_iOldSel);
            CloseSoon();
            return 0;
        default: {
            ControlEvent event = {};
            event.Type = UIEVENT_KEYDOWN;
            event.chKey = static_cast<WCHAR>(wParam);
            event.dwTimestamp = ::GetTickCount();
            m_pOwner->DoEvent(event);
            EnsureVisible(m_pOwner->GetCurSel());
            return 0;
        }
        }
    case WM_LBUTTONUP: {
        POINT pt = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
        CControlUI* control = m_pm.FindControl(pt);
        // Only the scroll bar keeps the drop-down open; a release over no control closes it too.
        if (control == NULL || wcscmp(control->GetControlClass(), L"ScrollBarUI") != 0) CloseSoon();
        break;
    }
    case WM_MOUSEWHEEL: {
        ControlEvent event = {};
        event.Type = UIEVENT_SCROLLWHEEL;
        event.wParam = MAKELPARAM(static_cast<short>(HIWORD(wParam)) < 0 ? 1 : 0, 0);
        event.lParam = lParam;
        event.dwTimestamp = ::GetTickCount();
        m_pOwner->DoEvent(event);
        EnsureVisible(m_pOwner->GetCurSel());
        return 0;
    }
    default:
        break;
    }
    LRESULT result = 0;
    if (m_pm.HandleWindowMessage(msg, wParam, lParam, result)) return result;
    return CWindowWnd::HandleMessage(msg, wParam, lParam);
}

void CComboWnd::OnNcDestroyed(HWND)
{
    // Also when no WM_CLOSE came (the owner window went first).
    ReturnItems();
    if (m_pOwner != NULL) {
        m_pOwner->m_pWindow = NULL;
        m_pOwner->m_uButtonState &= ~UISTATE_PUSHED;
        m_pOwner->Invalidate();
    }
    delete this;
}

} // namespace DirectUI
