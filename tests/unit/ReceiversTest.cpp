#include <gtest/gtest.h>

#include "ReceiversRig.h"
#include "engine/ButtonEngine.h"
#include "fakes/FakeVendor.h"

namespace quorvel {
namespace {

class ReceiversTest : public ::testing::Test, protected ReceiversRig {
protected:
    ReceiversTest() {
        vendor = FakeVendorState();
        model.press.progress.holdCount = 5, model.press.lastExtendedCode = 0x1234;
    }

    bool Detect(bool debugMode = false) { return receivers.DetectReceivers(debugMode, "C:\\Quorvel"); }

    FakeVendorState& vendor = FakeVendorState::Get();
};

TEST_F(ReceiversTest, NoLibraryEndsStartUpWithTheTunerMessage) {
    EXPECT_FALSE(Detect());
    ASSERT_EQ(dialogs.Texts().size(), 1u);
    EXPECT_TRUE(dialogs.Texts()[0].starts_with("TV Tuner DLL not found!\n")) << dialogs.Texts()[0];
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Error);
    EXPECT_EQ(libraries.calls,
              (std::vector<std::string>{"Load BeholdRC.dll", "Load RemoteSdk.dll", "Load VendorCmdRW.dll"}));
}

TEST_F(ReceiversTest, LibraryOfTheOtherWidthNamesTheBuildItNeeds) {
    libraries.AddOtherBitness("RemoteSdk.dll");
    EXPECT_FALSE(Detect());
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{OtherBitnessMessage("RemoteSdk.dll", 64)});
    EXPECT_EQ(OtherBitnessMessage("BeholdRC.dll", 64),
              "BeholdRC.dll is a 32-bit library: this 64-bit Quorvel cannot load it. Install the 32-bit Quorvel to "
              "use it.");
    EXPECT_EQ(OtherBitnessMessage("BeholdRC.dll", 32),
              "BeholdRC.dll is a 64-bit library: this 32-bit Quorvel cannot load it. Install the 64-bit Quorvel to "
              "use it.");
}

TEST_F(ReceiversTest, BeholderOpensTheStoredCardAndStartsPolling) {
    fake_vendor::AddBeholdRc(libraries);
    fake_vendor::AddRemoteSdk(libraries);
    vendor.cardNames = {"Card A", "Card B"};
    settings.cardIndex = 1;
    settings.balloonHints = true;

    EXPECT_TRUE(Detect());
    EXPECT_EQ(receivers.Kind(), ReceiverKind::Beholder);
    EXPECT_FALSE(libraries.IsLoaded("RemoteSdk.dll"));
    EXPECT_EQ(vendor.calls, (std::vector<std::string>{"GetCardCount", "GetCardName(0)", "GetCardName(1)",
                                                      "OpenCard(1)", "GetRemoteType"}));
    EXPECT_EQ(model.receiver.cards, (std::vector<std::string>{"Card A", "Card B"}));
    EXPECT_EQ(model.receiver.selectedCard, 1);
    EXPECT_TRUE(model.receiver.choosable);
    EXPECT_EQ(model.status[0], "Behold TV Card initialize success!");
    EXPECT_EQ(mainT.IntervalMs(), 50u);
    EXPECT_EQ(model.press.progress.holdCount, 0u);
    EXPECT_EQ(model.press.lastExtendedCode, 0u);
    EXPECT_EQ(tray.balloons,
              (std::vector<FakeTrayIcon::Balloon>{{"Beholder TV card used", "Card A\r\nCard B\r\n"}}));
}

TEST_F(ReceiversTest, StoredCardBeyondTheListOpensCardZero) {
    fake_vendor::AddBeholdRc(libraries);
    settings.cardIndex = 3;
    EXPECT_TRUE(Detect());
    EXPECT_EQ(settings.cardIndex, 0u);
    EXPECT_EQ(model.receiver.selectedCard, 0);
    EXPECT_TRUE(tray.balloons.empty());
}

TEST_F(ReceiversTest, BeholderWithoutCardsEndsStartUp) {
    fake_vendor::AddBeholdRc(libraries);
    vendor.cardNames.clear();
    EXPECT_FALSE(Detect());
    EXPECT_EQ(model.receiver.cards, std::vector<std::string>{"< WDM device not found >"});
    EXPECT_FALSE(model.receiver.choosable);
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Beholder WDM device not found!"});
}

TEST_F(ReceiversTest, FailedOpenCardKeepsRunningWithoutPollingUntilAnotherCardOpens) {
    fake_vendor::AddBeholdRc(libraries);
    vendor.cardNames = {"A", "B"};
    vendor.openCardFails = true;
    EXPECT_TRUE(Detect());
    EXPECT_EQ(model.status[0], "Behold TV Card initialize failed!");
    EXPECT_FALSE(mainT.IsRunning());
    EXPECT_EQ(receivers.ReadReceiver(), std::nullopt);

    vendor.openCardFails = false;
    receivers.ChooseCard(1);
    EXPECT_EQ(vendor.calls.back(), "GetRemoteType");
    EXPECT_EQ(model.status[0], "Behold TV Card initialize success!");
    EXPECT_TRUE(mainT.IsRunning());
    EXPECT_EQ(model.receiver.selectedCard, 1);

    // A choice outside the list opens nothing.
    vendor.calls.clear();
    receivers.ChooseCard(2);
    EXPECT_EQ(model.receiver.selectedCard, -1);
    EXPECT_TRUE(vendor.calls.empty());
}

TEST_F(ReceiversTest, BeholderReadingShowsCodesOnEveryTick) {
    fake_vendor::AddBeholdRc(libraries);
    ASSERT_TRUE(Detect());
    vendor.calls.clear();
    vendor.beholdCodes = {0xA35C};
    EXPECT_EQ(receivers.ReadReceiver(), (ReceiverReading{true, 0x5C, 0xA35C, true, false, {}}));
    EXPECT_EQ(vendor.calls, (std::vector<std::string>{"GetRemoteCode", "GetRemoteCodeEx"}));
    EXPECT_EQ(model.shown.rcCode, 0x5Cu);
    EXPECT_EQ(model.shown.extendedCode, 0xA35Cu);
    EXPECT_EQ(receivers.ReadReceiver(), ReceiverReading{});
    EXPECT_EQ(model.shown.rcCode, 0u);
    EXPECT_EQ(model.shown.extendedCode, 0u);
}

TEST_F(ReceiversTest, BeholdTvPriorityHoldsWhileItsWindowIsVisible) {
    fake_vendor::AddBeholdRc(libraries);
    ASSERT_TRUE(Detect());
    const WindowHandle tv = windows.AddWindow({"TMain", "BeholdTV", true});
    EXPECT_FALSE(receivers.ReadReceiver()->vendorPriority);
    settings.beholdTvPriority = true;
    EXPECT_TRUE(receivers.ReadReceiver()->vendorPriority);
    windows.At(tv).visible = false;
    EXPECT_FALSE(receivers.ReadReceiver()->vendorPriority);
}

TEST_F(ReceiversTest, ComproReadingsFollowTheKeyCode) {
    fake_vendor::AddRemoteSdk(libraries);
    fake_vendor::AddVendorCmdRw(libraries);
    ASSERT_TRUE(Detect());
    EXPECT_EQ(receivers.Kind(), ReceiverKind::ComproSdk);
    EXPECT_TRUE(receivers.ComproLibraryPresent());
    EXPECT_EQ(model.status[0], "Compro TV Card initialize success!");

    vendor.comproKeys = {0x1A5, -1, 0};
    EXPECT_EQ(receivers.ReadReceiver(), (ReceiverReading{true, 0xA5, 0x1A5, true, false, {}}));
    EXPECT_EQ(model.shown.rcCode, 0xA5u);
    EXPECT_EQ(model.shown.extendedCode, 0x1A5u);
    // No key: an idle reading, and the shown codes stay the last ones.
    EXPECT_EQ(receivers.ReadReceiver(), ReceiverReading{});
    EXPECT_EQ(model.shown.extendedCode, 0x1A5u);
    // Key 0 is a press without properties unless "Compro Btn 0" is on.
    EXPECT_EQ(receivers.ReadReceiver(), (ReceiverReading{true, 0, 0, false, false, {}}));
    settings.comproButton0 = true;
    vendor.comproKeys = {0};
    EXPECT_EQ(receivers.ReadReceiver(), (ReceiverReading{true, 0, 0, true, false, {}}));
    EXPECT_EQ(vendor.calls.back(), "GetKeyCode(0)");
}

TEST_F(ReceiversTest, ComproStartClosesTheRemoteManagerWhenAsked) {
    fake_vendor::AddRemoteSdk(libraries);
    const WindowHandle manager = windows.AddWindow({"Class of Compro Management", "Compro Management"});
    settings.comproRemoteOff = false;
    ASSERT_TRUE(Detect());
    EXPECT_TRUE(windows.messages.empty());
    settings.comproRemoteOff = true;
    ASSERT_TRUE(receivers.InitComproSdk());
    EXPECT_EQ(windows.messages, (std::vector<SentMessage>{{manager, 0x0010, 0, 0, true}}));
}

TEST_F(ReceiversTest, ComproDeviceFailureEndsStartUp) {
    for (const auto& [fails, count] : {std::pair{true, 1u}, {false, 0u}}) {
        vendor = FakeVendorState();
        vendor.deviceNumFails = fails;
        vendor.deviceCount = count;
        FakeLibraries sdk;
        fake_vendor::AddRemoteSdk(sdk);
        FakeDialogs errors;
        Receivers compro{ReceiversContext{model, errors, sdk, windows, tray, mainT, log, sockets, mainThread, clock}};
        EXPECT_FALSE(compro.DetectReceivers(false, {}));
        EXPECT_EQ(errors.Texts(), std::vector<std::string>{"Compro device not found!"});
        EXPECT_EQ(model.status[0], "Compro TV Card initialize failed!");
        EXPECT_FALSE(mainT.IsRunning());
    }
}

TEST_F(ReceiversTest, VendorCmdRwAloneStartsNothing) {
    fake_vendor::AddVendorCmdRw(libraries);
    EXPECT_TRUE(Detect());
    EXPECT_EQ(receivers.Kind(), ReceiverKind::ComproVendor);
    EXPECT_FALSE(mainT.IsRunning());
    EXPECT_EQ(receivers.ReadReceiver(), std::nullopt);
    EXPECT_TRUE(vendor.calls.empty());
}

TEST_F(ReceiversTest, MissingExportMakesBeholderUnavailableAndDebugModeSaysWhy) {
    fake_vendor::AddBeholdRc(libraries);
    libraries.RemoveExport("BeholdRC.dll", "GetCardName");
    fake_vendor::AddRemoteSdk(libraries);
    EXPECT_TRUE(Detect(true));
    EXPECT_EQ(receivers.Kind(), ReceiverKind::ComproSdk);
    EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"GetCardName function not found", "Function(s) not found",
                                                         "VendorCmdRW.dll failed to load"}));
}

TEST_F(ReceiversTest, ReleaseCallsTheLibrariesThenUnloadsThemInOrder) {
    fake_vendor::AddBeholdRc(libraries);
    ASSERT_TRUE(Detect());
    receivers.ReleaseReceivers();
    receivers.FreeLibraries();
    EXPECT_EQ(vendor.calls.back(), "UnInit");
    EXPECT_EQ(libraries.calls.back(), "Free BeholdRC.dll");
    EXPECT_EQ(receivers.Kind(), ReceiverKind::None);
    EXPECT_EQ(receivers.ReadReceiver(), std::nullopt);
}

TEST_F(ReceiversTest, ComproReleaseFreesEveryLoadedLibrary) {
    fake_vendor::AddRemoteSdk(libraries);
    fake_vendor::AddVendorCmdRw(libraries);
    ASSERT_TRUE(Detect());
    receivers.ReleaseReceivers();
    receivers.FreeLibraries();
    EXPECT_EQ(vendor.calls.back(), "ReleaseResource");
    const std::vector<std::string> frees(libraries.calls.end() - 2, libraries.calls.end());
    EXPECT_EQ(frees, (std::vector<std::string>{"Free RemoteSdk.dll", "Free VendorCmdRW.dll"}));
}

}  // namespace
}  // namespace quorvel
