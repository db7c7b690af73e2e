#include "lirc/LircListener.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>

#include "LircLoopback.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeLog.h"
#include "fakes/FakeMainThread.h"
#include "fakes/FakeNotifications.h"
#include "model/Model.h"

namespace quorvel {
namespace {

constexpr char kInvalidPort[] = "Invalid port: must be a number from 1 to 65535";

class LircListenerTest : public testing::Test {
protected:
    void SetUp() override {
        listener.emplace(model, tray, dialogs, log, mainThread, clock, sockets, [this] { ++clientEvents; });
        model.settings.lircServerPort = std::to_string(port);
    }
    void TearDown() override {
        mainThread.Close();
        listener.reset();
    }

    // The switch as the user flips it.
    void Switch(bool on) {
        model.settings.lircServerEnabled = on;
        listener->Apply();
    }
    bool Listening() { return listener->Broadcaster().IsActive(); }

    Model model;
    FakeTrayIcon tray;
    FakeDialogs dialogs;
    FakeLog log;
    FakeMainThread mainThread;
    FakeClock clock;
    RecordingSockets sockets;
    int clientEvents = 0;
    std::uint16_t port = FreeLoopbackPort();
    std::optional<LircListener> listener;
};

TEST_F(LircListenerTest, SwitchedOn_ListensAndSaysSo) {
    listener->Apply();
    EXPECT_TRUE(Listening());
    EXPECT_TRUE(model.listener.active);
    EXPECT_TRUE(dialogs.shown.empty());

    LoopbackClient client(port);
    ASSERT_TRUE(mainThread.PumpUntil([&] { return clientEvents == 1; }));
    EXPECT_EQ(model.status[0], "21:07:45 Client connected");
}

TEST_F(LircListenerTest, SwitchedOff_LeavesTheListenerOff) {
    Switch(false);
    EXPECT_FALSE(Listening());
    EXPECT_FALSE(model.listener.active);
    EXPECT_FALSE(LoopbackClient(port).Connected());
}

TEST_F(LircListenerTest, SwitchingOffStopsTheListener) {
    listener->Apply();
    LoopbackClient client(port);
    ASSERT_TRUE(mainThread.PumpUntil([&] { return clientEvents == 1; }));

    Switch(false);
    EXPECT_FALSE(Listening());
    EXPECT_FALSE(model.listener.active);
    EXPECT_TRUE(client.EndsWithoutData());
    EXPECT_TRUE(mainThread.PumpUntil([&] { return clientEvents == 2; }));
    EXPECT_EQ(model.status[0], "21:07:45 Client disconnected");

    // Switched on again, it listens on the port the settings hold now.
    const std::uint16_t newPort = FreeLoopbackPort();
    model.settings.lircServerPort = std::to_string(newPort);
    Switch(true);
    EXPECT_TRUE(model.listener.active);
    LoopbackClient newClient(newPort);
    EXPECT_TRUE(mainThread.PumpUntil([&] { return clientEvents == 3; }));
}

TEST_F(LircListenerTest, PortThatIsNotANumberFrom1To65535_IsRefusedWithAMessage) {
    for (const char* text : {"", "0", "65536", "port", "-8765", "87 65"}) {
        dialogs.shown.clear();
        model.settings.lircServerPort = text;
        Switch(true);
        EXPECT_EQ(dialogs.shown, (std::vector<FakeDialogs::Shown>{{kInvalidPort, MessageKind::Error}})) << text;
        EXPECT_FALSE(Listening()) << text;
        EXPECT_TRUE(model.settings.lircServerEnabled) << text;
        EXPECT_FALSE(model.listener.active) << text;
    }
}

TEST_F(LircListenerTest, PortInUse_ShowsTheNetworkErrorAndLeavesTheListenerOff) {
    PosixSockets otherSockets;
    FakeMainThread otherMainThread;
    LircServer occupant(otherSockets, otherMainThread, *listener);
    ASSERT_FALSE(occupant.Start(port).has_value());

    Switch(true);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(dialogs.shown[0].text, "The WinLIRC server cannot listen on port " + std::to_string(port) + ".\n" +
                                         sockets.ErrorText(EADDRINUSE) + " (error " +
                                         std::to_string(EADDRINUSE) + ")");
    EXPECT_FALSE(Listening());
    EXPECT_TRUE(model.settings.lircServerEnabled);
    EXPECT_FALSE(model.listener.active);

    occupant.Stop();
    Switch(true);
    EXPECT_TRUE(Listening());
}

TEST_F(LircListenerTest, NetworkErrorTextIsShownWithItsCodeAndTheCodeAloneWithoutText) {
    sockets.bindFailure = 10048;
    sockets.errorText = "Only one usage of each socket address is normally permitted.";
    Switch(true);
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{
                                   "The WinLIRC server cannot listen on port " + std::to_string(port) +
                                   ".\nOnly one usage of each socket address is normally permitted. (error 10048)"});

    dialogs.shown.clear();
    sockets.errorText = "";
    Switch(true);
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"The WinLIRC server cannot listen on port " +
                                                        std::to_string(port) + ".\nNetwork error 10048."});
}

TEST_F(LircListenerTest, ClientEventsShowTheTimeRaiseABalloonWhenAskedAndRestartTheCountdown) {
    const struct {
        bool connect;
        bool balloons;
        const char* status;
        const char* balloonText;
    } cases[] = {
        {true, true, "10:00:01 Client connected", "Client connected"},
        {true, false, "10:00:01 Client connected", nullptr},
        {false, true, "10:00:01 Client disconnected", "Client disconnected"},
        {false, false, "10:00:01 Client disconnected", nullptr},
    };
    clock.time = "10:00:01";
    for (const auto& c : cases) {
        tray.balloons.clear();
        clientEvents = 0;
        model.settings.balloonHints = c.balloons;
        c.connect ? listener->ServerConnect() : listener->ServerDisconnect();
        EXPECT_EQ(model.status[0], c.status);
        EXPECT_EQ(clientEvents, 1);
        const std::vector<FakeTrayIcon::Balloon> expected =
            c.balloonText ? std::vector<FakeTrayIcon::Balloon>{{"WinLIRC server", c.balloonText}}
                          : std::vector<FakeTrayIcon::Balloon>{};
        EXPECT_EQ(tray.balloons, expected) << c.status;
    }
    EXPECT_EQ(model.listener.clients, std::nullopt);
}

TEST_F(LircListenerTest, ShutdownDropsTheDisconnectEventsOfTheClientsItCloses) {
    listener->Apply();
    LoopbackClient client(port);
    ASSERT_TRUE(mainThread.PumpUntil([&] { return clientEvents == 1; }));

    listener->Shutdown();
    EXPECT_FALSE(Listening());
    EXPECT_TRUE(client.EndsWithoutData());
    mainThread.Pump();
    EXPECT_EQ(clientEvents, 1);
}

}  // namespace
}  // namespace quorvel
