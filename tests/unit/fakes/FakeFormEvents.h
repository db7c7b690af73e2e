#pragma once

#include <cstdint>
#include <vector>

#include "ui/Form.h"

namespace quorvel {

// Records the check-box and radio-button clicks a form passes on; ignores everything else.
class FakeFormEvents final : public FormEvents {
public:
    std::vector<CheckControl> clicks;

    void OnClick(CheckControl control) override { clicks.push_back(control); }
    void OnListChange(ListControl) override {}
    void OnButtonClick(ButtonControl) override {}
    void OnKeyEKeyDown(std::uint16_t, KeyModifiers) override {}
    void OnTimer(TimerId) override {}
    void OnPowerBroadcast(std::uintptr_t) override {}
    void OnTrayClick() override {}
    void OnMenuClick(TrayMenuItem) override {}
    bool OnCloseQuery() override { return true; }
    void OnClose() override {}
    bool OnQueryEndSession() override { return true; }
    void OnEndSession(bool) override {}
};

}  // namespace quorvel
