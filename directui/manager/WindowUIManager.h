#pragma once

#include "builder/BuildBudget.h"
#include "core/PointerArray.h"
#include "core/StringKeyMap.h"
#include "core/UIString.h"
#include "core/ZipArchiveApi.h"
#include "manager/ControlEvent.h"
#include "manager/FontEntry.h"
#include "manager/ImageEntry.h"
#include "manager/ManagerInterfaces.h"
#include "manager/NotifyRecord.h"
#include "window/ShadowUI.h"

#include <commctrl.h>

namespace DirectUI {

class CControlUI;

// Search flags of CControlUI::FindControl.
enum {
    UIFIND_ALL = 0x00000000,
    UIFIND_VISIBLE = 0x00000001,
    UIFIND_ENABLED = 0x00000002,
    UIFIND_HITTEST = 0x00000004,
    UIFIND_TOP_FIRST = 0x00000008,
    UIFIND_ME_FIRST = 0x80000000,
};

// Control flags of CControlUI::GetControlFlags.
enum { UIFLAG_TABSTOP = 0x00000001, UIFLAG_SETCURSOR = 0x00000002, UIFLAG_WANTRETURN = 0x00000004 };

// Control state bits shared by every control.
enum {
    UISTATE_FOCUSED = 0x00000001,
    UISTATE_SELECTED = 0x00000002,
    UISTATE_DISABLED = 0x00000004,
    UISTATE_HOT = 0x00000008,
    UISTATE_PUSHED = 0x00000010,
    UISTATE_CAPTURED = 0x00000040,
};

typedef CControlUI*(CALLBACK* FINDCONTROLPROC)(CControlUI*, LPVOID);

// The per-window engine: owns the control tree of one window, paints it,
// turns window messages into control events, tracks focus, hover, capture,
// caret and tooltips, runs control timers and delivers notifications. It
// also holds the window's fonts, images, default attributes, option groups
// and colours, and the process-wide skin location.
class CWindowUIManager
{
public:
    enum { kCaretTimerId = 241, kDeleteQueuedMessage = WM_APP + 1 };

    CWindowUIManager();
    ~CWindowUIManager();

    // Window and tree.
    void AttachWindow(HWND hWnd);
    HWND GetPaintWindow() const { return m_hWndPaint; }
    HDC GetPaintDC() const { return m_hDcPaint; }
    // The bitmap the last paint drew into: the layered one for "bktrans".
    HBITMAP GetPaintBitmap() const { return m_bLayered ? m_hbmpLayered : m_hbmpOffscreen; }
    bool AttachRoot(CControlUI* root);
    bool AdoptControls(CControlUI* control, CControlUI* parent);
    void ForgetControl(CControlUI* control);
    void QueueDeletion(CControlUI* control);
    CControlUI* FindControl(LPCWSTR name) const;
    CControlUI* FindControl(POINT pt) const;
    CControlUI* GetRoot() const { return m_pRoot; }
    CControlUI* GetFocus() const { return m_pFocus; }
    CControlUI* GetHot() const { return m_pEventHover; }
    CControlUI* GetPressed() const { return m_pEventClick; }
    POINT GetMousePos() const { return m_ptLastMousePos; }
    CControlUI* GetCaretOwner() const { return m_pCaretOwner; }
    bool IsCaptured() const { return m_bMouseCapture; }
    CShadowUI* GetShadow() { return &m_shadow; }
    // What the skin builder has made for this window so far, against its limits.
    CBuildBudget* GetBuildBudget() { return &m_buildBudget; }
    RECT GetCaptionRect() const { return m_rcCaption; }
    void SetCaptionRect(const RECT& rc) { m_rcCaption = rc; }
    RECT GetSizeBox() const { return m_rcSizeBox; }
    void SetSizeBox(const RECT& rc) { m_rcSizeBox = rc; }
    SIZE GetRoundCorner() const { return m_szRoundCorner; }
    void SetRoundCorner(int cx, int cy) { m_szRoundCorner.cx = cx; m_szRoundCorner.cy = cy; }
    SIZE GetMinInfo() const { return m_szMinWindow; }
    void SetMinInfo(int cx, int cy) { m_szMinWindow.cx = cx; m_szMinWindow.cy = cy; }
    SIZE GetMaxInfo() const { return m_szMaxWindow; }
    void SetMaxInfo(int cx, int cy) { m_szMaxWindow.cx = cx; m_szMaxWindow.cy = cy; }
    SIZE GetInitSize() const { return m_szInitWindowSize; }
    void SetInitSize(int cx, int cy);
    void SetShowUpdateRect(bool show) { m_bShowUpdateRect = show; }
    bool IsLayered() const { return m_bLayered; }
    void SetLayered(bool layered) { m_bLayered = layered; }
    void SetVirtualWindowsUsed(bool used) { m_bUsedVirtualWnd = used; }
    void Invalidate(const RECT& rc);
    void NeedUpdate() { m_bUpdateNeeded = true; }
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    void SetCapture();
    void ReleaseCapture();

    // Focus.
    void SetFocus(CControlUI* control);
    void SetFocusDeferred(CControlUI* control);
    bool FocusNextTabStop(bool forward = true);

    // Notifications.
    void SendNotify(CControlUI* control, LPCWSTR type, WPARAM wParam = 0, LPARAM lParam = 0,
                    bool async = false);
    void SendNotify(NotifyRecord& msg, bool async = false);
    bool AddNotifier(INotifyUI* notifier);
    bool RemoveNotifier(INotifyUI* notifier);
    bool AddPreMessageFilter(IMessageFilterUI* filter);
    bool RemovePreMessageFilter(IMessageFilterUI* filter);
    bool AddMessageFilter(IMessageFilterUI* filter);
    bool RemoveMessageFilter(IMessageFilterUI* filter);
    bool AddPostPaint(CControlUI* control);
    bool RemovePostPaint(CControlUI* control);
    bool AddTranslateAccelerator(ITranslateAccelerator* translator);
    bool RemoveTranslateAccelerator(ITranslateAccelerator* translator);

    // Control timers.
    bool SetTimer(CControlUI* control, UINT timerId, UINT elapse);
    bool KillTimer(CControlUI* control, UINT timerId);
    void KillTimers(CControlUI* control);
    void RemoveAllTimers();

    // Caret.
    bool CreateCaret(HBITMAP bitmap, int width, int height);
    bool SetCaretPos(CControlUI* owner, int x, int y);
    bool ShowCaret(bool show);
    void DrawCaret(HDC dc, const RECT& rcPaint);

    // Messages.
    bool HandleWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool PreFilterMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool TranslateAccelerator(MSG* msg);
    static bool TranslateQueuedMessage(MSG* msg);
    static WORD GetKeyStateWord();

    // Process-wide state.
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();
    static HINSTANCE GetResourceModule();
    static CUIString GetModuleFolder();
    static void SetSkinPath(LPCWSTR path);
    static CUIString GetSkinPath();
    static void SetSkinZip(LPCWSTR zipName, bool keepOpen = false);
    static void SetSkinZipBuffer(LPCVOID block, DWORD size);
    static CUIString GetSkinZipName();
    static bool IsSkinZipKeptOpen();
    static HZIP GetSkinZipHandle();
    static void GetHsl(short* hue, short* saturation, short* lightness);

    // Fonts.
    HFONT AddFont(LPCWSTR face, int size, bool bold, bool underline, bool italic);
    void SetDefaultFont(LPCWSTR face, int size, bool bold, bool underline, bool italic);
    HFONT GetFont(int index);
    FontEntry* GetFontEntry(int index);
    FontEntry* GetFontEntry(HFONT font);
    HFONT FindFont(LPCWSTR face, int size, bool bold, bool underline, bool italic) const;
    FontEntry* GetDefaultFontEntry();
    int GetFontCount() const { return m_aFonts.GetSize(); }
    void RemoveAllFonts();

    // Images.
    ImageEntry* AddImage(LPCWSTR name, LPCWSTR resType = NULL, DWORD mask = 0);
    ImageEntry* GetImageOrLoad(LPCWSTR name, LPCWSTR resType = NULL, DWORD mask = 0);
    void RemoveAllImages();

    // Default attribute lists per element name.
    void SetDefaultAttributes(LPCWSTR elementName, LPCWSTR attributes);
    LPCWSTR GetDefaultAttributes(LPCWSTR elementName) const;
    void RemoveAllDefaultAttributes();

    // Option groups.
    bool JoinOptionGroup(LPCWSTR group, CControlUI* option);
    CPointerArray* GetOptionGroup(LPCWSTR group) const;
    bool LeaveOptionGroup(LPCWSTR group, CControlUI* option);
    void RemoveAllOptionGroups();

    // Colours, read from the top of the parent chain.
    DWORD GetDefaultDisabledColor() const { return Top()->m_dwDefaultDisabledColor; }
    DWORD GetDefaultFontColor() const { return Top()->m_dwDefaultFontColor; }
    DWORD GetDefaultLinkFontColor() const { return Top()->m_dwDefaultLinkFontColor; }
    DWORD GetDefaultLinkHoverFontColor() const { return Top()->m_dwDefaultLinkHoverFontColor; }
    DWORD GetDefaultSelectedBkColor() const { return Top()->m_dwDefaultSelectedBkColor; }
    void SetDefaultDisabledColor(DWORD color) { m_dwDefaultDisabledColor = color; }
    void SetDefaultFontColor(DWORD color) { m_dwDefaultFontColor = color; }
    void SetDefaultLinkFontColor(DWORD color) { m_dwDefaultLinkFontColor = color; }
    void SetDefaultLinkHoverFontColor(DWORD color) { m_dwDefaultLinkHoverFontColor = color; }
    void SetDefaultSelectedBkColor(DWORD color) { m_dwDefaultSelectedBkColor = color; }

    bool SetParentManager(CWindowUIManager* parent);
    CWindowUIManager* GetParentManager() const { return m_pParentManager; }

    BYTE GetWindowAlpha() const { return m_nAlpha; }
    void SetWindowAlpha(int alpha);
    void SetUseGdiplusText(bool use) { m_bUseGdiplusText = use; }
    bool IsUseGdiplusText() const { return m_bUseGdiplusText; }

    // Walk callbacks of the control tree.
    static CControlUI* CALLBACK FindControlFromNameHash(CControlUI* control, LPVOID data);
    static CControlUI* CALLBACK FindControlFromCount(CControlUI* control, LPVOID data);
    static CControlUI* CALLBACK FindControlFromPoint(CControlUI* control, LPVOID data);
    static CControlUI* CALLBACK FindControlFromTab(CControlUI* control, LPVOID data);
    static CControlUI* CALLBACK FindControlFromShortcut(CControlUI* control, LPVOID data);
    static CControlUI* CALLBACK FindControlFromUpdate(CControlUI* control, LPVOID data);

private:
    CWindowUIManager(const CWindowUIManager&);
    CWindowUIManager& operator=(const CWindowUIManager&);

    const CWindowUIManager* Top() const;
    CWindowUIManager* Top();
    static void CloseSkinZip();
    void MeasureFont(FontEntry* entry);
    void DropFocus(CControlUI* next);
    void DrainAsyncNotify();
    void DeliverNotify(NotifyRecord& msg);
    void DeleteQueuedControls();
    void DropOffscreen();
    bool LayoutPass();
    void OnPaint();
    void PaintLayered(const RECT& rcClient);
    void OnMouseMove(LPARAM lParam);
    void OnMouseHover();
    CControlUI* OwnControlAt(POINT pt) const;
    void FireEvent(CControlUI* control, int type, WPARAM wParam = 0, LPARAM lParam = 0, WORD keyState = 0,
                   WCHAR key = 0);

    HWND m_hWndPaint;
    BYTE m_nAlpha;
    HDC m_hDcPaint;
    LPDWORD m_pLayeredBits;
    HDC m_hDcOffscreen;
    HBITMAP m_hbmpOffscreen;
    HDC m_hDcLayered;
    HBITMAP m_hbmpLayered;
    SIZE m_szLayered;
    HWND m_hwndTooltip;
    TOOLINFOW m_ToolTip;
    bool m_bShowUpdateRect;
    bool m_bLayeredFullRepaint;
    RECT m_rtCaret;
    bool m_bCaretActive;
    bool m_bCaretShowing;
    CControlUI* m_pCaretOwner;
    CShadowUI m_shadow;
    CBuildBudget m_buildBudget;
    bool m_bUseGdiplusText;
    ULONG_PTR m_gdiplusToken;
    CControlUI* m_pRoot;
    CControlUI* m_pFocus;
    CControlUI* m_pEventHover;
    CControlUI* m_pEventClick;
    CControlUI* m_pEventKey;
    POINT m_ptLastMousePos;
    SIZE m_szMinWindow;
    SIZE m_szMaxWindow;
    SIZE m_szInitWindowSize;
    RECT m_rcSizeBox;
    SIZE m_szRoundCorner;
    RECT m_rcCaption;
    UINT m_uTimerID;
    bool m_bFirstLayout;
    bool m_bUpdateNeeded;
    bool m_bFocusNeeded;
    bool m_bLayered;
    bool m_bMouseTracking;
    bool m_bMouseCapture;
    bool m_bUsedVirtualWnd;
    bool m_bPainting;
    CPointerArray m_aNotifiers;
    CPointerArray m_aTimers;
    CPointerArray m_aPreMessageFilters;
    CPointerArray m_aMessageFilters;
    CPointerArray m_aPostPaintControls;
    CPointerArray m_aDelayedCleanup;
    CPointerArray m_aAsyncNotify;
    CStringKeyMap m_mNameHash;

    CStringKeyMap m_mOptionGroup;
    CWindowUIManager* m_pParentManager;
    DWORD m_dwDefaultDisabledColor;
    DWORD m_dwDefaultFontColor;
    DWORD m_dwDefaultLinkFontColor;
    DWORD m_dwDefaultLinkHoverFontColor;
    DWORD m_dwDefaultSelectedBkColor;
    FontEntry m_DefaultFontInfo;
    CPointerArray m_aFonts;
    CStringKeyMap m_mImageHash;
    CStringKeyMap m_DefaultAttrHash;
    CPointerArray m_aTranslateAccelerator;
};

} // namespace DirectUI
