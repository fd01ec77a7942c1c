#pragma once

#include "builder/DialogBuilder.h"
#include "manager/WindowUIManager.h"
#include "window/NotifyPump.h"
#include "window/WindowWnd.h"

namespace DirectUI {

// Where a frame's skin comes from.
enum SkinSource {
    SkinSourceFile = 1,        // XML file in the skin folder
    SkinSourceZip = 2,         // XML inside a zip file in the skin folder
    SkinSourceResource = 3,    // XML as a module resource of type "xml"
    SkinSourceZipResource = 4, // XML inside a zip stored as resource type "ZIPRES"
};

// The ready-made frameless top-level window: drawn by its manager from a
// skin, dragged by its caption, sized by its size box, with the standard
// close, minimise, maximise and restore buttons by name. A skin that cannot
// be loaded shows "加载资源文件失败" and ends the process with 1.
class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback
{
public:
    WindowImplBase();
    ~WindowImplBase() override;

    virtual void OnControlsReady() {}
    virtual void OnClick(NotifyRecord& msg);
    virtual CUIString GetSkinFolder() = 0;
    virtual CUIString GetSkinFile() = 0;
    virtual bool HandleDefaultKey(UINT key);
    virtual UINT GetSkinSource() { return SkinSourceFile; }
    virtual CUIString GetSkinZipName() { return CUIString(); }
    virtual LPCWSTR GetSkinResourceId() { return NULL; }
    virtual LRESULT OnClose(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnDestroy(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnNcActivate(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnNcCalcSize(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnNcPaint(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnNcHitTest(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnGetMinMaxInfo(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMouseWheel(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMouseHover(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnSize(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnChar(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnSysCommand(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnCreate(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnKeyDown(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnKillFocus(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnSetFocus(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnLButtonDown(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnLButtonUp(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMouseMove(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT HandleOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LONG GetStyle();

    void Notify(NotifyRecord& msg) override;
    LRESULT FilterMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) override;
    CControlUI* CreateControl(LPCWSTR className) override;

    CWindowUIManager* GetManager() { return &m_PaintManager; }
    // Why the skin could not be loaded (file and reason); empty otherwise.
    CUIString GetSkinLoadError() const { return m_sSkinLoadError; }

    // Text and caption of the box a failed skin load shows.
    static LPCWSTR SkinLoadFailedText() { return L"加载资源文件失败"; }
    static LPCWSTR SkinLoadFailedCaption() { return L"DirectUI"; }

protected:
    UINT GetClassStyle() const override { return CS_DBLCLKS; }
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnNcDestroyed(HWND hWnd) override;

    CWindowUIManager m_PaintManager;

private:
    void OnClickNotify(NotifyRecord& msg) { OnClick(msg); }
    bool OpenSkinZipResource();
    void FailSkinLoad(const CUIString& why);

    CUIString m_sSkinLoadError;

    DECLARE_NOTIFY_MAP()
};

} // namespace DirectUI
