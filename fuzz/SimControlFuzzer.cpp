// Lines of the substitute libraries' control protocol, as their control port takes them: every
// line gets one reply per ';'-separated command, and the queue stays within its bound while
// the program keeps polling.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "ButtonQueue.h"
#include "CallLog.h"
#include "ControlCommand.h"
#include "FuzzCheck.h"

namespace {

std::uint64_t FixedClock() { return 1'700'000'000'000'000; }

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvel;
    using namespace quorvel::sim;
    const std::string text(reinterpret_cast<const char*>(data), size);
    ButtonQueue queue(FixedClock);
    CallLog log([](const std::string&) {});
    log.Record("OpenCard 0");

    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();

        const std::string reply = RunControlLine(line, queue, log);
        Require(Count(reply, "; ") == static_cast<std::size_t>(std::count(line.begin(), line.end(), ';')),
                "one reply per command");
        Require(reply.find('\n') == std::string::npos, "a reply is one line");
        const auto polled = queue.Poll();
        Require(queue.Status().queued <= ButtonQueue::kMaxItems, "the queue stays within its bound");
        Require(queue.Status().current == (polled ? polled->extCode : 0), "the status tells the latest poll");
        log.RecordPoll("GetRemoteCode");
    }
    return 0;
}
