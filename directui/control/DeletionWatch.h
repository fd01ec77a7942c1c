#pragma once

#include <windows.h>

namespace DirectUI {

class CControlUI;

// Notes whether a control was deleted while the watch lived: for code that
// hands control to a notification handler, which may delete the sender, and
// must not touch the control afterwards when it did.
class CDeletionWatch
{
public:
    explicit CDeletionWatch(CControlUI* control);
    ~CDeletionWatch();

    bool IsDeleted() const { return m_pControl == NULL; }

private:
    CDeletionWatch(const CDeletionWatch&);
    CDeletionWatch& operator=(const CDeletionWatch&);

    bool OnDestroy(LPVOID);

    CControlUI* m_pControl;
};

} // namespace DirectUI
