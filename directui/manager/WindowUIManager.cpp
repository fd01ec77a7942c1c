#include "manager/WindowUIManager.h"

#include "control/ControlUI.h"
#include "render/GdiPainter.h"

#include <ctype.h>
#include <gdiplus.h>
#include <string.h>
#include <wchar.h>

namespace DirectUI {

namespace {
// Every map of a manager has this many buckets.
const int kMapBuckets = 83;

HINSTANCE g_instance = NULL;
CUIString g_skinPath;
CUIString g_skinZipName;
bool g_skinZipKeptOpen = false;
HZIP g_skinZip = NULL;
LPCVOID g_skinZipBlock = NULL; // the memory block the archive reads, if any
DWORD g_skinZipBlockSize = 0;
CPointerArray g_managers;
HPEN g_updateRectPen = NULL;

struct TimerEntry
{
    CControlUI* pSender;
    UINT nLocalID;
    HWND hWnd;
    UINT uWinTimer;
    bool bKilled;
};

struct FindTabInfo
{
    CControlUI* pFocus;
    CControlUI* pLast;
    bool bForward;
    bool bNextIsIt;
};

struct FindShortcut
{
    WCHAR ch;
    bool bPickNext;
};

void FillDefaultFont(FontEntry& entry)
{
    LOGFONTW lf;
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    entry.hFont = CreateFontIndirectW(&lf);
    entry.sFontName = lf.lfFaceName;
    entry.iSize = -lf.lfHeight;
    entry.bBold = lf.lfWeight >= FW_BOLD;
    entry.bUnderline = lf.lfUnderline != FALSE;
    entry.bItalic = lf.lfItalic != FALSE;
    memset(&entry.tm, 0, sizeof(entry.tm));
}

// A face name is cut to what LOGFONTW holds and always terminated.
void CopyFaceName(LOGFONTW& lf, LPCWSTR face)
{
    if (face == NULL) face = L"";
    wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
}

} // namespace

CWindowUIManager::CWindowUIManager()
    : m_hWndPaint(NULL), m_nAlpha(255), m_hDcPaint(NULL), m_pLayeredBits(NULL), m_hDcOffscreen(NULL),
      m_hbmpOffscreen(NULL), m_hDcLayered(NULL), m_hbmpLayered(NULL), m_hwndTooltip(NULL), m_bShowUpdateRect(false),
      m_bLayeredFullRepaint(false), m_bCaretActive(false), m_bCaretShowing(false), m_pCaretOwner(NULL),
      m_bUseGdiplusText(false), m_gdiplusToken(0), m_pRoot(NULL), m_pFocus(NULL), m_pEventHover(NULL),
      m_pEventClick(NULL), m_pEventKey(NULL), m_uTimerID(0x1000), m_bFirstLayout(true), m_bUpdateNeeded(false),
      m_bFocusNeeded(false), m_bLayered(false), m_bMouseTracking(false), m_bMouseCapture(false),
      m_bUsedVirtualWnd(false), m_bPainting(false), m_pParentManager(NULL), m_dwDefaultDisabledColor(0xFFA7A6AA),
      m_dwDefaultFontColor(0xFF000001), m_dwDefaultLinkFontColor(0xFF0000FF),
      m_dwDefaultLinkHoverFontColor(0xFFD3215F), m_dwDefaultSelectedBkColor(0xFFBAE4FF)
{
    m_szLayered.cx = m_szLayered.cy = 0;
    memset(&m_ToolTip, 0, sizeof(m_ToolTip));
    SetRectEmpty(&m_rtCaret);
    m_ptLastMousePos.x = m_ptLastMousePos.y = -1;
    m_szMinWindow.cx = m_szMinWindow.cy = 0;
    m_szMaxWindow.cx = m_szMaxWindow.cy = 0;
    m_szInitWindowSize.cx = m_szInitWindowSize.cy = 0;
    SetRectEmpty(&m_rcSizeBox);
    m_szRoundCorner.cx = m_szRoundCorner.cy = 0;
    SetRectEmpty(&m_rcCaption);
    FillDefaultFont(m_DefaultFontInfo);

    Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, NULL);

    if (g_updateRectPen == NULL) {
        g_updateRectPen = CreatePen(PS_SOLID, 1, RGB(220, 0, 0));
        InitCommonControls();
        LoadLibraryW(L"msimg32.dll");
    }
}

CWindowUIManager::~CWindowUIManager()
{
    DeleteQueuedControls();
    for (int i = 0; i < m_aAsyncNotify.GetSize(); ++i) delete static_cast<NotifyRecord*>(m_aAsyncNotify[i]);
    m_aAsyncNotify.Empty();
    m_mNameHash.Resize(kMapBuckets);
    CControlUI* root = m_pRoot;
    m_pRoot = NULL;
    delete root;
    Gdiplus::GdiplusShutdown(m_gdiplusToken);
    if (m_DefaultFontInfo.hFont != NULL) DeleteObject(m_DefaultFontInfo.hFont);
    RemoveAllFonts();
    RemoveAllImages();
    RemoveAllDefaultAttributes();
    RemoveAllOptionGroups();
    RemoveAllTimers();
    if (m_hwndTooltip != NULL) DestroyWindow(m_hwndTooltip);
    DropOffscreen();
    if (m_hDcPaint != NULL) ReleaseDC(m_hWndPaint, m_hDcPaint);
    int index = g_managers.Find(this);
    if (index >= 0) g_managers.Remove(index);
}

// ---- Window and tree ----

void CWindowUIManager::AttachWindow(HWND hWnd)
{
    m_hWndPaint = hWnd;
    m_hDcPaint = GetDC(hWnd);
    if (g_managers.Find(this) < 0) g_managers.Add(this);
}

bool CWindowUIManager::AttachRoot(CControlUI* root)
{
    SetFocus(NULL);
    m_pEventKey = NULL;
    m_pEventHover = NULL;
    m_pEventClick = NULL;
    if (m_pRoot != NULL) {
        m_aPostPaintControls.Empty();
        QueueDeletion(m_pRoot);
    }
    m_pRoot = root;
    m_bFirstLayout = true;
    m_bUpdateNeeded = true;
    m_bFocusNeeded = true;
    m_shadow.Create(this);
    return AdoptControls(root, NULL);
}

bool CWindowUIManager::AdoptControls(CControlUI* control, CControlUI* parent)
{
    if (control == NULL) return false;
    control->SetManager(this, parent != NULL ? parent : control->GetParent(), true);
    control->FindControl(FindControlFromNameHash, this, UIFIND_ALL);
    return true;
}

void CWindowUIManager::ForgetControl(CControlUI* control)
{
    if (control == NULL) return;
    if (m_pEventKey == control) m_pEventKey = NULL;
    if (m_pEventHover == control) m_pEventHover = NULL;
    bool pressed = m_pEventClick == control;
    if (pressed) m_pEventClick = NULL;
    if (m_pFocus == control) m_pFocus = NULL;
    if (m_pCaretOwner == control) {
        // Its caret goes with it: no blink timer left running for nobody.
        ShowCaret(false);
        m_pCaretOwner = NULL;
    }
    // The root stays: the manager's destructor deletes the tree through it.
    KillTimers(control);
    CUIString name = control->GetName();
    if (!name.IsEmpty() && m_mNameHash.Find(name, false) == control) m_mNameHash.Remove(name);
    int index = m_aPostPaintControls.Find(control);
    if (index >= 0) m_aPostPaintControls.Remove(index);
    for (int i = 0; i < m_aAsyncNotify.GetSize(); ++i) {
        NotifyRecord* record = static_cast<NotifyRecord*>(m_aAsyncNotify[i]);
        if (record->pSender == control) record->pSender = NULL;
    }
    // Last: releasing the capture sends a message, which delivers the queue.
    if (pressed && m_bMouseCapture) ReleaseCapture();
}

void CWindowUIManager::QueueDeletion(CControlUI* control)
{
    if (control == NULL) return;
    control->SetManager(this, NULL, false);
    m_aDelayedCleanup.Add(control);
    if (m_hWndPaint != NULL) ::PostMessageW(m_hWndPaint, kDeleteQueuedMessage, 0, 0);
}

void CWindowUIManager::DeleteQueuedControls()
{
    // Deleting may queue more; the list is read afresh each round.
    while (m_aDelayedCleanup.GetSize() > 0) {
        CControlUI* control = static_cast<CControlUI*>(m_aDelayedCleanup[0]);
        m_aDelayedCleanup.Remove(0);
        delete control;
    }
}

CControlUI* CWindowUIManager::FindControl(LPCWSTR name) const
{
    if (name == NULL) return NULL;
    return static_cast<CControlUI*>(m_mNameHash.Find(name));
}

CControlUI* CWindowUIManager::FindControl(POINT pt) const
{
    if (m_pRoot == NULL) return NULL;
    return m_pRoot->FindControl(FindControlFromPoint, &pt, UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CWindowUIManager::OwnControlAt(POINT pt) const
{
    CControlUI* control = FindControl(pt);
    if (control != NULL && control->GetManager() != this) return NULL;
    return control;
}

void CWindowUIManager::SetInitSize(int cx, int cy)
{
    m_szInitWindowSize.cx = cx;
    m_szInitWindowSize.cy = cy;
    if (m_pRoot == NULL && m_hWndPaint != NULL)
        SetWindowPos(m_hWndPaint, NULL, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowUIManager::Invalidate(const RECT& rc)
{
    // Nothing to repaint; spares a trip to the window system per control
    // while a skin is built and nothing has a place yet.
    if (rc.right <= rc.left || rc.bottom <= rc.top) return;
    if (m_hWndPaint != NULL) InvalidateRect(m_hWndPaint, &rc, FALSE);
}

void CWindowUIManager::SetCapture()
{
    ::SetCapture(m_hWndPaint);
    m_bMouseCapture = true;
}

void CWindowUIManager::ReleaseCapture()
{
    ::ReleaseCapture();
    m_bMouseCapture = false;
}

// ---- Events and focus ----

WORD CWindowUIManager::GetKeyStateWord()
{
    // The framework's own word: 1 right button, 2 left button, 4 Shift, 8 Ctrl, 0x20 Alt.
    WORD state = 0;
    if (GetKeyState(VK_RBUTTON) < 0) state |= 0x01;
    if (GetKeyState(VK_LBUTTON) < 0) state |= 0x02;
    if (GetKeyState(VK_SHIFT) < 0) state |= 0x04;
    if (GetKeyState(VK_CONTROL) < 0) state |= 0x08;
    if (GetKeyState(VK_MENU) < 0) state |= 0x20;
    return state;
}

void CWindowUIManager::FireEvent(CControlUI* control, int type, WPARAM wParam, LPARAM lParam, WORD keyState,
                                 WCHAR key)
{
    if (control == NULL) return;
    ControlEvent event = { 0 };
    event.Type = type;
    event.pSender = control;
    event.dwTimestamp = GetTickCount();
    event.ptMouse = m_ptLastMousePos;
    event.chKey = key;
    event.wKeyState = keyState;
    event.wParam = wParam;
    event.lParam = lParam;
    control->DispatchEvent(event);
}

void CWindowUIManager::SetFocus(CControlUI* control)
{
    HWND focusWnd = ::GetFocus();
    if (focusWnd != m_hWndPaint && control != m_pFocus && m_hWndPaint != NULL) ::SetFocus(m_hWndPaint);
    if (control == m_pFocus) return;
    DropFocus(control);
    if (control == NULL || control->GetManager() != this || !control->IsVisible() || !control->IsEnabled()) return;
    m_pFocus = control;
    FireEvent(control, UIEVENT_SETFOCUS);
    SendNotify(control, L"setfocus");
}

void CWindowUIManager::DropFocus(CControlUI* next)
{
    if (m_pFocus == NULL) return;
    CControlUI* old = m_pFocus;
    ControlEvent event = { 0 };
    event.Type = UIEVENT_KILLFOCUS;
    event.pSender = next;
    event.dwTimestamp = GetTickCount();
    event.ptMouse = m_ptLastMousePos;
    old->DispatchEvent(event);
    SendNotify(old, L"killfocus");
    m_pFocus = NULL;
}

void CWindowUIManager::SetFocusDeferred(CControlUI* control)
{
    if (m_hWndPaint != NULL) ::SetFocus(m_hWndPaint);
    if (control == NULL) return;
    DropFocus(control);
    FindTabInfo info = { control, NULL, false, false };
    if (m_pRoot != NULL)
        m_pFocus = m_pRoot->FindControl(FindControlFromTab, &info, UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST);
    m_bFocusNeeded = true;
    if (m_pRoot != NULL) m_pRoot->RequestLayout();
}

bool CWindowUIManager::FocusNextTabStop(bool forward)
{
    if (m_bUpdateNeeded && forward) {
        m_bFocusNeeded = true;
        if (m_hWndPaint != NULL) InvalidateRect(m_hWndPaint, NULL, FALSE);
        return true;
    }
    if (m_pRoot == NULL) {
        m_bFocusNeeded = false;
        return true;
    }
    FindTabInfo info1 = { m_pFocus, NULL, forward, false };
    CControlUI* next = m_pRoot->FindControl(FindControlFromTab, &info1, UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST);
    if (next == NULL) {
        if (forward) {
            FindTabInfo info2 = { NULL, NULL, forward, false };
            next = m_pRoot->FindControl(FindControlFromTab, &info2, UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST);
        } else {
            next = info1.pLast;
        }
    }
    if (next != NULL) SetFocus(next);
    m_bFocusNeeded = false;
    return true;
}

// ---- Notifications ----

void CWindowUIManager::SendNotify(CControlUI* control, LPCWSTR type, WPARAM wParam, LPARAM lParam, bool async)
{
    NotifyRecord msg;
    msg.sType = type;
    msg.pSender = control;
    msg.dwTimestamp = 0;
    msg.ptMouse.x = msg.ptMouse.y = 0;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg, async);
}

void CWindowUIManager::SendNotify(NotifyRecord& msg, bool async)
{
    msg.ptMouse = m_ptLastMousePos;
    msg.dwTimestamp = GetTickCount();
    if (m_bUsedVirtualWnd && msg.pSender != NULL) msg.sVirtualWnd = msg.pSender->GetVirtualWnd();
    if (async) {
        NotifyRecord* copy = new NotifyRecord(msg);
        if (!m_aAsyncNotify.Add(copy)) delete copy;
        return;
    }
    DeliverNotify(msg);
}

void CWindowUIManager::DeliverNotify(NotifyRecord& msg)
{
    if (msg.pSender != NULL && msg.pSender->OnNotify.HasAny()) msg.pSender->OnNotify(&msg);
    for (int i = 0; i < m_aNotifiers.GetSize(); ++i) static_cast<INotifyUI*>(m_aNotifiers[i])->Notify(msg);
}

void CWindowUIManager::DrainAsyncNotify()
{
    while (m_aAsyncNotify.GetSize() > 0) {
        NotifyRecord* record = static_cast<NotifyRecord*>(m_aAsyncNotify[0]);
        m_aAsyncNotify.Remove(0);
        DeliverNotify(*record);
        delete record;
    }
}

namespace {
bool AddUnique(CPointerArray& list, LPVOID item)
{
    return list.Add(item);
}
bool RemoveFirst(CPointerArray& list, LPVOID item)
{
    int index = list.Find(item);
    return index >= 0 && list.Remove(index);
}
} // namespace

bool CWindowUIManager::AddNotifier(INotifyUI* notifier) { return AddUnique(m_aNotifiers, notifier); }
bool CWindowUIManager::RemoveNotifier(INotifyUI* notifier) { return RemoveFirst(m_aNotifiers, notifier); }
bool CWindowUIManager::AddPreMessageFilter(IMessageFilterUI* filter) { return AddUnique(m_aPreMessageFilters, filter); }
bool CWindowUIManager::RemovePreMessageFilter(IMessageFilterUI* filter) { return RemoveFirst(m_aPreMessageFilters, filter); }
bool CWindowUIManager::AddMessageFilter(IMessageFilterUI* filter) { return AddUnique(m_aMessageFilters, filter); }
bool CWindowUIManager::RemoveMessageFilter(IMessageFilterUI* filter) { return RemoveFirst(m_aMessageFilters, filter); }
bool CWindowUIManager::AddPostPaint(CControlUI* control) { return AddUnique(m_aPostPaintControls, control); }
bool CWindowUIManager::RemovePostPaint(CControlUI* control) { return RemoveFirst(m_aPostPaintControls, control); }
bool CWindowUIManager::AddTranslateAccelerator(ITranslateAccelerator* translator)
{
    return AddUnique(m_aTranslateAccelerator, translator);
}
bool CWindowUIManager::RemoveTranslateAccelerator(ITranslateAccelerator* translator)
{
    return RemoveFirst(m_aTranslateAccelerator, translator);
}

// ---- Timers ----

bool CWindowUIManager::SetTimer(CControlUI* control, UINT timerId, UINT elapse)
{
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        TimerEntry* timer = static_cast<TimerEntry*>(m_aTimers[i]);
        if (timer->pSender == control && timer->hWnd == m_hWndPaint && timer->nLocalID == timerId) {
            if (!timer->bKilled) return false;
            if (::SetTimer(m_hWndPaint, timer->uWinTimer, elapse, NULL) == 0) return false;
            timer->bKilled = false;
            return true;
        }
    }
    // A native id that a live timer of this window still holds is skipped.
    UINT nativeId = 0;
    bool found = false;
    for (int attempt = 0; attempt < 240 && !found; ++attempt) {
        m_uTimerID = (m_uTimerID + 1) % 240;
        nativeId = m_uTimerID;
        found = true;
        for (int i = 0; i < m_aTimers.GetSize(); ++i) {
            TimerEntry* timer = static_cast<TimerEntry*>(m_aTimers[i]);
            if (timer->hWnd == m_hWndPaint && timer->uWinTimer == nativeId) {
                found = false;
                break;
            }
        }
    }
    if (!found) return false;
    if (::SetTimer(m_hWndPaint, nativeId, elapse, NULL) == 0) return false;
    TimerEntry* timer = new TimerEntry;
    timer->pSender = control;
    timer->nLocalID = timerId;
    timer->hWnd = m_hWndPaint;
    timer->uWinTimer = nativeId;
    timer->bKilled = false;
    if (!m_aTimers.Add(timer)) {
        ::KillTimer(m_hWndPaint, nativeId);
        delete timer;
        return false;
    }
    return true;
}

bool CWindowUIManager::KillTimer(CControlUI* control, UINT timerId)
{
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        TimerEntry* timer = static_cast<TimerEntry*>(m_aTimers[i]);
        if (timer->pSender == control && timer->hWnd == m_hWndPaint && timer->nLocalID == timerId && !timer->bKilled) {
            if (IsWindow(m_hWndPaint)) ::KillTimer(timer->hWnd, timer->uWinTimer);
            timer->bKilled = true;
            return true;
        }
    }
    return false;
}

void CWindowUIManager::KillTimers(CControlUI* control)
{
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        TimerEntry* timer = static_cast<TimerEntry*>(m_aTimers[i]);
        if (timer->pSender == control && timer->hWnd == m_hWndPaint) {
            if (!timer->bKilled && IsWindow(m_hWndPaint)) ::KillTimer(timer->hWnd, timer->uWinTimer);
            delete timer;
            m_aTimers.Remove(i);
            --i;
        }
    }
}

void CWindowUIManager::RemoveAllTimers()
{
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        TimerEntry* timer = static_cast<TimerEntry*>(m_aTimers[i]);
        if (timer->hWnd == m_hWndPaint && !timer->bKilled && IsWindow(m_hWndPaint))
            ::KillTimer(timer->hWnd, timer->uWinTimer);
        delete timer;
    }
    m_aTimers.Empty();
}

// ---- Caret ----

bool CWindowUIManager::CreateCaret(HBITMAP bitmap, int width, int height)
{
    ::CreateCaret(m_hWndPaint, bitmap, width, height);
    m_rtCaret.right = m_rtCaret.left + width;
    m_rtCaret.bottom = m_rtCaret.top + height;
    return true;
}

bool CWindowUIManager::SetCaretPos(CControlUI* owner, int x, int y)
{
    if (!::SetCaretPos(x, y)) return false;
    m_pCaretOwner = owner;
    RECT old = m_rtCaret;
    int width = m_rtCaret.right - m_rtCaret.left, height = m_rtCaret.bottom - m_rtCaret.top;
    SetRect(&m_rtCaret, x, y, x + width, y + height);
    Invalidate(old);
    Invalidate(m_rtCaret);
    return true;
}

bool CWindowUIManager::ShowCaret(bool show)
{
    if (m_bCaretShowing == show) return true;
    m_bCaretShowing = show;
    if (show) {
        ::SetTimer(m_hWndPaint, kCaretTimerId, GetCaretBlinkTime(), NULL);
        if (!m_bCaretActive) {
            m_bCaretActive = true;
            Invalidate(m_rtCaret);
        }
    } else {
        ::KillTimer(m_hWndPaint, kCaretTimerId);
        if (m_bCaretActive) {
            Invalidate(m_rtCaret);
            m_bCaretActive = false;
        }
    }
    return true;
}

void CWindowUIManager::DrawCaret(HDC dc, const RECT& rcPaint)
{
    if (m_pCaretOwner != NULL && (!m_pCaretOwner->IsFocused() || m_hWndPaint != ::GetFocus())) {
        ::KillTimer(m_hWndPaint, kCaretTimerId);
        if (m_bCaretActive) Invalidate(m_rtCaret);
        m_bCaretActive = false;
        return;
    }
    if (m_bCaretShowing && m_bCaretActive && m_pCaretOwner != NULL) {
        RECT part;
        if (IntersectRect(&part, &m_rtCaret, &rcPaint)) {
            DWORD color = GetDefaultFontColor();
            CGdiPainter::DrawColor(dc, part, color);
        }
    }
}

// ---- Messages ----

namespace {
// Offers a message to each filter in order; the first that handles it ends.
bool RunFilters(const CPointerArray& filters, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    for (int i = 0; i < filters.GetSize(); ++i) {
        bool handled = false;
        LRESULT answer = static_cast<IMessageFilterUI*>(filters[i])->FilterMessage(msg, wParam, lParam, handled);
        if (handled) {
            result = answer;
            return true;
        }
    }
    return false;
}
} // namespace

bool CWindowUIManager::PreFilterMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (RunFilters(m_aPreMessageFilters, msg, wParam, lParam, result)) return true;
    switch (msg) {
    case WM_KEYDOWN:
        if (wParam == VK_TAB) {
            if (m_pFocus != NULL && m_pFocus->IsVisible() && m_pFocus->IsEnabled()
                && wcsstr(m_pFocus->GetControlClass(), L"RichEditUI") != NULL)
                return false;
            FocusNextTabStop(GetKeyState(VK_SHIFT) >= 0);
            return true;
        }
        break;
    case WM_SYSKEYDOWN:
        if (m_pFocus != NULL) FireEvent(m_pFocus, UIEVENT_SYSKEY, wParam, lParam, GetKeyStateWord(), static_cast<WCHAR>(wParam));
        break;
    case WM_SYSCHAR: {
        if (m_pRoot == NULL) break;
        FindShortcut fs = { static_cast<WCHAR>(toupper(static_cast<int>(wParam))), false };
        // Walked in child order, so "the control after the label" is the
        // one that follows it in the tree.
        CControlUI* control = m_pRoot->FindControl(FindControlFromShortcut, &fs, UIFIND_ENABLED | UIFIND_ME_FIRST);
        if (control != NULL) {
            control->SetFocus();
            control->Activate();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return false;
}

bool CWindowUIManager::TranslateAccelerator(MSG* msg)
{
    for (int i = 0; i < m_aTranslateAccelerator.GetSize(); ++i) {
        if (static_cast<ITranslateAccelerator*>(m_aTranslateAccelerator[i])->TranslateAccelerator(msg) == 0)
            return true;
    }
    return false;
}

bool CWindowUIManager::TranslateQueuedMessage(MSG* msg)
{
    if (msg == NULL) return false;
    LONG style = GetWindowLongW(msg->hwnd, GWL_STYLE);
    if ((style & WS_CHILD) != 0) {
        for (int i = 0; i < g_managers.GetSize(); ++i) {
            CWindowUIManager* manager = static_cast<CWindowUIManager*>(g_managers[i]);
            HWND own = manager->GetPaintWindow();
            HWND parent = GetParent(msg->hwnd);
            bool owns = own == msg->hwnd;
            for (HWND walk = parent; walk != NULL && !owns; walk = GetParent(walk)) owns = walk == own;
            if (!owns) continue;
            if (manager->TranslateAccelerator(msg)) return true;
            LRESULT result = 0;
            manager->PreFilterMessage(msg->message, msg->wParam, msg->lParam, result);
        }
        return false;
    }
    for (int i = 0; i < g_managers.GetSize(); ++i) {
        CWindowUIManager* manager = static_cast<CWindowUIManager*>(g_managers[i]);
        if (manager->GetPaintWindow() != msg->hwnd) continue;
        if (manager->TranslateAccelerator(msg)) return true;
        LRESULT result = 0;
        return manager->PreFilterMessage(msg->message, msg->wParam, msg->lParam, result);
    }
    return false;
}

void CWindowUIManager::DropOffscreen()
{
    if (m_hDcOffscreen != NULL) DeleteDC(m_hDcOffscreen);
    if (m_hbmpOffscreen != NULL) DeleteObject(m_hbmpOffscreen);
    if (m_hDcLayered != NULL) DeleteDC(m_hDcLayered);
    if (m_hbmpLayered != NULL) DeleteObject(m_hbmpLayered);
    m_hDcOffscreen = m_hDcLayered = NULL;
    m_hbmpOffscreen = m_hbmpLayered = NULL;
    m_pLayeredBits = NULL;
    m_szLayered.cx = m_szLayered.cy = 0;
}

bool CWindowUIManager::LayoutPass()
{
    if (!m_bUpdateNeeded) return false;
    m_bUpdateNeeded = false;
    RECT client = { 0, 0, 0, 0 };
    GetClientRect(m_hWndPaint, &client);
    if (!IsRectEmpty(&client) && m_pRoot != NULL) {
        if (m_pRoot->IsUpdateNeeded()) {
            if (!IsIconic(m_hWndPaint)) m_pRoot->SetPos(client);
            DropOffscreen();
        } else {
            // Each round lays out one control; a control that still asks
            // after its own SetPos ends the loop instead of spinning.
            int rounds = 0;
            CControlUI* control = NULL;
            CControlUI* last = NULL;
            while ((control = m_pRoot->FindControl(FindControlFromUpdate, NULL, UIFIND_VISIBLE | UIFIND_ME_FIRST)) != NULL) {
                if (control == last || ++rounds > 100000) break;
                control->SetPos(control->GetPos());
                last = control;
            }
        }
        if (m_bFirstLayout) {
            m_bFirstLayout = false;
            SendNotify(m_pRoot, L"windowinit");
        }
    }
    if (m_bFocusNeeded) FocusNextTabStop(true);
    return true;
}

void CWindowUIManager::PaintLayered(const RECT& rcClient)
{
    LONG exStyle = GetWindowLongW(m_hWndPaint, GWL_EXSTYLE);
    if ((exStyle & WS_EX_LAYERED) == 0) SetWindowLongW(m_hWndPaint, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    RECT rcPaint = { 0, 0, 0, 0 };
    GetUpdateRect(m_hWndPaint, &rcPaint, FALSE);
    if (m_bLayeredFullRepaint) {
        m_bLayeredFullRepaint = false;
        rcPaint = rcClient;
    }
    PAINTSTRUCT ps;
    BeginPaint(m_hWndPaint, &ps);
    LayoutPass();
    int width = rcClient.right - rcClient.left, height = rcClient.bottom - rcClient.top;
    // A client size that changed needs a bitmap of the new size.
    if (m_hbmpLayered != NULL && (m_szLayered.cx != width || m_szLayered.cy != height)) DropOffscreen();
    if (m_hDcLayered == NULL) {
        m_hDcLayered = CreateCompatibleDC(m_hDcPaint);
        m_hbmpLayered = CGdiPainter::CreateDib32(m_hDcPaint, width, height, &m_pLayeredBits);
        m_szLayered.cx = width;
        m_szLayered.cy = height;
    }
    if (m_hDcLayered == NULL || m_hbmpLayered == NULL || m_pLayeredBits == NULL || m_pRoot == NULL) {
        EndPaint(m_hWndPaint, &ps);
        return;
    }
    HGDIOBJ oldBitmap = SelectObject(m_hDcLayered, m_hbmpLayered);
    CGdiPainter::ClearPixels(m_pLayeredBits, width, height, rcPaint);
    m_bPainting = true;
    m_pRoot->Paint(m_hDcLayered, rcPaint);
    DrawCaret(m_hDcLayered, rcPaint);
    m_bPainting = false;
    GdiFlush();
    CGdiPainter::FixAlpha(m_pLayeredBits, width, height, rcPaint);
    RECT window;
    GetWindowRect(m_hWndPaint, &window);
    POINT dest = { window.left, window.top };
    SIZE size = { width, height };
    POINT source = { 0, 0 };
    BLENDFUNCTION bf = { AC_SRC_OVER, 0, 255, AC_SRC_ALPHA };
    UpdateLayeredWindow(m_hWndPaint, NULL, &dest, &size, m_hDcLayered, &source, 0, &bf, ULW_ALPHA);
    SelectObject(m_hDcLayered, oldBitmap);
    EndPaint(m_hWndPaint, &ps);
}

void CWindowUIManager::OnPaint()
{
    RECT rcPaint = { 0, 0, 0, 0 };
    if (!GetUpdateRect(m_hWndPaint, &rcPaint, FALSE)) return;
    if (m_pRoot == NULL) {
        PAINTSTRUCT ps;
        BeginPaint(m_hWndPaint, &ps);
        EndPaint(m_hWndPaint, &ps);
        return;
    }
    RECT client = { 0, 0, 0, 0 };
    GetClientRect(m_hWndPaint, &client);
    if (m_bLayered) {
        PaintLayered(client);
        return;
    }
    LayoutPass();
    if (m_pRoot == NULL) {
        // windowinit may have taken the tree away.
        PAINTSTRUCT ps;
        BeginPaint(m_hWndPaint, &ps);
        EndPaint(m_hWndPaint, &ps);
        return;
    }
    if (m_hDcOffscreen == NULL) m_hDcOffscreen = CreateCompatibleDC(m_hDcPaint);
    if (m_hbmpOffscreen == NULL)
        m_hbmpOffscreen = CreateCompatibleBitmap(m_hDcPaint, client.right - client.left, client.bottom - client.top);
    PAINTSTRUCT ps;
    BeginPaint(m_hWndPaint, &ps);
    if (m_hDcOffscreen != NULL && m_hbmpOffscreen != NULL) {
        HGDIOBJ oldBitmap = SelectObject(m_hDcOffscreen, m_hbmpOffscreen);
        int saved = SaveDC(m_hDcOffscreen);
        m_bPainting = true;
        m_bUpdateNeeded = false;
        m_pRoot->Paint(m_hDcOffscreen, ps.rcPaint);
        DrawCaret(m_hDcOffscreen, ps.rcPaint);
        for (int i = 0; i < m_aPostPaintControls.GetSize(); ++i)
            static_cast<CControlUI*>(m_aPostPaintControls[i])->PaintOverlay(m_hDcOffscreen, ps.rcPaint);
        m_bPainting = false;
        RestoreDC(m_hDcOffscreen, saved);
        BitBlt(ps.hdc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, m_hDcOffscreen, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
        SelectObject(m_hDcOffscreen, oldBitmap);
        if (m_bShowUpdateRect) {
            HGDIOBJ oldPen = SelectObject(ps.hdc, g_updateRectPen);
            HGDIOBJ oldBrush = SelectObject(ps.hdc, GetStockObject(HOLLOW_BRUSH));
            Rectangle(ps.hdc, rcPaint.left, rcPaint.top, rcPaint.right, rcPaint.bottom);
            SelectObject(ps.hdc, oldBrush);
            SelectObject(ps.hdc, oldPen);
        }
    }
    EndPaint(m_hWndPaint, &ps);
    if (m_bUpdateNeeded) InvalidateRect(m_hWndPaint, NULL, FALSE);
}

void CWindowUIManager::OnMouseMove(LPARAM lParam)
{
    if (!m_bMouseTracking) {
        TRACKMOUSEEVENT tme = { 0 };
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_HOVER | TME_LEAVE;
        tme.hwndTrack = m_hWndPaint;
        tme.dwHoverTime = m_hwndTooltip == NULL
                              ? 400
                              : static_cast<DWORD>(::SendMessageW(m_hwndTooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
        _TrackMouseEvent(&tme);
        m_bMouseTracking = true;
    }
    POINT pt = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
    m_ptLastMousePos = pt;
    CControlUI* control = FindControl(pt);
    if (control != NULL && control->GetManager() != this) return;
    if (m_pEventHover != NULL && m_pEventHover != control) {
        CControlUI* old = m_pEventHover;
        m_pEventHover = NULL;
        FireEvent(old, UIEVENT_MOUSELEAVE);
        if (m_hwndTooltip != NULL) ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
    }
    if (control != NULL && m_pEventHover != control) {
        m_pEventHover = control;
        FireEvent(control, UIEVENT_MOUSEENTER);
    }
    CControlUI* target = m_pEventClick != NULL ? m_pEventClick : control;
    if (target != NULL) FireEvent(target, UIEVENT_MOUSEMOVE, 0, 0, 0);
}

void CWindowUIManager::OnMouseHover()
{
    m_bMouseTracking = false;
    CControlUI* control = OwnControlAt(m_ptLastMousePos);
    if (control == NULL) return;
    if (m_pEventHover != NULL) FireEvent(m_pEventHover, UIEVENT_MOUSEHOVER);
    CUIString tip = control->GetToolTip();
    if (tip.IsEmpty()) return;
    static WCHAR text[1024];
    wcsncpy(text, tip, 1023);
    text[1023] = L'\0';
    memset(&m_ToolTip, 0, sizeof(m_ToolTip));
    // The whole record of this target (48 bytes on 32-bit Windows, 72 on 64-bit).
    m_ToolTip.cbSize = sizeof(m_ToolTip);
    m_ToolTip.uFlags = TTF_IDISHWND;
    m_ToolTip.hwnd = m_hWndPaint;
    m_ToolTip.uId = reinterpret_cast<UINT_PTR>(m_hWndPaint);
    m_ToolTip.hinst = g_instance;
    m_ToolTip.lpszText = text;
    m_ToolTip.rect = control->GetPos();
    if (m_hwndTooltip == NULL) {
        m_hwndTooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, NULL, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWndPaint, NULL,
                                        g_instance, NULL);
        if (m_hwndTooltip != NULL) ::SendMessageW(m_hwndTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
    }
    if (m_hwndTooltip != NULL) {
        ::SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, control->GetToolTipWidth());
        ::SendMessageW(m_hwndTooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
        ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_ToolTip));
    }
}

bool CWindowUIManager::HandleWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (m_hWndPaint == NULL) return false;
    DrainAsyncNotify();
    if (RunFilters(m_aMessageFilters, msg, wParam, lParam, result)) return true;

    switch (msg) {
    case kDeleteQueuedMessage:
        DeleteQueuedControls();
        break;
    case WM_CLOSE: {
        // A window that closes ends hover and a press; the press ends where
        // the mouse was last seen, as a release there would end it.
        if (m_pEventHover != NULL) {
            CControlUI* hot = m_pEventHover;
            m_pEventHover = NULL;
            FireEvent(hot, UIEVENT_MOUSELEAVE);
        }
        if (m_pEventClick != NULL) {
            CControlUI* pressed = m_pEventClick;
            m_pEventClick = NULL;
            if (m_bMouseCapture) ReleaseCapture();
            FireEvent(pressed, UIEVENT_BUTTONUP);
        }
        SetFocus(NULL);
        HWND owner = GetWindow(m_hWndPaint, GW_OWNER);
        if (owner != NULL) ::SetFocus(owner);
        break;
    }
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT:
        OnPaint();
        return true;
    case WM_SIZE:
        if (m_pFocus != NULL) FireEvent(m_pFocus, UIEVENT_WINDOWSIZE);
        if (m_pRoot != NULL) m_pRoot->RequestLayout();
        return true;
    case WM_TIMER:
        if (wParam == kCaretTimerId) {
            Invalidate(m_rtCaret);
            m_bCaretActive = !m_bCaretActive;
        } else {
            for (int i = 0; i < m_aTimers.GetSize(); ++i) {
                TimerEntry* timer = static_cast<TimerEntry*>(m_aTimers[i]);
                if (timer->hWnd == m_hWndPaint && timer->uWinTimer == wParam && !timer->bKilled) {
                    FireEvent(timer->pSender, UIEVENT_TIMER, timer->nLocalID, lParam);
                    break;
                }
            }
        }
        break;
    case WM_MOUSEHOVER:
        if (OwnControlAt(m_ptLastMousePos) == NULL) {
            m_bMouseTracking = false;
            break;
        }
        OnMouseHover();
        return true;
    case WM_MOUSELEAVE:
        if (m_hwndTooltip != NULL) ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
        if (m_bMouseTracking) ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, static_cast<LPARAM>(-1));
        m_bMouseTracking = false;
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(lParam);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        ::SetFocus(m_hWndPaint);
        POINT pt = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
        m_ptLastMousePos = pt;
        CControlUI* control = OwnControlAt(pt);
        if (control == NULL) break;
        m_pEventClick = control;
        control->SetFocus();
        SetCapture();
        // SetFocus may have removed the control.
        if (m_pEventClick == control)
            FireEvent(control, msg == WM_LBUTTONDOWN ? UIEVENT_BUTTONDOWN : UIEVENT_RBUTTONDOWN, wParam, lParam,
                      LOWORD(wParam));
        break;
    }
    case WM_LBUTTONDBLCLK: {
        ::SetFocus(m_hWndPaint);
        POINT pt = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
        m_ptLastMousePos = pt;
        CControlUI* control = OwnControlAt(pt);
        if (control == NULL) break;
        SetCapture();
        m_pEventClick = control;
        FireEvent(control, UIEVENT_DBLCLICK, wParam, lParam, LOWORD(wParam));
        break;
    }
    case WM_LBUTTONUP: {
        POINT pt = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
        m_ptLastMousePos = pt;
        if (m_pEventClick == NULL) break;
        ReleaseCapture();
        CControlUI* pressed = m_pEventClick;
        m_pEventClick = NULL;
        FireEvent(pressed, UIEVENT_BUTTONUP, wParam, lParam, LOWORD(wParam));
        break;
    }
    case WM_CONTEXTMENU: {
        POINT pt = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
        ScreenToClient(m_hWndPaint, &pt);
        m_ptLastMousePos = pt;
        if (m_pEventClick == NULL) break;
        ReleaseCapture();
        CControlUI* pressed = m_pEventClick;
        m_pEventClick = NULL;
        FireEvent(pressed, UIEVENT_CONTEXTMENU, wParam, reinterpret_cast<LPARAM>(pressed), LOWORD(wParam));
        break;
    }
    case WM_MOUSEWHEEL: {
        POINT pt = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
        ScreenToClient(m_hWndPaint, &pt);
        m_ptLastMousePos = pt;
        CControlUI* control = OwnControlAt(pt);
        if (control == NULL) break;
        int delta = static_cast<short>(HIWORD(wParam));
        FireEvent(control, UIEVENT_SCROLLWHEEL, delta < 0 ? 1 : 0, lParam, GetKeyStateWord());
        ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, MAKELPARAM(m_ptLastMousePos.x, m_ptLastMousePos.y));
        break;
    }
    case WM_SETCURSOR: {
        if (LOWORD(lParam) != HTCLIENT) break;
        if (m_bMouseCapture) return true;
        POINT pt;
        GetCursorPos(&pt);
        ScreenToClient(m_hWndPaint, &pt);
        CControlUI* control = OwnControlAt(pt);
        if (control == NULL || (control->GetControlFlags() & UIFLAG_SETCURSOR) == 0) break;
        ControlEvent event = { 0 };
        event.Type = UIEVENT_SETCURSOR;
        event.pSender = control;
        event.dwTimestamp = GetTickCount();
        event.ptMouse = pt;
        event.wKeyState = GetKeyStateWord();
        event.wParam = wParam;
        event.lParam = lParam;
        control->DispatchEvent(event);
        return true;
    }
    case WM_KEYDOWN:
        if (m_pFocus == NULL) break;
        FireEvent(m_pFocus, UIEVENT_KEYDOWN, wParam, lParam, GetKeyStateWord(), static_cast<WCHAR>(wParam));
        m_pEventKey = m_pFocus;
        break;
    case WM_KEYUP:
        if (m_pEventKey == NULL) break;
        {
            CControlUI* target = m_pEventKey;
            m_pEventKey = NULL;
            FireEvent(target, UIEVENT_KEYUP, wParam, lParam, GetKeyStateWord(), static_cast<WCHAR>(wParam));
        }
        break;
    case WM_CHAR:
        if (m_pFocus != NULL)
            FireEvent(m_pFocus, UIEVENT_CHAR, wParam, lParam, GetKeyStateWord(), static_cast<WCHAR>(wParam));
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_RESTORE) m_bLayeredFullRepaint = true;
        break;
    case WM_GETMINMAXINFO: {
        MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (info == NULL) break;
        if (m_szMinWindow.cx > 0) info->ptMinTrackSize.x = m_szMinWindow.cx;
        if (m_szMinWindow.cy > 0) info->ptMinTrackSize.y = m_szMinWindow.cy;
        if (m_szMaxWindow.cx > 0) info->ptMaxTrackSize.x = m_szMaxWindow.cx;
        if (m_szMaxWindow.cy > 0) info->ptMaxTrackSize.y = m_szMaxWindow.cy;
        break;
    }
    case WM_NOTIFY: {
        LPNMHDR header = reinterpret_cast<LPNMHDR>(lParam);
        if (header != NULL) result = ::SendMessageW(header->hwndFrom, msg + 0x2000, wParam, lParam);
        return true;
    }
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        if (lParam == 0) break;
        result = ::SendMessageW(reinterpret_cast<HWND>(lParam), msg + 0x2000, wParam, lParam);
        return true;
    default:
        break;
    }
    DrainAsyncNotify();
    return false;
}

// ---- Walk callbacks ----

CControlUI* CALLBACK CWindowUIManager::FindControlFromNameHash(CControlUI* control, LPVOID data)
{
    CWindowUIManager* manager = static_cast<CWindowUIManager*>(data);
    CUIString name = control->GetName();
    if (!name.IsEmpty()) manager->m_mNameHash.Set(name, control);
    return NULL;
}

CControlUI* CALLBACK CWindowUIManager::FindControlFromCount(CControlUI*, LPVOID data)
{
    ++*static_cast<int*>(data);
    return NULL;
}

CControlUI* CALLBACK CWindowUIManager::FindControlFromPoint(CControlUI* control, LPVOID data)
{
    const RECT& pos = control->GetPos();
    return PtInRect(&pos, *static_cast<LPPOINT>(data)) ? control : NULL;
}

CControlUI* CALLBACK CWindowUIManager::FindControlFromTab(CControlUI* control, LPVOID data)
{
    FindTabInfo* info = static_cast<FindTabInfo*>(data);
    if (info->pFocus == control) {
        if (info->bForward) info->bNextIsIt = true;
        return info->bForward ? NULL : info->pLast;
    }
    if ((control->GetControlFlags() & UIFLAG_TABSTOP) == 0) return NULL;
    info->pLast = control;
    if (info->bNextIsIt) return control;
    if (info->pFocus == NULL) return control;
    return NULL;
}

CControlUI* CALLBACK CWindowUIManager::FindControlFromShortcut(CControlUI* control, LPVOID data)
{
    if (!control->IsVisible()) return NULL;
    FindShortcut* fs = static_cast<FindShortcut*>(data);
    if (fs->ch == toupper(control->GetShortcut())) fs->bPickNext = true;
    if (wcsstr(control->GetControlClass(), L"LabelUI") != NULL) return NULL;
    return fs->bPickNext ? control : NULL;
}

CControlUI* CALLBACK CWindowUIManager::FindControlFromUpdate(CControlUI* control, LPVOID)
{
    return control->IsUpdateNeeded() ? control : NULL;
}

// ---- Process-wide state ----

void CWindowUIManager::SetInstance(HINSTANCE instance)
{
    g_instance = instance;
    CShadowUI::Initialize(instance);
}

HINSTANCE CWindowUIManager::GetInstance() { return g_instance; }
HINSTANCE CWindowUIManager::GetResourceModule() { return g_instance; }

CUIString CWindowUIManager::GetModuleFolder()
{
    if (g_instance == NULL) return CUIString();
    WCHAR path[MAX_PATH + 1] = { 0 };
    DWORD n = GetModuleFileNameW(g_instance, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return CUIString();
    CUIString folder(path);
    int slash = folder.ReverseFind(L'\\');
    return slash >= 0 ? folder.Left(slash + 1) : CUIString();
}

void CWindowUIManager::SetSkinPath(LPCWSTR path)
{
    g_skinPath = path;
    int length = g_skinPath.GetLength();
    if (length > 0 && g_skinPath.GetAt(length - 1) != L'\\' && g_skinPath.GetAt(length - 1) != L'/')
        g_skinPath += L'\\';
}

CUIString CWindowUIManager::GetSkinPath() { return g_skinPath; }

void CWindowUIManager::CloseSkinZip()
{
    if (g_skinZip != NULL) ZipArchiveClose(g_skinZip);
    g_skinZip = NULL;
    g_skinZipBlock = NULL;
    g_skinZipBlockSize = 0;
}

void CWindowUIManager::SetSkinZip(LPCWSTR zipName, bool keepOpen)
{
    if (g_skinZipName == zipName && g_skinZipKeptOpen == keepOpen) return;
    CloseSkinZip();
    g_skinZipName = zipName;
    g_skinZipKeptOpen = keepOpen;
    if (keepOpen) {
        CUIString path = g_skinPath + g_skinZipName;
        g_skinZip = ZipArchiveOpen(path.GetData(), 0, ZIP_FILENAME);
    }
}

void CWindowUIManager::SetSkinZipBuffer(LPCVOID block, DWORD size)
{
    // Frames of one program open the same block: its archive stays open.
    if (g_skinZip != NULL && g_skinZipBlock == block && g_skinZipBlockSize == size && g_skinZipName == L"membuffer")
        return;
    CloseSkinZip();
    g_skinZipBlock = block;
    g_skinZipBlockSize = size;
    g_skinZipName = L"membuffer";
    g_skinZipKeptOpen = true;
    g_skinZip = ZipArchiveOpen(block, size, ZIP_MEMORY);
}

CUIString CWindowUIManager::GetSkinZipName() { return g_skinZipName; }
bool CWindowUIManager::IsSkinZipKeptOpen() { return g_skinZipKeptOpen; }
HZIP CWindowUIManager::GetSkinZipHandle() { return g_skinZip; }

void CWindowUIManager::GetHsl(short* hue, short* saturation, short* lightness)
{
    *hue = 180;
    *saturation = 100;
    *lightness = 100;
}

// ---- Resources ----

const CWindowUIManager* CWindowUIManager::Top() const
{
    const CWindowUIManager* top = this;
    while (top->m_pParentManager != NULL) top = top->m_pParentManager;
    return top;
}

CWindowUIManager* CWindowUIManager::Top()
{
    CWindowUIManager* top = this;
    while (top->m_pParentManager != NULL) top = top->m_pParentManager;
    return top;
}

void CWindowUIManager::MeasureFont(FontEntry* entry)
{
    HDC dc = m_hDcPaint != NULL ? m_hDcPaint : CreateCompatibleDC(NULL);
    if (dc == NULL) return;
    HGDIOBJ old = SelectObject(dc, entry->hFont);
    GetTextMetricsW(dc, &entry->tm);
    SelectObject(dc, old);
    if (dc != m_hDcPaint) DeleteDC(dc);
}

HFONT CWindowUIManager::AddFont(LPCWSTR face, int size, bool bold, bool underline, bool italic)
{
    LOGFONTW lf;
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    CopyFaceName(lf, face);
    lf.lfQuality = CLEARTYPE_QUALITY;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -size;
    if (bold) lf.lfWeight += FW_BOLD;
    if (underline) lf.lfUnderline = TRUE;
    if (italic) lf.lfItalic = TRUE;
    HFONT font = CreateFontIndirectW(&lf);
    if (font == NULL) return NULL;
    FontEntry* entry = new FontEntry;
    entry->hFont = font;
    entry->sFontName = lf.lfFaceName;
    entry->iSize = size;
    entry->bBold = bold;
    entry->bUnderline = underline;
    entry->bItalic = italic;
    memset(&entry->tm, 0, sizeof(entry->tm));
    if (m_hDcPaint != NULL) MeasureFont(entry);
    if (!m_aFonts.Add(entry)) {
        DeleteObject(font);
        delete entry;
        return NULL;
    }
    return font;
}

void CWindowUIManager::SetDefaultFont(LPCWSTR face, int size, bool bold, bool underline, bool italic)
{
    LOGFONTW lf;
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    CopyFaceName(lf, face);
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -size;
    if (bold) lf.lfWeight += FW_BOLD;
    if (underline) lf.lfUnderline = TRUE;
    if (italic) lf.lfItalic = TRUE;
    HFONT font = CreateFontIndirectW(&lf);
    if (font == NULL) return;
    if (m_DefaultFontInfo.hFont != NULL) DeleteObject(m_DefaultFontInfo.hFont);
    m_DefaultFontInfo.hFont = font;
    m_DefaultFontInfo.sFontName = lf.lfFaceName;
    m_DefaultFontInfo.iSize = size;
    m_DefaultFontInfo.bBold = bold;
    m_DefaultFontInfo.bUnderline = underline;
    m_DefaultFontInfo.bItalic = italic;
    memset(&m_DefaultFontInfo.tm, 0, sizeof(m_DefaultFontInfo.tm));
    if (m_hDcPaint != NULL) MeasureFont(&m_DefaultFontInfo);
}

HFONT CWindowUIManager::GetFont(int index)
{
    if (index < 0 || index >= m_aFonts.GetSize()) return GetDefaultFontEntry()->hFont;
    return static_cast<FontEntry*>(m_aFonts[index])->hFont;
}

FontEntry* CWindowUIManager::GetFontEntry(int index)
{
    if (index < 0 || index >= m_aFonts.GetSize()) return GetDefaultFontEntry();
    FontEntry* entry = static_cast<FontEntry*>(m_aFonts[index]);
    if (entry->tm.tmHeight == 0) MeasureFont(entry);
    return entry;
}

FontEntry* CWindowUIManager::GetFontEntry(HFONT font)
{
    for (CWindowUIManager* manager = this; manager != NULL; manager = manager->m_pParentManager) {
        for (int i = 0; i < manager->m_aFonts.GetSize(); ++i) {
            FontEntry* entry = static_cast<FontEntry*>(manager->m_aFonts[i]);
            if (entry->hFont == font) {
                if (entry->tm.tmHeight == 0) manager->MeasureFont(entry);
                return entry;
            }
        }
    }
    return GetDefaultFontEntry();
}

HFONT CWindowUIManager::FindFont(LPCWSTR face, int size, bool bold, bool underline, bool italic) const
{
    if (face == NULL) return NULL;
    for (const CWindowUIManager* manager = this; manager != NULL; manager = manager->m_pParentManager) {
        for (int i = 0; i < manager->m_aFonts.GetSize(); ++i) {
            FontEntry* entry = static_cast<FontEntry*>(manager->m_aFonts[i]);
            if (entry->sFontName == face && entry->iSize == size && entry->bBold == bold
                && entry->bUnderline == underline && entry->bItalic == italic)
                return entry->hFont;
        }
    }
    return NULL;
}

FontEntry* CWindowUIManager::GetDefaultFontEntry()
{
    CWindowUIManager* top = Top();
    if (top->m_DefaultFontInfo.tm.tmHeight == 0) top->MeasureFont(&top->m_DefaultFontInfo);
    return &top->m_DefaultFontInfo;
}

void CWindowUIManager::RemoveAllFonts()
{
    for (int i = 0; i < m_aFonts.GetSize(); ++i) {
        FontEntry* entry = static_cast<FontEntry*>(m_aFonts[i]);
        DeleteObject(entry->hFont);
        delete entry;
    }
    m_aFonts.Empty();
}

ImageEntry* CWindowUIManager::AddImage(LPCWSTR name, LPCWSTR resType, DWORD mask)
{
    if (name == NULL || name[0] == L'\0') return NULL;
    ImageEntry* entry = NULL;
    if (resType != NULL) {
        if (name[0] < L'0' || name[0] > L'9') return NULL;
        int id = static_cast<int>(wcstol(name, NULL, 10));
        entry = CGdiPainter::LoadImage(MAKEINTRESOURCEW(id), resType, mask);
    } else {
        entry = CGdiPainter::LoadImage(name, NULL, mask);
    }
    if (entry == NULL) return NULL;
    entry->sResType = resType;
    entry->dwMask = mask;
    if (!m_mImageHash.Insert(name, entry)) {
        CGdiPainter::FreeImage(entry);
        return NULL;
    }
    return entry;
}

ImageEntry* CWindowUIManager::GetImageOrLoad(LPCWSTR name, LPCWSTR resType, DWORD mask)
{
    if (name == NULL) return NULL;
    ImageEntry* entry = static_cast<ImageEntry*>(m_mImageHash.Find(name));
    if (entry != NULL) return entry;
    return AddImage(name, resType, mask);
}

namespace {
// Frees every value of a resource map, then empties it with its bucket count.
template <typename T, typename Free>
void FreeValuesAndReset(CStringKeyMap& map, Free free)
{
    for (int i = 0; i < map.GetSize(); ++i) {
        LPCWSTR key = map.GetAt(i);
        if (key != NULL) free(static_cast<T*>(map.Find(key, false)));
    }
    map.Resize(kMapBuckets);
}
} // namespace

void CWindowUIManager::RemoveAllImages()
{
    FreeValuesAndReset<ImageEntry>(m_mImageHash, CGdiPainter::FreeImage);
}

void CWindowUIManager::SetDefaultAttributes(LPCWSTR elementName, LPCWSTR attributes)
{
    if (elementName == NULL || attributes == NULL) return;
    if (m_DefaultAttrHash.Find(elementName, false) != NULL) return;
    CUIString* copy = new CUIString(attributes);
    if (!m_DefaultAttrHash.Insert(elementName, copy)) delete copy;
}

LPCWSTR CWindowUIManager::GetDefaultAttributes(LPCWSTR elementName) const
{
    if (elementName == NULL) return NULL;
    for (const CWindowUIManager* manager = this; manager != NULL; manager = manager->m_pParentManager) {
        CUIString* list = static_cast<CUIString*>(manager->m_DefaultAttrHash.Find(elementName));
        if (list != NULL) return list->GetData();
    }
    return NULL;
}

void CWindowUIManager::RemoveAllDefaultAttributes()
{
    FreeValuesAndReset<CUIString>(m_DefaultAttrHash, [](CUIString* list) { delete list; });
}

bool CWindowUIManager::JoinOptionGroup(LPCWSTR group, CControlUI* option)
{
    if (group == NULL) return false;
    CPointerArray* list = static_cast<CPointerArray*>(m_mOptionGroup.Find(group));
    if (list != NULL) {
        if (list->Find(option) >= 0) return false;
        return list->Add(option);
    }
    list = new CPointerArray(6);
    list->Add(option);
    if (!m_mOptionGroup.Insert(group, list)) {
        delete list;
        return false;
    }
    return true;
}

CPointerArray* CWindowUIManager::GetOptionGroup(LPCWSTR group) const
{
    if (group == NULL) return NULL;
    return static_cast<CPointerArray*>(m_mOptionGroup.Find(group));
}

bool CWindowUIManager::LeaveOptionGroup(LPCWSTR group, CControlUI* option)
{
    CPointerArray* list = GetOptionGroup(group);
    if (list == NULL) return false;
    int index = list->Find(option);
    if (index >= 0) list->Remove(index);
    if (list->IsEmpty()) {
        delete list;
        return m_mOptionGroup.Remove(group);
    }
    return true;
}

void CWindowUIManager::RemoveAllOptionGroups()
{
    FreeValuesAndReset<CPointerArray>(m_mOptionGroup, [](CPointerArray* group) { delete group; });
}

bool CWindowUIManager::SetParentManager(CWindowUIManager* parent)
{
    for (CWindowUIManager* walk = parent; walk != NULL; walk = walk->m_pParentManager) {
        if (walk == this) return false;
    }
    m_pParentManager = parent;
    return true;
}

void CWindowUIManager::SetWindowAlpha(int alpha)
{
    m_nAlpha = static_cast<BYTE>(alpha < 0 ? 0 : alpha > 255 ? 255 : alpha);
    if (m_hWndPaint == NULL) return;
    typedef BOOL(WINAPI * SetLayeredFn)(HWND, COLORREF, BYTE, DWORD);
    HMODULE user32 = GetModuleHandleW(L"User32.dll");
    SetLayeredFn setLayered =
        user32 != NULL ? reinterpret_cast<SetLayeredFn>(GetProcAddress(user32, "SetLayeredWindowAttributes")) : NULL;
    if (setLayered == NULL) return;
    LONG exStyle = GetWindowLongW(m_hWndPaint, GWL_EXSTYLE);
    if (alpha >= 0 && alpha <= 255) exStyle |= WS_EX_LAYERED;
    else exStyle &= ~WS_EX_LAYERED;
    SetWindowLongW(m_hWndPaint, GWL_EXSTYLE, exStyle);
    setLayered(m_hWndPaint, 0, m_nAlpha, LWA_ALPHA);
}

} // namespace DirectUI
