#include "settings/SettingsStore.h"

#include <optional>
#include <vector>

#include "core/Text.h"
#include "model/Model.h"
#include "platform/Dialogs.h"
#include "platform/Log.h"
#include "platform/ProfileFile.h"
#include "platform/Registry.h"
#include "settings/ButtonMapFile.h"

namespace quorvel {
namespace {

constexpr const char* kProgramKey = "Software\\Vantrel\\Quorvel";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kAutorunValue = "Quorvel";
// Windows Vista took the force options away from sleep and shutdown.
constexpr std::uint32_t kFirstVersionWithoutForce = 6;
// "host:port" of the network receiver's server; absent (or blank) while it is off.
constexpr const char* kNetworkReceiverValue = "Network Receiver";
// Registry only: written back as it acts, so that the first save shows it in the key.
constexpr const char* kLongPressTimeValue = "Long Press Time";
constexpr const char* kRepeatDelayValue = "Repeat Delay";
constexpr const char* kRepeatIntervalValue = "Repeat Interval";
constexpr const char* kDoublePressTimeValue = "Double Press Time";
constexpr const char* kScanCodesValue = "Scan Codes";

std::optional<std::string> AsText(const RegistryValue& value) {
    if (value.type != kRegSz && value.type != kRegExpandSz) return std::nullopt;
    return value.data.substr(0, value.data.find('\0'));
}

std::optional<std::uint32_t> AsNumber(const RegistryValue& value) {
    if (value.type != kRegDword || value.data.size() != 4) return std::nullopt;
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i) number = number << 8 | static_cast<unsigned char>(value.data[i]);
    return number;
}

// Reads the values of one open key. A value of another type than expected reads as missing,
// so that one bad value costs only its own default and the rest still load. Without a key
// every value reads as missing.
class ValueReader {
public:
    ValueReader(Registry& registry, RegistryKey key) : registry_(registry), key_(key) {}

    std::optional<std::string> Text(const char* name) const {
        const auto value = Query(name);
        return value ? AsText(*value) : std::nullopt;
    }
    std::optional<std::uint32_t> Number(const char* name) const {
        const auto value = Query(name);
        return value ? AsNumber(*value) : std::nullopt;
    }
    std::optional<bool> Flag(const char* name) const {
        const auto number = Number(name);
        return number ? std::optional<bool>(*number != 0) : std::nullopt;
    }
    // Whether any value read so far was there, of whatever type.
    bool AnyFound() const { return anyFound_; }

private:
    std::optional<RegistryValue> Query(const char* name) const {
        auto value = key_ == kNoKey ? std::nullopt : registry_.QueryValue(key_, name);
        anyFound_ = anyFound_ || value.has_value();
        return value;
    }

    Registry& registry_;
    RegistryKey key_;
    mutable bool anyFound_ = false;
};

struct StoredValue {
    StoredValue(const char* valueName, std::uint32_t value) : name(valueName), number(value) {}
    StoredValue(const char* valueName, std::string value) : name(valueName), text(std::move(value)), isText(true) {}

    const char* name;
    std::uint32_t number = 0;
    std::string text;
    bool isText = false;
};

std::uint32_t FlagValue(bool flag) {
    return flag ? 1 : 0;
}

void ReportFailedWrite(Dialogs& dialogs, const std::string& name) {
    dialogs.ShowMessage("Failed to set data for '" + name + "'", MessageKind::Error);
}

EmulationMode StoredMode(std::optional<std::uint32_t> number) {
    if (!number || !IsModeNumber(*number)) return EmulationMode::WinLIRC;
    return static_cast<EmulationMode>(*number);
}

}  // namespace

bool SettingsStore::LoadSettings(std::uint32_t osMajorVersion) {
    const Settings defaults;
    Settings& settings = c_.model.settings;
    settings.cardIndex = 0;
    settings.forceOptionsAvailable = osMajorVersion < kFirstVersionWithoutForce;
    const bool forceOptions = settings.forceOptionsAvailable;

    UniqueRegistryKey key(c_.registry, c_.registry.CreateKey(kProgramKey));
    const ValueReader read(c_.registry, key.Get());
    settings.autorepeat = read.Flag("Autorepeat").value_or(defaults.autorepeat);
    settings.lircServerEnabled = read.Flag("LIRC Server Enabled").value_or(defaults.lircServerEnabled);
    settings.lircServerPort = read.Text("LIRC Server Port").value_or(defaults.lircServerPort);
    settings.forceShutdown = forceOptions && read.Flag("Force Shutdown").value_or(defaults.forceShutdown);
    settings.forceSuspend = forceOptions && read.Flag("Force Suspend").value_or(defaults.forceSuspend);
    settings.sound = read.Flag("Sound").value_or(defaults.sound);
    settings.balloonHints = read.Flag("Balloon Hints").value_or(defaults.balloonHints);
    settings.hiddenIcon = read.Flag("Hidden Icon").value_or(defaults.hiddenIcon);
    settings.comproButton0 = read.Flag("Compro Btn 0").value_or(defaults.comproButton0);
    settings.cardIndex = read.Number("Card").value_or(defaults.cardIndex);
    c_.model.mode = StoredMode(read.Number("Mode"));
    settings.osd = read.Flag("OSD").value_or(defaults.osd);
    settings.osdColor = read.Number("OSDColor").value_or(defaults.osdColor);
    settings.osdSecondDisplay = read.Flag("OSD2Display").value_or(defaults.osdSecondDisplay);
    settings.sleepTime = static_cast<std::int32_t>(
        read.Number("SleepTime").value_or(static_cast<std::uint32_t>(defaults.sleepTime)));
    settings.sleepOsd = read.Flag("SleepOSD").value_or(defaults.sleepOsd);
    // Held in one byte: a stored 257 is 1.
    settings.sleepAction = static_cast<std::uint8_t>(read.Number("SleepAction").value_or(defaults.sleepAction));
    // Without a stored value the option keeps what it was.
    settings.beholdTvPriority = read.Flag("BeholdTV").value_or(settings.beholdTvPriority);
    settings.comproRemoteOff = read.Flag("ComproRemote").value_or(defaults.comproRemoteOff);
    settings.comproDtv = read.Flag("ComproDTV").value_or(defaults.comproDtv);
    // Absent or blank: the receiver is off.
    settings.networkReceiverAddress = read.Text(kNetworkReceiverValue).value_or("");
    settings.networkReceiver = !TrimBlanks(settings.networkReceiverAddress).empty();
    settings.longPressTime = ClampLongPressTime(read.Number(kLongPressTimeValue).value_or(defaults.longPressTime));
    settings.repeatDelay = ClampRepeatDelay(read.Number(kRepeatDelayValue).value_or(defaults.repeatDelay));
    settings.repeatInterval = ClampRepeatInterval(read.Number(kRepeatIntervalValue).value_or(defaults.repeatInterval));
    settings.doublePressTime =
        ClampDoublePressTime(read.Number(kDoublePressTimeValue).value_or(defaults.doublePressTime));
    settings.scanCodes = read.Flag(kScanCodesValue).value_or(defaults.scanCodes);
    const bool stored = read.AnyFound();
    key.Reset();

    const UniqueRegistryKey run(c_.registry, c_.registry.OpenKey(kRunKey));
    if (run) {
        const auto autorun = c_.registry.QueryWideText(run.Get(), kAutorunValue);
        settings.autorun = autorun && autorun->find(QuotedExecutablePath()) != std::u16string::npos;
    }
    c_.model.Changed(Aspect::Settings);
    c_.model.Changed(Aspect::Mode);
    return stored;
}

bool SettingsStore::SaveAll(bool beholderAvailable) { return SaveAll(beholderAvailable, c_.dialogs); }

namespace {

// A failure the user is told of goes into the log as well.
class LoggedFailures final : public Dialogs {
public:
    LoggedFailures(Dialogs& shown, Log& log) : shown_(shown), log_(log) {}
    void ShowMessage(const std::string& text, MessageKind kind) override {
        log_.Write("Saving failed: " + text);
        shown_.ShowMessage(text, kind);
    }
    bool Ask(const std::string& question, MessageKind kind) override { return shown_.Ask(question, kind); }

private:
    Dialogs& shown_;
    Log& log_;
};

}  // namespace

bool SettingsStore::SaveAll(bool beholderAvailable, Dialogs& failures) {
    LoggedFailures logged(failures, c_.log);
    const std::u16string mapPath = ButtonMapPath(c_.executablePath);
    const Stage values = SaveValues(beholderAvailable, logged);
    if (values == Stage::Stopped) return false;
    const Stage autorun = SaveAutorun(logged);
    if (autorun == Stage::Stopped || !SaveButtonMap(c_.profile, logged, mapPath, c_.model.map)) return false;
    // The log names only what was stored.
    std::string saved = "Saved ";
    if (values == Stage::Done) saved += autorun == Stage::Done ? "the settings, " : "the settings and ";
    if (autorun == Stage::Done) saved += "the autorun entry and ";
    c_.log.Write(saved + "the button map " + c_.profile.ToAnsi(mapPath));
    return values == Stage::Done && autorun == Stage::Done;
}

SettingsStore::Stage SettingsStore::SaveValues(bool beholderAvailable, Dialogs& failures) {
    const Settings& settings = c_.model.settings;
    std::vector<StoredValue> values = {
        {"Autorepeat", FlagValue(settings.autorepeat)},
        {"LIRC Server Enabled", FlagValue(settings.lircServerEnabled)},
        {"LIRC Server Port", settings.lircServerPort},
        {"Force Shutdown", FlagValue(settings.forceShutdown)},
        {"Force Suspend", FlagValue(settings.forceSuspend)},
        {"Sound", FlagValue(settings.sound)},
        {"Balloon Hints", FlagValue(settings.balloonHints)},
    };
    // Without the Beholder library there is no card list, and the stored choice must survive.
    if (beholderAvailable) {
        values.push_back({"Card", static_cast<std::uint32_t>(c_.model.receiver.selectedCard)});
    }
    if (c_.model.mode != EmulationMode::None) values.push_back({"Mode", static_cast<std::uint32_t>(c_.model.mode)});
    values.insert(values.end(), {
        {"OSD", FlagValue(settings.osd)},
        {"OSDColor", settings.osdColor},
        {"OSD2Display", FlagValue(settings.osdSecondDisplay)},
        {"SleepTime", static_cast<std::uint32_t>(settings.sleepTime)},
        {"SleepOSD", FlagValue(settings.sleepOsd)},
        {"SleepAction", std::uint32_t{settings.sleepAction}},
        {"BeholdTV", FlagValue(settings.beholdTvPriority)},
        {"ComproRemote", FlagValue(settings.comproRemoteOff)},
        {"ComproDTV", FlagValue(settings.comproDtv)},
        {kLongPressTimeValue, ClampLongPressTime(settings.longPressTime)},
        {kRepeatDelayValue, ClampRepeatDelay(settings.repeatDelay)},
        {kRepeatIntervalValue, ClampRepeatInterval(settings.repeatInterval)},
        {kDoublePressTimeValue, ClampDoublePressTime(settings.doublePressTime)},
        {kScanCodesValue, FlagValue(settings.scanCodes)},
    });
    // Stored only while on: without the value, the next start is as without the receiver.
    const bool networkReceiver = settings.networkReceiver && !TrimBlanks(settings.networkReceiverAddress).empty();
    if (networkReceiver) values.push_back({kNetworkReceiverValue, settings.networkReceiverAddress});

    // Without the key nothing is stored: the user hears of it, and the autorun entry and the
    // button map are still saved.
    const UniqueRegistryKey key(c_.registry, c_.registry.CreateKey(kProgramKey));
    if (!key) {
        ReportFailedWrite(failures, values.front().name);
        return Stage::Skipped;
    }
    for (const StoredValue& value : values) {
        const bool written = value.isText ? c_.registry.SetString(key.Get(), value.name, value.text)
                                          : c_.registry.SetDword(key.Get(), value.name, value.number);
        if (!written) {
            ReportFailedWrite(failures, value.name);
            return Stage::Stopped;
        }
    }
    if (!networkReceiver && c_.registry.QueryValue(key.Get(), kNetworkReceiverValue) &&
        !c_.registry.DeleteValue(key.Get(), kNetworkReceiverValue)) {
        ReportFailedWrite(failures, kNetworkReceiverValue);
        return Stage::Stopped;
    }
    return Stage::Done;
}

SettingsStore::Stage SettingsStore::SaveAutorun(Dialogs& failures) {
    const std::u16string quotedPath = QuotedExecutablePath();
    if (!c_.model.settings.autorun) {
        // Without a Run key there is no entry to remove.
        const UniqueRegistryKey run(c_.registry, c_.registry.OpenKey(kRunKey));
        if (!run || !c_.registry.QueryValue(run.Get(), kAutorunValue) ||
            c_.registry.DeleteValue(run.Get(), kAutorunValue)) {
            return Stage::Done;
        }
        ReportFailedWrite(failures, kAutorunValue);
        return Stage::Stopped;
    }

    const UniqueRegistryKey run(c_.registry, c_.registry.CreateKey(kRunKey));
    if (!run) {
        ReportFailedWrite(failures, kAutorunValue);
        return Stage::Skipped;
    }
    // An entry that already starts this copy, perhaps with arguments the user added, is kept.
    const auto current = c_.registry.QueryWideText(run.Get(), kAutorunValue);
    if (current && current->find(quotedPath) != std::u16string::npos) return Stage::Done;
    if (c_.registry.SetWideString(run.Get(), kAutorunValue, quotedPath)) return Stage::Done;
    ReportFailedWrite(failures, kAutorunValue);
    return Stage::Stopped;
}

// Unlike the program's own values, the autorun entry holds a path: stored in UTF-16, it starts
// a copy in a folder of any name.
std::u16string SettingsStore::QuotedExecutablePath() const {
    return u'"' + c_.executablePath + u'"';
}

}  // namespace quorvel
