#pragma once

#include <cstdint>

namespace quorvel {

class WindowSystem;

// The makers' TV applications, found by their windows and reached only through messages.

// True while the priority option is on and BeholdTV's window exists and is visible
// (a minimised window still counts as visible).
bool BeholdTvHasPriority(WindowSystem& windows, bool priorityOption);
// Asks Compro's remote manager, when it runs, to close; neither waits nor checks.
void CloseComproRemoteManager(WindowSystem& windows);
// Passes a dispatched press on to ComproDTV 4 when it runs.
void NotifyComproDtv(WindowSystem& windows, std::uint32_t rcCode);

}  // namespace quorvel
