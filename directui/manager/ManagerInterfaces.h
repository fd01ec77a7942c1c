#pragma once

#include "manager/NotifyRecord.h"

namespace DirectUI {

// Receives every notification of a window.
class INotifyUI
{
public:
    virtual void Notify(NotifyRecord& msg) = 0;
};

// Sees window messages before the manager; sets handled to consume one.
class IMessageFilterUI
{
public:
    virtual LRESULT FilterMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) = 0;
};

// Keyboard accelerators of a window; 0 means the message was translated.
class ITranslateAccelerator
{
public:
    virtual LRESULT TranslateAccelerator(MSG* msg) = 0;
};

} // namespace DirectUI
