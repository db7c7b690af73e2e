#include <gtest/gtest.h>

#include "ReceiversRig.h"
#include "LircLoopback.h"
#include "receivers/NetworkReceiver.h"

namespace quorvel {
namespace {

using namespace std::chrono_literals;

// A LIRC server on the loopback that the test drives: it listens, takes connections and
// sends lines.
class LoopbackLircServer {
public:
    explicit LoopbackLircServer(std::uint16_t port) : listener_(socket(AF_INET, SOCK_STREAM, 0)) {
        const int on = 1;
        setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        const sockaddr_in address = LoopbackAddress(port);
        listening_ = bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
                     listen(listener_, 4) == 0;
    }
    ~LoopbackLircServer() {
        Drop();
        close(listener_);
    }

    bool Listening() const { return listening_; }
    // Takes the next connection that comes within the limit.
    bool Accept(std::chrono::milliseconds limit = 10s) {
        pollfd entry{listener_, POLLIN, 0};
        if (poll(&entry, 1, static_cast<int>(limit.count())) <= 0) return false;
        Drop();
        client_ = accept(listener_, nullptr, nullptr);
        return client_ >= 0;
    }
    void Send(std::string_view text) { send(client_, text.data(), text.size(), MSG_NOSIGNAL); }
    void Drop() {
        if (client_ >= 0) close(client_);
        client_ = -1;
    }

private:
    int listener_;
    int client_ = -1;
    bool listening_ = false;
};

class RecordedEvents final : public NetworkReceiverEvents {
public:
    std::vector<ConnectionEvent> events;
    std::vector<std::string> details;
    void ConnectionChanged(ConnectionEvent event, const std::string& detail) override {
        events.push_back(event);
        details.push_back(detail);
    }
};

class NetworkReceiversTest : public ::testing::Test, protected ReceiversRig {
protected:
    NetworkReceiversTest() {
        settings.networkReceiver = true;
        settings.lircServerPort = std::to_string(port);
    }

    void ReceiveFrom(const std::string& address) { settings.networkReceiverAddress = address; }
    std::string Status() const { return model.status[0]; }

    const std::uint16_t port = FreeLoopbackPort();
};

TEST_F(NetworkReceiversTest, ServerNamedInTheSettingsIsTheReceiverAndItsLinesArePresses) {
    LoopbackLircServer server(port);
    ASSERT_TRUE(server.Listening());
    settings.lircServerPort = "8765";
    const std::string address = "127.0.0.1:" + std::to_string(port);
    ReceiveFrom(" " + address + " ");

    EXPECT_TRUE(receivers.DetectReceivers(true, {}));
    EXPECT_TRUE(libraries.calls.empty()) << "no card library is needed";
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(receivers.Kind(), ReceiverKind::Network);
    EXPECT_FALSE(receivers.ComproLibraryPresent());
    EXPECT_EQ(model.receiver.cards, std::vector<std::string>{"LIRC " + address});
    EXPECT_EQ(model.receiver.selectedCard, 0);
    EXPECT_FALSE(model.receiver.choosable);
    EXPECT_EQ(Status(), "Connecting to LIRC server " + address);
    EXPECT_EQ(mainT.history, std::vector<std::uint32_t>{50});

    ASSERT_TRUE(server.Accept());
    ASSERT_TRUE(mainThread.PumpUntil([&] { return Status() == "21:07:45 LIRC server connected"; }));
    EXPECT_EQ(receivers.ReadReceiver(), ReceiverReading{});
    EXPECT_EQ(model.shown.extendedCode, 0u);

    server.Send("BEGIN\nSIGHUP\nEND\n000000000000a35c 00 Play TestRemote\n");
    std::optional<ReceiverReading> reading;
    ASSERT_TRUE(WaitUntil([&] { return (reading = receivers.ReadReceiver())->active; }));
    EXPECT_EQ(reading, (ReceiverReading{true, 0x5C, 0xA35C, true, false, "Play"}));
    EXPECT_EQ(model.shown.rcCode, 0x5Cu);
    EXPECT_EQ(model.shown.extendedCode, 0xA35Cu);

    // The server goes away in the middle of the hold: the button is released at once.
    server.Send("000000000000a35c 01 Play TestRemote\n");
    server.Drop();
    ASSERT_TRUE(mainThread.PumpUntil([&] { return Status() == "21:07:45 LIRC server disconnected"; }));
    EXPECT_FALSE(receivers.ReadReceiver()->active);
    EXPECT_EQ(log.lines.back(), "Network receiver: LIRC server disconnected, " + address);

    receivers.ReleaseReceivers();
    EXPECT_EQ(mainThread.Pump(), 0u);
}

TEST_F(NetworkReceiversTest, OwnServerAndAddressesOfAnotherFormAreRefusedWithAMessage) {
    const std::string p = std::to_string(port);
    const std::pair<std::string, const char*> refused[] = {
        {"localhost:" + p, "The network receiver cannot receive from localhost:"},
        {"[::1]:" + p, "The network receiver cannot receive from [::1]:"},
        {"lircbox", "The network receiver's server \"lircbox\" is not of the form host:port"},
    };
    for (const auto& [address, refusal] : refused) {
        Model caseModel;
        caseModel.settings = settings;
        caseModel.settings.networkReceiverAddress = address;
        FakeDialogs caseDialogs;
        FakeTimer caseTimer;
        Receivers caseReceivers{ReceiversContext{caseModel, caseDialogs, libraries, windows, tray, caseTimer, log,
                                                 sockets, mainThread, clock}};
        EXPECT_TRUE(caseReceivers.DetectReceivers(false, {})) << "the program runs on, for the user to change it";
        ASSERT_EQ(caseDialogs.shown.size(), 1u) << address;
        EXPECT_EQ(caseDialogs.shown[0].text.rfind(refusal, 0), 0u) << caseDialogs.shown[0].text;
        EXPECT_EQ(caseModel.receiver.cards, std::vector<std::string>{"LIRC " + address});
        EXPECT_EQ(caseModel.status[0], "LIRC receiver not started");
        EXPECT_EQ(caseReceivers.ReadReceiver(), std::nullopt);
        EXPECT_TRUE(caseTimer.history.empty()) << "nothing to poll";
    }
    // With the listener off, the port is another program's.
    settings.lircServerEnabled = false;
    ReceiveFrom("localhost:" + p);
    EXPECT_TRUE(receivers.DetectReceivers(false, {}));
    EXPECT_EQ(receivers.Kind(), ReceiverKind::Network);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_TRUE(libraries.calls.empty());
}

const NetworkTimings kQuickRetries{20ms, 80ms, 2000ms};

TEST(NetworkReceiver, ReportsAnOutageOnceAndConnectsAgainWheneverTheServerIsBack) {
    const std::uint16_t port = FreeLoopbackPort();
    PosixSockets sockets;
    FakeMainThread mainThread;
    RecordedEvents recorded;
    NetworkReceiver receiver(sockets, mainThread, recorded, {"127.0.0.1", port}, kQuickRetries);
    ASSERT_TRUE(receiver.Start());
    const auto seen = [&](std::size_t count) {
        return mainThread.PumpUntil([&] { return recorded.events.size() >= count; });
    };

    ASSERT_TRUE(seen(1));
    EXPECT_EQ(recorded.events[0], ConnectionEvent::Unreachable);
    EXPECT_NE(recorded.details[0], "");
    // Several retries later, still one report.
    std::this_thread::sleep_for(300ms);
    mainThread.Pump();
    EXPECT_EQ(recorded.events.size(), 1u);

    LoopbackLircServer server(port);
    ASSERT_TRUE(server.Accept());
    ASSERT_TRUE(seen(2));
    server.Drop();
    ASSERT_TRUE(seen(3));
    ASSERT_TRUE(server.Accept());
    ASSERT_TRUE(seen(4));
    EXPECT_EQ(recorded.events, (std::vector<ConnectionEvent>{ConnectionEvent::Unreachable, ConnectionEvent::Connected,
                                                              ConnectionEvent::Lost, ConnectionEvent::Connected}));
    receiver.Stop();
    EXPECT_EQ(mainThread.Pump(), 0u);
}

TEST(NetworkReceiver, NeverConnectsToTheProgramsOwnServerOnTheLoopback) {
    const std::uint16_t port = FreeLoopbackPort();
    LoopbackLircServer ownServer(port);
    ASSERT_TRUE(ownServer.Listening());
    PosixSockets sockets;
    FakeMainThread mainThread;
    RecordedEvents recorded;
    NetworkReceiver receiver(sockets, mainThread, recorded, {"localhost", port}, kQuickRetries);
    receiver.SetOwnServerPort(port);
    ASSERT_TRUE(receiver.Start());

    ASSERT_TRUE(mainThread.PumpUntil([&] { return !recorded.events.empty(); }));
    EXPECT_EQ(recorded.events[0], ConnectionEvent::Unreachable);
    EXPECT_EQ(recorded.details[0], "that is this program's own WinLIRC server");
    EXPECT_FALSE(ownServer.Accept(200ms));

    // Once the program's own server stops listening there, the port is another's.
    receiver.SetOwnServerPort(0);
    EXPECT_TRUE(ownServer.Accept());
    ASSERT_TRUE(mainThread.PumpUntil([&] { return recorded.events.size() == 2; }));
    EXPECT_EQ(recorded.events[1], ConnectionEvent::Connected);
}

}  // namespace
}  // namespace quorvel
