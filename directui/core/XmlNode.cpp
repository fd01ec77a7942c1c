#include "core/XmlNode.h"

#include "core/XmlDocument.h"

#include <wchar.h>

namespace DirectUI {

CXmlNode::CXmlNode() : m_iPos(0), m_nAttributes(0), m_pOwner(NULL)
{
}

CXmlNode::CXmlNode(const CXmlDocument* document, ULONG element)
    : m_iPos(element), m_nAttributes(0), m_pOwner(document)
{
}

LPCWSTR CXmlNode::GetName() const
{
    if (m_pOwner == NULL) return NULL;
    return m_pOwner->m_pstrXML + m_pOwner->m_pElements[m_iPos].name;
}

CXmlNode CXmlNode::GetChild() const
{
    if (m_pOwner == NULL) return CXmlNode();
    ULONG child = m_pOwner->m_pElements[m_iPos].child;
    return child != 0 ? CXmlNode(m_pOwner, child) : CXmlNode();
}

CXmlNode CXmlNode::GetSibling() const
{
    if (m_pOwner == NULL) return CXmlNode();
    ULONG next = m_pOwner->m_pElements[m_iPos].next;
    return next != 0 ? CXmlNode(m_pOwner, next) : CXmlNode();
}

bool CXmlNode::HasChildren() const
{
    return m_pOwner != NULL && m_pOwner->m_pElements[m_iPos].child != 0;
}

bool CXmlNode::HasAttributes()
{
    return GetAttributeCount() > 0;
}

int CXmlNode::GetAttributeCount()
{
    if (m_pOwner == NULL) return 0;
    if (m_nAttributes == 0) ScanAttributes();
    return m_nAttributes;
}

LPCWSTR CXmlNode::GetAttributeName(int index)
{
    if (m_pOwner == NULL) return NULL;
    if (m_nAttributes == 0) ScanAttributes();
    if (index < 0 || index >= m_nAttributes) return L"";
    return m_pOwner->m_pstrXML + m_aAttributes[index][0];
}

LPCWSTR CXmlNode::GetAttributeValue(int index)
{
    if (m_pOwner == NULL) return NULL;
    if (m_nAttributes == 0) ScanAttributes();
    if (index < 0 || index >= m_nAttributes) return L"";
    return m_pOwner->m_pstrXML + m_aAttributes[index][1];
}

bool CXmlNode::GetAttributeValue(LPCWSTR name, LPWSTR buffer, SIZE_T capacity)
{
    if (m_pOwner == NULL || name == NULL || buffer == NULL || capacity == 0) return false;
    if (m_nAttributes == 0) ScanAttributes();
    for (int i = 0; i < m_nAttributes; ++i) {
        if (wcscmp(m_pOwner->m_pstrXML + m_aAttributes[i][0], name) == 0) {
            wcsncpy(buffer, m_pOwner->m_pstrXML + m_aAttributes[i][1], capacity);
            buffer[capacity - 1] = L'\0'; // a long value is cut, never left open
            return true;
        }
    }
    return false;
}

// The parser left each attribute as: name, 0, blanks, quote, value, 0. The
// walk never passes the element's data offset.
void CXmlNode::ScanAttributes()
{
    LPCWSTR text = m_pOwner->m_pstrXML;
    const CXmlElement& element = m_pOwner->m_pElements[m_iPos];
    ULONG end = element.data;
    ULONG pos = element.name;
    while (pos < end && text[pos] != L'\0') ++pos;
    ++pos;
    while (pos < end && m_nAttributes < kMaxAttributes) {
        while (pos < end && text[pos] <= L' ') ++pos;
        if (pos >= end || text[pos] == L'>' || text[pos] == L'/') break;
        ULONG name = pos;
        while (pos < end && text[pos] != L'\0') ++pos;
        ++pos;
        while (pos < end && text[pos] != L'\0' && text[pos] <= L' ') ++pos;
        if (pos >= end || text[pos] != L'"') break;
        ++pos;
        m_aAttributes[m_nAttributes][0] = name;
        m_aAttributes[m_nAttributes][1] = pos;
        ++m_nAttributes;
        while (pos < end && text[pos] != L'\0') ++pos;
        ++pos;
    }
}

} // namespace DirectUI
