// What a LIRC server sends the network receiver: any bytes, in two pieces cut at any point,
// with the time running on between lines. Each event read reads back the same once written
// out again, and once the connection ends the hold rule shows no more presses than it keeps
// waiting, none that no event started, and then nothing.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "receivers/BroadcastLine.h"
#include "receivers/HoldTracker.h"

namespace quorvel {
namespace {

std::string Written(const BroadcastLine& event) {
    char numbers[48];
    std::snprintf(numbers, sizeof numbers, "%016llX %02X ", static_cast<unsigned long long>(event.code),
                  static_cast<unsigned>(event.repeat));
    return numbers + event.button + " " + event.remote;
}

}  // namespace
}  // namespace quorvel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    if (size < 2) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::size_t cut = data[0] % (input.size() + 1);
    const HoldTracker::Millis step{data[1]};
    HoldTracker tracker;
    HoldTracker::Millis now{0};
    std::size_t eventsRead = 0;
    const auto onEvent = [&](const BroadcastLine& event) {
        Require(ParseBroadcastLine(Written(event)) == event, "an event reads back as it was written");
        ++eventsRead;
        tracker.OnEvent(event, now);
        now += step;
        tracker.Sample(now);
    };
    BroadcastReader reader;
    reader.Feed(input.substr(0, cut), onEvent);
    reader.Feed(input.substr(cut), onEvent);
    tracker.EndHold();
    // Every press waiting shows for one tick, then nothing is held any more.
    std::size_t shownAfterEnd = 0;
    while (tracker.Sample(now += HoldTracker::Millis{50})) {
        Require(++shownAfterEnd <= HoldTracker::kMaxWaiting + 1, "no more presses wait than the limit");
    }
    Require(shownAfterEnd <= eventsRead, "only presses that events started are shown");
    return 0;
}
