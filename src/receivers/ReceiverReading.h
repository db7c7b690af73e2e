#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorvel {

enum class ReceiverKind { None, Beholder, ComproSdk, ComproVendor, Network };

// Receivers whose idle ticks show too: the codes and the name go blank when the button is released.
inline bool ShowsEveryTick(ReceiverKind kind) { return kind == ReceiverKind::Beholder || kind == ReceiverKind::Network; }

// What the receiver sees in one poll.
struct ReceiverReading {
    bool active = false;
    std::uint32_t rcCode = 0;
    std::uint32_t extendedCode = 0;
    bool showProperties = false;
    bool vendorPriority = false;
    // The receiver's own name for the button, shown where the button map has none.
    std::string buttonName;
    friend bool operator==(const ReceiverReading&, const ReceiverReading&) = default;
};

// The engine's view of the receiver chosen at start-up.
class Receiver {
public:
    virtual ~Receiver() = default;
    // No reading when the Beholder card is not open: the tick then does nothing.
    virtual std::optional<ReceiverReading> ReadReceiver() = 0;
    virtual ReceiverKind Kind() const = 0;
    virtual bool ComproLibraryPresent() const = 0;
};

}  // namespace quorvel
