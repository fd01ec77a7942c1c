#include "core/PointerArray.h"

#include <gtest/gtest.h>

using DirectUI::CPointerArray;

namespace {
void* P(int i)
{
    return reinterpret_cast<void*>(static_cast<intptr_t>(i * 4 + 4));
}
} // namespace

TEST(PointerArray, GrowsKeepingEveryEntryInOrder)
{
    for (int initial : { 0, 1, 11 }) {
        CPointerArray a(initial);
        EXPECT_TRUE(a.IsEmpty());
        for (int i = 0; i < 100; ++i) ASSERT_TRUE(a.Add(P(i)));
        ASSERT_EQ(100, a.GetSize());
        for (int i = 0; i < 100; ++i) EXPECT_EQ(P(i), a.GetAt(i));
        CPointerArray copy(a);
        EXPECT_EQ(100, copy.GetSize());
        EXPECT_EQ(P(99), copy.GetAt(99));
    }
}

TEST(PointerArray, RefusesIndexesOutsideTheEntries)
{
    CPointerArray a;
    a.Add(P(0));
    a.Add(P(1));
    EXPECT_EQ(NULL, a.GetAt(-1));
    EXPECT_EQ(NULL, a.GetAt(2));
    EXPECT_FALSE(a.InsertAt(3, P(9)));
    EXPECT_FALSE(a.InsertAt(-1, P(9)));
    EXPECT_FALSE(a.Remove(2));
    EXPECT_FALSE(a.Remove(-1));
    EXPECT_EQ(2, a.GetSize());
}

TEST(PointerArray, InsertsAndRemovesAtEveryPosition)
{
    struct Row { const char* op; int index; const int expected[4]; int size; };
    const Row rows[] = {
        { "insert", 0, { 9, 0, 1, 2 }, 4 }, { "insert", 1, { 0, 9, 1, 2 }, 4 },
        { "insert", 3, { 0, 1, 2, 9 }, 4 }, { "remove", 0, { 1, 2 }, 2 },
        { "remove", 1, { 0, 2 }, 2 },       { "remove", 2, { 0, 1 }, 2 },
    };
    for (const Row& row : rows) {
        CPointerArray a;
        for (int i = 0; i < 3; ++i) a.Add(P(i));
        bool ok = std::string(row.op) == "insert" ? a.InsertAt(row.index, P(9)) : a.Remove(row.index);
        ASSERT_TRUE(ok) << row.op << " " << row.index;
        ASSERT_EQ(row.size, a.GetSize());
        for (int i = 0; i < row.size; ++i) EXPECT_EQ(P(row.expected[i]), a[i]) << row.op << " " << row.index;
    }
}

TEST(PointerArray, FindsEmptiesAndResizes)
{
    CPointerArray a;
    a.Add(P(5));
    a.Add(P(6));
    a.Add(P(5));
    EXPECT_EQ(0, a.Find(P(5)));
    EXPECT_EQ(-1, a.Find(P(7)));
    a.Resize(4);
    EXPECT_EQ(4, a.GetSize());
    for (int i = 0; i < 4; ++i) EXPECT_EQ(NULL, a.GetAt(i));
    a.Empty();
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_TRUE(a.Add(P(1)));
}
