#include "fakes/FakeMainThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "LircLoopback.h"

namespace quorvel {
namespace {

TEST(LircFakeMainThread, RunSyncWaitsUntilTheWorkRanOnThePumpingThread) {
    FakeMainThread mainThread;
    std::thread::id ranOn;
    std::atomic<bool> returned{false};
    std::thread caller([&] {
        mainThread.RunSync([&] { ranOn = std::this_thread::get_id(); });
        returned = true;
    });
    ASSERT_TRUE(WaitUntil([&] { return mainThread.Waiting() == 1; }));
    EXPECT_FALSE(returned);
    EXPECT_EQ(mainThread.Pump(), 1u);
    caller.join();
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

TEST(LircFakeMainThread, CloseReleasesWaitingCallersAndRefusesLaterOnesWithoutRunningThem) {
    FakeMainThread mainThread;
    std::atomic<int> ran{0};
    std::thread waiting([&] { mainThread.RunSync([&] { ++ran; }); });
    ASSERT_TRUE(WaitUntil([&] { return mainThread.Waiting() == 1; }));
    mainThread.Close();
    waiting.join();
    mainThread.RunSync([&] { ++ran; });
    EXPECT_EQ(mainThread.Pump(), 0u);
    EXPECT_EQ(ran, 0);
}

}  // namespace
}  // namespace quorvel
