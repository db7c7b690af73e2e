#include "lirc/LircServerPage.h"

#include <cstdint>

#include "lirc/LircPort.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "ui/Form.h"
#include "ui/TrayIcon.h"

namespace quorvel {
namespace {

constexpr char kInvalidPort[] = "Invalid port: must be a number from 1 to 65535";

std::string ListenFailure(std::uint16_t port, const NetworkError& error) {
    // System texts end with a line break; some systems have no text for network errors.
    std::string text = error.text;
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    const std::string code = std::to_string(error.code);
    return "The WinLIRC server cannot listen on port " + std::to_string(port) + ".\n" +
           (text.empty() ? "Network error " + code + "." : text + " (error " + code + ")");
}

}  // namespace

LircServerPage::LircServerPage(Form& form, TrayIcon& trayIcon, Dialogs& dialogs, MainThread& mainThread,
                               Clock& clock, Sockets& sockets, std::function<void()> onClientEvent)
    : form_(form),
      trayIcon_(trayIcon),
      dialogs_(dialogs),
      clock_(clock),
      onClientEvent_(std::move(onClientEvent)),
      server_(sockets, mainThread, *this) {}

void LircServerPage::LIRCServerCBClick() {
    if (form_.IsChecked(CheckControl::LIRCServerCB)) {
        Activate();
    } else {
        server_.Stop();
    }
    // The port can change only while nothing listens on it.
    form_.SetEnabled(TextControl::LIRCServerPortE, !server_.IsActive());
}

void LircServerPage::ServerConnect() { ReportClientEvent("Client connected"); }

void LircServerPage::ServerDisconnect() { ReportClientEvent("Client disconnected"); }

void LircServerPage::Activate() {
    if (server_.IsActive()) return;
    const std::optional<std::uint16_t> port = ParsePort(form_.GetText(TextControl::LIRCServerPortE));
    if (!port) {
        dialogs_.ShowMessage(kInvalidPort, MessageKind::Error);
        return;
    }
    if (const std::optional<NetworkError> error = server_.Start(*port)) {
        dialogs_.ShowMessage(ListenFailure(*port, *error), MessageKind::Error);
    }
}

void LircServerPage::ReportClientEvent(const std::string& what) {
    form_.SetStatusText(0, clock_.LongTimeText() + " " + what);
    if (form_.IsChecked(CheckControl::BHCB)) trayIcon_.ShowBalloon("WinLIRC server", what);
    onClientEvent_();
}

}  // namespace quorvel
