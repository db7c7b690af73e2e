#include "actions/AppCommand.h"

namespace quorvel {

const std::vector<std::string>& AppCommandNames() {
    static const std::vector<std::string> names{
        "None",
        "BROWSER_BACKWARD",
        "BROWSER_FORWARD",
        "BROWSER_REFRESH",
        "BROWSER_STOP",
        "BROWSER_SEARCH",
        "BROWSER_FAVORITES",
        "BROWSER_HOME",
        "VOLUME_MUTE",
        "VOLUME_DOWN",
        "VOLUME_UP",
        "MEDIA_NEXTTRACK",
        "MEDIA_PREVIOUSTRACK",
        "MEDIA_STOP",
        "MEDIA_PLAY_PAUSE",
        "LAUNCH_MAIL",
        "LAUNCH_MEDIA_SELECT",
        "LAUNCH_APP1",
        "LAUNCH_APP2",
        "BASS_DOWN",
        "BASS_BOOST",
        "BASS_UP",
        "TREBLE_DOWN",
        "TREBLE_UP",
        "MICROPHONE_VOLUME_MUTE",
        "MICROPHONE_VOLUME_DOWN",
        "MICROPHONE_VOLUME_UP",
        "HELP",
        "FIND",
        "NEW",
        "OPEN",
        "CLOSE",
        "SAVE",
        "PRINT",
        "UNDO",
        "REDO",
        "COPY",
        "CUT",
        "PASTE",
        "REPLY_TO_MAIL",
        "FORWARD_MAIL",
        "SEND_MAIL",
        "SPELL_CHECK",
        "DICTATE_OR_COMMAND_CONTROL_TOGGLE",
        "MIC_ON_OFF_TOGGLE",
        "CORRECTION_LIST",
        "MEDIA_PLAY",
        "MEDIA_PAUSE",
        "MEDIA_RECORD",
        "MEDIA_FASTFORWARD",
        "MEDIA_REWIND",
        "MEDIA_CHANNEL_UP",
        "MEDIA_CHANNEL_DOWN",
        "DELETE",
        "DWM_FLIP3D",
    };
    return names;
}

void SendAppCommand(WindowSystem& windows, std::uint8_t number) {
    // 0 is "None"; with no foreground window there is nobody to tell.
    if (number == 0) {
        return;
    }
    const WindowHandle target = windows.GetForegroundWindow();
    if (target == kNoWindow) {
        return;
    }
    // The device bits (28 to 31) stay 0, which says the command came from a key, and the low
    // word carries no key state. Numbers without a list item are sent all the same.
    const std::intptr_t lParam = static_cast<std::intptr_t>(number) << 16;
    windows.SendWindowMessage(target, kWmAppCommand, static_cast<std::uintptr_t>(target), lParam);
}

}  // namespace quorvel
