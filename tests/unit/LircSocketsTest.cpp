#include "platform/Sockets.h"

#include <gtest/gtest.h>

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
        EXPECT_FALSE(first.IsValid());
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

// The server relies on a send that never waits and on a reader that can tell "nothing yet"
// from "ended".
TEST(LircPosixSockets, NonBlockingSendTakesWhatFitsAndReceiveTellsNothingYetFromEnded) {
    PosixSockets sockets;
    UniqueSocket listener(sockets, sockets.OpenTcp());
    const std::uint16_t port = FreeLoopbackPort();
    ASSERT_TRUE(sockets.BindLoopback(listener.Get(), port));
    ASSERT_TRUE(sockets.Listen(listener.Get()));
    LoopbackClient client(port, 4096);
    ASSERT_EQ(sockets.WaitReadable(listener.Get(), 5000), Readiness::Ready);
    UniqueSocket server(sockets, sockets.Accept(listener.Get()));
    ASSERT_TRUE(server.IsValid());
    ASSERT_TRUE(sockets.SetNonBlocking(server.Get()));

    char buffer[16];
    EXPECT_EQ(sockets.Receive(server.Get(), buffer), ReceiveStatus::NothingYet);
    EXPECT_EQ(sockets.WaitReadable(server.Get(), 0), Readiness::TimedOut);
    client.Send("LIST\n");
    EXPECT_EQ(sockets.WaitReadable(server.Get(), 5000), Readiness::Ready);
    EXPECT_EQ(sockets.Receive(server.Get(), buffer), ReceiveStatus::Data);

    const std::string block(1 << 20, 'x');
    std::size_t taken = block.size();
    for (int i = 0; i < 1000 && taken == block.size(); ++i) taken = sockets.Send(server.Get(), block);
    EXPECT_LT(taken, block.size());

    client.Close();
    EXPECT_EQ(sockets.WaitReadable(server.Get(), 5000), Readiness::Ready);
    EXPECT_EQ(sockets.Receive(server.Get(), buffer), ReceiveStatus::Ended);
}

}  // namespace
}  // namespace quorvel
