#pragma once

namespace quorvel {

// The items of the tray icon's menu, in menu order (the separator left out).
enum class TrayMenuItem { WinLIRCPM, KeysPM, MousePM, WMAPPCOMMANDPM, TimingPM, RestorePM, MinimizePM, ExitPM };

}  // namespace quorvel
