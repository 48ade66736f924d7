// Signals and registries with their subscriptions: a callback (or a
// registered value) lives exactly as long as the subscription that owns it,
// whoever goes first and whatever runs meanwhile.
#include "common/signal.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrum {
namespace {

TEST(SignalTest, ASubscriptionOwnsItsCallback) {
    Signal<int> signal;
    std::vector<std::string> seen;
    Subscription a = signal.Connect([&](int v) { seen.push_back("a" + std::to_string(v)); });
    {
        Subscription b = signal.Connect([&](int v) { seen.push_back("b" + std::to_string(v)); });
        EXPECT_EQ(signal.Count(), 2u);
        signal(1);
    }
    signal(2);  // b went with its scope
    EXPECT_EQ(seen, (std::vector<std::string>{"a1", "b1", "a2"}));

    // Moving hands the registration on; the moved-from one owns nothing.
    Subscription moved = std::move(a);
    a.Reset();
    signal(3);
    Subscription other;
    other = std::move(moved);
    EXPECT_EQ(signal.Count(), 1u);
    other = Subscription();  // assigning over it removes the old callback
    EXPECT_FALSE(signal);
    signal(4);
    EXPECT_EQ(seen, (std::vector<std::string>{"a1", "b1", "a2", "a3"}));
}

TEST(SignalTest, EitherSideMayGoFirst) {
    Subscription kept;
    {
        Signal<> signal;
        kept = signal.Connect([] {});
    }
    kept.Reset();  // the signal is gone: nothing to remove, no crash

    auto signal = std::make_unique<Signal<const std::string&>>();
    std::string last;
    std::optional<Subscription> s{signal->Connect([&](const std::string& v) { last = v; })};
    (*signal)("x");
    signal.reset();
    s.reset();
    EXPECT_EQ(last, "x");
}

TEST(SignalTest, CallbacksMayRemoveThemselvesAndOthersWhileRunning) {
    Signal<> signal;
    std::vector<std::string> seen;
    std::optional<Subscription> first;
    std::optional<Subscription> second;
    std::optional<Subscription> added;
    first = signal.Connect([&] {
        seen.push_back("first");
        first.reset();   // itself: its callback keeps running to the end
        second.reset();  // a later one: not called any more
        added = signal.Connect([&] { seen.push_back("added"); });
        seen.push_back("first end");
    });
    second = signal.Connect([&] { seen.push_back("second"); });
    signal();
    EXPECT_EQ(seen, (std::vector<std::string>{"first", "first end"}));
    signal();
    EXPECT_EQ(seen, (std::vector<std::string>{"first", "first end", "added"}));
}

// The newest registration still held is in force, whatever order the
// registrations go in; with none, nothing is.
TEST(RegistryTest, TheNewestHeldRegistrationIsInForce) {
    Registry<std::string> registry;
    EXPECT_EQ(registry.Current(), nullptr);
    Subscription a = registry.Register("a");
    Subscription b = registry.Register("b");
    std::optional<Subscription> c(registry.Register("c"));
    ASSERT_NE(registry.Current(), nullptr);
    EXPECT_EQ(*registry.Current(), "c");
    b.Reset();  // an older one goes: the newest stays
    EXPECT_EQ(*registry.Current(), "c");
    c.reset();  // the newest goes: the one before it again, not the one removed
    EXPECT_EQ(*registry.Current(), "a");
    EXPECT_EQ(registry.Count(), 1u);
    Subscription again = std::move(a);
    EXPECT_EQ(*registry.Current(), "a");
    again.Reset();
    EXPECT_EQ(registry.Current(), nullptr);
}

TEST(RegistryTest, ARegistrationMayOutliveItsRegistry) {
    Subscription kept;
    {
        Registry<int> registry;
        kept = registry.Register(1);
    }
    kept.Reset();  // nothing left to remove it from
    SUCCEED();
}

}  // namespace
}  // namespace kestrum
