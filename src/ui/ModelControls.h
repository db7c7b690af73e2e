#pragma once

#include "model/Model.h"
#include "ui/ControlIds.h"

namespace quorvel {

// The radio buttons of the "Emulation" group, by the mode each selects.
struct ModeRadio {
    int id;
    EmulationMode mode;
};

inline constexpr ModeRadio kModeRadios[] = {{control_id::WinLIRCRB, EmulationMode::WinLIRC},
                                            {control_id::KeysRB, EmulationMode::Keys},
                                            {control_id::MouseRB, EmulationMode::Mouse},
                                            {control_id::WMRB, EmulationMode::Messages}};

// The check boxes of the settings tabs, by the setting each shows and changes.
struct SettingCheck {
    int id;
    bool Settings::*flag;
};

inline constexpr SettingCheck kSettingChecks[] = {
    {control_id::AutorunCB, &Settings::autorun},
    {control_id::AutorepeatCB, &Settings::autorepeat},
    {control_id::ForceShutdownCB, &Settings::forceShutdown},
    {control_id::ForceSuspendCB, &Settings::forceSuspend},
    {control_id::SoundCB, &Settings::sound},
    {control_id::BHCB, &Settings::balloonHints},
    {control_id::OSDCB, &Settings::osd},
    {control_id::OSD2CB, &Settings::osdSecondDisplay},
    {control_id::LIRCServerCB, &Settings::lircServerEnabled},
    {control_id::BTVCB, &Settings::beholdTvPriority},
    {control_id::ComproRemoteOffCB, &Settings::comproRemoteOff},
    {control_id::ComproDTVCB, &Settings::comproDtv},
    {control_id::NetworkReceiverCB, &Settings::networkReceiver},
};

}  // namespace quorvel
