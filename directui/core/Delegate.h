#pragma once

#include "core/DelegateBase.h"

#include <new>

namespace DirectUI {

// Binds an object to a member function of T (O is the object's class, which
// derives T or is T).
template <class O, class T>
class CDelegate : public CDelegateBase
{
public:
    typedef bool (T::*Fn)(LPVOID);

    CDelegate(O* object, Fn fn)
        : CDelegateBase(object, &fn, sizeof(fn)), m_pObject(object), m_pFn(fn)
    {
        static_assert(sizeof(Fn) <= 16, "member function pointer does not fit the identity");
    }

    CDelegateBase* Clone() const override { return new (std::nothrow) CDelegate(*this); }
    bool Invoke(LPVOID param) override
    {
        T* target = m_pObject;
        return (target->*m_pFn)(param);
    }

private:
    O* m_pObject;
    Fn m_pFn;
};

template <class O, class T>
CDelegate<O, T> MakeDelegate(O* object, bool (T::*fn)(LPVOID))
{
    return CDelegate<O, T>(object, fn);
}

} // namespace DirectUI
