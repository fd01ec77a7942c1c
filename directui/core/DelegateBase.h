#pragma once

#include <windows.h>

namespace DirectUI {

// A callback bound to one object: takes one untyped parameter, answers
// whether the caller should go on.
class CDelegateBase
{
public:
    virtual ~CDelegateBase() {}
    virtual CDelegateBase* Clone() const = 0;
    virtual bool Invoke(LPVOID param) = 0;

    bool Equals(const CDelegateBase& other) const;

protected:
    // identity names the bound member function; it is compared byte by byte.
    CDelegateBase(LPVOID object, const void* identity, size_t identitySize);

private:
    enum { kIdentitySize = 16 };
    LPVOID m_pObject;
    BYTE m_identity[kIdentitySize];
};

} // namespace DirectUI
