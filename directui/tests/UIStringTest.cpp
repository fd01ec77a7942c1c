#include "core/UIString.h"

#include <gtest/gtest.h>

#include <string>

using DirectUI::CUIString;

namespace {
bool IsInline(const CUIString& s)
{
    const char* text = reinterpret_cast<const char*>(s.GetData());
    const char* self = reinterpret_cast<const char*>(&s);
    return text >= self && text < self + sizeof(s);
}

std::wstring Repeat(wchar_t ch, int n)
{
    return std::wstring(n, ch);
}
} // namespace

TEST(UIString, TextsUpTo62CharactersStayInline)
{
    struct Row { int length; bool inlined; };
    const Row rows[] = { { 0, true }, { 1, true }, { 62, true }, { 63, false }, { 200, false } };
    for (const Row& row : rows) {
        std::wstring text = Repeat(L'x', row.length);
        CUIString s(text.c_str());
        EXPECT_EQ(row.inlined, IsInline(s)) << row.length;
        EXPECT_EQ(row.length, s.GetLength());
        EXPECT_STREQ(text.c_str(), s.GetData());
    }
}

TEST(UIString, MovesBetweenInlineAndHeapKeepingContent)
{
    CUIString s(Repeat(L'a', 63).c_str());
    ASSERT_FALSE(IsInline(s));
    s = L"0123456789";
    EXPECT_TRUE(IsInline(s));
    EXPECT_STREQ(L"0123456789", s.GetData());

    CUIString grown(Repeat(L'b', 62).c_str());
    grown += L'c';
    EXPECT_FALSE(IsInline(grown));
    EXPECT_EQ(63, grown.GetLength());
    EXPECT_STREQ((Repeat(L'b', 62) + L"c").c_str(), grown.GetData());

    CUIString empty(static_cast<LPCWSTR>(NULL));
    EXPECT_TRUE(empty.IsEmpty());
    empty += static_cast<LPCWSTR>(NULL);
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(UIString, OperationsOnItsOwnTextAreSafe)
{
    for (int length : { 3, 40, 62, 100 }) {
        std::wstring text = Repeat(L'q', length - 1) + L"z";
        CUIString s(text.c_str());
        s += s;
        EXPECT_STREQ((text + text).c_str(), s.GetData()) << length;

        CUIString t(text.c_str());
        t.Append(t.GetData() + 1);
        EXPECT_STREQ((text + text.substr(1)).c_str(), t.GetData()) << length;

        CUIString u(text.c_str());
        u.Assign(u.GetData() + 2);
        EXPECT_STREQ(text.substr(2).c_str(), u.GetData()) << length;

        CUIString v(text.c_str());
        v = v;
        v = v.GetData();
        EXPECT_STREQ(text.c_str(), v.GetData()) << length;
    }
    CUIString w(L"abab");
    EXPECT_EQ(2, w.Replace(w.GetData() + 2, w.GetData()));
    EXPECT_STREQ(L"abababab", w.GetData());
}

TEST(UIString, SubstringsClampToTheText)
{
    struct Row { const wchar_t* op; int a; int b; const wchar_t* expected; };
    const Row rows[] = {
        { L"Mid", 2, -1, L"cdef" }, { L"Mid", 10, 3, L"" },    { L"Mid", 0, 3, L"abc" },
        { L"Mid", 4, 10, L"ef" },   { L"Mid", 6, 1, L"" },     { L"Mid", -1, 2, L"" },
        { L"Left", -1, 0, L"" },    { L"Left", 2, 0, L"ab" },  { L"Left", 9, 0, L"abcdef" },
        { L"Right", 10, 0, L"abcdef" }, { L"Right", 2, 0, L"ef" }, { L"Right", -3, 0, L"" },
    };
    CUIString s(L"abcdef");
    for (const Row& row : rows) {
        CUIString got = std::wstring(row.op) == L"Mid" ? s.Mid(row.a, row.b)
                        : std::wstring(row.op) == L"Left" ? s.Left(row.a) : s.Right(row.a);
        EXPECT_STREQ(row.expected, got.GetData()) << row.op << " " << row.a << "," << row.b;
    }
}

TEST(UIString, FindsCharactersAndTexts)
{
    CUIString s(L"abcabc");
    struct Row { const wchar_t* needle; int start; int expected; };
    const Row rows[] = {
        { L"c", 0, 2 }, { L"c", 3, 5 }, { L"c", 6, -1 }, { L"c", -1, -1 },
        { L"bc", 0, 1 }, { L"bc", 2, 4 }, { L"bc", 6, -1 }, { L"bc", 7, -1 }, { L"x", 0, -1 },
    };
    for (const Row& row : rows) {
        int got = wcslen(row.needle) == 1 ? s.Find(row.needle[0], row.start) : s.Find(row.needle, row.start);
        EXPECT_EQ(row.expected, got) << row.needle << " from " << row.start;
    }
    EXPECT_EQ(5, s.ReverseFind(L'c'));
    EXPECT_EQ(-1, s.ReverseFind(L'z'));
}

TEST(UIString, ReplaceNeverRescansInsertedText)
{
    struct Row { const wchar_t* text; const wchar_t* from; const wchar_t* to; const wchar_t* expected; int count; };
    const Row rows[] = {
        { L"aXa", L"a", L"aa", L"aaXaa", 2 },
        { L"aaa", L"a", L"", L"", 3 },
        { L"hello", L"z", L"y", L"hello", 0 },
        { L"x", L"", L"y", L"x", 0 },
    };
    for (const Row& row : rows) {
        CUIString s(row.text);
        EXPECT_EQ(row.count, s.Replace(row.from, row.to)) << row.text;
        EXPECT_STREQ(row.expected, s.GetData()) << row.text;
    }
    CUIString longer(Repeat(L'a', 40).c_str());
    EXPECT_EQ(40, longer.Replace(L"a", L"bb"));
    EXPECT_STREQ(Repeat(L'b', 80).c_str(), longer.GetData());
}

TEST(UIString, FormatsWithAnyLengthAndSmallFormatCuts)
{
    CUIString s;
    EXPECT_EQ(5, s.Format(L"%ls=%d", L"key", 5));
    EXPECT_STREQ(L"key=5", s.GetData());

    std::wstring wide = Repeat(L'w', 300);
    EXPECT_EQ(302, s.Format(L"[%ls]", wide.c_str()));
    EXPECT_STREQ((L"[" + wide + L"]").c_str(), s.GetData());

    s.SmallFormat(L"%4d-%02d-%02d", 2024, 3, 9);
    EXPECT_STREQ(L"2024-03-09", s.GetData());
    s.SmallFormat(L"%ls", Repeat(L'y', 70).c_str());
    EXPECT_STREQ(Repeat(L'y', 63).c_str(), s.GetData());
}

TEST(UIString, ComparesOrdinallyAndLowersCase)
{
    CUIString s(L"Abc");
    EXPECT_TRUE(s == L"Abc");
    EXPECT_TRUE(s != L"abc");
    EXPECT_LT(s.Compare(L"Abd"), 0);
    EXPECT_GT(s.Compare(NULL), 0);
    s.MakeLower();
    EXPECT_STREQ(L"abc", s.GetData());
    EXPECT_STREQ(L"abcdef", (s + L"def").GetData());
}
