#pragma once

#include "core/UIString.h"

namespace DirectUI {

// Hash map from a string key (its own copy) to an untyped pointer, which it
// never owns. Buckets are doubly linked chains; new keys go to the head.
class CStringKeyMap
{
public:
    explicit CStringKeyMap(int bucketCount = 83);
    ~CStringKeyMap();

    LPVOID Find(LPCWSTR key, bool moveToFront = true) const;
    bool Insert(LPCWSTR key, LPVOID value);
    LPVOID Set(LPCWSTR key, LPVOID value);
    bool Remove(LPCWSTR key);
    LPCWSTR GetAt(int index) const;
    LPCWSTR operator[](int index) const { return GetAt(index); }
    int GetSize() const { return m_nCount; }
    void Resize(int bucketCount);

private:
    struct Node
    {
        CUIString key;
        LPVOID value;
        Node* prev;
        Node* next;
    };

    CStringKeyMap(const CStringKeyMap&);
    CStringKeyMap& operator=(const CStringKeyMap&);
    void FreeAll();
    Node* Lookup(LPCWSTR key, UINT* bucket) const;

    Node** m_aBuckets;
    int m_nBuckets;
    int m_nCount;
};

UINT HashKey(LPCWSTR key);

} // namespace DirectUI
