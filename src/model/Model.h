#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/ButtonAction.h"
#include "model/ButtonMap.h"
#include "model/ButtonProperties.h"
#include "model/Pace.h"
#include "model/PressDefinition.h"
#include "model/PressProgress.h"

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
    // The pace of the buttons that have none of their own, in ms; see Pace.
    std::uint32_t repeatDelay = 450;
    std::uint32_t repeatInterval = 50;
    // How soon after the end of a press the next one must begin to be a double press, in ms.
    std::uint32_t doublePressTime = 400;
    // Keystrokes carry their scan codes, for programs that read them.
    bool scanCodes = false;

    Pace RepeatPace() const { return {repeatDelay, repeatInterval, repeatInterval}; }
};

constexpr std::uint32_t kMinLongPressTime = 200;
constexpr std::uint32_t kMaxLongPressTime = 5000;
constexpr std::uint32_t ClampLongPressTime(std::uint32_t ms) { return Clamp(ms, kMinLongPressTime, kMaxLongPressTime); }
constexpr std::uint32_t kMinDoublePressTime = 150;
constexpr std::uint32_t kMaxDoublePressTime = 1000;
constexpr std::uint32_t ClampDoublePressTime(std::uint32_t ms) {
    return Clamp(ms, kMinDoublePressTime, kMaxDoublePressTime);
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
    // The button itself, or its long or double press.
    Gesture gesture = Gesture::Press;
    // The button's own pace; nothing while the settings' pace applies.
    std::optional<Pace> pace;
    // Its macro's text; empty for none.
    std::string macro;
    friend bool operator==(const EditorButton&, const EditorButton&) = default;
};

// The tick's interval; the receiver is polled exactly while MainT runs with it.
constexpr std::uint32_t kTickMs = 50;

// A time in whole ticks, rounded up: the long-press time is the hold count a long press fires on.
constexpr std::uint32_t TickCount(std::uint32_t ms) { return (ms + kTickMs - 1) / kTickMs; }

// A gesture's name and properties, as a press found them when it began.
struct GestureOutputs {
    std::string name;
    ButtonProperties properties;
};

// What a press whose long or double press gives an output gives later, fixed when it begins:
// the button's own outputs at its release or when no second press came in time, its long
// press's once held long enough, or its double press's at the second press.
struct LaterOutputs {
    std::uint32_t rcCode = 0;
    std::uint32_t extendedCode = 0;
    GestureOutputs press;
    GestureOutputs longPress;
    GestureOutputs doublePress;
    EmulationMode mode{};
    const GestureOutputs& Of(Gesture gesture) const {
        return gesture == Gesture::Long ? longPress : gesture == Gesture::Double ? doublePress : press;
    }
};

// Everything a press keeps from tick to tick, in one place; a receiver that starts resets it.
struct PressState {
    PressProgress progress;
    // The button of the latest tick that had one.
    std::uint32_t lastExtendedCode = 0;
    // Fixed when the press begins; a double press keeps what its first press found.
    PressDefinition definition;
    std::optional<LaterOutputs> later;
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
