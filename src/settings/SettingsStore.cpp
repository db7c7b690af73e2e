#include "settings/SettingsStore.h"

#include <optional>
#include <vector>

#include "engine/ButtonMapFile.h"
#include "engine/EmulationMode.h"
#include "platform/Dialogs.h"
#include "platform/Registry.h"
#include "settings/ProgramSettings.h"
#include "ui/Form.h"

namespace quorvel {
namespace {

constexpr const char* kProgramKey = "Software\\Vantrel\\Quorvel";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kAutorunValue = "Quorvel";
constexpr const char* kDefaultPort = "8765";
// Windows Vista took the force options away from sleep and shutdown.
constexpr std::uint32_t kFirstVersionWithoutForce = 6;

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

private:
    std::optional<RegistryValue> Query(const char* name) const {
        return key_ == kNoKey ? std::nullopt : registry_.QueryValue(key_, name);
    }

    Registry& registry_;
    RegistryKey key_;
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
    if (!number || *number < 1 || *number > 4) return EmulationMode::WinLIRC;
    return static_cast<EmulationMode>(*number);
}

}  // namespace

void SettingsStore::LoadSettings(std::uint32_t osMajorVersion) {
    const ProgramSettings defaults;
    Form& form = c_.form;
    // A check box that changes runs its click handler, as a user's click would.
    const auto check = [&](CheckControl control, bool checked) {
        if (form.IsChecked(control) == checked) return;
        form.SetChecked(control, checked);
        // The listener starts later in start-up, once its port has been loaded too.
        if (control != CheckControl::LIRCServerCB) c_.events.OnClick(control);
    };

    c_.settings.cardIndex = 0;
    const bool forceOptions = osMajorVersion < kFirstVersionWithoutForce;
    if (!forceOptions) {
        form.SetEnabled(CheckControl::ForceShutdownCB, false);
        form.SetEnabled(CheckControl::ForceSuspendCB, false);
    }

    const RegistryKey key = c_.registry.CreateKey(kProgramKey);
    const ValueReader read(c_.registry, key);
    check(CheckControl::AutorepeatCB, read.Flag("Autorepeat").value_or(true));
    check(CheckControl::LIRCServerCB, read.Flag("LIRC Server Enabled").value_or(true));
    form.SetText(TextControl::LIRCServerPortE, read.Text("LIRC Server Port").value_or(kDefaultPort));
    check(CheckControl::ForceShutdownCB, forceOptions && read.Flag("Force Shutdown").value_or(false));
    check(CheckControl::ForceSuspendCB, forceOptions && read.Flag("Force Suspend").value_or(false));
    check(CheckControl::SoundCB, read.Flag("Sound").value_or(false));
    check(CheckControl::BHCB, read.Flag("Balloon Hints").value_or(false));
    c_.settings.hiddenIcon = read.Flag("Hidden Icon").value_or(defaults.hiddenIcon);
    c_.settings.comproButton0 = read.Flag("Compro Btn 0").value_or(defaults.comproButton0);
    c_.settings.cardIndex = read.Number("Card").value_or(defaults.cardIndex);

    const EmulationMode mode = StoredMode(read.Number("Mode"));
    for (CheckControl radio : {CheckControl::WinLIRCRB, CheckControl::KeysRB, CheckControl::MouseRB,
                               CheckControl::WMRB}) {
        form.SetChecked(radio, false);
    }
    form.ClickRadio(ModeRadio(mode));

    check(CheckControl::OSDCB, read.Flag("OSD").value_or(false));
    c_.settings.osdColor = read.Number("OSDColor").value_or(defaults.osdColor);
    check(CheckControl::OSD2CB, read.Flag("OSD2Display").value_or(false));
    c_.settings.sleepTime = static_cast<std::int32_t>(
        read.Number("SleepTime").value_or(static_cast<std::uint32_t>(defaults.sleepTime)));
    c_.settings.sleepOsd = read.Flag("SleepOSD").value_or(defaults.sleepOsd);
    // Held in one byte: a stored 257 is 1.
    c_.settings.sleepAction = static_cast<std::uint8_t>(read.Number("SleepAction").value_or(defaults.sleepAction));
    if (const auto beholdTv = read.Flag("BeholdTV")) check(CheckControl::BTVCB, *beholdTv);
    check(CheckControl::ComproRemoteOffCB, read.Flag("ComproRemote").value_or(true));
    check(CheckControl::ComproDTVCB, read.Flag("ComproDTV").value_or(true));
    if (key != kNoKey) c_.registry.CloseKey(key);

    const RegistryKey run = c_.registry.OpenKey(kRunKey);
    if (run == kNoKey) return;
    const auto autorun = ValueReader(c_.registry, run).Text(kAutorunValue);
    check(CheckControl::AutorunCB, autorun && autorun->find(QuotedExecutablePath()) != std::string::npos);
    c_.registry.CloseKey(run);
}

bool SettingsStore::SaveAll(bool beholderAvailable) { return SaveAll(beholderAvailable, c_.dialogs); }

bool SettingsStore::SaveAll(bool beholderAvailable, Dialogs& failures) {
    return SaveValues(beholderAvailable, failures) && SaveAutorun(failures) &&
           SaveButtonMap(c_.profile, failures, ButtonMapPath(c_.executablePath), c_.map);
}

bool SettingsStore::SaveValues(bool beholderAvailable, Dialogs& failures) {
    const Form& form = c_.form;
    const auto flag = [&](const char* name, CheckControl control) {
        return StoredValue{name, FlagValue(form.IsChecked(control))};
    };

    std::vector<StoredValue> values = {
        flag("Autorepeat", CheckControl::AutorepeatCB),
        flag("LIRC Server Enabled", CheckControl::LIRCServerCB),
        {"LIRC Server Port", form.GetText(TextControl::LIRCServerPortE)},
        flag("Force Shutdown", CheckControl::ForceShutdownCB),
        flag("Force Suspend", CheckControl::ForceSuspendCB),
        flag("Sound", CheckControl::SoundCB),
        flag("Balloon Hints", CheckControl::BHCB),
    };
    // Without the Beholder library there is no card list, and the stored choice must survive.
    if (beholderAvailable) {
        values.push_back({"Card", static_cast<std::uint32_t>(form.GetItemIndex(ListControl::WDMCB))});
    }
    for (EmulationMode mode : {EmulationMode::WinLIRC, EmulationMode::Keys, EmulationMode::Mouse,
                               EmulationMode::Messages}) {
        if (form.IsChecked(ModeRadio(mode))) values.push_back({"Mode", static_cast<std::uint32_t>(mode)});
    }
    values.insert(values.end(), {
        flag("OSD", CheckControl::OSDCB),
        {"OSDColor", c_.settings.osdColor},
        flag("OSD2Display", CheckControl::OSD2CB),
        {"SleepTime", static_cast<std::uint32_t>(c_.settings.sleepTime)},
        {"SleepOSD", FlagValue(c_.settings.sleepOsd)},
        {"SleepAction", std::uint32_t{c_.settings.sleepAction}},
        flag("BeholdTV", CheckControl::BTVCB),
        flag("ComproRemote", CheckControl::ComproRemoteOffCB),
        flag("ComproDTV", CheckControl::ComproDTVCB),
    });

    const RegistryKey key = c_.registry.CreateKey(kProgramKey);
    if (key == kNoKey) return true;
    bool written = true;
    for (const StoredValue& value : values) {
        written = value.isText ? c_.registry.SetString(key, value.name, value.text)
                               : c_.registry.SetDword(key, value.name, value.number);
        if (!written) {
            ReportFailedWrite(failures, value.name);
            break;
        }
    }
    c_.registry.CloseKey(key);
    return written;
}

bool SettingsStore::SaveAutorun(Dialogs& failures) {
    const std::string quotedPath = QuotedExecutablePath();
    if (!c_.form.IsChecked(CheckControl::AutorunCB)) {
        const RegistryKey run = c_.registry.OpenKey(kRunKey);
        if (run == kNoKey) return true;
        if (c_.registry.QueryValue(run, kAutorunValue)) c_.registry.DeleteValue(run, kAutorunValue);
        c_.registry.CloseKey(run);
        return true;
    }

    const RegistryKey run = c_.registry.CreateKey(kRunKey);
    if (run == kNoKey) return true;
    // An entry that already starts this copy, perhaps with arguments the user added, is kept.
    const auto current = ValueReader(c_.registry, run).Text(kAutorunValue);
    bool written = true;
    if (!current || current->find(quotedPath) == std::string::npos) {
        written = c_.registry.SetString(run, kAutorunValue, quotedPath);
        if (!written) ReportFailedWrite(failures, kAutorunValue);
    }
    c_.registry.CloseKey(run);
    return written;
}

std::string SettingsStore::QuotedExecutablePath() const {
    return '"' + c_.executablePath + '"';
}

}  // namespace quorvel
