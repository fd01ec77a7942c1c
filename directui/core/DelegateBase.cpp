#include "core/DelegateBase.h"

#include <string.h>

namespace DirectUI {

CDelegateBase::CDelegateBase(LPVOID object, const void* identity, size_t identitySize)
    : m_pObject(object)
{
    memset(m_identity, 0, sizeof(m_identity));
    if (identitySize > sizeof(m_identity)) identitySize = sizeof(m_identity);
    memcpy(m_identity, identity, identitySize);
}

bool CDelegateBase::Equals(const CDelegateBase& other) const
{
    return m_pObject == other.m_pObject && memcmp(m_identity, other.m_identity, sizeof(m_identity)) == 0;
}

} // namespace DirectUI
