// Registry values of any type and size under the program's key and the Run key: the settings
// load without a crash, and saving what loaded and loading again gives the same settings.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <tuple>

#include "FuzzCheck.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeLog.h"
#include "fakes/FakeProfileFile.h"
#include "fakes/FakeRegistry.h"
#include "model/Model.h"
#include "settings/SettingsStore.h"

namespace quorvel {
namespace {

constexpr const char* kProgramKey = "Software\\Vantrel\\Quorvel";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kExe = "C:\\Program Files\\Quorvel\\Quorvel.exe";
constexpr const char16_t* kWideExe = u"C:\\Program Files\\Quorvel\\Quorvel.exe";

constexpr const char* kValueNames[] = {
    "Autorepeat", "LIRC Server Enabled", "LIRC Server Port", "Force Shutdown", "Force Suspend",
    "Sound",      "Balloon Hints",       "Hidden Icon",      "Compro Btn 0",   "Card",
    "Mode",       "OSD",                 "OSDColor",         "OSD2Display",    "SleepTime",
    "SleepOSD",   "SleepAction",         "BeholdTV",         "ComproRemote",   "ComproDTV",
};

auto Fields(const Settings& s) {
    return std::tie(s.autorun, s.autorepeat, s.forceShutdown, s.forceSuspend, s.forceOptionsAvailable, s.sound,
                    s.balloonHints, s.osd, s.osdSecondDisplay, s.osdColor, s.lircServerEnabled, s.lircServerPort,
                    s.beholdTvPriority, s.comproRemoteOff, s.comproDtv, s.hiddenIcon, s.comproButton0, s.cardIndex,
                    s.sleepTime, s.sleepOsd, s.sleepAction);
}

RegistryValue AnyValue(FuzzedDataProvider& input) {
    RegistryValue value;
    value.type = input.ConsumeBool() ? input.ConsumeIntegralInRange<std::uint32_t>(kRegSz, kRegDword)
                                     : input.ConsumeIntegral<std::uint32_t>();
    value.data = input.ConsumeRandomLengthString(64);
    return value;
}

}  // namespace
}  // namespace quorvel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    FuzzedDataProvider input(data, size);
    const auto osMajorVersion = input.ConsumeIntegralInRange<std::uint32_t>(4, 11);
    FakeRegistry registry;
    for (const char* name : kValueNames) {
        if (input.ConsumeBool()) registry.Put(kProgramKey, name, AnyValue(input));
    }
    if (input.ConsumeBool()) {
        RegistryValue autorun = AnyValue(input);
        if (input.ConsumeBool()) autorun.data = "\"" + std::string(kExe) + "\" " + autorun.data;
        registry.Put(kRunKey, "Quorvel", autorun);
    }

    FakeDialogs dialogs;
    FakeProfileFile profile;
    FakeLog log;
    Model model;
    SettingsStore store(SettingsContext{registry, dialogs, profile, model, kWideExe, log});
    store.LoadSettings(osMajorVersion);
    const Settings loaded = model.settings;
    const EmulationMode mode = model.mode;

    Require(store.SaveAll(false), "a save into memory succeeds");
    Require(dialogs.shown.empty(), "a successful save shows nothing");
    store.LoadSettings(osMajorVersion);
    Require(Fields(model.settings) == Fields(loaded), "the settings survive a save");
    Require(model.mode == mode, "the mode survives a save");
    Require(registry.OpenHandles() == 0 && registry.invalidHandleUses == 0, "every key opened is closed once");
    return 0;
}
