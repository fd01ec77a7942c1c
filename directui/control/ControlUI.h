#pragma once

#include "core/UIString.h"

namespace DirectUI {

// Base of every control. So far it carries only the name that notifications
// are routed by; the rest of the control grows on top of it.
class CControlUI
{
public:
    CControlUI() {}
    virtual ~CControlUI() {}

    virtual CUIString GetName() const { return m_sName; }
    virtual void SetName(LPCWSTR name) { m_sName = name; }

protected:
    CUIString m_sName;
};

} // namespace DirectUI
