#pragma once

#include "core/DelegateBase.h"
#include "core/PointerArray.h"

namespace DirectUI {

// Listener list: owns copies of the delegates added to it, fires them in order.
class CDelegateList
{
public:
    CDelegateList() {}
    ~CDelegateList();

    void Add(const CDelegateBase& d);
    void operator+=(const CDelegateBase& d) { Add(d); }
    // Removes the copy equal to d, if there is one.
    void Remove(const CDelegateBase& d);
    void operator-=(const CDelegateBase& d) { Remove(d); }
    bool HasAny() const { return !m_delegates.IsEmpty(); }
    bool Invoke(LPVOID param);
    bool operator()(LPVOID param) { return Invoke(param); }

private:
    CDelegateList(const CDelegateList&);
    CDelegateList& operator=(const CDelegateList&);

    CPointerArray m_delegates;
};

} // namespace DirectUI
