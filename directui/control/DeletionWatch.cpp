#include "control/DeletionWatch.h"

#include "control/ControlUI.h"
#include "core/Delegate.h"

namespace DirectUI {

CDeletionWatch::CDeletionWatch(CControlUI* control) : m_pControl(control)
{
    if (m_pControl != NULL) m_pControl->OnDestroy += MakeDelegate(this, &CDeletionWatch::OnDestroy);
}

CDeletionWatch::~CDeletionWatch()
{
    if (m_pControl != NULL) m_pControl->OnDestroy -= MakeDelegate(this, &CDeletionWatch::OnDestroy);
}

bool CDeletionWatch::OnDestroy(LPVOID)
{
    m_pControl = NULL;
    return true;
}

} // namespace DirectUI
