#pragma once

#include <string>

#include "ButtonQueue.h"
#include "CallLog.h"

namespace quorvel::sim {

// One line of the control protocol, applied to the button queue; returns the reply line
// (without its line break): "ok", "error <reason>", the status or the call log.
//   press <extcode-hex> <polls> [rc-hex]   gap <polls>   hold <extcode-hex> [rc-hex]
//   release   status   log   reset   pressed
// "pressed" tells the poll that first reported the latest press or hold, and when the press
// was queued and polled, in microseconds since 1970 by the system clock:
// "poll=<n> code=<extcode-hex> queued=<time> polled=<time>", or "none".
// Several commands separated by ';' run one after another with no poll between them; their
// replies come back separated by "; ".
std::string RunControlLine(const std::string& line, ButtonQueue& queue, const CallLog& log);

}  // namespace quorvel::sim
