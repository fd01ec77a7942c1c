#include "core/XmlDocument.h"

#include "core/UIString.h"
#include "core/ZipArchiveApi.h"
#include "manager/SkinFiles.h"

#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <wctype.h>

namespace DirectUI {

namespace {
bool IsBlank(WCHAR ch)
{
    return ch != L'\0' && ch <= L' ';
}

void SkipBlanks(LPWSTR& p)
{
    while (IsBlank(*p)) ++p;
}

bool IsNameChar(WCHAR ch)
{
    return ch != L'\0' && (iswalnum(ch) || ch == L'_' || ch == L':');
}

struct Entity
{
    LPCWSTR name; // with its semicolon
    WCHAR value;
};
const Entity kEntities[] = {
    { L"amp;", L'&' }, { L"lt;", L'<' }, { L"gt;", L'>' }, { L"quot;", L'"' }, { L"apos;", L'\'' },
};
} // namespace

CXmlDocument::CXmlDocument(LPCWSTR text)
    : m_pstrXML(NULL), m_pElements(NULL), m_nElements(0), m_nReservedElements(0),
      m_bPreserveWhitespace(true)
{
    m_szErrorMsg[0] = L'\0';
    m_szErrorXML[0] = L'\0';
    if (text != NULL) Load(text);
}

CXmlDocument::~CXmlDocument()
{
    Release();
}

void CXmlDocument::Release()
{
    free(m_pstrXML);
    free(m_pElements);
    m_pstrXML = NULL;
    m_pElements = NULL;
    m_nElements = 0;
    m_nReservedElements = 0;
}

CXmlNode CXmlDocument::GetRoot() const
{
    if (m_pElements == NULL || m_nElements < 2) return CXmlNode();
    return CXmlNode(this, 1);
}

bool CXmlDocument::Load(LPCWSTR text)
{
    Release();
    if (text == NULL) return Fail(L"Error parsing document");
    size_t length = wcslen(text);
    m_pstrXML = (LPWSTR)malloc((length + 1) * sizeof(WCHAR));
    if (m_pstrXML == NULL) return Fail(L"Out of memory");
    memcpy(m_pstrXML, text, (length + 1) * sizeof(WCHAR));
    if (!Parse()) {
        Release();
        return false;
    }
    return true;
}

bool CXmlDocument::LoadBuffer(const BYTE* bytes, DWORD size, int encoding)
{
    Release();
    if (!LoadFromBytes(bytes, size, encoding) || !Parse()) {
        Release();
        return false;
    }
    return true;
}

// Converts the bytes into the document's wide-character text.
bool CXmlDocument::LoadFromBytes(const BYTE* bytes, DWORD size, int encoding)
{
    if (bytes == NULL && size > 0) return Fail(L"Error parsing document");
    if (encoding == XMLFILE_ENCODING_UNICODE) {
        if (size < 2) return Fail(L"Missing byte-order mark");
        bool bigEndian = bytes[0] == 0xFE && bytes[1] == 0xFF;
        bool littleEndian = bytes[0] == 0xFF && bytes[1] == 0xFE;
        if (!bigEndian && !littleEndian) return Fail(L"Missing byte-order mark");
        DWORD count = size / 2 - 1;
        m_pstrXML = (LPWSTR)malloc((count + 1) * sizeof(WCHAR));
        if (m_pstrXML == NULL) return Fail(L"Out of memory");
        for (DWORD i = 0; i < count; ++i) {
            BYTE first = bytes[2 + 2 * i], second = bytes[3 + 2 * i];
            m_pstrXML[i] = bigEndian ? (WCHAR)((first << 8) | second) : (WCHAR)((second << 8) | first);
        }
        m_pstrXML[count] = L'\0';
        return true;
    }
    UINT codePage = encoding == XMLFILE_ENCODING_ASNI ? CP_ACP : CP_UTF8;
    if (codePage == CP_UTF8 && size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        bytes += 3;
        size -= 3;
    }
    if (size > (DWORD)kMaxFileSize * 4) return Fail(L"File too large");
    int length = size == 0 ? 0 : MultiByteToWideChar(codePage, 0, (LPCSTR)bytes, (int)size, NULL, 0);
    if (size > 0 && length <= 0) return Fail(L"Error converting text");
    m_pstrXML = (LPWSTR)malloc((length + 1) * sizeof(WCHAR));
    if (m_pstrXML == NULL) return Fail(L"Out of memory");
    if (length > 0) MultiByteToWideChar(codePage, 0, (LPCSTR)bytes, (int)size, m_pstrXML, length);
    m_pstrXML[length] = L'\0';
    return true;
}

bool CXmlDocument::LoadFile(LPCWSTR fileName, int encoding)
{
    Release();
    if (fileName == NULL) return Fail(L"Error opening file", L"");
    BYTE* bytes = NULL;
    DWORD size = 0;
    LPCWSTR failure = NULL;
    if (!ReadSkinFile(fileName, kMaxFileSize, &bytes, &size, &failure)) return Fail(failure, L"");

    bool ok = LoadBuffer(bytes, size, encoding);
    free(bytes);
    return ok;
}

bool CXmlDocument::AddElement(ULONG* index)
{
    if (m_nElements >= m_nReservedElements) {
        ULONG reserve = m_nReservedElements + m_nReservedElements / 2 + 500;
        CXmlElement* grown = (CXmlElement*)realloc(m_pElements, reserve * sizeof(CXmlElement));
        if (grown == NULL) return false;
        m_pElements = grown;
        m_nReservedElements = reserve;
    }
    *index = m_nElements++;
    memset(&m_pElements[*index], 0, sizeof(CXmlElement));
    return true;
}

bool CXmlDocument::Fail(LPCWSTR message, LPCWSTR location)
{
    wcsncpy(m_szErrorMsg, message, 99);
    m_szErrorMsg[99] = L'\0';
    if (location == NULL) location = L"";
    wcsncpy(m_szErrorXML, location, 49);
    m_szErrorXML[49] = L'\0';
    return false;
}

bool CXmlDocument::Parse()
{
    m_nElements = 0;
    ULONG placeholder = 0;
    if (!AddElement(&placeholder)) return Fail(L"Out of memory");
    m_szErrorMsg[0] = L'\0';
    m_szErrorXML[0] = L'\0';
    LPWSTR p = m_pstrXML;
    return ParseElements(p, 0, 0);
}

bool CXmlDocument::ParseElements(LPWSTR& p, ULONG parent, int depth)
{
    if (depth > kMaxDepth) return Fail(L"Elements nested too deeply", p);
    ULONG previous = 0;
    for (;;) {
        SkipBlanks(p);
        // Running out of text is accepted for an unclosed root or top-level element.
        if (*p == L'\0') return parent <= 1 ? true : Fail(L"Expected end-tag start", p);
        if (*p != L'<') return Fail(L"Expected start tag", p);
        if (p[1] == L'/') return true;
        *p++ = L'\0';
        SkipBlanks(p);
        if (*p == L'!' || *p == L'?') {
            LPCWSTR close = *p == L'!' ? L"->" : L"?>";
            LPWSTR end = wcsstr(p, close);
            if (end == NULL) return Fail(*p == L'!' ? L"Unterminated comment" : L"Unterminated declaration", p);
            p = end + 2;
            continue;
        }

        ULONG index = 0;
        if (!AddElement(&index)) return Fail(L"Out of memory", p);
        m_pElements[index].name = (ULONG)(p - m_pstrXML);
        m_pElements[index].parent = parent;
        if (previous != 0) m_pElements[previous].next = index;
        else m_pElements[parent].child = index;

        LPWSTR name = p;
        while (IsNameChar(*p)) ++p;
        if (p == name) return Fail(L"Error parsing element name", p);
        LPWSTR nameEnd = p;
        size_t nameLength = nameEnd - name;

        if (*p != L'>' && !ParseAttributes(p)) return false;

        if (p[0] == L'/' && p[1] == L'>') {
            m_pElements[index].data = (ULONG)(p - m_pstrXML);
            p[0] = L'\0';
            p += 2;
        } else {
            if (*p != L'>') return Fail(L"Expected start-tag closing", p);
            ++p;
            m_pElements[index].data = (ULONG)(p - m_pstrXML);
            ParseData(p, L'<');
            if (*p == L'\0') {
                if (parent > 1) return Fail(L"Expected end-tag start", p);
                *nameEnd = L'\0';
                return true;
            }
            if (p[1] != L'/') {
                if (!ParseElements(p, index, depth + 1)) return false;
                if (*p == L'\0') {
                    // The children ran to the end of the text: this element stays open.
                    if (parent > 1) return Fail(L"Expected end-tag start", p);
                    *nameEnd = L'\0';
                    return true;
                }
            }
            if (p[0] != L'<' || p[1] != L'/') return Fail(L"Unmatched closing tag", p);
            p[0] = L'\0';
            p += 2;
            if (wcsncmp(p, name, nameLength) != 0 || IsNameChar(p[nameLength]))
                return Fail(L"Unmatched closing tag", p);
            p += nameLength;
            SkipBlanks(p);
            if (*p != L'>') return Fail(L"Unmatched closing tag", p);
            ++p;
        }
        *nameEnd = L'\0';
        previous = index;
    }
}

bool CXmlDocument::ParseAttributes(LPWSTR& p)
{
    if (IsBlank(*p)) *p++ = L'\0';
    else if (*p != L'/') return Fail(L"Error while parsing attributes", p);
    for (;;) {
        SkipBlanks(p);
        if (*p == L'\0' || *p == L'>' || *p == L'/') return true;
        LPWSTR name = p;
        while (IsNameChar(*p)) ++p;
        if (p == name) return Fail(L"Error while parsing attributes", p);
        LPWSTR nameEnd = p;
        SkipBlanks(p);
        if (*p != L'=') return Fail(L"Error while parsing attributes", p);
        *p = L' ';
        *nameEnd = L'\0';
        ++p;
        SkipBlanks(p);
        if (*p != L'"') return Fail(L"Expected attribute value", p);
        ++p;
        ParseData(p, L'"');
        if (*p != L'"') return Fail(L"Error while parsing attribute string", p);
        *p++ = L'\0';
        if (*p != L'\0' && !IsBlank(*p) && *p != L'>' && *p != L'/')
            return Fail(L"Error while parsing attributes", p);
    }
}

// Copies the data in place up to the terminator, resolving entities; the
// characters freed by shrinking entities become a terminator and blanks.
void CXmlDocument::ParseData(LPWSTR& p, WCHAR terminator)
{
    LPWSTR dest = p;
    while (*p != L'\0' && *p != terminator) {
        if (*p == L'&') {
            bool resolved = false;
            for (size_t i = 0; i < sizeof(kEntities) / sizeof(kEntities[0]); ++i) {
                size_t length = wcslen(kEntities[i].name);
                if (wcsncmp(p + 1, kEntities[i].name, length) == 0) {
                    *dest++ = kEntities[i].value;
                    p += 1 + length;
                    resolved = true;
                    break;
                }
            }
            if (resolved) continue;
        }
        *dest++ = *p++;
    }
    if (dest < p) {
        *dest++ = L'\0';
        while (dest < p) *dest++ = L' ';
    }
}

} // namespace DirectUI
