#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/ButtonEngine.h"
#include "engine/ButtonMap.h"
#include "fakes/FakeForm.h"
#include "fakes/FakeInput.h"
#include "fakes/FakeLircBroadcaster.h"
#include "fakes/FakeNotifications.h"
#include "fakes/FakePower.h"
#include "fakes/FakeProcesses.h"
#include "fakes/FakeWindowSystem.h"
#include "fakes/ScriptedReceiver.h"
#include "settings/ProgramSettings.h"

namespace quorvel {

// An engine wired to fakes of everything it touches, with the form in its start-up state.
class EngineFixture : public ::testing::Test {
protected:
    EngineFixture() {
        form.SetChecked(CheckControl::WinLIRCRB, true);
        form.SetChecked(CheckControl::AutorepeatCB, true);
        windows.foreground = windows.AddWindow({"Notepad", "Untitled - Notepad"});
    }

    void Define(std::uint32_t code, Section section, const std::string& value) {
        map[section].Append(MapKey(code), value);
    }
    void SetMode(CheckControl radio) { form.ClickRadio(radio); }
    void Tick(int count = 1) {
        for (int i = 0; i < count; ++i) engine.MainTTimer();
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

    FakeForm form;
    FakeWindowSystem windows;
    FakeInput input;
    FakeProcesses processes;
    ScriptedReceiver receiver;
    ButtonMap map;
    ProgramSettings settings;
    FakePower power;
    FakeLircBroadcaster lirc;
    FakeTrayIcon tray;
    FakeSound sound;
    FakeOsd osd;
    PressState press;
    ButtonEngine engine{EngineContext{form, windows, input, processes, receiver, map, settings, power, power, lirc,
                                      tray, sound, osd, press}};
};

}  // namespace quorvel
