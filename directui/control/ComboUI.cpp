#include "control/ComboUI.h"

#include "control/ComboWnd.h"
#include "control/ListInfoAttributes.h"
#include "control/ListItemRules.h"
#include "control/StateImage.h"
#include "core/SkinValues.h"

namespace DirectUI {

CComboUI::CComboUI() : m_pWindow(NULL), m_iCurSel(-1), m_uButtonState(0)
{
    SetRectEmpty(&m_rcTextPadding);
    m_szDropBox.cx = 0;
    m_szDropBox.cy = 150;
}

CComboUI::~CComboUI()
{
    // An open drop-down goes first: it holds our items and points back here.
    if (m_pWindow != NULL) {
        HWND popup = m_pWindow->GetHWND();
        if (IsWindow(popup)) DestroyWindow(popup);
        m_pWindow = NULL;
    }
}

LPCWSTR CComboUI::GetControlClass() const { return L"ComboUI"; }

LPVOID CComboUI::GetInterface(LPCWSTR name)
{
    if (name == NULL) return NULL;
    if (wcscmp(name, L"Combo") == 0) return this;
    if (wcscmp(name, L"IListOwner") == 0) return static_cast<IListOwnerUI*>(this);
    return CContainerUI::GetInterface(name);
}

UINT CComboUI::GetControlFlags() const { return UIFLAG_TABSTOP; }

bool CComboUI::Activate()
{
    if (!CControlUI::Activate()) return false;
    if (m_pWindow != NULL) return true;
    m_pWindow = new CComboWnd;
    m_pWindow->Init(this);
    // A drop-down that could not be made would keep the combo from ever opening.
    if (m_pWindow != NULL && m_pWindow->GetHWND() == NULL) {
        delete m_pWindow;
        m_pWindow = NULL;
        return false;
    }
    if (m_pManager != NULL) m_pManager->SendNotify(this, L"dropdown");
    Invalidate();
    return true;
}

CUIString CComboUI::GetText() const
{
    CControlUI* selected = ItemAt(m_iCurSel);
    return selected != NULL ? selected->GetText() : CUIString();
}

void CComboUI::SetPos(RECT rc)
{
    // The items are never shown in place.
    RECT none = { 0, 0, 0, 0 };
    for (int i = 0; i < m_items.GetSize(); ++i) CContainerUI::ItemAt(i)->SetPos(none);
    CControlUI::SetPos(rc);
}

void CComboUI::SetEnabled(bool enabled)
{
    CContainerUI::SetEnabled(enabled);
    if (!IsEnabled()) m_uButtonState = 0;
}

void CComboUI::HandleEvent(ControlEvent& event)
{
    if (!IsMouseEnabled() && event.Type >= UIEVENT_MOUSEBEGIN && event.Type <= UIEVENT_MOUSEEND) {
        if (m_pParent != NULL) m_pParent->HandleEvent(event);
        else CContainerUI::HandleEvent(event);
        return;
    }
    switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
        Invalidate();
        break;
    case UIEVENT_BUTTONDOWN:
        if (IsEnabled()) {
            Activate();
            m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
        }
        return;
    case UIEVENT_BUTTONUP:
        if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
            m_uButtonState &= ~UISTATE_CAPTURED;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSEMOVE:
        return;
    case UIEVENT_KEYDOWN:
        switch (event.chKey) {
        case VK_UP:
        case VK_PRIOR: SelectItem(FindSelectableItem(m_iCurSel - 1, false)); return;
        case VK_DOWN:
        case VK_NEXT: SelectItem(FindSelectableItem(m_iCurSel + 1, true)); return;
        case VK_HOME: SelectItem(FindSelectableItem(0, false)); return;
        case VK_END: SelectItem(FindSelectableItem(m_items.GetSize() - 1, true)); return;
        case VK_F4: Activate(); return;
        default: break;
        }
        break;
    case UIEVENT_SCROLLWHEEL:
        if (LOWORD(event.wParam) == 1) SelectItem(FindSelectableItem(m_iCurSel + 1, true));
        else SelectItem(FindSelectableItem(m_iCurSel - 1, false));
        return;
    case UIEVENT_CONTEXTMENU:
        return;
    case UIEVENT_MOUSEENTER:
        if (PtInRect(&m_rcItem, event.ptMouse) && (m_uButtonState & UISTATE_HOT) == 0) {
            m_uButtonState |= UISTATE_HOT;
            Invalidate();
        }
        return;
    case UIEVENT_MOUSELEAVE:
        if ((m_uButtonState & UISTATE_HOT) != 0) {
            m_uButtonState &= ~UISTATE_HOT;
            Invalidate();
        }
        return;
    default:
        break;
    }
    CControlUI::HandleEvent(event);
}

void CComboUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    Invalidate();
}

void CComboUI::SetAttribute(LPCWSTR name, LPCWSTR value)
{
    if (name == NULL || value == NULL) return;
    if (wcscmp(name, L"textpadding") == 0) {
        RECT rc = { 0, 0, 0, 0 };
        ParseRectValue(value, rc);
        SetTextPadding(rc);
    } else if (wcscmp(name, L"normalimage") == 0) {
        m_sNormalImage = value;
    } else if (wcscmp(name, L"hotimage") == 0) {
        m_sHotImage = value;
    } else if (wcscmp(name, L"pushedimage") == 0) {
        m_sPushedImage = value;
    } else if (wcscmp(name, L"focusedimage") == 0) {
        m_sFocusedImage = value;
    } else if (wcscmp(name, L"disabledimage") == 0) {
        m_sDisabledImage = value;
    } else if (wcscmp(name, L"dropbox") == 0) {
        m_sDropBoxAttributes = value;
    } else if (wcscmp(name, L"dropboxsize") == 0) {
        SIZE size = { 0, 0 };
        ParseSizeValue(value, size);
        SetDropBoxSize(size);
    } else {
        // Only the text colour, the text padding and a change of markup show in the combo itself.
        switch (SetListInfoAttribute(m_ListInfo, name, value, false)) {
        case kListInfoNone: CContainerUI::SetAttribute(name, value); break;
        case kListInfoTextColor:
        case kListInfoTextPadding:
        case kListInfoShowHtml: Invalidate(); break;
        default: break;
        }
    }
}

SIZE CComboUI::PreferredSize(SIZE)
{
    if (m_cxyFixed.cy != 0) return m_cxyFixed;
    SIZE size = { m_cxyFixed.cx, 12 };
    if (m_pManager != NULL) size.cy += m_pManager->GetDefaultFontEntry()->tm.tmHeight;
    return size;
}

void CComboUI::Paint(HDC dc, const RECT& rcPaint) { CControlUI::Paint(dc, rcPaint); }

void CComboUI::PaintStateImage(HDC dc)
{
    SyncFocusAndDisabledState(*this, m_uButtonState);

    // The first state that is set picks the image; the normal one otherwise.
    CUIString* state = NULL;
    if ((m_uButtonState & UISTATE_DISABLED) != 0) state = &m_sDisabledImage;
    else if ((m_uButtonState & UISTATE_PUSHED) != 0) state = &m_sPushedImage;
    else if ((m_uButtonState & UISTATE_HOT) != 0) state = &m_sHotImage;
    else if ((m_uButtonState & UISTATE_FOCUSED) != 0) state = &m_sFocusedImage;
    DrawStateOrNormalImage(*this, dc, state, m_sNormalImage);
}

RECT CComboUI::TextRect() const { return DeflatedRect(m_rcItem, m_rcTextPadding); }

void CComboUI::PaintText(HDC dc) { PaintSelectedItem(dc, TextRect()); }

void CComboUI::PaintSelectedItem(HDC dc, RECT rc)
{
    CControlUI* selected = ItemAt(m_iCurSel);
    if (selected == NULL) return;
    IListItemUI* item = AsListItem(selected);
    if (item != NULL) {
        item->DrawItemText(dc, rc);
        return;
    }
    // Any other control is painted in the text rectangle for the moment.
    RECT old = selected->GetPos();
    selected->SetPos(rc);
    selected->Paint(dc, rc);
    selected->SetPos(old);
}

bool CComboUI::Add(CControlUI* control)
{
    IListItemUI* item = AsListItem(control);
    if (item != NULL) {
        item->SetOwner(this);
        item->SetIndex(m_items.GetSize());
    }
    return CContainerUI::Add(control);
}

bool CComboUI::AddAt(CControlUI* control, int index)
{
    if (!CContainerUI::AddAt(control, index)) return false;
    IListItemUI* item = AsListItem(control);
    if (item != NULL) {
        item->SetOwner(this);
        item->SetIndex(index);
    }
    RenumberListItems(this, index + 1);
    if (m_iCurSel >= index) m_iCurSel += 1;
    return true;
}

bool CComboUI::Remove(CControlUI* control)
{
    int index = m_items.Find(control);
    if (index < 0) return false;
    if (!CContainerUI::Remove(control)) return false;
    RenumberListItems(this, index);
    KeepSelectionAfterRemoval(this, index, m_iCurSel);
    return true;
}

bool CComboUI::RemoveAt(int index)
{
    CControlUI* control = ItemAt(index);
    return control != NULL && Remove(control);
}

void CComboUI::RemoveAll()
{
    m_iCurSel = -1;
    CContainerUI::RemoveAll();
}

bool CComboUI::MoveItem(CControlUI* control, int newIndex)
{
    return MoveListItem(this, control, newIndex, m_iCurSel);
}

ListInfo* CComboUI::GetListInfo() { return &m_ListInfo; }
int CComboUI::GetCurSel() const { return m_iCurSel; }

bool CComboUI::SelectItem(int index, bool takeFocus)
{
    if (index == m_iCurSel) return true;
    int old = m_iCurSel;
    if (m_iCurSel >= 0) {
        IListItemUI* current = AsListItem(ItemAt(m_iCurSel));
        if (current == NULL) return false;
        current->Select(false);
        m_iCurSel = -1;
    }
    if (index < 0 || m_items.IsEmpty()) return false;
    if (index >= m_items.GetSize()) index = m_items.GetSize() - 1;
    CControlUI* control = ItemAt(index);
    IListItemUI* item = AsListItem(control);
    if (control == NULL || !control->IsVisible() || !control->IsEnabled() || item == NULL) return false;
    m_iCurSel = index;
    if (m_pWindow != NULL || takeFocus) control->SetFocus();
    item->Select(true);
    if (m_pManager != NULL) m_pManager->SendNotify(this, L"itemselect", m_iCurSel, old);
    Invalidate();
    return true;
}

void CComboUI::DoEvent(ControlEvent& event) { HandleEvent(event); }

} // namespace DirectUI
