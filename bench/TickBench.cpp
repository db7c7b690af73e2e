// The cost of one tick of the button engine: idle, the first tick of a press and a held
// repeat, with button maps of growing size, without programs and with the most programs the
// file is read for, the pressed button defined by the program in front. Outputs go to sinks that do nothing, so the
// figures are the engine's own work (map lookups, editor fill, dispatch decisions).
#include <benchmark/benchmark.h>

#include <cctype>

#include "actions/PowerActions.h"
#include "engine/ButtonEngine.h"
#include "engine/MacroRunner.h"
#include "lirc/LircBroadcaster.h"
#include "model/Model.h"
#include "osd/OsdRequests.h"
#include "platform/Input.h"
#include "platform/Log.h"
#include "platform/Processes.h"
#include "platform/ProgramWindows.h"
#include "platform/Sound.h"
#include "platform/TrayIcon.h"
#include "platform/WindowSystem.h"
#include "receivers/ReceiverReading.h"

namespace quorvel {
namespace {

struct NullOutputs final : Input, Processes, ProgramWindows, WindowSystem, PowerActions, SleepTimerSwitch, LircBroadcaster, TrayIcon,
                           Sound, OsdRequests, Log, MacroRuns {
    void Run(Macro, const std::string&) override {}
    bool Idle() const override { return true; }
    void KeybdEvent(std::uint8_t, std::uint8_t, std::uint32_t) override {}
    std::uint8_t ScanCode(std::uint8_t) override { return 0; }
    void TypeUnit(char16_t, bool) override {}
    void MouseEvent(std::uint32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    Point GetCursorPos() override { return {}; }
    void SetCursorPos(Point) override {}
    void PumpMessages() override {}
    bool StartProcess(const ProcessLaunch&) override { return true; }
    WindowHandle GetForegroundWindow() override { return WindowHandle{1}; }
    WindowHandle TopWindow() override { return WindowHandle{1}; }
    WindowHandle WindowBelow(WindowHandle) override { return kNoWindow; }
    WindowFacts Facts(WindowHandle) override { return {"Window", 8, true, false, false}; }
    std::vector<WindowHandle> ChildWindows(WindowHandle) override { return {}; }
    std::string ProcessImagePath(std::uint32_t) override { return "C:\\Programs\\p255.exe"; }
    bool RunsWithHigherRights(std::uint32_t) override { return false; }
    WindowHandle FindWindowByName(const std::string&, const std::string&) override { return kNoWindow; }
    bool IsWindow(WindowHandle) override { return false; }
    bool IsWindowVisible(WindowHandle) override { return false; }
    bool SendWindowMessage(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) override { return false; }
    bool PostWindowMessage(WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) override { return false; }
    bool IsOwnForm(WindowHandle) override { return false; }
    void PowerSleep() override {}
    void PowerHibernate() override {}
    void PowerShutdown() override {}
    bool IsRunning() const override { return false; }
    void ToggleSleepTimer() override {}
    bool IsActive() const override { return true; }
    std::size_t ClientCount() override { return 1; }
    std::size_t Broadcast(std::string_view line) override { return line.size() > 0 ? 1 : 0; }
    void Show() override {}
    void SetPicture(TrayPicture) override {}
    void ShowBalloon(const std::string&, const std::string&) override {}
    void Remove() override {}
    void PlayResourceAsync(const std::string&) override {}
    void ShowOsd(const std::string&, bool) override {}
    void Write(const std::string&) override {}
};

class FixedReceiver final : public Receiver {
public:
    ReceiverReading reading;
    std::optional<ReceiverReading> ReadReceiver() override { return reading; }
    ReceiverKind Kind() const override { return ReceiverKind::Beholder; }
    bool ComproLibraryPresent() const override { return false; }
};

// Every section holds every button; the pressed button is the last one, lower-case in the
// file, so a linear first-match search would pay for the whole list.
ButtonMap MapOfSize(std::uint32_t entries) {
    ButtonMap map;
    map.SetRemoteName("RC");
    for (std::uint32_t i = 1; i <= entries; ++i) {
        std::string key = MapKey(i);
        for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        map[Section::Buttons].Append(key, "Button " + std::to_string(i));
        map[Section::Repeat].Append(key, "1");
        map[Section::Actions].Append(key, "0");
        map[Section::Mouse].Append(key, "0");
        map[Section::Keys].Append(key, "0020");
        map[Section::Applications].Append(key, "");
        map[Section::Messages].Append(key, "0");
    }
    return map;
}

void AddPrograms(ButtonMap& map, std::uint32_t programs, std::uint32_t pressed) {
    for (std::uint32_t i = 0; i < programs; ++i) {
        ProgramMap& program = map.AddProgram("p" + std::to_string(i) + ".exe");
        program.mode = 2;
        program[Section::Keys].Append(MapKey(pressed), "0041");
        program[Section::Repeat].Append(MapKey(pressed), "1");
    }
}

enum class TickKind { Idle, FirstTick, HeldRepeat };

void BM_Tick(benchmark::State& state, TickKind kind) {
    const auto entries = static_cast<std::uint32_t>(state.range(0));
    Model model;
    model.map = MapOfSize(entries);
    const auto programs = static_cast<std::uint32_t>(state.range(1));
    AddPrograms(model.map, programs, entries);
    // A held press keeps the definition its first tick chose: the program in front's own.
    if (programs > 0) model.press.definition = {"p255.exe", true, EmulationMode::Keys};
    model.mode = EmulationMode::WinLIRC;
    NullOutputs null;
    FixedReceiver receiver;
    ButtonEngine engine{EngineContext{model, null, null, null, null, receiver, null, null, null, null, null, null, null, null,
                                      [&model](EmulationMode mode) { model.mode = mode; }}};
    if (kind != TickKind::Idle) receiver.reading = {true, entries & 0xFF, entries, true, false, {}};

    for (auto _ : state) {
        // Each iteration is one tick; the press state is set so that it is the wanted kind of tick.
        if (kind == TickKind::FirstTick) model.press.Reset();
        if (kind == TickKind::HeldRepeat) model.press.progress.holdCount = 10, model.press.lastExtendedCode = entries;
        engine.OnTick();
    }
}

BENCHMARK_CAPTURE(BM_Tick, idle, TickKind::Idle)->ArgsProduct({{10, 1000, 100000}, {0, 256}})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Tick, first_tick_of_press, TickKind::FirstTick)
    ->ArgsProduct({{10, 1000, 100000}, {0, 256}})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Tick, held_repeat, TickKind::HeldRepeat)
    ->ArgsProduct({{10, 1000, 100000}, {0, 256}})->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorvel

BENCHMARK_MAIN();
