#include "core/PointerArray.h"

#include <stdlib.h>
#include <string.h>

namespace DirectUI {

CPointerArray::CPointerArray(int initialCapacity)
    : m_ppItems(NULL), m_nSize(0), m_nCapacity(0)
{
    if (initialCapacity > 0) {
        m_ppItems = (LPVOID*)malloc(initialCapacity * sizeof(LPVOID));
        if (m_ppItems != NULL) m_nCapacity = initialCapacity;
    }
}

CPointerArray::CPointerArray(const CPointerArray& src)
    : m_ppItems(NULL), m_nSize(0), m_nCapacity(0)
{
    for (int i = 0; i < src.GetSize(); ++i) Add(src.GetAt(i));
}

CPointerArray::~CPointerArray()
{
    free(m_ppItems);
}

// Makes room for one more entry: doubles the capacity (11 for an empty array)
// when the new size reaches it. A failed reallocation keeps the old block.
bool CPointerArray::Grow()
{
    if (m_nSize + 1 < m_nCapacity) return true;
    int capacity = m_nCapacity > 0 ? m_nCapacity * 2 : 11;
    LPVOID* items = (LPVOID*)realloc(m_ppItems, capacity * sizeof(LPVOID));
    if (items == NULL) return false;
    m_ppItems = items;
    m_nCapacity = capacity;
    return true;
}

bool CPointerArray::Add(LPVOID item)
{
    if (!Grow()) return false;
    m_ppItems[m_nSize++] = item;
    return true;
}

bool CPointerArray::InsertAt(int index, LPVOID item)
{
    if (index == m_nSize) return Add(item);
    if (index < 0 || index > m_nSize) return false;
    if (!Grow()) return false;
    memmove(&m_ppItems[index + 1], &m_ppItems[index], (m_nSize - index) * sizeof(LPVOID));
    m_ppItems[index] = item;
    ++m_nSize;
    return true;
}

bool CPointerArray::Remove(int index)
{
    if (index < 0 || index >= m_nSize) return false;
    if (index < m_nSize - 1)
        memmove(&m_ppItems[index], &m_ppItems[index + 1], (m_nSize - index - 1) * sizeof(LPVOID));
    --m_nSize;
    return true;
}

int CPointerArray::Find(LPVOID item) const
{
    for (int i = 0; i < m_nSize; ++i)
        if (m_ppItems[i] == item) return i;
    return -1;
}

LPVOID CPointerArray::GetAt(int index) const
{
    if (index < 0 || index >= m_nSize) return NULL;
    return m_ppItems[index];
}

void CPointerArray::Empty()
{
    free(m_ppItems);
    m_ppItems = NULL;
    m_nSize = 0;
    m_nCapacity = 0;
}

bool CPointerArray::Resize(int count)
{
    Empty();
    if (count <= 0) return true;
    m_ppItems = (LPVOID*)calloc(count, sizeof(LPVOID));
    if (m_ppItems == NULL) return false;
    m_nSize = m_nCapacity = count;
    return true;
}

} // namespace DirectUI
