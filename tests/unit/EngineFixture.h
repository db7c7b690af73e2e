#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/ButtonEngine.h"
#include "engine/MacroRunner.h"
#include "fakes/FakeInput.h"
#include "fakes/FakeLircBroadcaster.h"
#include "fakes/FakeLog.h"
#include "fakes/FakeNotifications.h"
#include "fakes/FakePower.h"
#include "fakes/FakeProcesses.h"
#include "fakes/FakeProfileFile.h"
#include "fakes/FakeProgramWindows.h"
#include "fakes/RecordingObserver.h"
#include "fakes/FakeWindowSystem.h"
#include "fakes/ScriptedReceiver.h"
#include "fakes/FakeTimer.h"
#include "model/Model.h"

namespace quorvel {

// An engine wired to fakes of everything it touches, with the model in its start-up state.
class EngineFixture : public ::testing::Test {
protected:
    EngineFixture() {
        model.mode = EmulationMode::WinLIRC;
        model.observer = &observer;
        windows.foreground = windows.AddWindow({"Notepad", "Untitled - Notepad"});
    }

    void Define(std::uint32_t code, Section section, const std::string& value) {
        model.map[section].Append(MapKey(code), value);
    }
    void Tick(int count = 1) {
        for (int i = 0; i < count; ++i) engine.OnTick();
    }

    // What left the program, one word per output, in order.
    std::vector<std::string> Outputs() const {
        std::vector<std::string> outputs;
        for (const InputCall& call : input.Calls()) {
            if (call.kind == InputCall::Kind::Key && !(call.flags & 2)) outputs.push_back("key");
            if (call.kind == InputCall::Kind::Mouse || call.kind == InputCall::Kind::SetCursor) outputs.push_back("mouse");
        }
        for (const SentMessage& m : windows.messages) {
            if (m.message == 0x0319) outputs.push_back("message");
            if (m.message == 0x0464) outputs.push_back("dtv");
        }
        for (std::size_t i = 0; i < lirc.lines.size(); ++i) outputs.push_back("line");
        for (std::size_t i = 0; i < processes.launches.size(); ++i) outputs.push_back("launch");
        return outputs;
    }

    Model model;
    RecordingObserver observer;
    FakeWindowSystem windows;
    FakeInput input;
    FakeProcesses processes;
    FakeProgramWindows programWindows;
    ScriptedReceiver receiver;
    FakePower power;
    FakeLircBroadcaster lirc;
    FakeTrayIcon tray;
    FakeSound sound;
    FakeOsd osd;
    FakeLog log;
    FakeTimer macroTimer;
    FakeProfileFile codePage;
    std::vector<EmulationMode> selectedModes;
    std::function<void(EmulationMode)> selectMode = [this](EmulationMode mode) {
        selectedModes.push_back(mode);
        model.mode = mode;
    };
    MacroRunner macros{MacroContext{model, input, windows, processes, power, power, codePage, macroTimer, log, selectMode}};
    ButtonEngine engine{EngineContext{model, windows, input, processes, programWindows, receiver, power, power, lirc, tray,
                                      sound, osd, log, macros, selectMode}};
};

}  // namespace quorvel
