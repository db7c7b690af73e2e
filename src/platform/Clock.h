#pragma once

#include <string>

namespace quorvel {

class Clock {
public:
    virtual ~Clock() = default;
    // The current local time in the user's long time format, e.g. 21:07:45.
    virtual std::string LongTimeText() = 0;
};

}  // namespace quorvel
