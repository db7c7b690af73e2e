#pragma once

#include <functional>
#include <string>

#include "lirc/LircServer.h"

namespace quorvel {

class Clock;
class Dialogs;
class Log;
class MainThread;
class Sockets;
class TrayIcon;
struct Model;

// The WinLIRC listener as the settings want it, and what its clients' comings and goings show.
class LircListener final : public LircServerEvents {
public:
    // onClientEvent runs on the main thread at every connect and disconnect (the tray
    // picture's countdown).
    LircListener(Model& model, TrayIcon& trayIcon, Dialogs& dialogs, Log& log, MainThread& mainThread, Clock& clock,
                 Sockets& sockets, std::function<void()> onClientEvent);

    LircBroadcaster& Broadcaster() { return server_; }

    // Listens exactly while the setting says so, on the port the settings hold; the port can
    // change only while nothing listens.
    void Apply();
    // The first step of the exit sequence.
    void Shutdown() { server_.Shutdown(); }
    // Clients' commands are answered from the model's version and button map as they are now:
    // after the map was loaded or changed.
    void PublishDirectory();

    void ServerConnect() override;
    void ServerDisconnect() override;

private:
    void Activate();
    void ReportClientEvent(const std::string& what);

    Model& model_;
    TrayIcon& trayIcon_;
    Dialogs& dialogs_;
    Log& log_;
    Clock& clock_;
    std::function<void()> onClientEvent_;
    // Last, so that its thread is joined before anything it uses goes away.
    LircServer server_;
};

}  // namespace quorvel
