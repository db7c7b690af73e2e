#include "platform/Sockets.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "LircLoopback.h"

namespace quorvel {
namespace {

TEST(LircUniqueSocket, ClosesItsSocketExactlyOnceWhateverItIsMovedThrough) {
    RecordingSockets sockets;
    const SocketHandle handle = sockets.OpenTcp();
    ASSERT_NE(handle, kNoSocket);
    {
        UniqueSocket first(sockets, handle);
        UniqueSocket second(std::move(first));
        UniqueSocket third;
        third = std::move(second);
        EXPECT_FALSE(first);
        EXPECT_EQ(third.Get(), handle);
        third.Reset();
        third.Reset();
    }
    EXPECT_EQ(sockets.Closed(), std::vector<SocketHandle>{handle});
}

TEST(LircUniqueSocket, AssigningOverAnOwnedSocketClosesTheOldOne) {
    RecordingSockets sockets;
    const SocketHandle a = sockets.OpenTcp();
    const SocketHandle b = sockets.OpenTcp();
    {
        UniqueSocket owner(sockets, a);
        owner = UniqueSocket(sockets, b);
        EXPECT_EQ(sockets.Closed(), std::vector<SocketHandle>{a});
    }
    EXPECT_EQ(sockets.Closed(), (std::vector<SocketHandle>{a, b}));
}

// The server relies on a waiter that reports exactly the sockets with something to read and
// wakes when told, on a send that never waits, and on a reader that tells "nothing yet" from
// "ended".
TEST(LircPosixSockets, WaiterReportsWhatCanBeReadAndNonBlockingCallsNeverWait) {
    PosixSockets sockets;
    const std::unique_ptr<SocketWaiter> waiter = sockets.CreateWaiter();
    ASSERT_TRUE(waiter);
    std::vector<SocketHandle> ready;
    UniqueSocket listener(sockets, sockets.OpenTcp());
    const std::uint16_t port = FreeLoopbackPort();
    ASSERT_TRUE(sockets.BindLoopback(listener.Get(), port));
    ASSERT_TRUE(sockets.Listen(listener.Get()));
    ASSERT_TRUE(waiter->Add(listener.Get()));
    LoopbackClient client(port, 4096);
    ASSERT_TRUE(waiter->Wait(5000, ready));
    EXPECT_EQ(ready, std::vector<SocketHandle>{listener.Get()});
    UniqueSocket server(sockets, sockets.Accept(listener.Get()));
    ASSERT_TRUE(server);
    ASSERT_TRUE(sockets.SetNonBlocking(server.Get()));
    ASSERT_TRUE(waiter->Add(server.Get()));

    char buffer[16];
    std::size_t received = 99;
    EXPECT_EQ(sockets.Receive(server.Get(), buffer, received), ReceiveStatus::NothingYet);
    EXPECT_EQ(received, 0u);
    ASSERT_TRUE(waiter->Wait(0, ready));
    EXPECT_TRUE(ready.empty());
    client.Send("LIST\n");
    ASSERT_TRUE(waiter->Wait(5000, ready));
    EXPECT_EQ(ready, std::vector<SocketHandle>{server.Get()});
    EXPECT_EQ(sockets.Receive(server.Get(), buffer, received), ReceiveStatus::Data);
    EXPECT_EQ(std::string(buffer, received), "LIST\n");

    const std::string block(1 << 20, 'x');
    std::size_t taken = block.size();
    for (int i = 0; i < 1000 && taken == block.size(); ++i) taken = sockets.Send(server.Get(), block);
    EXPECT_LT(taken, block.size());

    // A wake from another thread ends a wait without limit, whether it comes before or during it.
    std::thread waker([&] { waiter->Wake(); });
    ASSERT_TRUE(waiter->Wait(-1, ready));
    EXPECT_TRUE(ready.empty());
    waker.join();

    client.Close();
    ASSERT_TRUE(waiter->Wait(5000, ready));
    EXPECT_EQ(ready, std::vector<SocketHandle>{server.Get()});
    EXPECT_EQ(sockets.Receive(server.Get(), buffer, received), ReceiveStatus::Ended);
    waiter->Remove(server.Get());
    ASSERT_TRUE(waiter->Wait(0, ready));
    EXPECT_TRUE(ready.empty());
}

}  // namespace
}  // namespace quorvel
