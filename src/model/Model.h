#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/ButtonAction.h"
#include "model/ButtonMap.h"
#include "model/ButtonProperties.h"
#include "model/PressDefinition.h"

namespace quorvel {

// The numbers are those the "Mode" setting stores; None only before the mode is restored.
enum class EmulationMode { None = 0, WinLIRC = 1, Keys = 2, Mouse = 3, Messages = 4 };

// A number the "Mode" setting and a program's mode may store for a mode.
constexpr bool IsModeNumber(std::uint32_t number) {
    return number >= static_cast<std::uint32_t>(EmulationMode::WinLIRC) &&
           number <= static_cast<std::uint32_t>(EmulationMode::Messages);
}

// WinLIRC, Keys, Mouse, Messages, then WinLIRC again; None stays None.
EmulationMode NextMode(EmulationMode mode);

// The settings the registry holds, and the autorun entry.
struct Settings {
    bool autorun = false;
    bool autorepeat = true;
    bool forceShutdown = false;
    bool forceSuspend = false;
    // Windows Vista took the force options away: on newer systems they stay off.
    bool forceOptionsAvailable = true;
    bool sound = false;
    bool balloonHints = false;
    bool osd = false;
    bool osdSecondDisplay = false;
    std::uint32_t osdColor = 0x00FAFAB4;
    bool lircServerEnabled = true;
    std::string lircServerPort = "8765";
    bool beholdTvPriority = false;
    bool comproRemoteOff = true;
    bool comproDtv = true;
    bool hiddenIcon = false;
    bool comproButton0 = false;
    std::uint32_t cardIndex = 0;
    std::int32_t sleepTime = 30;
    bool sleepOsd = true;
    std::uint8_t sleepAction = static_cast<std::uint8_t>(ButtonAction::Shutdown);
    // The LIRC network receiver and the server it receives from ("host:port"); read at start.
    bool networkReceiver = false;
    std::string networkReceiverAddress;
    // How long a button is held before its long press fires, in ms; see ClampLongPressTime.
    std::uint32_t longPressTime = 600;
};

constexpr std::uint32_t kMinLongPressTime = 200;
constexpr std::uint32_t kMaxLongPressTime = 5000;
constexpr std::uint32_t ClampLongPressTime(std::uint32_t ms) {
    return ms < kMinLongPressTime ? kMinLongPressTime : ms > kMaxLongPressTime ? kMaxLongPressTime : ms;
}

// The button read in the latest tick, as the "RC Button" group shows it.
struct ShownButton {
    // Nothing until the receiver was first read.
    std::optional<std::uint32_t> rcCode;
    std::optional<std::uint32_t> extendedCode;
    std::string name;
    // Nothing before the first press.
    std::optional<std::uint8_t> repeatNumber;
    bool held = false;
    friend bool operator==(const ShownButton&, const ShownButton&) = default;
};

// The button being edited: the last one read, with its properties as the editor shows them.
// A list choice is an index into its list, -1 for none.
struct EditorButton {
    // Nothing until a button was read: there is nothing to save.
    std::optional<std::uint32_t> rcCode;
    std::optional<std::uint32_t> extendedCode;
    std::string name;
    bool repeat = false;
    int action = -1;
    int mouseAction = -1;
    // The key combination without the Windows key, and the text shown for it.
    std::uint16_t keyCodeValue = 0;
    std::string keyText = "None";
    bool win = false;
    int message = -1;
    std::string applicationPath;
    // The editor's program defines the button itself; else it shows the global definition.
    bool ownDefinition = false;
    // It is the button's long press ("<key>-Long").
    bool longPress = false;
    friend bool operator==(const EditorButton&, const EditorButton&) = default;
};

// The tick's interval; the receiver is polled exactly while MainT runs with it.
constexpr std::uint32_t kTickMs = 50;

// The hold count on which a long press fires: the long-press time in whole ticks, rounded up.
constexpr std::uint32_t LongPressHoldCount(std::uint32_t longPressTime) { return (longPressTime + kTickMs - 1) / kTickMs; }

// What a press whose long press gives an output gives later, fixed when it begins: the button's
// own outputs at its release, or its long press's once held long enough.
struct LaterOutputs {
    std::uint32_t rcCode = 0;
    std::uint32_t extendedCode = 0;
    std::string name;
    ButtonProperties properties;
    std::string longName;
    ButtonProperties longProperties;
    EmulationMode mode{};
};

// Everything a press keeps from tick to tick, in one place; a receiver that starts resets it.
struct PressState {
    // The previous tick had a button.
    bool active = false;
    std::uint32_t holdCount = 0;
    std::uint32_t lastExtendedCode = 0;
    // Fixed when the press begins.
    PressDefinition definition;
    std::uint32_t longHoldCount = 0;
    std::optional<LaterOutputs> later;
    // The press gives its own outputs at its release.
    bool shortWaiting = false;
    void Reset() { *this = {}; }
};

// The receiver in use, as the "RC" group shows it.
struct ReceiverInfo {
    std::vector<std::string> cards;
    int selectedCard = -1;
    bool choosable = false;
};

struct ListenerState {
    bool active = false;
    // Nothing ("...") until a press counts the clients, or while nothing listens.
    std::optional<std::size_t> clients;
};

// Programs: the programs with definitions of their own, their modes and the editor's program.
enum class Aspect { Settings, Mode, Shown, Editor, Receiver, RemoteName, Listener, Status, Identity, Programs };

// Told after the logic changed a part of the model; the window shows it anew.
class ModelObserver {
public:
    virtual ~ModelObserver() = default;
    virtual void Changed(Aspect aspect) = 0;
};

// The program's state. Only the main thread reads and changes it.
struct Model {
    Settings settings;
    EmulationMode mode = EmulationMode::None;
    ShownButton shown;
    EditorButton editor;
    // The user changed the editor since it was last filled or saved.
    bool editorUnsaved = false;
    // The program whose definitions the editor shows and saves; empty for the global map.
    std::string editorProgram;
    PressState press;
    ButtonMap map;
    ReceiverInfo receiver;
    ListenerState listener;
    std::array<std::string, 2> status;
    std::string osName;
    std::string version;
    bool exitRequested = false;

    ModelObserver* observer = nullptr;
    void Changed(Aspect aspect) const {
        if (observer) observer->Changed(aspect);
    }
    // The latest event, in the status bar's first panel.
    void ShowStatus(std::string text) {
        status[0] = std::move(text);
        Changed(Aspect::Status);
    }
};

}  // namespace quorvel
