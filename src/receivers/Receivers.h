#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "receivers/NetworkReceiver.h"
#include "receivers/ReceiverReading.h"
#include "receivers/VendorLibraries.h"

namespace quorvel {

class Clock;
class Dialogs;
class Libraries;
class Log;
class MainThread;
class Sockets;
class Timer;
class TrayIcon;
class WindowSystem;
struct Model;

struct ReceiversContext {
    Model& model;  // the settings, the card list, the codes read and the status bar
    Dialogs& dialogs;
    Libraries& libraries;
    WindowSystem& windows;
    TrayIcon& tray;
    Timer& mainT;  // the tick; enabled means polling
    Log& log;
    // The network receiver's connection, and the time its events show with.
    Sockets& sockets;
    MainThread& mainThread;
    Clock& clock;
};

// Starts the one receiver backend, polls it and releases it: the network receiver when the
// settings name a server, otherwise the makers' libraries that are found.
class Receivers final : public Receiver, private NetworkReceiverEvents {
public:
    explicit Receivers(const ReceiversContext& context) : c_(context) {}

    // Returns false when start-up cannot go on; the error has been shown. The libraries are
    // looked for first in programFolder, the folder of the executable.
    bool DetectReceivers(bool debugMode, const std::string& programFolder);
    // No card library was found and the user chose to set up a LIRC server instead: nothing
    // is received until the settings name one.
    bool AwaitingServer() const { return awaitingServer_; }
    // The settings were saved: a program awaiting a server starts receiving from the one they name.
    void SettingsSaved();
    std::uint32_t InitBeholder();
    bool OpenBeholderTvCard(std::uint32_t cardIndex);
    // The user chose another card of the list.
    void ChooseCard(int index);
    bool InitComproSdk();

    std::optional<ReceiverReading> ReadReceiver() override;
    ReceiverKind Kind() const override;
    // The port of the program's own WinLIRC server while it listens, which the network
    // receiver must not receive from.
    void OwnServerChanged(std::optional<std::uint16_t> listeningPort);
    bool ComproLibraryPresent() const override { return remoteSdk_.available || vendorCmdRw_.available; }
    bool BeholderAvailable() const { return beholdRc_.available; }

    // The release calls, then the libraries are unloaded in the order BeholdRC, RemoteSdk, VendorCmdRW.
    void ReleaseReceivers();
    void FreeLibraries();

private:
    static constexpr std::uint32_t kMaxCards = 64;
    static constexpr std::size_t kMaxCardNameLength = 255;

    static std::string CardName(const char* name);
    std::string NoLibraryMessage(const std::string& programFolder) const;
    std::optional<ReceiverReading> ReadBeholder();
    std::optional<ReceiverReading> ReadComproSdk();
    std::optional<ReceiverReading> ReadNetwork();
    void StartNetworkReceiver();
    void ConnectionChanged(ConnectionEvent event, const std::string& detail) override;
    void StartPolling();
    void ShowStatus(const std::string& text);
    void ShowCodes(const ReceiverReading& reading);

    ReceiversContext c_;
    BeholdRcLibrary beholdRc_;
    RemoteSdkLibrary remoteSdk_;
    VendorCmdRwLibrary vendorCmdRw_;
    std::uint32_t cardCount_ = 0;
    bool cardOpen_ = false;
    // As the settings named it at start-up; the window may change the setting meanwhile.
    std::string networkServer_;
    std::unique_ptr<NetworkReceiver> network_;
    bool awaitingServer_ = false;
};

}  // namespace quorvel
