#include "lirc/LircServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "LircLoopback.h"
#include "fakes/FakeMainThread.h"
#include "lirc/LircCommands.h"
#include "lirc/LircLine.h"

namespace quorvel {
namespace {

using namespace std::chrono_literals;

// Records the handlers' runs; they run on the test's thread, which plays the main thread.
class RecordingEvents final : public LircServerEvents {
public:
    std::vector<std::string> events;
    std::vector<std::thread::id> threads;
    int Count(const std::string& event) const { return static_cast<int>(std::count(events.begin(), events.end(), event)); }

    void ServerConnect() override { Record("connect"); }
    void ServerDisconnect() override { Record("disconnect"); }

private:
    void Record(const std::string& event) {
        events.push_back(event);
        threads.push_back(std::this_thread::get_id());
    }
};

class LircServerTest : public testing::Test {
protected:
    void SetUp() override {
        server.emplace(sockets, mainThread, events);
        ASSERT_FALSE(server->Start(port).has_value());
    }

    std::vector<std::unique_ptr<LoopbackClient>> Connect(int count, int receiveBuffer = 0) {
        std::vector<std::unique_ptr<LoopbackClient>> clients;
        for (int i = 0; i < count; ++i) {
            clients.push_back(std::make_unique<LoopbackClient>(port, receiveBuffer));
            EXPECT_TRUE(clients.back()->Connected());
        }
        const int expected = events.Count("connect") + count;
        EXPECT_TRUE(mainThread.PumpUntil([&] { return events.Count("connect") == expected; }));
        return clients;
    }

    static std::string Line(int n) { return FormatLircLine(0x00FF12ED, static_cast<std::uint8_t>(n), "Power", "RC"); }

    RecordingSockets sockets;
    FakeMainThread mainThread;
    RecordingEvents events;
    std::uint16_t port = FreeLoopbackPort();
    std::optional<LircServer> server;
};

TEST_F(LircServerTest, ListensOnTheLoopbackAddressOnly) {
    EXPECT_TRUE(server->IsActive());
    EXPECT_TRUE(LoopbackClient(port).Connected());
    EXPECT_FALSE(LoopbackClient(port, 0, 0x7F000002).Connected());
}

TEST_F(LircServerTest, PortInUse_ReportsTheSystemErrorAndStaysInactive) {
    PosixSockets otherSockets;
    LircServer other(otherSockets, mainThread, events);
    const std::optional<NetworkError> error = other.Start(port);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->code, EADDRINUSE);
    EXPECT_EQ(error->text, otherSockets.ErrorText(EADDRINUSE));
    EXPECT_FALSE(other.IsActive());
}

TEST_F(LircServerTest, SixteenClientsReceiveEveryLineWholeAndInOrder) {
    auto clients = Connect(16);
    std::string expected;
    for (int n = 0; n < 3; ++n) {
        EXPECT_EQ(server->Broadcast(Line(n)), 16u);
        expected += Line(n);
    }
    for (auto& client : clients) EXPECT_EQ(client->ReceiveUpTo(expected.size()), expected);
    EXPECT_EQ(server->ClientCount(), 16u);
}

TEST_F(LircServerTest, EachLineLeavesInOneSendOnANonBlockingNoDelaySocket) {
    auto clients = Connect(3);
    server->Broadcast(Line(0));
    server->Broadcast(Line(2));

    const std::vector<SocketHandle> accepted = sockets.Accepted();
    ASSERT_EQ(accepted.size(), 3u);
    const std::vector<SocketHandle> noDelay = sockets.NoDelay();
    const std::vector<SocketHandle> nonBlocking = sockets.NonBlocking();
    for (SocketHandle socket : accepted) {
        EXPECT_NE(std::find(noDelay.begin(), noDelay.end(), socket), noDelay.end());
        EXPECT_NE(std::find(nonBlocking.begin(), nonBlocking.end(), socket), nonBlocking.end());
    }
    std::vector<std::string> sent;
    std::vector<SocketHandle> order;
    for (const auto& send : sockets.Sends()) {
        sent.push_back(send.data);
        order.push_back(send.socket);
    }
    EXPECT_EQ(sent, (std::vector<std::string>{Line(0), Line(0), Line(0), Line(2), Line(2), Line(2)}));
    // List order is the order of connection.
    EXPECT_EQ(order, (std::vector<SocketHandle>{accepted[0], accepted[1], accepted[2], accepted[0], accepted[1],
                                                accepted[2]}));
}

TEST_F(LircServerTest, SeventeenthClientIsClosedAtOnceWithoutAnyEventOrData) {
    auto clients = Connect(16);
    LoopbackClient seventeenth(port);
    ASSERT_TRUE(seventeenth.Connected());
    EXPECT_TRUE(seventeenth.EndsWithoutData());

    server->Broadcast(Line(0));
    for (auto& client : clients) EXPECT_EQ(client->ReceiveUpTo(Line(0).size()), Line(0));
    mainThread.Pump();
    EXPECT_EQ(events.events, std::vector<std::string>(16, "connect"));
    EXPECT_EQ(server->ClientCount(), 16u);
}

TEST_F(LircServerTest, SlotFreedByALeavingClientIsTakenByTheNext) {
    auto clients = Connect(16);
    clients.front()->Close();
    ASSERT_TRUE(mainThread.PumpUntil([&] { return events.Count("disconnect") == 1; }));

    auto newcomer = Connect(1);
    EXPECT_EQ(server->Broadcast(Line(0)), 16u);
    EXPECT_EQ(newcomer.front()->ReceiveUpTo(Line(0).size()), Line(0));
}

// The asking client's stream holds whole lines and whole replies, in any mix, and nothing else.
TEST_F(LircServerTest, CommandsAreAnsweredToTheAskingClientOnlyAndNeverSplitABroadcastLine) {
    const LircDirectory directory{"9.8.7.6", "RC", {{0x00FF12ED, "Power"}}};
    server->SetDirectory(std::make_shared<const LircDirectory>(directory));
    auto clients = Connect(2);
    LoopbackClient& asking = *clients[0];
    const std::string reply = AnswerCommand("LIST RC", directory);
    constexpr int kCommands = 3000;
    constexpr int kLines = 200;
    std::string lines;
    for (int n = 0; n < kLines; ++n) lines += Line(n);

    std::string received;
    std::thread reader([&] { received = asking.ReceiveUpTo(kCommands * reply.size() + lines.size()); });
    std::thread sender([&] {
        for (int i = 0; i < kCommands; ++i) asking.Send("LIST RC\n");
    });
    for (int n = 0; n < kLines; ++n) {
        EXPECT_EQ(server->Broadcast(Line(n)), 2u);
        std::this_thread::yield();
    }
    sender.join();
    reader.join();

    int replies = 0;
    int lineCount = 0;
    for (std::string_view rest = received; !rest.empty();) {
        const std::string nextLine = Line(lineCount);
        if (rest.starts_with(reply)) {
            rest.remove_prefix(reply.size());
            ++replies;
        } else if (rest.starts_with(nextLine)) {
            rest.remove_prefix(nextLine.size());
            ++lineCount;
        } else {
            FAIL() << "neither a reply nor line " << lineCount << " after " << replies << " replies: "
                   << std::string(rest.substr(0, 40));
        }
    }
    EXPECT_EQ(replies, kCommands);
    EXPECT_EQ(lineCount, kLines);
    EXPECT_EQ(clients[1]->ReceiveUpTo(lines.size()), lines);
    EXPECT_TRUE(clients[1]->StaysSilent(200ms));
    EXPECT_EQ(server->ClientCount(), 2u);
}

TEST_F(LircServerTest, CommandsAreAnsweredFromTheLatestDirectory) {
    auto clients = Connect(1);
    clients.front()->Send("VERSION\n");
    EXPECT_EQ(clients.front()->ReceiveOnce(), AnswerCommand("VERSION", LircDirectory{}));

    const LircDirectory directory{"0.1.0.1", "RC", {}};
    server->SetDirectory(std::make_shared<const LircDirectory>(directory));
    clients.front()->Send("VERSION\n");
    EXPECT_EQ(clients.front()->ReceiveOnce(), AnswerCommand("VERSION", directory));
}

TEST_F(LircServerTest, ClientThatSendsCommandsWithoutReadingIsDroppedWhileTheOthersGetEveryLine) {
    // Long replies fill the flooding client's buffers sooner.
    LircDirectory directory{"0.1.0.1", "RC", {}};
    for (std::uint32_t code = 0; code < 100; ++code) directory.buttons.push_back({code, "Button"});
    server->SetDirectory(std::make_shared<const LircDirectory>(directory));
    auto readers = Connect(2);
    auto flooding = Connect(1, 4096);
    std::vector<std::string> received(readers.size());
    std::vector<std::thread> readerThreads;
    for (std::size_t i = 0; i < readers.size(); ++i) {
        readerThreads.emplace_back([&, i] {
            for (std::string chunk; !(chunk = readers[i]->ReceiveOnce()).empty();) received[i] += chunk;
        });
    }
    std::atomic<bool> sending{true};
    std::thread flood([&] {
        std::string commands;
        for (int i = 0; i < 1000; ++i) commands += "LIST RC\n";
        while (sending) flooding.front()->Send(commands);
    });

    std::string expected;
    for (int n = 0; n < 100000 && server->ClientCount() == 3; ++n) {
        server->Broadcast(Line(n % 256));
        expected += Line(n % 256);
        std::this_thread::sleep_for(100us);
    }
    ASSERT_EQ(server->ClientCount(), 2u);
    EXPECT_TRUE(mainThread.PumpUntil([&] { return events.Count("disconnect") == 1; }));
    sending = false;
    flood.join();
    EXPECT_EQ(server->Broadcast(Line(1)), 2u);
    expected += Line(1);

    server->Stop();
    for (auto& thread : readerThreads) thread.join();
    for (const auto& text : received) EXPECT_TRUE(text == expected);
}

TEST_F(LircServerTest, ConnectAndDisconnectRunOnTheMainThreadOnlyWhenItPumps) {
    LoopbackClient client(port);
    ASSERT_TRUE(WaitUntil([&] { return mainThread.Waiting() == 1; }));
    EXPECT_TRUE(events.events.empty());
    EXPECT_EQ(mainThread.Pump(), 1u);

    client.Close();
    ASSERT_TRUE(mainThread.PumpUntil([&] { return events.events.size() == 2; }));
    EXPECT_EQ(events.events, (std::vector<std::string>{"connect", "disconnect"}));
    EXPECT_EQ(events.threads, std::vector<std::thread::id>(2, std::this_thread::get_id()));
    EXPECT_EQ(server->ClientCount(), 0u);
    EXPECT_EQ(server->Broadcast(Line(0)), 0u);
}

TEST_F(LircServerTest, ClientThatStopsReadingIsDroppedWhileTheOthersGetEveryLine) {
    auto readers = Connect(3);
    auto stalled = Connect(1, 4096);
    std::vector<std::string> received(readers.size());
    std::vector<std::thread> readerThreads;
    for (std::size_t i = 0; i < readers.size(); ++i) {
        readerThreads.emplace_back([&, i] {
            for (std::string chunk; !(chunk = readers[i]->ReceiveOnce()).empty();) received[i] += chunk;
        });
    }

    // Long lines fill the stalled client's buffers sooner; the server does not look inside them.
    const std::string padding(1000, 'x');
    std::string expected;
    int n = 0;
    for (; n < 100000 && server->ClientCount() == 4; ++n) {
        const std::string line = std::to_string(n) + padding + "\n";
        server->Broadcast(line);
        expected += line;
    }
    ASSERT_EQ(server->ClientCount(), 3u) << "still connected after " << n << " lines";
    for (int extra = 0; extra < 100; ++extra, ++n) {
        const std::string line = std::to_string(n) + padding + "\n";
        EXPECT_EQ(server->Broadcast(line), 3u);
        expected += line;
    }
    EXPECT_TRUE(mainThread.PumpUntil([&] { return events.Count("disconnect") == 1; }));
    const SocketHandle stalledSocket = sockets.Accepted().back();
    EXPECT_TRUE(WaitUntil([&] {
        const std::vector<SocketHandle> closed = sockets.Closed();
        return std::find(closed.begin(), closed.end(), stalledSocket) != closed.end();
    }));

    // Stopping ends the readers' connections once everything sent has arrived.
    server->Stop();
    for (auto& thread : readerThreads) thread.join();
    for (const auto& text : received) {
        EXPECT_EQ(text.size(), expected.size());
        EXPECT_TRUE(text == expected);
    }
}

TEST_F(LircServerTest, StopClosesEveryClientAndPostsTheirDisconnectEvents) {
    auto clients = Connect(3);
    server->Stop();

    EXPECT_FALSE(server->IsActive());
    EXPECT_EQ(server->ClientCount(), 0u);
    for (auto& client : clients) EXPECT_TRUE(client->EndsWithoutData());
    EXPECT_FALSE(LoopbackClient(port).Connected());
    EXPECT_EQ(events.Count("disconnect"), 0);

    EXPECT_TRUE(mainThread.PumpUntil([&] { return events.Count("disconnect") == 3; }));
}

TEST_F(LircServerTest, StartsAgainOnTheSamePortRightAfterStop) {
    auto clients = Connect(2);
    server->Stop();
    ASSERT_FALSE(server->Start(port).has_value());

    auto next = Connect(1);
    EXPECT_EQ(server->Broadcast(Line(0)), 1u);
    EXPECT_EQ(next.front()->ReceiveOnce(), Line(0));
}

// Clients come and go in a loop while the listener is switched off and on, and finally shut down.
TEST_F(LircServerTest, StopStartAndShutdownDuringClientChurnNeverDeadlock) {
    std::atomic<bool> churning{true};
    std::atomic<int> refusedAfterShutdown{0};
    std::atomic<bool> shutDown{false};
    std::thread churn([&] {
        while (churning) {
            std::vector<std::unique_ptr<LoopbackClient>> batch;
            for (int i = 0; i < 5; ++i) batch.push_back(std::make_unique<LoopbackClient>(port));
            if (shutDown && !batch.back()->Connected()) ++refusedAfterShutdown;
            std::this_thread::sleep_for(1ms);
        }
    });

    for (int cycle = 0; cycle < 5; ++cycle) {
        const int before = events.Count("connect");
        EXPECT_TRUE(mainThread.PumpUntil([&] { return events.Count("connect") > before + 10; }));
        server->Stop();
        server->Broadcast(Line(0));
        ASSERT_FALSE(server->Start(port).has_value());
    }
    const std::size_t handled = events.events.size();
    server->Shutdown();
    shutDown = true;
    EXPECT_FALSE(server->IsActive());
    EXPECT_TRUE(WaitUntil([&] { return refusedAfterShutdown > 0; }));
    churning = false;
    churn.join();

    // Events still on their way when it shut down are dropped.
    mainThread.Pump();
    EXPECT_EQ(events.events.size(), handled);
}

TEST_F(LircServerTest, ShutdownDropsTheEventsNotYetRunAndClosesTheClients) {
    LoopbackClient client(port);
    ASSERT_TRUE(WaitUntil([&] { return mainThread.Waiting() == 1; }));
    server->Shutdown();

    EXPECT_TRUE(client.EndsWithoutData());
    EXPECT_EQ(mainThread.Pump(), 2u);
    EXPECT_TRUE(events.events.empty());
}

// A listener whose connections cannot be accepted (no descriptors left) stays ready to read.
TEST_F(LircServerTest, NetworkThreadNeitherWakesWhileIdleNorSpinsWhenItCannotAccept) {
    auto clients = Connect(2);
    // Idle, it waits without a timeout.
    EXPECT_TRUE(WaitUntil([&] { return sockets.Waiting().lastTimeoutMs == -1; }));

    // Each failed accept takes the listener, which stays ready, out of the wait for a while.
    sockets.acceptFails = true;
    const int removes = sockets.Waiting().removes;
    const int accepts = sockets.AcceptCalls();
    LoopbackClient waiting(port);
    EXPECT_TRUE(WaitUntil([&] { return sockets.AcceptCalls() - accepts >= 3; }));
    const int failedAccepts = sockets.AcceptCalls() - accepts;
    EXPECT_GE(sockets.Waiting().removes - removes, failedAccepts - 1);

    sockets.acceptFails = false;
    EXPECT_TRUE(mainThread.PumpUntil([&] { return events.Count("connect") == 3; }));
    server->Broadcast(Line(0));
    EXPECT_EQ(waiting.ReceiveOnce(), Line(0));
}

TEST_F(LircServerTest, EveryDeliveredConnectIsFollowedByItsDisconnect) {
    std::atomic<bool> churning{true};
    std::thread churn([&] {
        while (churning) {
            LoopbackClient client(port);
            std::this_thread::sleep_for(1ms);
        }
    });
    EXPECT_TRUE(mainThread.PumpUntil([&] { return events.Count("connect") > 20; }));
    server->Stop();
    churning = false;
    churn.join();
    EXPECT_TRUE(mainThread.PumpUntil([&] { return events.Count("connect") == events.Count("disconnect"); }));
}

}  // namespace
}  // namespace quorvel
