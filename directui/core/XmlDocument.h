#pragma once

#include "core/XmlNode.h"

namespace DirectUI {

// One element of a parsed document; offsets are character positions in the
// document's text, links are element indexes (0 = none).
struct CXmlElement
{
    ULONG name;
    ULONG child;
    ULONG next;
    ULONG parent;
    ULONG data;
};

// Reads a small XML document (a skin) into one wide-character buffer and
// parses it in place. Knows elements, double-quoted attributes, the five
// predefined entities, comments and declarations; nothing more.
class CXmlDocument
{
public:
    enum Encoding { XMLFILE_ENCODING_UTF8 = 0, XMLFILE_ENCODING_UNICODE = 1, XMLFILE_ENCODING_ASNI = 2 };
    enum { kMaxFileSize = 0x400000, kMaxDepth = 256 };

    CXmlDocument(LPCWSTR text = NULL);
    ~CXmlDocument();

    bool Load(LPCWSTR text);
    bool LoadBuffer(const BYTE* bytes, DWORD size, int encoding = XMLFILE_ENCODING_UTF8);
    bool LoadFile(LPCWSTR fileName, int encoding = XMLFILE_ENCODING_UTF8);
    void Release();

    CXmlNode GetRoot() const;
    LPCWSTR GetLastErrorMessage() const { return m_szErrorMsg; }
    LPCWSTR GetLastErrorLocation() const { return m_szErrorXML; }

private:
    friend class CXmlNode;

    CXmlDocument(const CXmlDocument&);
    CXmlDocument& operator=(const CXmlDocument&);

    bool LoadFromBytes(const BYTE* bytes, DWORD size, int encoding);
    bool Parse();
    bool ParseElements(LPWSTR& p, ULONG parent, int depth);
    bool ParseAttributes(LPWSTR& p);
    void ParseData(LPWSTR& p, WCHAR terminator);
    bool AddElement(ULONG* index);
    bool Fail(LPCWSTR message, LPCWSTR location = NULL);

    LPWSTR m_pstrXML;
    CXmlElement* m_pElements;
    ULONG m_nElements;
    ULONG m_nReservedElements;
    bool m_bPreserveWhitespace;
    WCHAR m_szErrorMsg[100];
    WCHAR m_szErrorXML[50];
};

} // namespace DirectUI
