#pragma once

#include <windows.h>
#include <stdarg.h>

namespace DirectUI {

// Wide-character string whose short texts (up to 62 characters, nearly every
// name and attribute of a skin) live inside the object and never touch the heap.
class CUIString
{
public:
    enum { kInlineSize = 64, kMaxInline = 62 };

    CUIString();
    CUIString(const CUIString& src);
    CUIString(LPCWSTR text, int length = -1);
    CUIString(WCHAR ch);
    ~CUIString();

    void Assign(LPCWSTR text, int length = -1);
    void Append(LPCWSTR text);
    void Empty();

    LPCWSTR GetData() const { return m_pText; }
    int GetLength() const;
    bool IsEmpty() const { return m_pText[0] == L'\0'; }
    WCHAR GetAt(int index) const { return m_pText[index]; }
    operator LPCWSTR() const { return m_pText; }

    CUIString& operator=(const CUIString& src);
    CUIString& operator=(LPCWSTR text);
    CUIString& operator+=(const CUIString& src);
    CUIString& operator+=(LPCWSTR text);
    CUIString& operator+=(WCHAR ch);
    CUIString operator+(const CUIString& src) const;
    CUIString operator+(LPCWSTR text) const;

    int Compare(LPCWSTR text) const;
    int CompareNoCase(LPCWSTR text) const;
    bool operator==(LPCWSTR text) const { return Compare(text) == 0; }
    bool operator!=(LPCWSTR text) const { return Compare(text) != 0; }

    int Find(WCHAR ch, int start = 0) const;
    int Find(LPCWSTR text, int start = 0) const;
    int ReverseFind(WCHAR ch) const;
    CUIString Left(int count) const;
    CUIString Mid(int start, int count = -1) const;
    CUIString Right(int count) const;
    int Replace(LPCWSTR from, LPCWSTR to);
    void MakeLower();

    int Format(LPCWSTR format, ...);
    int FormatArgs(LPCWSTR format, va_list args);
    int SmallFormat(LPCWSTR format, ...);

private:
    bool OnHeap() const { return m_pText != m_szInline; }
    bool Aliases(LPCWSTR text) const;

    LPWSTR m_pText;
    WCHAR m_szInline[kInlineSize];
};

} // namespace DirectUI
