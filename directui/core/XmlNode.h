#pragma once

#include <windows.h>

namespace DirectUI {

class CXmlDocument;

// Names one element of a document; indexes its attributes on first use.
class CXmlNode
{
public:
    enum { kMaxAttributes = 64 };

    CXmlNode();
    CXmlNode(const CXmlDocument* document, ULONG element);

    bool IsValid() const { return m_pOwner != NULL; }
    LPCWSTR GetName() const;
    CXmlNode GetChild() const;
    CXmlNode GetSibling() const;
    bool HasChildren() const;

    bool HasAttributes();
    int GetAttributeCount();
    LPCWSTR GetAttributeName(int index);
    LPCWSTR GetAttributeValue(int index);
    bool GetAttributeValue(LPCWSTR name, LPWSTR buffer, SIZE_T capacity);

private:
    void ScanAttributes();

    ULONG m_iPos;
    int m_nAttributes;
    ULONG m_aAttributes[kMaxAttributes][2]; // name offset, value offset
    const CXmlDocument* m_pOwner;
};

} // namespace DirectUI
