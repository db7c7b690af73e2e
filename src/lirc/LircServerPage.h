#pragma once

#include <functional>
#include <string>

#include "lirc/LircServer.h"

namespace quorvel {

class Clock;
class Dialogs;
class Form;
class MainThread;
class Sockets;
class TrayIcon;

// The "WinLIRC" tab's handlers and the client events, over the server they control.
class LircServerPage final : public LircServerEvents {
public:
    // onClientEvent runs on the main thread at every connect and disconnect (the tray
    // picture's countdown).
    LircServerPage(Form& form, TrayIcon& trayIcon, Dialogs& dialogs, MainThread& mainThread, Clock& clock,
                   Sockets& sockets, std::function<void()> onClientEvent);

    LircBroadcaster& Broadcaster() { return server_; }

    // Start-up, after the settings have filled LIRCServerCB and LIRCServerPortE.
    void ActivateAtStartUp() { LIRCServerCBClick(); }
    void LIRCServerCBClick();
    // The first step of the exit sequence.
    void Shutdown() { server_.Shutdown(); }

    void ServerConnect() override;
    void ServerDisconnect() override;

private:
    void Activate();
    void ReportClientEvent(const std::string& what);

    Form& form_;
    TrayIcon& trayIcon_;
    Dialogs& dialogs_;
    Clock& clock_;
    std::function<void()> onClientEvent_;
    // Last, so that its threads are joined before anything they use goes away.
    LircServer server_;
};

}  // namespace quorvel
