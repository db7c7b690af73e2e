#include "fakes/FakeMainThread.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace quorvel {
namespace {

TEST(LircFakeMainThread, PostedWorkRunsInOrderOnThePumpingThreadOnly) {
    FakeMainThread mainThread;
    std::vector<int> ran;
    std::vector<std::thread::id> ranOn;
    std::thread poster([&] {
        for (int i = 0; i < 3; ++i) {
            mainThread.Post([&, i] {
                ran.push_back(i);
                ranOn.push_back(std::this_thread::get_id());
            });
        }
    });
    poster.join();
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(mainThread.Pump(), 3u);
    EXPECT_EQ(ran, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(ranOn, std::vector<std::thread::id>(3, std::this_thread::get_id()));
}

TEST(LircFakeMainThread, CloseDropsWaitingWorkAndLaterWorkWithoutRunningIt) {
    FakeMainThread mainThread;
    int ran = 0;
    mainThread.Post([&] { ++ran; });
    mainThread.Close();
    mainThread.Post([&] { ++ran; });
    EXPECT_EQ(mainThread.Pump(), 0u);
    EXPECT_EQ(ran, 0);
}

}  // namespace
}  // namespace quorvel
