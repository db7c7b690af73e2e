#include <gtest/gtest.h>

#include <utility>

#include "platform/UniqueHandle.h"

namespace quorvel {
namespace {

struct CountingTraits {
    using Handle = int;
    static inline int closed = 0;
    static inline int lastClosed = 0;
    static Handle Invalid() { return 0; }
    static void Close(Handle handle) {
        ++closed;
        lastClosed = handle;
    }
};
using Counted = UniqueHandle<CountingTraits>;

TEST(UniqueHandle, ClosesItsHandleExactlyOnceWhereverItGoes) {
    CountingTraits::closed = 0;
    {
        Counted first(7);
        Counted second(std::move(first));
        EXPECT_FALSE(first);
        Counted third;
        third = std::move(second);
        EXPECT_EQ(third.Get(), 7);
        EXPECT_EQ(CountingTraits::closed, 0);
    }
    EXPECT_EQ(CountingTraits::closed, 1);
    EXPECT_EQ(CountingTraits::lastClosed, 7);
}

TEST(UniqueHandle, ResetClosesTheOldHandleAndReleaseGivesItUp) {
    CountingTraits::closed = 0;
    Counted handle(3);
    handle.Reset(4);
    EXPECT_EQ(CountingTraits::lastClosed, 3);
    EXPECT_EQ(handle.Release(), 4);
    handle.Reset();
    Counted empty;
    empty.Reset();
    EXPECT_EQ(CountingTraits::closed, 1);
}

}  // namespace
}  // namespace quorvel
