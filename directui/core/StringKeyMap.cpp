#include "core/StringKeyMap.h"

#include <new>
#include <stdlib.h>
#include <wchar.h>

namespace DirectUI {

UINT HashKey(LPCWSTR key)
{
    UINT h = 0;
    if (key == NULL) return h;
    for (size_t i = wcslen(key); i > 0; --i) h = h * 33 + key[i - 1];
    return h;
}

CStringKeyMap::CStringKeyMap(int bucketCount)
    : m_aBuckets(NULL), m_nBuckets(0), m_nCount(0)
{
    if (bucketCount < 16) bucketCount = 16;
    m_aBuckets = (Node**)calloc(bucketCount, sizeof(Node*));
    if (m_aBuckets != NULL) m_nBuckets = bucketCount;
}

CStringKeyMap::~CStringKeyMap()
{
    FreeAll();
}

void CStringKeyMap::FreeAll()
{
    for (int b = m_nBuckets - 1; b >= 0; --b) {
        Node* node = m_aBuckets[b];
        while (node != NULL) {
            Node* next = node->next;
            delete node;
            node = next;
        }
    }
    free(m_aBuckets);
    m_aBuckets = NULL;
    m_nBuckets = 0;
    m_nCount = 0;
}

CStringKeyMap::Node* CStringKeyMap::Lookup(LPCWSTR key, UINT* bucket) const
{
    if (m_nBuckets == 0 || key == NULL) return NULL;
    *bucket = HashKey(key) % (UINT)m_nBuckets;
    for (Node* node = m_aBuckets[*bucket]; node != NULL; node = node->next)
        if (node->key == key) return node;
    return NULL;
}

LPVOID CStringKeyMap::Find(LPCWSTR key, bool moveToFront) const
{
    if (m_nBuckets == 0 || m_nCount == 0) return NULL;
    UINT bucket = 0;
    Node* node = Lookup(key, &bucket);
    if (node == NULL) return NULL;
    if (moveToFront && node->prev != NULL) {
        node->prev->next = node->next;
        if (node->next != NULL) node->next->prev = node->prev;
        node->prev = NULL;
        node->next = m_aBuckets[bucket];
        m_aBuckets[bucket]->prev = node;
        m_aBuckets[bucket] = node;
    }
    return node->value;
}

bool CStringKeyMap::Insert(LPCWSTR key, LPVOID value)
{
    if (m_nBuckets == 0 || key == NULL) return false;
    if (Find(key) != NULL) return false;
    Node* node = new (std::nothrow) Node;
    if (node == NULL) return false;
    UINT bucket = HashKey(key) % (UINT)m_nBuckets;
    node->key = key;
    node->value = value;
    node->prev = NULL;
    node->next = m_aBuckets[bucket];
    if (node->next != NULL) node->next->prev = node;
    m_aBuckets[bucket] = node;
    ++m_nCount;
    return true;
}

LPVOID CStringKeyMap::Set(LPCWSTR key, LPVOID value)
{
    if (m_nBuckets == 0) return value;
    UINT bucket = 0;
    Node* node = Lookup(key, &bucket);
    if (node != NULL) {
        LPVOID old = node->value;
        node->value = value;
        return old;
    }
    Insert(key, value);
    return NULL;
}

bool CStringKeyMap::Remove(LPCWSTR key)
{
    if (m_nBuckets == 0 || m_nCount == 0) return false;
    UINT bucket = 0;
    Node* node = Lookup(key, &bucket);
    if (node == NULL) return false;
    if (node->prev != NULL) node->prev->next = node->next;
    else m_aBuckets[bucket] = node->next;
    if (node->next != NULL) node->next->prev = node->prev;
    delete node;
    --m_nCount;
    return true;
}

LPCWSTR CStringKeyMap::GetAt(int index) const
{
    if (m_nBuckets == 0 || index < 0 || index >= m_nCount) return NULL;
    int position = 0;
    for (int b = m_nBuckets - 1; b >= 0; --b) {
        for (Node* node = m_aBuckets[b]; node != NULL; node = node->next) {
            if (position == index) return node->key.GetData();
            ++position;
        }
    }
    return NULL;
}

void CStringKeyMap::Resize(int bucketCount)
{
    FreeAll();
    if (bucketCount <= 0) return;
    m_aBuckets = (Node**)calloc(bucketCount, sizeof(Node*));
    if (m_aBuckets != NULL) m_nBuckets = bucketCount;
}

} // namespace DirectUI
