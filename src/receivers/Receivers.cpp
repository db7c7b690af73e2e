#include "receivers/Receivers.h"

#include <string>
#include <vector>

#include "engine/ButtonEngine.h"
#include "engine/Text.h"
#include "platform/Dialogs.h"
#include "platform/Libraries.h"
#include "platform/Timer.h"
#include "receivers/VendorApps.h"
#include "settings/ProgramSettings.h"
#include "ui/Form.h"
#include "ui/TrayIcon.h"

namespace quorvel {

bool Receivers::DetectReceivers(bool debugMode) {
    const LoaderOptions options{c_.libraries, c_.dialogs, debugMode};
    beholdRc_ = LoadBeholdRc(options);
    if (!beholdRc_.available) {
        remoteSdk_ = LoadRemoteSdk(options);
        vendorCmdRw_ = LoadVendorCmdRw(options);
    }
    if (!beholdRc_.available && !remoteSdk_.available && !vendorCmdRw_.available) {
        c_.dialogs.ShowMessage("TV Tuner DLL not found!", MessageKind::Error);
        return false;
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

std::uint32_t Receivers::InitBeholder() {
    cardCount_ = beholdRc_.GetCardCount();
    std::string balloonText;
    if (cardCount_ == 0) {
        c_.form.SetItems(ListControl::WDMCB, {"< WDM device not found >"});
        c_.form.SetEnabled(ListControl::WDMCB, false);
    } else {
        std::vector<std::string> names;
        for (std::uint32_t i = 0; i < cardCount_; ++i) {
            const char* name = beholdRc_.GetCardName(i);
            names.emplace_back(name ? name : "");
            balloonText += names.back() + "\r\n";
        }
        c_.form.SetItems(ListControl::WDMCB, names);
        if (c_.settings.cardIndex >= cardCount_) c_.settings.cardIndex = 0;
        OpenBeholderTvCard(c_.settings.cardIndex);
        c_.form.SetEnabled(ListControl::WDMCB, true);
    }
    c_.form.SetItemIndex(ListControl::WDMCB, static_cast<int>(c_.settings.cardIndex));
    if (c_.form.IsChecked(CheckControl::BHCB) && cardCount_ > 0) {
        c_.tray.ShowBalloon("Beholder TV card used", balloonText);
    }
    return cardCount_;
}

bool Receivers::OpenBeholderTvCard(std::uint32_t cardIndex) {
    c_.mainT.Stop();
    cardOpen_ = beholdRc_.OpenCard(cardIndex) != 0;
    c_.form.SetStatusText(0, std::string("Behold TV Card initialize ") + (cardOpen_ ? "success!" : "failed!"));
    if (cardOpen_) {
        beholdRc_.GetRemoteType();
        StartPolling();
    }
    return cardOpen_;
}

void Receivers::WDMCBChange() {
    const int selected = c_.form.GetItemIndex(ListControl::WDMCB);
    if (beholdRc_.available && selected >= 0) OpenBeholderTvCard(static_cast<std::uint32_t>(selected));
}

bool Receivers::InitComproSdk() {
    c_.mainT.Stop();
    if (c_.form.IsChecked(CheckControl::ComproRemoteOffCB)) CloseComproRemoteManager(c_.windows);
    std::uint32_t deviceCount = 0;
    const bool ready = remoteSdk_.GetDeviceNum(&deviceCount) != 0 && deviceCount != 0;
    c_.form.SetStatusText(0, std::string("Compro TV Card initialize ") + (ready ? "success!" : "failed!"));
    if (ready) StartPolling();
    return ready;
}

void Receivers::StartPolling() {
    c_.press.Reset();
    c_.mainT.Start(kTickMs);
}

ReceiverKind Receivers::Kind() const {
    if (beholdRc_.available) return ReceiverKind::Beholder;
    if (remoteSdk_.available) return ReceiverKind::ComproSdk;
    if (vendorCmdRw_.available) return ReceiverKind::ComproVendor;
    return ReceiverKind::None;
}

std::optional<ReceiverReading> Receivers::ReadReceiver() {
    switch (Kind()) {
        case ReceiverKind::Beholder: return ReadBeholder();
        case ReceiverKind::ComproSdk: return ReadComproSdk();
        case ReceiverKind::ComproVendor:
        case ReceiverKind::None: break;
    }
    // No backend reads buttons: a tick that runs anyway (polling restarted on resume) does nothing.
    return std::nullopt;
}

std::optional<ReceiverReading> Receivers::ReadBeholder() {
    if (!cardOpen_) return std::nullopt;
    ReceiverReading reading;
    reading.vendorPriority = BeholdTvHasPriority(c_.windows, c_.form.IsChecked(CheckControl::BTVCB));
    reading.rcCode = beholdRc_.GetRemoteCode();
    reading.extendedCode = beholdRc_.GetRemoteCodeEx();
    c_.form.SetText(TextControl::Code1ST, Hex(reading.rcCode, 2));
    c_.form.SetText(TextControl::Code2ST, Hex(reading.extendedCode, 8));
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
    c_.form.SetText(TextControl::Code1ST, Hex(reading.rcCode, 2));
    c_.form.SetText(TextControl::Code2ST, Hex(reading.extendedCode, 8));
    reading.showProperties = key != 0 || c_.settings.comproButton0;
    return reading;
}

void Receivers::ReleaseReceivers() {
    if (beholdRc_.available) beholdRc_.UnInit();
    if (remoteSdk_.available) remoteSdk_.ReleaseResource();
}

void Receivers::FreeLibraries() {
    for (ModuleHandle module : {beholdRc_.module, remoteSdk_.module, vendorCmdRw_.module}) {
        if (module != kNoModule) c_.libraries.Free(module);
    }
    beholdRc_ = {};
    remoteSdk_ = {};
    vendorCmdRw_ = {};
    cardOpen_ = false;
}

}  // namespace quorvel
