#include "receivers/Receivers.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/Text.h"
#include "lirc/LircPort.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Libraries.h"
#include "platform/Log.h"
#include "platform/Timer.h"
#include "platform/TrayIcon.h"
#include "receivers/ServerAddress.h"
#include "receivers/VendorApps.h"

namespace quorvel {

namespace {

constexpr const char* kNoLibrary = "TV Tuner DLL not found!";

bool NamesServer(const Settings& settings) {
    return settings.networkReceiver && !TrimBlanks(settings.networkReceiverAddress).empty();
}

}  // namespace

bool Receivers::DetectReceivers(bool debugMode, const std::string& programFolder) {
    // The network receiver needs no card library. Whatever becomes of it, the program runs
    // on, so that the user can change the setting in the window.
    if (NamesServer(c_.model.settings)) {
        StartNetworkReceiver();
        return true;
    }
    const LoaderOptions options{c_.libraries, c_.dialogs, debugMode};
    beholdRc_ = LoadBeholdRc(options);
    if (!beholdRc_.available) {
        remoteSdk_ = LoadRemoteSdk(options);
        vendorCmdRw_ = LoadVendorCmdRw(options);
    }
    if (!beholdRc_.available && !remoteSdk_.available && !vendorCmdRw_.available) {
        const std::string message = NoLibraryMessage(programFolder);
        if (!message.starts_with(kNoLibrary)) {
            c_.dialogs.ShowMessage(message, MessageKind::Error);
            return false;
        }
        // A user without a card reaches the window, where "Receive from" is set.
        awaitingServer_ = c_.dialogs.Ask(message, MessageKind::Error);
        if (awaitingServer_) ShowStatus("No receiver: tick \"Receive from\", type the server's address and save");
        return awaitingServer_;
    }
    if (beholdRc_.available && InitBeholder() == 0) {
        c_.dialogs.ShowMessage("Beholder WDM device not found!", MessageKind::Error);
        return false;
    }
    if (remoteSdk_.available && !InitComproSdk()) {
        c_.mainT.Stop();
        c_.dialogs.ShowMessage("Compro device not found!", MessageKind::Error);
        return false;
    }
    return true;
}

// A library that is there but cannot be loaded by this build is not "not found": the user is
// told which build it needs.
std::string Receivers::NoLibraryMessage(const std::string& programFolder) const {
    constexpr int kBuildBits = sizeof(void*) * 8;
    if (beholdRc_.otherBitness) return OtherBitnessMessage("BeholdRC.dll", kBuildBits);
    if (remoteSdk_.otherBitness) return OtherBitnessMessage("RemoteSdk.dll", kBuildBits);
    if (vendorCmdRw_.otherBitness) return OtherBitnessMessage("VendorCmdRW.dll", kBuildBits);
    return std::string(kNoLibrary) + "\n\nQuorvel looked for BeholdRC.dll, RemoteSdk.dll and VendorCmdRW.dll in " +
           programFolder + ", in the Windows system folders and in the folders of the PATH.\n\n" +
           "Quorvel can receive from a LIRC server instead: open the settings?";
}

void Receivers::SettingsSaved() {
    if (!awaitingServer_ || !NamesServer(c_.model.settings)) return;
    awaitingServer_ = false;
    StartNetworkReceiver();
}

// Reads no further than the longest name shown, whether or not the name ends there.
std::string Receivers::CardName(const char* name) {
    if (!name) return {};
    return std::string(name, std::find(name, name + kMaxCardNameLength, '\0'));
}

std::uint32_t Receivers::InitBeholder() {
    // A library that reports garbage cannot flood the list or the memory.
    cardCount_ = std::min(beholdRc_.GetCardCount(), kMaxCards);
    Settings& settings = c_.model.settings;
    ReceiverInfo& receiver = c_.model.receiver;
    std::string balloonText;
    if (cardCount_ == 0) {
        receiver.cards = {"< WDM device not found >"};
        receiver.choosable = false;
    } else {
        receiver.cards.clear();
        for (std::uint32_t i = 0; i < cardCount_; ++i) {
            receiver.cards.push_back(CardName(beholdRc_.GetCardName(i)));
            balloonText += receiver.cards.back() + "\r\n";
        }
        if (settings.cardIndex >= cardCount_) settings.cardIndex = 0;
        OpenBeholderTvCard(settings.cardIndex);
        receiver.choosable = true;
    }
    receiver.selectedCard = settings.cardIndex < receiver.cards.size() ? static_cast<int>(settings.cardIndex) : -1;
    c_.model.Changed(Aspect::Receiver);
    if (settings.balloonHints && cardCount_ > 0) c_.tray.ShowBalloon("Beholder TV card used", balloonText);
    return cardCount_;
}

bool Receivers::OpenBeholderTvCard(std::uint32_t cardIndex) {
    c_.mainT.Stop();
    cardOpen_ = beholdRc_.OpenCard(cardIndex) != 0;
    ShowStatus(std::string("Behold TV Card initialize ") + (cardOpen_ ? "success!" : "failed!"));
    if (cardOpen_) {
        beholdRc_.GetRemoteType();
        StartPolling();
    }
    return cardOpen_;
}

void Receivers::ChooseCard(int index) {
    ReceiverInfo& receiver = c_.model.receiver;
    receiver.selectedCard = index >= 0 && static_cast<std::size_t>(index) < receiver.cards.size() ? index : -1;
    c_.model.Changed(Aspect::Receiver);
    if (beholdRc_.available && receiver.selectedCard >= 0) {
        OpenBeholderTvCard(static_cast<std::uint32_t>(receiver.selectedCard));
    }
}

bool Receivers::InitComproSdk() {
    c_.mainT.Stop();
    if (c_.model.settings.comproRemoteOff) CloseComproRemoteManager(c_.windows);
    std::uint32_t deviceCount = 0;
    const bool ready = remoteSdk_.GetDeviceNum(&deviceCount) != 0 && deviceCount != 0;
    ShowStatus(std::string("Compro TV Card initialize ") + (ready ? "success!" : "failed!"));
    if (ready) StartPolling();
    return ready;
}

void Receivers::StartNetworkReceiver() {
    const Settings& settings = c_.model.settings;
    networkServer_ = std::string(TrimBlanks(settings.networkReceiverAddress));
    ReceiverInfo& receiver = c_.model.receiver;
    receiver.cards = {"LIRC " + networkServer_};
    receiver.selectedCard = 0;
    receiver.choosable = false;
    c_.model.Changed(Aspect::Receiver);

    const auto refuse = [this](const std::string& why) {
        c_.log.Write("Network receiver: " + why);
        ShowStatus("LIRC receiver not started");
        c_.dialogs.ShowMessage(why, MessageKind::Error);
    };
    const std::optional<ServerAddress> server = ParseServerAddress(networkServer_);
    if (!server) {
        refuse("The network receiver's server \"" + networkServer_ +
               "\" is not of the form host:port, such as 192.168.1.20:8765, localhost:8765 or [::1]:8765.");
        return;
    }
    if (settings.lircServerEnabled && ParsePort(settings.lircServerPort) == server->port &&
        NamesLoopback(server->host)) {
        refuse("The network receiver cannot receive from " + networkServer_ +
               ": that is this program's own WinLIRC server, and every press would come back to it without end. "
               "Choose another server, or another port for the WinLIRC server.");
        return;
    }
    NetworkReceiverEvents& events = *this;
    network_ = std::make_unique<NetworkReceiver>(c_.sockets, c_.mainThread, events, *server);
    if (!network_->Start()) {
        network_.reset();
        refuse("The network receiver cannot start: the system lacks the resources for it.");
        return;
    }
    ShowStatus("Connecting to LIRC server " + networkServer_);
    StartPolling();
}

void Receivers::OwnServerChanged(std::optional<std::uint16_t> listeningPort) {
    if (network_) network_->SetOwnServerPort(listeningPort.value_or(0));
}

void Receivers::ConnectionChanged(ConnectionEvent event, const std::string& detail) {
    std::string shown;
    switch (event) {
        case ConnectionEvent::Connected: shown = "LIRC server connected"; break;
        case ConnectionEvent::Lost: shown = "LIRC server disconnected"; break;
        case ConnectionEvent::Unreachable: shown = "LIRC server unreachable"; break;
    }
    c_.log.Write("Network receiver: " + shown + ", " + networkServer_ + (detail.empty() ? "" : ": " + detail));
    c_.model.status[0] = c_.clock.LongTimeText() + " " + shown;
    c_.model.Changed(Aspect::Status);
}

void Receivers::StartPolling() {
    c_.model.press.Reset();
    c_.mainT.Start(kTickMs);
}

void Receivers::ShowStatus(const std::string& text) {
    c_.log.Write("Receiver: " + text);
    c_.model.status[0] = text;
    c_.model.Changed(Aspect::Status);
}

ReceiverKind Receivers::Kind() const {
    if (network_) return ReceiverKind::Network;
    if (beholdRc_.available) return ReceiverKind::Beholder;
    if (remoteSdk_.available) return ReceiverKind::ComproSdk;
    if (vendorCmdRw_.available) return ReceiverKind::ComproVendor;
    return ReceiverKind::None;
}

std::optional<ReceiverReading> Receivers::ReadReceiver() {
    switch (Kind()) {
        case ReceiverKind::Beholder: return ReadBeholder();
        case ReceiverKind::ComproSdk: return ReadComproSdk();
        case ReceiverKind::Network: return ReadNetwork();
        case ReceiverKind::ComproVendor:
        case ReceiverKind::None: break;
    }
    // No backend reads buttons: a tick that runs anyway (polling restarted on resume) does nothing.
    return std::nullopt;
}

std::optional<ReceiverReading> Receivers::ReadBeholder() {
    if (!cardOpen_) return std::nullopt;
    ReceiverReading reading;
    reading.vendorPriority = BeholdTvHasPriority(c_.windows, c_.model.settings.beholdTvPriority);
    reading.rcCode = beholdRc_.GetRemoteCode();
    reading.extendedCode = beholdRc_.GetRemoteCodeEx();
    ShowCodes(reading);
    reading.active = reading.extendedCode != 0;
    reading.showProperties = reading.active;
    return reading;
}

std::optional<ReceiverReading> Receivers::ReadComproSdk() {
    std::uint32_t key = 0;
    ReceiverReading reading;
    if (remoteSdk_.GetKeyCode(&key) == 0) return reading;
    reading.active = true;
    reading.extendedCode = key;
    reading.rcCode = key & 0xFF;
    ShowCodes(reading);
    reading.showProperties = key != 0 || c_.model.settings.comproButton0;
    return reading;
}

// As for a Beholder card, the codes show on every tick, a released button's as zeros.
std::optional<ReceiverReading> Receivers::ReadNetwork() {
    ReceiverReading reading;
    if (const std::optional<HeldButton> held = network_->Sample()) {
        reading.active = true;
        reading.extendedCode = held->extendedCode;
        reading.rcCode = held->extendedCode & 0xFF;
        reading.showProperties = true;
        reading.buttonName = held->name;
    }
    ShowCodes(reading);
    return reading;
}

void Receivers::ShowCodes(const ReceiverReading& reading) {
    c_.model.shown.rcCode = reading.rcCode;
    c_.model.shown.extendedCode = reading.extendedCode;
}

void Receivers::ReleaseReceivers() {
    if (network_) network_->Stop();
    if (beholdRc_.available) beholdRc_.UnInit();
    if (remoteSdk_.available) remoteSdk_.ReleaseResource();
}

void Receivers::FreeLibraries() {
    // In this order: BeholdRC, RemoteSdk, VendorCmdRW.
    beholdRc_ = {};
    remoteSdk_ = {};
    vendorCmdRw_ = {};
    cardOpen_ = false;
}

}  // namespace quorvel
