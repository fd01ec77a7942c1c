#include "core/UIString.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <wctype.h>

namespace DirectUI {

namespace {
const WCHAR kEmptyText[] = L"";

int TextLength(LPCWSTR text, int length)
{
    if (text == NULL) return 0;
    if (length < 0) return (int)wcslen(text);
    // Never read past the terminator, even when the caller's count is longer.
    int n = 0;
    while (n < length && text[n] != L'\0') ++n;
    return n;
}
} // namespace

CUIString::CUIString() : m_pText(m_szInline)
{
    m_szInline[0] = L'\0';
}

CUIString::CUIString(const CUIString& src) : m_pText(m_szInline)
{
    m_szInline[0] = L'\0';
    Assign(src.m_pText);
}

CUIString::CUIString(LPCWSTR text, int length) : m_pText(m_szInline)
{
    m_szInline[0] = L'\0';
    Assign(text, length);
}

CUIString::CUIString(WCHAR ch) : m_pText(m_szInline)
{
    m_szInline[0] = ch;
    m_szInline[1] = L'\0';
}

CUIString::~CUIString()
{
    if (OnHeap()) free(m_pText);
}

bool CUIString::Aliases(LPCWSTR text) const
{
    if (text == NULL) return false;
    const WCHAR* begin = m_pText;
    const WCHAR* end = m_pText + (OnHeap() ? wcslen(m_pText) + 1 : (size_t)kInlineSize);
    return text >= begin && text < end;
}

void CUIString::Assign(LPCWSTR text, int length)
{
    if (text == NULL) text = kEmptyText;
    if (Aliases(text) && text != m_pText) {
        // A part of our own text: take a copy first, the block may go away.
        CUIString copy(text, length);
        Assign(copy.m_pText);
        return;
    }
    length = TextLength(text, length);
    if (length > kMaxInline) {
        if (!OnHeap()) {
            LPWSTR block = (LPWSTR)malloc((length + 1) * sizeof(WCHAR));
            if (block == NULL) return;
            m_pText = block;
        } else if ((int)wcslen(m_pText) < length) {
            if (text == m_pText) return; // the same text, already complete
            LPWSTR block = (LPWSTR)realloc(m_pText, (length + 1) * sizeof(WCHAR));
            if (block == NULL) return;
            m_pText = block;
        }
        memmove(m_pText, text, length * sizeof(WCHAR));
    } else {
        if (OnHeap()) {
            memcpy(m_szInline, text, length * sizeof(WCHAR));
            free(m_pText);
            m_pText = m_szInline;
        } else {
            memmove(m_szInline, text, length * sizeof(WCHAR));
        }
    }
    m_pText[length] = L'\0';
}

void CUIString::Append(LPCWSTR text)
{
    if (text == NULL) return;
    if (Aliases(text)) {
        CUIString copy(text);
        Append(copy.m_pText);
        return;
    }
    int current = GetLength();
    int added = (int)wcslen(text);
    int length = current + added;
    if (length > kMaxInline) {
        if (!OnHeap()) {
            LPWSTR block = (LPWSTR)malloc((length + 1) * sizeof(WCHAR));
            if (block == NULL) return;
            memcpy(block, m_szInline, current * sizeof(WCHAR));
            m_pText = block;
        } else {
            LPWSTR block = (LPWSTR)realloc(m_pText, (length + 1) * sizeof(WCHAR));
            if (block == NULL) return;
            m_pText = block;
        }
    }
    memcpy(m_pText + current, text, added * sizeof(WCHAR));
    m_pText[length] = L'\0';
}

void CUIString::Empty()
{
    if (OnHeap()) free(m_pText);
    m_pText = m_szInline;
    m_szInline[0] = L'\0';
}

int CUIString::GetLength() const
{
    return (int)wcslen(m_pText);
}

CUIString& CUIString::operator=(const CUIString& src)
{
    if (this != &src) Assign(src.m_pText);
    return *this;
}

CUIString& CUIString::operator=(LPCWSTR text)
{
    Assign(text);
    return *this;
}

CUIString& CUIString::operator+=(const CUIString& src)
{
    Append(src.m_pText);
    return *this;
}

CUIString& CUIString::operator+=(LPCWSTR text)
{
    Append(text);
    return *this;
}

CUIString& CUIString::operator+=(WCHAR ch)
{
    WCHAR text[2] = { ch, L'\0' };
    Append(text);
    return *this;
}

CUIString CUIString::operator+(const CUIString& src) const
{
    CUIString result(*this);
    result.Append(src.m_pText);
    return result;
}

CUIString CUIString::operator+(LPCWSTR text) const
{
    CUIString result(*this);
    result.Append(text);
    return result;
}

int CUIString::Compare(LPCWSTR text) const
{
    return wcscmp(m_pText, text != NULL ? text : kEmptyText);
}

int CUIString::CompareNoCase(LPCWSTR text) const
{
    return _wcsicmp(m_pText, text != NULL ? text : kEmptyText);
}

int CUIString::Find(WCHAR ch, int start) const
{
    int length = GetLength();
    if (start != 0 && (start < 0 || start >= length)) return -1;
    const WCHAR* hit = wcschr(m_pText + start, ch);
    return (hit != NULL && ch != L'\0') ? (int)(hit - m_pText) : -1;
}

int CUIString::Find(LPCWSTR text, int start) const
{
    int length = GetLength();
    if (text == NULL || start < 0 || start > length) return -1;
    const WCHAR* hit = wcsstr(m_pText + start, text);
    return hit != NULL ? (int)(hit - m_pText) : -1;
}

int CUIString::ReverseFind(WCHAR ch) const
{
    const WCHAR* hit = wcsrchr(m_pText, ch);
    return (hit != NULL && ch != L'\0') ? (int)(hit - m_pText) : -1;
}

CUIString CUIString::Left(int count) const
{
    int length = GetLength();
    if (count < 0) count = 0;
    if (count > length) count = length;
    return CUIString(m_pText, count);
}

CUIString CUIString::Mid(int start, int count) const
{
    int length = GetLength();
    // A start outside the text gives the empty string rather than a stray read.
    if (start < 0 || start > length) return CUIString();
    if (count < 0 || start + count > length) count = length - start;
    if (count <= 0) return CUIString();
    return CUIString(m_pText + start, count);
}

CUIString CUIString::Right(int count) const
{
    int length = GetLength();
    if (count < 0) count = 0;
    if (count > length) count = length;
    return CUIString(m_pText + length - count, count);
}

int CUIString::Replace(LPCWSTR from, LPCWSTR to)
{
    if (from == NULL || from[0] == L'\0') return 0;
    if (to == NULL) to = kEmptyText;
    CUIString search(from), replacement(to); // either may alias this text
    int fromLength = search.GetLength();
    int toLength = replacement.GetLength();
    int count = 0;
    int position = Find(search.m_pText, 0);
    while (position >= 0) {
        CUIString result(m_pText, position);
        result.Append(replacement.m_pText);
        result.Append(m_pText + position + fromLength);
        Assign(result.m_pText);
        ++count;
        position = Find(search.m_pText, position + toLength);
    }
    return count;
}

void CUIString::MakeLower()
{
    for (LPWSTR p = m_pText; *p != L'\0'; ++p) *p = (WCHAR)towlower(*p);
}

int CUIString::Format(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    int n = FormatArgs(format, args);
    va_end(args);
    return n;
}

int CUIString::FormatArgs(LPCWSTR format, va_list args)
{
    if (format == NULL) return -1;
    va_list measure;
    va_copy(measure, args);
    // One formatter for measuring and writing, so both agree on every
    // conversion (mingw's C99 printf: wide strings are %ls).
    int n = vsnwprintf(NULL, 0, format, measure);
    va_end(measure);
    if (n < 0) return n;
    LPWSTR buffer = (LPWSTR)calloc(n + 1, sizeof(WCHAR));
    if (buffer == NULL) return -1;
    n = vsnwprintf(buffer, n + 1, format, args);
    buffer[n >= 0 ? n : 0] = L'\0';
    Assign(buffer);
    free(buffer);
    return n;
}

int CUIString::SmallFormat(LPCWSTR format, ...)
{
    if (format == NULL) return -1;
    WCHAR buffer[kInlineSize] = { 0 };
    va_list args;
    va_start(args, format);
    // Keeps at most 63 characters and the terminator.
    int n = vsnwprintf(buffer, kInlineSize, format, args);
    va_end(args);
    buffer[kInlineSize - 1] = L'\0';
    Assign(buffer);
    return n;
}

} // namespace DirectUI
