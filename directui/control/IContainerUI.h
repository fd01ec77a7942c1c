#pragma once

namespace DirectUI {

class CControlUI;

// Adds, finds and removes the children of any container.
class IContainerUI
{
public:
    virtual CControlUI* ItemAt(int index) const = 0;
    virtual int IndexOf(CControlUI* control) const = 0;
    virtual bool MoveItem(CControlUI* control, int newIndex) = 0;
    virtual int Count() const = 0;
    virtual bool Add(CControlUI* control) = 0;
    virtual bool AddAt(CControlUI* control, int index) = 0;
    virtual bool Remove(CControlUI* control) = 0;
    virtual bool RemoveAt(int index) = 0;
    virtual void RemoveAll() = 0;
};

} // namespace DirectUI
