#pragma once

#include "manager/WindowUIManager.h"
#include "window/WindowWnd.h"

namespace DirectUI {

class CComboUI;
class CVerticalLayoutUI;

// The drop-down of a combo: a borderless popup with a window manager of its
// own whose layout borrows the combo's items while it is open. It deletes
// itself when its window ends.
class CComboWnd : public CWindowWnd, public INotifyUI
{
public:
    CComboWnd();

    void Init(CComboUI* owner);
    void Notify(NotifyRecord& msg) override;
    // Scrolls the item at index into the popup's view.
    void EnsureVisible(int index);
    CVerticalLayoutUI* GetLayout() const { return m_pLayout; }
    CWindowUIManager* GetManager() { return &m_pm; }

protected:
    LPCWSTR GetWindowClassName() const override;
    UINT GetClassStyle() const override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnNcDestroyed(HWND hWnd) override;

private:
    void ReturnItems();
    void CloseSoon();

    CWindowUIManager m_pm;
    CComboUI* m_pOwner;
    CVerticalLayoutUI* m_pLayout;
    int m_iOldSel;
    bool m_bItemsReturned;
};

} // namespace DirectUI
