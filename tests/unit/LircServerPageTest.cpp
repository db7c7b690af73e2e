#include "lirc/LircServerPage.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>

#include "LircLoopback.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeForm.h"
#include "fakes/FakeMainThread.h"
#include "fakes/FakeNotifications.h"

namespace quorvel {
namespace {

constexpr char kInvalidPort[] = "Invalid port: must be a number from 1 to 65535";

class LircServerPageTest : public testing::Test {
protected:
    void SetUp() override {
        page.emplace(form, tray, dialogs, mainThread, clock, sockets, [this] { ++clientEvents; });
        form.SetChecked(CheckControl::LIRCServerCB, true);
        form.SetText(TextControl::LIRCServerPortE, std::to_string(port));
    }
    void TearDown() override {
        mainThread.Close();
        page.reset();
    }

    bool PortFieldEnabled() const { return form.IsEnabled(TextControl::LIRCServerPortE); }
    void Click(bool checked) {
        form.SetChecked(CheckControl::LIRCServerCB, checked);
        page->LIRCServerCBClick();
    }

    FakeForm form;
    FakeTrayIcon tray;
    FakeDialogs dialogs;
    FakeMainThread mainThread;
    FakeClock clock;
    RecordingSockets sockets;
    int clientEvents = 0;
    std::uint16_t port = FreeLoopbackPort();
    std::optional<LircServerPage> page;
};

TEST_F(LircServerPageTest, StartUpWithTheBoxChecked_ListensAndLocksThePortField) {
    page->ActivateAtStartUp();
    EXPECT_TRUE(page->Broadcaster().IsActive());
    EXPECT_FALSE(PortFieldEnabled());
    EXPECT_TRUE(dialogs.shown.empty());

    LoopbackClient client(port);
    ASSERT_TRUE(mainThread.PumpUntil([&] { return clientEvents == 1; }));
    EXPECT_EQ(form.statusPanels[0], "21:07:45 Client connected");
}

TEST_F(LircServerPageTest, StartUpWithTheBoxUnchecked_LeavesTheListenerOffAndThePortFieldOpen) {
    form.SetChecked(CheckControl::LIRCServerCB, false);
    page->ActivateAtStartUp();
    EXPECT_FALSE(page->Broadcaster().IsActive());
    EXPECT_TRUE(PortFieldEnabled());
    EXPECT_FALSE(LoopbackClient(port).Connected());
}

TEST_F(LircServerPageTest, UncheckingStopsTheListenerAndReopensThePortField) {
    page->ActivateAtStartUp();
    LoopbackClient client(port);
    ASSERT_TRUE(mainThread.PumpUntil([&] { return clientEvents == 1; }));

    Click(false);
    EXPECT_FALSE(page->Broadcaster().IsActive());
    EXPECT_TRUE(PortFieldEnabled());
    EXPECT_TRUE(client.EndsWithoutData());
    EXPECT_TRUE(mainThread.PumpUntil([&] { return clientEvents == 2; }));
    EXPECT_EQ(form.statusPanels[0], "21:07:45 Client disconnected");

    Click(true);
    EXPECT_TRUE(page->Broadcaster().IsActive());
    EXPECT_FALSE(PortFieldEnabled());
}

TEST_F(LircServerPageTest, PortThatIsNotANumberFrom1To65535_IsRefusedWithAMessage) {
    for (const char* text : {"", "0", "65536", "port", "-8765", "87 65"}) {
        dialogs.shown.clear();
        form.SetText(TextControl::LIRCServerPortE, text);
        Click(true);
        EXPECT_EQ(dialogs.shown, (std::vector<FakeDialogs::Shown>{{kInvalidPort, MessageKind::Error}})) << text;
        EXPECT_FALSE(page->Broadcaster().IsActive()) << text;
        EXPECT_TRUE(form.IsChecked(CheckControl::LIRCServerCB)) << text;
        EXPECT_TRUE(PortFieldEnabled()) << text;
    }
}

TEST_F(LircServerPageTest, PortInUse_ShowsTheNetworkErrorAndLeavesTheListenerOff) {
    PosixSockets otherSockets;
    FakeMainThread otherMainThread;
    LircServer occupant(otherSockets, otherMainThread, *page);
    ASSERT_FALSE(occupant.Start(port).has_value());

    Click(true);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(dialogs.shown[0].text, "The WinLIRC server cannot listen on port " + std::to_string(port) + ".\n" +
                                         sockets.ErrorText(EADDRINUSE) + " (error " +
                                         std::to_string(EADDRINUSE) + ")");
    EXPECT_FALSE(page->Broadcaster().IsActive());
    EXPECT_TRUE(form.IsChecked(CheckControl::LIRCServerCB));
    EXPECT_TRUE(PortFieldEnabled());

    occupant.Stop();
    Click(true);
    EXPECT_TRUE(page->Broadcaster().IsActive());
}

TEST_F(LircServerPageTest, NetworkErrorTextIsShownWithoutTheSystemsLineBreak) {
    sockets.bindFailure = 10048;
    sockets.errorText = "Only one usage of each socket address is normally permitted.\r\n";
    Click(true);
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{
                                   "The WinLIRC server cannot listen on port " + std::to_string(port) +
                                   ".\nOnly one usage of each socket address is normally permitted. (error 10048)"});

    dialogs.shown.clear();
    sockets.errorText = "";
    Click(true);
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"The WinLIRC server cannot listen on port " +
                                                        std::to_string(port) + ".\nNetwork error 10048."});
}

TEST_F(LircServerPageTest, ClientEventsShowTheTimeRaiseABalloonWhenAskedAndRestartTheCountdown) {
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
        form.SetChecked(CheckControl::BHCB, c.balloons);
        c.connect ? page->ServerConnect() : page->ServerDisconnect();
        EXPECT_EQ(form.statusPanels[0], c.status);
        EXPECT_EQ(clientEvents, 1);
        const std::vector<FakeTrayIcon::Balloon> expected =
            c.balloonText ? std::vector<FakeTrayIcon::Balloon>{{"WinLIRC server", c.balloonText}}
                          : std::vector<FakeTrayIcon::Balloon>{};
        EXPECT_EQ(tray.balloons, expected) << c.status;
    }
    EXPECT_EQ(form.GetText(TextControl::LIRCServerClientsL), "");
}

TEST_F(LircServerPageTest, ShutdownDropsTheDisconnectEventsOfTheClientsItCloses) {
    page->ActivateAtStartUp();
    LoopbackClient client(port);
    ASSERT_TRUE(mainThread.PumpUntil([&] { return clientEvents == 1; }));

    page->Shutdown();
    EXPECT_FALSE(page->Broadcaster().IsActive());
    EXPECT_TRUE(client.EndsWithoutData());
    mainThread.Pump();
    EXPECT_EQ(clientEvents, 1);
}

}  // namespace
}  // namespace quorvel
