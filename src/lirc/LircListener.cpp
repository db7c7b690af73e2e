#include "lirc/LircListener.h"

#include <cstdint>
#include <memory>

#include "lirc/LircPort.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Log.h"
#include "platform/TrayIcon.h"

namespace quorvel {
namespace {

constexpr char kInvalidPort[] = "Invalid port: must be a number from 1 to 65535";

std::string ListenFailure(std::uint16_t port, const NetworkError& error) {
    // Some systems have no text for network errors.
    const std::string& text = error.text;
    const std::string code = std::to_string(error.code);
    return "The WinLIRC server cannot listen on port " + std::to_string(port) + ".\n" +
           (text.empty() ? "Network error " + code + "." : text + " (error " + code + ")");
}

}  // namespace

LircListener::LircListener(Model& model, TrayIcon& trayIcon, Dialogs& dialogs, Log& log, MainThread& mainThread,
                           Clock& clock, Sockets& sockets, std::function<void()> onClientEvent)
    : model_(model),
      trayIcon_(trayIcon),
      dialogs_(dialogs),
      log_(log),
      clock_(clock),
      onClientEvent_(std::move(onClientEvent)),
      server_(sockets, mainThread, *this) {}

void LircListener::Apply() {
    if (model_.settings.lircServerEnabled) {
        Activate();
    } else if (server_.IsActive()) {
        server_.Stop();
        log_.Write("WinLIRC server stopped");
    }
    model_.listener.active = server_.IsActive();
    // A stopped listener has no clients to count.
    if (!model_.listener.active) model_.listener.clients.reset();
    model_.Changed(Aspect::Listener);
}

void LircListener::PublishDirectory() {
    server_.SetDirectory(std::make_shared<const LircDirectory>(MakeLircDirectory(model_.map, model_.version)));
}

void LircListener::ServerConnect() { ReportClientEvent("Client connected"); }

void LircListener::ServerDisconnect() { ReportClientEvent("Client disconnected"); }

void LircListener::Activate() {
    if (server_.IsActive()) return;
    const std::optional<std::uint16_t> port = ParsePort(model_.settings.lircServerPort);
    if (!port) {
        log_.Write(std::string("WinLIRC server: ") + kInvalidPort);
        dialogs_.ShowMessage(kInvalidPort, MessageKind::Error);
        return;
    }
    if (const std::optional<NetworkError> error = server_.Start(*port)) {
        const std::string failure = ListenFailure(*port, *error);
        log_.Write(failure);
        dialogs_.ShowMessage(failure, MessageKind::Error);
        return;
    }
    log_.Write("WinLIRC server listening on 127.0.0.1:" + std::to_string(*port));
}

void LircListener::ReportClientEvent(const std::string& what) {
    log_.Write("WinLIRC server: " + what);
    model_.status[0] = clock_.LongTimeText() + " " + what;
    model_.Changed(Aspect::Status);
    if (model_.settings.balloonHints) trayIcon_.ShowBalloon("WinLIRC server", what);
    // "Clients:" follows the clients as they come and go, not only at the next press.
    if (server_.IsActive()) {
        model_.listener.clients = server_.ClientCount();
        model_.Changed(Aspect::Listener);
    }
    onClientEvent_();
}

}  // namespace quorvel
