#include "core/Delegate.h"
#include "core/DelegateList.h"

#include <gtest/gtest.h>

#include <string>

using DirectUI::CDelegate;
using DirectUI::CDelegateList;
using DirectUI::MakeDelegate;

namespace {
struct Listener
{
    std::string calls;
    bool answer = true;
    // When set, the first call adds 30 delegates to list (enough to move its block).
    Listener* extra = NULL;
    CDelegateList* list = NULL;

    bool First(void*) { calls += "1"; return answer; }
    bool Second(void*) { calls += "2"; return answer; }
    bool AddMore(void*)
    {
        calls += "+";
        if (extra != NULL && list != NULL) {
            for (int i = 0; i < 30; ++i) list->Add(MakeDelegate(&extra[i], &Listener::First));
            extra = NULL;
        }
        return true;
    }
};
} // namespace

TEST(DelegateList, KeepsOneCopyOfEachBinding)
{
    Listener a, b;
    CDelegateList list;
    list.Add(MakeDelegate(&a, &Listener::First));
    list.Add(MakeDelegate(&a, &Listener::First));
    list.Add(MakeDelegate(&a, &Listener::Second));
    list.Add(MakeDelegate(&b, &Listener::First));
    EXPECT_TRUE(list.Invoke(NULL));
    EXPECT_EQ("12", a.calls);
    EXPECT_EQ("1", b.calls);
}

TEST(DelegateList, RemoveTakesOutOnlyTheEqualBinding)
{
    Listener a, b;
    CDelegateList list;
    list += MakeDelegate(&a, &Listener::First);
    list += MakeDelegate(&a, &Listener::Second);
    list += MakeDelegate(&b, &Listener::First);
    list -= MakeDelegate(&a, &Listener::First);
    list -= MakeDelegate(&b, &Listener::Second); // never added: nothing happens
    EXPECT_TRUE(list.Invoke(NULL));
    EXPECT_EQ("2", a.calls);
    EXPECT_EQ("1", b.calls);
    list -= MakeDelegate(&a, &Listener::Second);
    list -= MakeDelegate(&b, &Listener::First);
    EXPECT_FALSE(list.HasAny());
}

TEST(DelegateList, FalseAnswerStopsTheWalk)
{
    Listener first, stopper, third;
    stopper.answer = false;
    CDelegateList list;
    list += MakeDelegate(&first, &Listener::First);
    list += MakeDelegate(&stopper, &Listener::First);
    list += MakeDelegate(&third, &Listener::First);
    EXPECT_FALSE(list.Invoke(NULL));
    EXPECT_EQ("1", first.calls);
    EXPECT_EQ("1", stopper.calls);
    EXPECT_EQ("", third.calls);

    CDelegateList empty;
    EXPECT_FALSE(empty.HasAny());
    EXPECT_TRUE(empty.Invoke(NULL));
}

TEST(DelegateList, StaysValidWhenAListenerAddsToIt)
{
    Listener extra[30];
    Listener adder;
    CDelegateList list;
    adder.extra = extra;
    adder.list = &list;
    list.Add(MakeDelegate(&adder, &Listener::AddMore));
    EXPECT_TRUE(list.Invoke(NULL));
    // The delegates added during the walk run in the same walk.
    for (int i = 0; i < 30; ++i) EXPECT_EQ("1", extra[i].calls) << i;
    EXPECT_TRUE(list.Invoke(NULL));
    EXPECT_EQ("++", adder.calls);
    EXPECT_EQ("11", extra[29].calls);
}
