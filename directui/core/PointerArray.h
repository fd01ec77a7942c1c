#pragma once

#include <windows.h>

namespace DirectUI {

// Growable array of untyped pointers; it never owns what they point to.
class CPointerArray
{
public:
    explicit CPointerArray(int initialCapacity = 0);
    CPointerArray(const CPointerArray& src);
    ~CPointerArray();

    bool Add(LPVOID item);
    bool InsertAt(int index, LPVOID item);
    bool Remove(int index);
    int Find(LPVOID item) const;
    LPVOID GetAt(int index) const;
    LPVOID operator[](int index) const { return m_ppItems[index]; }
    int GetSize() const { return m_nSize; }
    bool IsEmpty() const { return m_nSize == 0; }
    void Empty();
    bool Resize(int count);

private:
    CPointerArray& operator=(const CPointerArray&);
    bool Grow();

    LPVOID* m_ppItems;
    int m_nSize;
    int m_nCapacity;
};

} // namespace DirectUI
