#include "core/StringKeyMap.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

using DirectUI::CStringKeyMap;
using DirectUI::HashKey;

namespace {
void* V(int i)
{
    return reinterpret_cast<void*>(static_cast<intptr_t>(i * 4 + 4));
}

// Keys that all land in one bucket of a 16-bucket map.
std::vector<std::wstring> CollidingKeys(int count)
{
    std::map<unsigned, std::vector<std::wstring>> buckets;
    for (int i = 0; i < 1000; ++i) {
        std::wstring key = L"key" + std::to_wstring(i);
        std::vector<std::wstring>& bucket = buckets[HashKey(key.c_str()) % 16];
        bucket.push_back(key);
        if ((int)bucket.size() == count) return bucket;
    }
    return {};
}
} // namespace

TEST(StringKeyMap, HashesFromTheLastCharacter)
{
    EXPECT_EQ(0u, HashKey(L""));
    EXPECT_EQ(98u * 33 + 97, HashKey(L"ab"));
}

TEST(StringKeyMap, InsertsFindsAndRemovesCollidingKeys)
{
    std::vector<std::wstring> keys = CollidingKeys(5);
    ASSERT_EQ(5u, keys.size());
    CStringKeyMap map(5); // raised to 16 buckets
    for (size_t i = 0; i < keys.size(); ++i) ASSERT_TRUE(map.Insert(keys[i].c_str(), V(i)));
    EXPECT_FALSE(map.Insert(keys[2].c_str(), V(9)));
    EXPECT_EQ(5, map.GetSize());
    for (size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(V(i), map.Find(keys[i].c_str())) << i;

    // Remove the chain's head, a middle node and its tail.
    for (int index : { 4, 2, 0 }) {
        ASSERT_TRUE(map.Remove(keys[index].c_str()));
        EXPECT_EQ(NULL, map.Find(keys[index].c_str()));
        EXPECT_FALSE(map.Remove(keys[index].c_str()));
    }
    EXPECT_EQ(2, map.GetSize());
    EXPECT_EQ(V(1), map.Find(keys[1].c_str()));
    EXPECT_EQ(V(3), map.Find(keys[3].c_str()));
}

TEST(StringKeyMap, KeysAreCaseSensitiveAndSetReturnsTheOldValue)
{
    CStringKeyMap map(83);
    EXPECT_TRUE(map.Insert(L"Name", V(1)));
    EXPECT_TRUE(map.Insert(L"name", V(2)));
    EXPECT_EQ(V(1), map.Find(L"Name"));
    EXPECT_EQ(V(2), map.Find(L"name"));
    EXPECT_EQ(NULL, map.Set(L"other", V(3)));
    EXPECT_EQ(V(3), map.Find(L"other"));
    EXPECT_EQ(V(3), map.Set(L"other", V(4)));
    EXPECT_EQ(V(4), map.Find(L"other"));
}

TEST(StringKeyMap, WalkVisitsEveryKeyOnceWhileLookupsReorderChains)
{
    std::vector<std::wstring> colliding = CollidingKeys(6);
    CStringKeyMap map(16);
    std::set<std::wstring> expected;
    for (size_t i = 0; i < colliding.size(); ++i) {
        map.Insert(colliding[i].c_str(), V(i));
        expected.insert(colliding[i]);
    }
    for (int i = 0; i < 40; ++i) {
        std::wstring key = L"other" + std::to_wstring(i);
        map.Insert(key.c_str(), V(100 + i));
        expected.insert(key);
    }
    std::set<std::wstring> seen;
    for (int i = 0; i < map.GetSize(); ++i) {
        LPCWSTR key = map.GetAt(i);
        ASSERT_TRUE(key != NULL) << i;
        EXPECT_TRUE(seen.insert(key).second) << "visited twice";
        EXPECT_TRUE(map.Find(key, true) != NULL);
    }
    EXPECT_EQ(expected, seen);
    EXPECT_EQ(NULL, map.GetAt(-1));
    EXPECT_EQ(NULL, map.GetAt(map.GetSize()));
}

TEST(StringKeyMap, MapWithoutBucketsAnswersNothing)
{
    CStringKeyMap map(16);
    map.Insert(L"a", V(1));
    map.Resize(0);
    EXPECT_EQ(0, map.GetSize());
    EXPECT_FALSE(map.Insert(L"a", V(1)));
    EXPECT_EQ(NULL, map.Find(L"a"));
    EXPECT_EQ(V(2), map.Set(L"a", V(2)));
    EXPECT_FALSE(map.Remove(L"a"));
    map.Resize(4);
    EXPECT_TRUE(map.Insert(L"a", V(1)));
    EXPECT_EQ(V(1), map.Find(L"a"));
}
