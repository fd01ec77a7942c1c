#include "core/DelegateList.h"

#include <new>

namespace DirectUI {

CDelegateList::~CDelegateList()
{
    for (int i = 0; i < m_delegates.GetSize(); ++i)
        delete static_cast<CDelegateBase*>(m_delegates[i]);
    m_delegates.Empty();
}

void CDelegateList::Add(const CDelegateBase& d)
{
    for (int i = 0; i < m_delegates.GetSize(); ++i) {
        CDelegateBase* entry = static_cast<CDelegateBase*>(m_delegates[i]);
        if (entry != NULL && entry->Equals(d)) return;
    }
    CDelegateBase* copy = d.Clone();
    if (copy != NULL && !m_delegates.Add(copy)) delete copy;
}

void CDelegateList::Remove(const CDelegateBase& d)
{
    for (int i = 0; i < m_delegates.GetSize(); ++i) {
        CDelegateBase* entry = static_cast<CDelegateBase*>(m_delegates[i]);
        if (entry == NULL || !entry->Equals(d)) continue;
        m_delegates.Remove(i);
        delete entry;
        return;
    }
}

bool CDelegateList::Invoke(LPVOID param)
{
    // Indexes and the size are read afresh each round: a listener may add to
    // this list while it runs, which can move the array's block.
    for (int i = 0; i < m_delegates.GetSize(); ++i) {
        CDelegateBase* entry = static_cast<CDelegateBase*>(m_delegates.GetAt(i));
        if (entry != NULL && !entry->Invoke(param)) return false;
    }
    return true;
}

} // namespace DirectUI
